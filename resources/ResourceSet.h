// The resources of one module, as read from a compiled .res file or from a PE image's resource
// section: a flat list of (type, name, language, data) entries.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace resources {

// Standard resource types.
enum : uint16_t {
    kTypeCursor = 1,
    kTypeBitmap = 2,
    kTypeIcon = 3,
    kTypeMenu = 4,
    kTypeDialog = 5,
    kTypeString = 6,
    kTypeAccelerator = 9,
    kTypeRcData = 10,
    kTypeGroupCursor = 12,
    kTypeGroupIcon = 14,
    kTypeVersion = 16,
    kTypeHtml = 23,
    kTypeManifest = 24,
};

// A resource type or name: either a 16-bit number or a string.
struct ResId {
    bool isNumber = true;
    uint16_t number = 0;
    std::u16string name;

    static ResId Number(uint16_t n) { return ResId{true, n, {}}; }
    static ResId Name(std::u16string s) { return ResId{false, 0, std::move(s)}; }
    bool operator==(const ResId& other) const {
        return isNumber == other.isNumber &&
               (isNumber ? number == other.number : name == other.name);
    }
};

struct ResourceEntry {
    ResId type;
    ResId name;
    uint16_t language = 0;
    std::vector<uint8_t> data;
};

class ResourceSet {
public:
    std::vector<ResourceEntry> entries;

    // The first entry of that numbered type and name; with a language given, only in that language.
    const ResourceEntry* Find(uint16_t type, uint16_t name,
                              std::optional<uint16_t> language = std::nullopt) const;
    // Every entry of a numbered type, in stored order.
    std::vector<const ResourceEntry*> OfType(uint16_t type) const;
};

// Parses the records of a compiled .res file. Returns nothing when a record header is malformed or
// runs past the end of the data.
std::optional<ResourceSet> ReadResFile(const uint8_t* data, size_t size);

} // namespace resources
