#include "platform/posix/ProfileParser.h"

#include "platform/ProfileText.h"
#include "platform/posix/ProfileEncoding.h"
#include "resources/Codepage.h"

#include <algorithm>

namespace platform {

namespace {

// The blanks are all ASCII: a no-break space or an ideographic space stays part of a value.
bool IsBlank(char16_t c) {
    return c < 0x80 && IsProfileBlank(static_cast<char>(c));
}

using Text = std::u16string;
using Cursor = Text::const_iterator;

Text Trimmed(Cursor begin, Cursor end) {
    while (begin < end && IsBlank(*begin))
        ++begin;
    while (end > begin && IsBlank(end[-1]))
        --end;
    return Text(begin, end);
}

std::string FoldedName(std::string name) {
    for (char& c : name)
        c = FoldProfileCase(c);
    return name;
}

// A name of the file as the setup can ask for it, or false for a name with a character outside
// code page 1252: the 8-bit name asked for never equals it.
bool FileNameKey(const Text& name, std::string& key) {
    std::string narrow = resources::Utf16ToCp1252(name);
    if (resources::Cp1252ToUtf16(narrow) != name)
        return false;
    key = FoldedName(narrow);
    return true;
}

std::string AskedNameKey(const std::string& name) {
    return FoldedName(TrimProfileBlanks(name.data(), name.data() + name.size()));
}

// The value as GetPrivateProfileStringA returns it: trimmed in the file's own characters (a
// blank is ASCII, so an ideographic space stays), then converted to code page 1252, one
// character for each UTF-16 unit, and read by the rule all profile text shares.
std::string ValueOf(Cursor begin, Cursor end) {
    return ProfileValueAsRead(resources::Utf16ToCp1252(Trimmed(begin, end)));
}

} // namespace

std::string ProfileData::Find(const std::string& section, const std::string& key) const {
    auto keys = m_sections.find(AskedNameKey(section));
    if (keys == m_sections.end())
        return "";
    auto value = keys->second.find(AskedNameKey(key));
    return value == keys->second.end() ? "" : value->second;
}

ProfileData::Keys* ProfileData::OpenSection(const std::string& nameKey) {
    auto opened = m_sections.emplace(nameKey, Keys());
    return opened.second ? &opened.first->second : nullptr;
}

void ProfileData::AddKey(Keys& keys, const std::string& nameKey, std::string value) {
    keys.emplace(nameKey, std::move(value));
}

ProfileData ParseProfile(const char* bytes, size_t size) {
    const Text text = DecodeProfileText(bytes, size);
    ProfileData data;
    Cursor cursor = text.begin();
    const Cursor end = text.end();

    // Keys before the first section, in a repeated section and in one whose name cannot be
    // asked for go nowhere.
    ProfileData::Keys* keys = nullptr;
    while (cursor < end) {
        Cursor lineEnd = cursor;
        while (lineEnd < end && *lineEnd != '\n' && *lineEnd != '\r')
            ++lineEnd;
        Cursor next = lineEnd;
        if (next < end && *next == '\r')
            ++next;
        if (next < end && *next == '\n')
            ++next;

        Cursor begin = cursor;
        Cursor last = lineEnd;
        cursor = next;
        while (begin < last && IsBlank(*begin))
            ++begin;
        while (last > begin && IsBlank(last[-1]))
            --last;
        if (begin == last || *begin == ';')
            continue;

        std::string name;
        if (*begin == '[') {
            // The name runs to the last "]" of the line; without one the line is no header.
            Cursor close = last;
            while (close > begin && close[-1] != ']')
                --close;
            if (close > begin + 1) {
                keys = FileNameKey(Trimmed(begin + 1, close - 1), name) ? data.OpenSection(name)
                                                                        : nullptr;
                continue;
            }
        }
        Cursor equals = std::find(begin, last, u'=');
        if (keys && equals != last && FileNameKey(Trimmed(begin, equals), name))
            ProfileData::AddKey(*keys, name, ValueOf(equals + 1, last));
    }
    return data;
}

} // namespace platform
