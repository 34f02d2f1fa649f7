#include "tests/conformance/pe_headers.h"

#include "resources/ByteReader.h"

namespace conformance {

using resources::ByteReader;

namespace {

constexpr uint16_t kMagicPe32 = 0x10B;
constexpr uint16_t kMagicPe32Plus = 0x20B;
constexpr uint32_t kImportDirectory = 1;
constexpr uint32_t kDelayImportDirectory = 13;
// Far more than any real program has: a directory without its terminator ends here.
constexpr size_t kMaxDescriptors = 4096;
constexpr size_t kMaxNameLength = 260;

struct Section {
    uint32_t virtualAddress = 0, virtualSize = 0, rawSize = 0, rawOffset = 0;
};

struct Image {
    const uint8_t* data = nullptr;
    size_t size = 0;
    std::vector<Section> sections;

    // The file offset of an address; nothing when no section holds it in the file.
    std::optional<size_t> OffsetOf(uint32_t rva) const {
        for (const Section& s : sections) {
            uint32_t span = s.virtualSize ? s.virtualSize : s.rawSize;
            if (rva >= s.virtualAddress && rva - s.virtualAddress < span &&
                rva - s.virtualAddress < s.rawSize) {
                size_t offset = size_t(s.rawOffset) + (rva - s.virtualAddress);
                if (offset < size)
                    return offset;
            }
        }
        return std::nullopt;
    }

    std::optional<std::string> NameAt(uint32_t rva) const {
        auto offset = OffsetOf(rva);
        if (!offset)
            return std::nullopt;
        std::string name;
        for (size_t i = *offset; i < size && name.size() < kMaxNameLength; ++i) {
            if (data[i] == 0)
                return name;
            name.push_back(static_cast<char>(data[i]));
        }
        return std::nullopt;
    }
};

// DLL names of a directory of fixed-size descriptors that name their DLL at `nameField` and end
// with an all-zero descriptor.
std::optional<std::vector<std::string>> ReadDllNames(const Image& image, uint32_t rva,
                                                     size_t descriptorSize, size_t nameField) {
    std::vector<std::string> names;
    if (rva == 0)
        return names;
    auto offset = image.OffsetOf(rva);
    if (!offset)
        return std::nullopt;
    ByteReader r(image.data, image.size);
    r.seek(*offset);
    for (size_t i = 0; i < kMaxDescriptors; ++i) {
        const uint8_t* descriptor = r.bytes(descriptorSize);
        if (!descriptor)
            return std::nullopt;
        bool empty = true;
        for (size_t k = 0; k < descriptorSize; ++k)
            empty = empty && descriptor[k] == 0;
        if (empty)
            return names;
        ByteReader field(descriptor + nameField, 4);
        auto name = image.NameAt(field.u32());
        if (!name)
            return std::nullopt;
        names.push_back(*name);
    }
    return std::nullopt;
}

} // namespace

std::optional<PeHeaders> ReadPeHeaders(const uint8_t* data, size_t size) {
    ByteReader r(data, size);
    if (r.u16() != 0x5A4D || !r.seek(0x3C) || !r.seek(r.u32()) || r.u32() != 0x00004550)
        return std::nullopt;
    PeHeaders pe;
    pe.machine = r.u16();
    uint16_t sectionCount = r.u16();
    r.skip(12);
    uint16_t optionalSize = r.u16();
    r.skip(2);
    size_t optionalStart = r.offset();
    uint16_t magic = r.u16();
    if (!r.ok() || (magic != kMagicPe32 && magic != kMagicPe32Plus))
        return std::nullopt;
    pe.plus = magic == kMagicPe32Plus;
    r.seek(optionalStart + 68);
    pe.subsystem = r.u16();
    pe.dllCharacteristics = r.u16();
    r.seek(optionalStart + (pe.plus ? 108 : 92));
    uint32_t directoryCount = r.u32();
    size_t directories = r.offset();
    auto directoryRva = [&](uint32_t index) -> uint32_t {
        if (index >= directoryCount)
            return 0;
        ByteReader d = r.sub(directories + 8 * size_t(index), 4);
        return d.u32();
    };

    Image image{data, size, {}};
    r.seek(optionalStart + optionalSize);
    for (uint16_t i = 0; i < sectionCount && r.ok(); ++i) {
        r.skip(8); // name
        Section s;
        s.virtualSize = r.u32();
        s.virtualAddress = r.u32();
        s.rawSize = r.u32();
        s.rawOffset = r.u32();
        r.skip(16);
        image.sections.push_back(s);
    }
    if (!r.ok())
        return std::nullopt;

    // An import descriptor is 20 bytes with the name at 12; a delay-load descriptor 32 with it
    // at 4.
    auto imports = ReadDllNames(image, directoryRva(kImportDirectory), 20, 12);
    auto delayed = ReadDllNames(image, directoryRva(kDelayImportDirectory), 32, 4);
    if (!imports || !delayed)
        return std::nullopt;
    pe.imports = *imports;
    pe.delayedImports = *delayed;
    return pe;
}

} // namespace conformance
