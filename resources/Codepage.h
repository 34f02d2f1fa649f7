// Text conversions between the resources' UTF-16, the program's 8-bit ANSI text (Windows code
// page 1252, as the A-functions give it on a western system) and the terminal's UTF-8.
#pragma once

#include <string>

namespace resources {

// As WideCharToMultiByte(1252) without flags converts: a character that code page 1252 cannot
// hold becomes a similar one where Windows has one (its best fit), else '?', unit by unit.
std::string Utf16ToCp1252(const std::u16string& text);
std::u16string Cp1252ToUtf16(const std::string& text);
std::string Cp1252ToUtf8(const std::string& text);
std::string Utf8ToCp1252(const std::string& text);

} // namespace resources
