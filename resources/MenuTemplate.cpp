#include "resources/MenuTemplate.h"

#include "resources/ByteReader.h"

namespace resources {

namespace {

// Reads the items of one level up to and including the one flagged kMenuEnd.
bool ReadMenuItems(ByteReader& in, int depth, std::vector<MenuItem>& items) {
    if (depth > kMaxMenuDepth)
        return false;
    for (;;) {
        MenuItem item;
        uint16_t flags = in.u16();
        item.flags = flags & ~kMenuEnd;
        if (!item.isPopup())
            item.command = in.u16();
        item.text = in.utf16z();
        if (!in.ok())
            return false;
        if (item.isPopup() && !ReadMenuItems(in, depth + 1, item.children))
            return false;
        items.push_back(std::move(item));
        if (flags & kMenuEnd)
            return true;
    }
}

} // namespace

std::optional<std::vector<MenuItem>> ParseMenuTemplate(const uint8_t* data, size_t size) {
    ByteReader in(data, size);
    uint16_t version = in.u16();
    uint16_t headerSize = in.u16();
    if (!in.ok() || version != 0 || !in.skip(headerSize))
        return std::nullopt;
    std::vector<MenuItem> items;
    if (!ReadMenuItems(in, 1, items))
        return std::nullopt;
    return items;
}

} // namespace resources
