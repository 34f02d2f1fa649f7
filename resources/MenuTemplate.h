// Classic menu templates (resource type 4): a tree of popups and command items.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace resources {

// Item flags as stored in a menu template.
enum : uint16_t {
    kMenuGrayed = 0x0001,
    kMenuDisabled = 0x0002,
    kMenuChecked = 0x0008,
    kMenuPopup = 0x0010,
    kMenuEnd = 0x0080,
};

struct MenuItem {
    uint16_t flags = 0;   // the stored flags without kMenuEnd
    uint16_t command = 0; // 0 for popups and separators
    std::u16string text;
    std::vector<MenuItem> children; // a popup's items

    bool isPopup() const { return (flags & kMenuPopup) != 0; }
    bool isSeparator() const { return !isPopup() && command == 0 && text.empty(); }
};

// The top-level items (the menu bar) of a classic template. Nothing when the header is not that of
// a classic template, when a list has no end marker, when popups nest deeper than kMaxMenuDepth or
// when an item runs past the end of the data.
std::optional<std::vector<MenuItem>> ParseMenuTemplate(const uint8_t* data, size_t size);

constexpr int kMaxMenuDepth = 16;

} // namespace resources
