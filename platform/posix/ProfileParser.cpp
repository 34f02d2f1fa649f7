#include "platform/posix/ProfileParser.h"

#include <cstring>

namespace platform {

namespace {

// The Windows reader also takes Ctrl-Z, the old end-of-file mark, for a blank.
bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r' || c == '\x1a';
}

// Lower case in code page 1252, as the names of a German system's profiles compare.
char FoldCase(char c) {
    unsigned char u = static_cast<unsigned char>(c);
    if ((u >= 'A' && u <= 'Z') || (u >= 0xC0 && u <= 0xDE && u != 0xD7))
        return static_cast<char>(u + 0x20);
    switch (u) {
    case 0x8A: // S with caron
    case 0x8C: // OE
    case 0x8E: // Z with caron
        return static_cast<char>(u + 0x10);
    case 0x9F: // Y with diaeresis
        return static_cast<char>(0xFF);
    default:
        return c;
    }
}

std::string Trimmed(const char* begin, const char* end) {
    while (begin < end && IsBlank(*begin))
        ++begin;
    while (end > begin && IsBlank(end[-1]))
        --end;
    return std::string(begin, end);
}

std::string NameKey(const std::string& name) {
    std::string key = Trimmed(name.data(), name.data() + name.size());
    for (char& c : key)
        c = FoldCase(c);
    return key;
}

std::string ValueOf(const char* begin, const char* end) {
    std::string value = Trimmed(begin, end);
    size_t nul = value.find('\0');
    if (nul != std::string::npos)
        value.resize(nul);
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    if (value.size() > kProfileValueLimit)
        value.resize(kProfileValueLimit);
    return value;
}

} // namespace

std::string ProfileData::Find(const std::string& section, const std::string& key) const {
    auto keys = sections_.find(NameKey(section));
    if (keys == sections_.end())
        return "";
    auto value = keys->second.find(NameKey(key));
    return value == keys->second.end() ? "" : value->second;
}

ProfileData::Keys* ProfileData::OpenSection(const std::string& name) {
    auto opened = sections_.emplace(NameKey(name), Keys());
    return opened.second ? &opened.first->second : nullptr;
}

void ProfileData::AddKey(Keys& keys, const std::string& name, std::string value) {
    keys.emplace(NameKey(name), std::move(value));
}

ProfileData ParseProfile(const char* text, size_t size) {
    ProfileData data;
    const char* cursor = text;
    const char* const end = text + size;
    if (size >= 3 && std::memcmp(text, "\xEF\xBB\xBF", 3) == 0)
        cursor += 3;

    // Keys before the first section, and in a repeated section, go nowhere.
    ProfileData::Keys* keys = nullptr;
    while (cursor < end) {
        const char* lineEnd = cursor;
        while (lineEnd < end && *lineEnd != '\n' && *lineEnd != '\r')
            ++lineEnd;
        const char* next = lineEnd;
        if (next < end && *next == '\r')
            ++next;
        if (next < end && *next == '\n')
            ++next;

        const char* begin = cursor;
        const char* last = lineEnd;
        cursor = next;
        while (begin < last && IsBlank(*begin))
            ++begin;
        while (last > begin && IsBlank(last[-1]))
            --last;
        if (begin == last || *begin == ';')
            continue;

        if (*begin == '[') {
            // The name runs to the last "]" of the line; without one the line is no header.
            const char* close = last;
            while (close > begin && close[-1] != ']')
                --close;
            if (close > begin + 1) {
                keys = data.OpenSection(std::string(begin + 1, close - 1));
                continue;
            }
        }
        const char* equals = static_cast<const char*>(std::memchr(begin, '=', last - begin));
        if (keys && equals)
            ProfileData::AddKey(*keys, std::string(begin, equals), ValueOf(equals + 1, last));
    }
    return data;
}

} // namespace platform
