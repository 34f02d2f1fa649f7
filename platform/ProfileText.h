// The rules by which a profile (INI) file's lines become sections, names and values, shared by the
// POSIX reader and by tools that need to see the file's own lines.
#pragma once

#include <cstddef>
#include <string>

namespace platform {

// At most this many characters of a value are seen: the setup reads into 1024-byte buffers.
constexpr size_t kProfileValueLimit = 1023;

// A profile file larger than this reads as absent, every value empty: a real SETUP.INF or
// TALMORIX.INI holds a few kilobytes, and a file that someone made huge (or sparse, huge in
// length only) must not fill the setup's memory.
constexpr size_t kProfileFileLimit = size_t(16) << 20;

// Space, tab, vertical tab, form feed, CR and Ctrl-Z: what the Windows reader trims.
bool IsProfileBlank(char c);

// Lower case in code page 1252, as the names of a German system's profiles compare.
char FoldProfileCase(char c);

// The text between `begin` and `end` without the blanks around it.
std::string TrimProfileBlanks(const char* begin, const char* end);

// What the reader returns for the (trimmed) text after "=": cut at its first NUL, without a
// matching pair of enclosing double or single quotes, cut at kProfileValueLimit characters (a
// quoted value whose closing quote falls beyond the limit loses one character more).
std::string ProfileValueAsRead(const std::string& text);

// Whether the reader removes enclosing quotes from the (trimmed) text after "=".
bool HasProfileQuotes(const std::string& text);

// What one line (without its line end) is to the reader.
struct ProfileLine {
    enum class Kind { Ignored, Section, Key, Other } kind = Kind::Ignored;
    std::string name;  // the section name, or the key's name with blanks removed
    std::string value; // a key's trimmed text after "=", before ProfileValueAsRead
};
// Blank lines and ";" comments are Ignored; "[name]" (up to the last "]") opens a Section;
// "name=value" is a Key; anything else is Other, which the reader skips.
ProfileLine ClassifyProfileLine(const char* begin, const char* end);

} // namespace platform
