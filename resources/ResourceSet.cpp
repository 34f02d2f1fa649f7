#include "resources/ResourceSet.h"

#include "resources/ByteReader.h"

namespace resources {

const ResourceEntry* ResourceSet::Find(uint16_t type, uint16_t name,
                                       std::optional<uint16_t> language) const {
    for (const ResourceEntry& e : entries) {
        if (e.type.isNumber && e.type.number == type && e.name.isNumber && e.name.number == name &&
            (!language || e.language == *language))
            return &e;
    }
    return nullptr;
}

std::vector<const ResourceEntry*> ResourceSet::OfType(uint16_t type) const {
    std::vector<const ResourceEntry*> found;
    for (const ResourceEntry& e : entries)
        if (e.type.isNumber && e.type.number == type)
            found.push_back(&e);
    return found;
}

namespace {

// A type or name field of a .res record header: 0xFFFF followed by a number, or a UTF-16 string.
ResId ReadResIdField(ByteReader& r) {
    size_t start = r.offset();
    if (r.u16() == 0xFFFF)
        return ResId::Number(r.u16());
    r.seek(start);
    return ResId::Name(r.utf16z());
}

} // namespace

std::optional<ResourceSet> ReadResFile(const uint8_t* data, size_t size) {
    ByteReader r(data, size);
    ResourceSet set;
    while (r.ok() && r.remaining() > 0) {
        size_t recordStart = r.offset();
        uint32_t dataSize = r.u32();
        uint32_t headerSize = r.u32();
        ResId type = ReadResIdField(r);
        ResId name = ReadResIdField(r);
        r.alignTo(4);
        r.u32(); // data version
        r.u16(); // memory flags
        uint16_t language = r.u16();
        if (!r.ok() || headerSize < 32 || headerSize > size - recordStart)
            return std::nullopt;
        r.seek(recordStart + headerSize);
        const uint8_t* bytes = r.bytes(dataSize);
        if (!r.ok())
            return std::nullopt;
        // The leading empty record of every .res file marks the format and carries nothing.
        if (!(type.isNumber && type.number == 0 && dataSize == 0))
            set.entries.push_back(ResourceEntry{type, name, language, {bytes, bytes + dataSize}});
        // Records start on 4-byte boundaries; the last one may end the file unpadded.
        if (r.remaining() <= (4 - r.offset() % 4) % 4)
            break;
        r.alignTo(4);
    }
    return set;
}

} // namespace resources
