#include "resources/NeImage.h"

#include "resources/ByteReader.h"
#include "resources/ImageSource.h"
#include "resources/ResourceSet.h"

#include <algorithm>

namespace resources {

namespace {

constexpr uint16_t kDosMagic = 0x5A4D;    // "MZ"
constexpr uint16_t kNeSignature = 0x454E; // "NE"
constexpr size_t kDosHeaderSize = 64;
constexpr size_t kNeHeaderSize = 64;
constexpr size_t kNameInfoSize = 12;
// Types and names with the high bit set are numbers; without it they are offsets of names.
constexpr uint16_t kNumbered = 0x8000;
constexpr uint16_t kVersionType = kNumbered | kTypeVersion;
constexpr uint16_t kVersionName = kNumbered | 1;
// Offsets and lengths in the table count units of 2^shift bytes; the loader takes them as 32-bit
// file offsets, which a shift of 32 or more leaves behind for every resource.
constexpr uint16_t kMaxAlignmentShift = 31;
// A version block states its length in 16 bits, and a node may reach three bytes into the padding
// behind it. A table that claims a longer resource lies, and the rest is never read.
constexpr uint64_t kMaxVersionBlockBytes = 0xFFFF + 3;

struct Extent {
    uint64_t offset = 0;
    uint64_t length = 0;
};

// The resource table has no length of its own: it ends where the resident-name table begins,
// which the header places right behind it.
std::optional<std::vector<uint8_t>> ReadResourceTable(ImageSource& source) {
    uint32_t neOffset = 0;
    bool dosOk = ReadStructure(source, 0, kDosHeaderSize, [&](ByteReader& r) {
        if (r.u16() != kDosMagic)
            r.fail();
        r.seek(0x3C);
        neOffset = r.u32();
    });
    uint16_t tableStart = 0;
    uint16_t tableEnd = 0;
    bool neOk = dosOk && ReadStructure(source, neOffset, kNeHeaderSize, [&](ByteReader& r) {
                    if (r.u16() != kNeSignature)
                        r.fail();
                    r.seek(0x24);
                    tableStart = r.u16();
                    tableEnd = r.u16(); // the resident-name table's offset
                });
    if (!neOk)
        return std::nullopt;
    std::vector<uint8_t> table;
    if (tableEnd > tableStart &&
        !source.read(uint64_t(neOffset) + tableStart, size_t(tableEnd - tableStart), table))
        return std::nullopt;
    return table;
}

// The first resource of type RT_VERSION numbered 1. The table is a list of types, each with its
// resources, ended by a type of 0; a table that ends, or runs out, before it has none.
std::optional<Extent> FindVersionEntry(const std::vector<uint8_t>& table) {
    ByteReader r(table.data(), table.size());
    uint16_t shift = r.u16();
    if (!r.ok() || shift > kMaxAlignmentShift)
        return std::nullopt;
    while (r.ok()) {
        uint16_t type = r.u16();
        uint16_t count = r.u16();
        r.skip(4); // reserved
        if (!r.ok() || type == 0)
            break;
        if (type != kVersionType) {
            r.skip(size_t(count) * kNameInfoSize);
            continue;
        }
        for (uint16_t i = 0; i < count && r.ok(); ++i) {
            uint16_t offset = r.u16();
            uint16_t length = r.u16();
            r.skip(2); // flags
            uint16_t name = r.u16();
            r.skip(4); // handle and usage, the loader's own
            if (r.ok() && name == kVersionName)
                return Extent{uint64_t(offset) << shift, uint64_t(length) << shift};
        }
    }
    return std::nullopt;
}

} // namespace

std::optional<std::vector<uint8_t>> ReadNeVersionResource(ImageSource& source) {
    std::optional<std::vector<uint8_t>> table = ReadResourceTable(source);
    if (!table)
        return std::nullopt;
    std::optional<Extent> entry = FindVersionEntry(*table);
    if (!entry || entry->length == 0 || entry->offset >= source.size())
        return std::nullopt;
    // The length counts whole alignment units: the padding of a module's last resource may be
    // missing from the file, and the block inside keeps its own length.
    uint64_t length =
        std::min({entry->length, kMaxVersionBlockBytes, source.size() - entry->offset});
    std::vector<uint8_t> block;
    if (!source.read(entry->offset, size_t(length), block))
        return std::nullopt;
    return block;
}

std::optional<std::vector<uint8_t>> ReadNeVersionResource(const uint8_t* data, size_t size) {
    BufferSource source(data, size);
    return ReadNeVersionResource(source);
}

std::optional<std::vector<uint8_t>> ReadNeVersionResource(const std::string& path) {
    FileSource source(path);
    if (!source.isOpen())
        return std::nullopt;
    return ReadNeVersionResource(source);
}

} // namespace resources
