#include "platform/posix/ProfileParser.h"

#include <cstring>

namespace platform {

namespace {

std::string NameKey(const std::string& name) {
    std::string key = TrimProfileBlanks(name.data(), name.data() + name.size());
    for (char& c : key)
        c = FoldProfileCase(c);
    return key;
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

        ProfileLine line = ClassifyProfileLine(cursor, lineEnd);
        cursor = next;
        if (line.kind == ProfileLine::Kind::Section)
            keys = data.OpenSection(line.name);
        else if (line.kind == ProfileLine::Kind::Key && keys)
            ProfileData::AddKey(*keys, line.name, ProfileValueAsRead(line.value));
    }
    return data;
}

} // namespace platform
