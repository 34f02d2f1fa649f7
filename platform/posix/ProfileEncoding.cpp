#include "platform/posix/ProfileEncoding.h"

#include "resources/Codepage.h"

#include <cstring>

namespace platform {

namespace {

constexpr char16_t kReplacement = 0xFFFD;

std::u16string DecodeUtf16(const unsigned char* bytes, size_t size, bool bigEndian) {
    std::u16string text;
    text.reserve(size / 2);
    for (size_t i = 0; i + 1 < size; i += 2)
        text += bigEndian ? char16_t(bytes[i] << 8 | bytes[i + 1])
                          : char16_t(bytes[i + 1] << 8 | bytes[i]);
    if (size % 2 == 1)
        text += kReplacement;
    return text;
}

// How many continuation bytes a lead byte announces; 0 for a byte that cannot start a sequence
// (a continuation byte, the overlong leads C0 and C1, and F5 and above).
size_t ContinuationCount(unsigned char lead) {
    if (lead >= 0xC2 && lead <= 0xDF)
        return 1;
    if (lead >= 0xE0 && lead <= 0xEF)
        return 2;
    if (lead >= 0xF0 && lead <= 0xF4)
        return 3;
    return 0;
}

bool IsContinuation(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

// One character from `at` on, whose lead byte is not ASCII. The Windows decoder checks each
// continuation byte as it comes: a sequence is cut where it turns out overlong, a surrogate or
// beyond U+10FFFF, the bytes read so far count as one broken character, and the byte that broke
// it starts the next one. A sequence that runs past the end takes the rest of the text with it.
char32_t DecodeUtf8Sequence(const unsigned char* bytes, size_t size, size_t& at) {
    const unsigned char lead = bytes[at++];
    const size_t count = ContinuationCount(lead);
    if (count == 0)
        return kReplacement;
    if (at + count > size) {
        at = size;
        return kReplacement;
    }
    char32_t value = lead & (0x7F >> (count + 1));
    for (size_t k = 0; k < count; ++k) {
        if (!IsContinuation(bytes[at]))
            return kReplacement;
        value = value << 6 | (bytes[at] & 0x3F);
        const bool beforeLast = k + 2 == count;
        if (beforeLast && value >= (0x110000 >> 6))
            return kReplacement; // beyond U+10FFFF; this byte starts the next character
        ++at;
        if (count == 3 && k == 0 && value < 0x10)
            return kReplacement; // overlong four-byte form
        if (beforeLast && (value < 0x20 || (value >= (0xD800 >> 6) && value <= (0xDFFF >> 6))))
            return kReplacement; // overlong three-byte form, or a surrogate
    }
    return value;
}

std::u16string DecodeUtf8(const unsigned char* bytes, size_t size) {
    std::u16string text;
    text.reserve(size);
    size_t at = 0;
    while (at < size) {
        if (bytes[at] < 0x80) {
            text += char16_t(bytes[at++]);
            continue;
        }
        char32_t c = DecodeUtf8Sequence(bytes, size, at);
        if (c >= 0x10000) {
            text += char16_t(0xD800 | ((c - 0x10000) >> 10));
            text += char16_t(0xDC00 | ((c - 0x10000) & 0x3FF));
        } else {
            text += char16_t(c);
        }
    }
    return text;
}

} // namespace

std::u16string DecodeProfileText(const char* text, size_t size) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(text);
    if (size >= 3 && std::memcmp(bytes, "\xEF\xBB\xBF", 3) == 0)
        return DecodeUtf8(bytes + 3, size - 3);
    if (size >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE)
        return DecodeUtf16(bytes + 2, size - 2, false);
    if (size >= 2 && bytes[0] == 0xFE && bytes[1] == 0xFF)
        return DecodeUtf16(bytes + 2, size - 2, true);
    return resources::Cp1252ToUtf16(std::string(text, size));
}

} // namespace platform
