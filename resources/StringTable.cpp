#include "resources/StringTable.h"

#include "resources/ByteReader.h"
#include "resources/Codepage.h"

namespace resources {

std::optional<std::u16string> StringFromBlock(const uint8_t* data, size_t size, unsigned index) {
    if (index >= 16)
        return std::nullopt;
    ByteReader r(data, size);
    for (unsigned i = 0; i < index; ++i)
        r.skip(size_t{r.u16()} * 2);
    uint16_t length = r.u16();
    const uint8_t* chars = r.bytes(size_t{length} * 2);
    if (!r.ok())
        return std::nullopt;
    std::u16string text;
    text.reserve(length);
    for (uint16_t i = 0; i < length; ++i)
        text.push_back(static_cast<char16_t>(chars[2 * i] | (chars[2 * i + 1] << 8)));
    return text;
}

std::optional<std::u16string> LoadStringUtf16(const ResourceSet& set, uint32_t id,
                                              std::optional<uint16_t> language) {
    if (id > 0xFFFF)
        return std::nullopt;
    const ResourceEntry* block =
        set.Find(kTypeString, static_cast<uint16_t>(id / 16 + 1), language);
    if (block == nullptr)
        return std::nullopt;
    std::optional<std::u16string> text =
        StringFromBlock(block->data.data(), block->data.size(), id % 16);
    // An empty entry is how a block marks a number that is not defined.
    if (!text || text->empty())
        return std::nullopt;
    return text;
}

std::optional<std::string> LoadStringCp1252(const ResourceSet& set, uint32_t id,
                                            std::optional<uint16_t> language) {
    std::optional<std::u16string> text = LoadStringUtf16(set, id, language);
    if (!text)
        return std::nullopt;
    return Utf16ToCp1252(*text);
}

} // namespace resources
