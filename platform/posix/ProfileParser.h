// The content of a Windows profile (INI) file, parsed once and then looked up by name.
#pragma once

#include "platform/ProfileText.h"

#include <cstddef>
#include <string>
#include <unordered_map>

namespace platform {

class ProfileData {
public:
    // The value of `key` in `section`, "" when either is absent. Names match without regard to
    // case (code page 1252); blanks around the names asked for are ignored.
    std::string Find(const std::string& section, const std::string& key) const;

    using Keys = std::unordered_map<std::string, std::string>;

    // The keys of a section just opened, or nullptr for a later section of a name already seen:
    // the Windows reader only ever reads the first one, and of its keys the first of a name.
    // Names are given as found by Find: in code page 1252, folded to lower case.
    Keys* OpenSection(const std::string& nameKey);
    static void AddKey(Keys& keys, const std::string& nameKey, std::string value);

private:
    std::unordered_map<std::string, Keys> m_sections;
};

// Parses profile text: "[section]" lines open a section and "key=value" lines inside one give
// values. The text is in code page 1252, or in UTF-16 or UTF-8 after a byte-order mark
// (DecodeProfileText); values come back in code page 1252, with what it cannot hold replaced as
// WideCharToMultiByte replaces it. Line ends are CR LF, LF or CR. Blank lines, ";" comments,
// lines before the first section and lines without "=" are ignored. Blanks (space, tab, vertical
// tab, form feed, Ctrl-Z) around names and values are removed; a value enclosed in a matching
// pair of double or single quotes loses them, as with the Windows reader; a value is cut at its
// first NUL and then at kProfileValueLimit characters.
ProfileData ParseProfile(const char* text, size_t size);

} // namespace platform
