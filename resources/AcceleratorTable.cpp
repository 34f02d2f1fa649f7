#include "resources/AcceleratorTable.h"

#include "resources/ByteReader.h"

namespace resources {

std::optional<std::vector<Accelerator>> ParseAcceleratorTable(const uint8_t* data, size_t size) {
    ByteReader in(data, size);
    std::vector<Accelerator> table;
    for (;;) {
        // Each entry is four words: flags, key, command and padding.
        Accelerator entry;
        uint16_t flags = in.u16();
        entry.flags = flags & ~kAccelLast;
        entry.key = in.u16();
        entry.command = in.u16();
        in.u16();
        if (!in.ok())
            return std::nullopt;
        table.push_back(entry);
        if (flags & kAccelLast)
            return table;
    }
}

} // namespace resources
