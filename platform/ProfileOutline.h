// A profile file as its author wrote it: every section and key with its line, in file order,
// repeated names included. The reader's own rules (ProfileText.h) decide what a line is.
#pragma once

#include <string>
#include <vector>

namespace platform {

struct OutlineKey {
    int line = 0;
    std::string name;  // as written, blanks around it removed
    std::string text;  // the trimmed text after "="
    std::string value; // what the reader returns for it
};

struct OutlineSection {
    int line = 0;
    std::string name;
    std::vector<OutlineKey> keys;
};

struct ProfileOutline {
    enum class Mark { None, Utf8, Utf16LittleEndian, Utf16BigEndian } byteOrderMark = Mark::None;
    std::vector<OutlineSection> sections;
    std::vector<int> keysBeforeFirstSection; // lines of keys that belong to no section
    std::vector<int> undefinedByteLines;     // lines with bytes code page 1252 leaves undefined
};

// Outlines profile text. A UTF-8 mark is skipped and UTF-16 text is brought to code page 1252
// first, so the lines of such files are still found.
ProfileOutline OutlineProfile(const std::string& text);

// Whether two names are the same name to the reader.
bool SameProfileName(const std::string& a, const std::string& b);

} // namespace platform
