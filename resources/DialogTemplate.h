// Dialog templates (resource type 5), classic (DLGTEMPLATE) and extended (DLGTEMPLATEEX).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace resources {

// Dialog styles that decide where the window system places a dialog.
enum : uint32_t {
    kDsAbsAlign = 0x01,
    kDsSetFont = 0x40,
    kDsCenter = 0x0800,
    kDsCenterMouse = 0x1000,
};

// A field that holds either a 16-bit number or a string (menu, class, caption of a control).
struct NameOrOrdinal {
    bool present = false;   // false: the field was empty
    bool isOrdinal = false; // true: `ordinal` holds the value, else `text`
    uint16_t ordinal = 0;
    std::u16string text;
};

struct DialogControl {
    uint32_t helpId = 0; // extended templates only
    uint32_t exStyle = 0;
    uint32_t style = 0;
    int16_t x = 0, y = 0, cx = 0, cy = 0;
    uint32_t id = 0; // 32 bits in extended templates, 16 in classic ones (0xFFFF: no id)
    // The window class: a predefined class (atom 0x80..0x85) is named "BUTTON", "EDIT", "STATIC",
    // "LISTBOX", "SCROLLBAR" or "COMBOBOX" and keeps its atom in `classAtom`; 0 for a named class.
    std::u16string className;
    uint16_t classAtom = 0;
    // The text, or the number of the icon or bitmap a static control shows.
    NameOrOrdinal text;
    std::vector<uint8_t> creationData;

    // The id as a signed control id: 0xFFFF (classic) and 0xFFFFFFFF (extended) read as -1.
    int controlId() const;
};

struct DialogTemplate {
    bool extended = false;
    uint32_t helpId = 0; // extended templates only
    uint32_t exStyle = 0;
    uint32_t style = 0;
    int16_t x = 0, y = 0, cx = 0, cy = 0;
    NameOrOrdinal menu;
    NameOrOrdinal windowClass;
    std::u16string caption;
    // Present with DS_SETFONT. Weight, italic and charset are stored by extended templates only.
    bool hasFont = false;
    uint16_t pointSize = 0;
    uint16_t weight = 0;
    uint8_t italic = 0;
    uint8_t charset = 0;
    std::u16string face;
    std::vector<DialogControl> controls;
};

// Nothing when the data is not a complete template of either kind.
std::optional<DialogTemplate> ParseDialogTemplate(const uint8_t* data, size_t size);

// The name of a predefined control class atom; empty for any other value.
std::u16string PredefinedClassName(uint16_t atom);

} // namespace resources
