#include "platform/ProfileOutline.h"

#include "platform/ProfileText.h"
#include "resources/Codepage.h"

namespace platform {

namespace {

using Mark = ProfileOutline::Mark;

Mark ByteOrderMarkOf(const std::string& text) {
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0)
        return Mark::Utf8;
    if (text.compare(0, 2, "\xFF\xFE") == 0)
        return Mark::Utf16LittleEndian;
    if (text.compare(0, 2, "\xFE\xFF") == 0)
        return Mark::Utf16BigEndian;
    return Mark::None;
}

std::string Utf16ToAnsi(const std::string& bytes, bool littleEndian) {
    std::u16string wide;
    for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
        unsigned char first = static_cast<unsigned char>(bytes[i]);
        unsigned char second = static_cast<unsigned char>(bytes[i + 1]);
        wide.push_back(littleEndian ? static_cast<char16_t>(first | second << 8)
                                    : static_cast<char16_t>(first << 8 | second));
    }
    return resources::Utf16ToCp1252(wide);
}

// The five byte values that code page 1252 assigns no character.
bool IsUndefinedInCp1252(char c) {
    unsigned char u = static_cast<unsigned char>(c);
    return u == 0x81 || u == 0x8D || u == 0x8F || u == 0x90 || u == 0x9D;
}

} // namespace

bool SameProfileName(const std::string& a, const std::string& b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (FoldProfileCase(a[i]) != FoldProfileCase(b[i]))
            return false;
    return true;
}

ProfileOutline OutlineProfile(const std::string& raw) {
    ProfileOutline outline;
    outline.byteOrderMark = ByteOrderMarkOf(raw);
    std::string text = raw;
    if (outline.byteOrderMark == Mark::Utf8)
        text = raw.substr(3);
    else if (outline.byteOrderMark != Mark::None)
        text = Utf16ToAnsi(raw, outline.byteOrderMark == Mark::Utf16LittleEndian);

    const char* cursor = text.data();
    const char* const end = cursor + text.size();
    for (int number = 1; cursor < end; ++number) {
        const char* lineEnd = cursor;
        while (lineEnd < end && *lineEnd != '\n' && *lineEnd != '\r')
            ++lineEnd;
        for (const char* c = cursor; c < lineEnd; ++c)
            if (IsUndefinedInCp1252(*c)) {
                outline.undefinedByteLines.push_back(number);
                break;
            }

        ProfileLine line = ClassifyProfileLine(cursor, lineEnd);
        if (line.kind == ProfileLine::Kind::Section) {
            outline.sections.push_back(OutlineSection{number, line.name, {}});
        } else if (line.kind == ProfileLine::Kind::Key) {
            if (outline.sections.empty())
                outline.keysBeforeFirstSection.push_back(number);
            else
                outline.sections.back().keys.push_back(
                    OutlineKey{number, line.name, line.value, ProfileValueAsRead(line.value)});
        }

        cursor = lineEnd;
        if (cursor < end && *cursor == '\r')
            ++cursor;
        if (cursor < end && *cursor == '\n')
            ++cursor;
    }
    return outline;
}

} // namespace platform
