#include "platform/ProfileText.h"

#include <cstring>

namespace platform {

// The Windows reader also takes Ctrl-Z, the old end-of-file mark, for a blank.
bool IsProfileBlank(char c) {
    return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r' || c == '\x1a';
}

char FoldProfileCase(char c) {
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

std::string TrimProfileBlanks(const char* begin, const char* end) {
    while (begin < end && IsProfileBlank(*begin))
        ++begin;
    while (end > begin && IsProfileBlank(end[-1]))
        --end;
    return std::string(begin, end);
}

namespace {

std::string UpToNul(const std::string& text) {
    size_t nul = text.find('\0');
    return nul == std::string::npos ? text : text.substr(0, nul);
}

bool Quoted(const std::string& value) {
    return value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
           value.back() == value.front();
}

} // namespace

bool HasProfileQuotes(const std::string& text) {
    return Quoted(UpToNul(text));
}

// A quoted value that fills the buffer with its closing quote cut off keeps its opening quote
// removed, and loses the last character in the buffer instead of the quote.
std::string ProfileValueAsRead(const std::string& text) {
    std::string value = UpToNul(text);
    if (!Quoted(value))
        return value.substr(0, kProfileValueLimit);
    std::string seen = value.substr(1, kProfileValueLimit);
    if (value.size() - 1 <= kProfileValueLimit + 1)
        seen.pop_back();
    return seen;
}

ProfileLine ClassifyProfileLine(const char* begin, const char* end) {
    ProfileLine line;
    const std::string trimmed = TrimProfileBlanks(begin, end);
    begin = trimmed.data();
    end = begin + trimmed.size();
    if (begin == end || *begin == ';')
        return line;

    if (*begin == '[') {
        // The name runs to the last "]" of the line; without one the line is no header.
        const char* close = end;
        while (close > begin && close[-1] != ']')
            --close;
        if (close > begin + 1) {
            line.kind = ProfileLine::Kind::Section;
            line.name = std::string(begin + 1, close - 1);
            return line;
        }
    }
    const char* equals = static_cast<const char*>(std::memchr(begin, '=', end - begin));
    if (!equals) {
        line.kind = ProfileLine::Kind::Other;
        return line;
    }
    line.kind = ProfileLine::Kind::Key;
    line.name = TrimProfileBlanks(begin, equals);
    line.value = TrimProfileBlanks(equals + 1, end);
    return line;
}

} // namespace platform
