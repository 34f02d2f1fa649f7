#include "check/PrintableText.h"

#include "framework/Messages.h"
#include "resources/Codepage.h"

#include <cstdio>

namespace {

// Controls, and the five bytes that Windows-1252 maps to C1 controls.
bool IsControl(unsigned char c) {
    return c < 0x20 || c == 0x7F || c == 0x81 || c == 0x8D || c == 0x8F || c == 0x90 || c == 0x9D;
}

std::string Escaped(unsigned char c) {
    switch (c) {
    case '\n':
        return "\\n";
    case '\r':
        return "\\r";
    case '\t':
        return "\\t";
    default:
        char hex[8];
        std::snprintf(hex, sizeof hex, "\\x%02X", c);
        return hex;
    }
}

#ifndef _WIN32
// The length of the well-formed UTF-8 sequence at `at`, or 0 when there is none.
size_t Utf8SequenceAt(const std::string& text, size_t at) {
    unsigned char lead = static_cast<unsigned char>(text[at]);
    size_t length = lead >= 0xC2 && lead <= 0xDF   ? 2
                    : lead >= 0xE0 && lead <= 0xEF ? 3
                    : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                   : 0;
    if (length == 0 || at + length > text.size())
        return 0;
    unsigned char second = static_cast<unsigned char>(text[at + 1]);
    // Overlong forms, surrogates and code points beyond U+10FFFF are not well-formed.
    if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second > 0x9F) ||
        (lead == 0xF0 && second < 0x90) || (lead == 0xF4 && second > 0x8F))
        return 0;
    for (size_t i = 1; i < length; ++i)
        if ((static_cast<unsigned char>(text[at + i]) & 0xC0) != 0x80)
            return 0;
    // U+0080..U+009F, the C1 controls, are encoded C2 80..C2 9F.
    if (lead == 0xC2 && second < 0xA0)
        return 0;
    return length;
}
#endif

} // namespace

std::string PrintableText(const std::string& ansi) {
    std::string out;
    out.reserve(ansi.size());
    size_t run = 0;
    for (size_t at = 0; at <= ansi.size(); ++at) {
        unsigned char u = at < ansi.size() ? static_cast<unsigned char>(ansi[at]) : 0;
        if (at < ansi.size() && !IsControl(u))
            continue;
        out += resources::Cp1252ToUtf8(ansi.substr(run, at - run));
        if (at < ansi.size())
            out += Escaped(u);
        run = at + 1;
    }
    return out;
}

std::string PrintableMessage(UINT id, std::initializer_list<std::string> printableArgs) {
    return FormatPlaceholders(PrintableText(LoadMessage(id)), printableArgs);
}

std::string PrintableArgument(const std::string& argument) {
#ifdef _WIN32
    return PrintableText(argument);
#else
    // Bytes that are no UTF-8 are shown escaped, as controls are: the path stays recognisable
    // and nothing undecodable reaches the terminal.
    std::string out;
    for (size_t at = 0; at < argument.size();) {
        unsigned char u = static_cast<unsigned char>(argument[at]);
        size_t length = u < 0x80 ? (IsControl(u) ? 0 : 1) : Utf8SequenceAt(argument, at);
        if (length == 0) {
            out += Escaped(u);
            ++at;
        } else {
            out.append(argument, at, length);
            at += length;
        }
    }
    return out;
#endif
}
