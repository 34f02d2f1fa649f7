// Prints, for every UTF-16 code unit, the byte of code page 1252 it becomes: built for Windows
// as WideCharToMultiByte converts it (what GetPrivateProfileStringA and the other A-functions
// return), built natively as our conversion does. One "XXXX YY" line per unit.
#include <cstdio>
#include <string>

#ifdef _WIN32
#include <windows.h>
#else
#include "resources/Codepage.h"
#endif

namespace {

unsigned char ToCodePage1252(char16_t unit) {
#ifdef _WIN32
    WCHAR wide = unit;
    char narrow = 0;
    WideCharToMultiByte(1252, 0, &wide, 1, &narrow, 1, nullptr, nullptr);
    return static_cast<unsigned char>(narrow);
#else
    return static_cast<unsigned char>(resources::Utf16ToCp1252(std::u16string(1, unit))[0]);
#endif
}

} // namespace

int main() {
    for (unsigned unit = 0; unit <= 0xFFFF; ++unit)
        std::printf("%04X %02X\n", unit, ToCodePage1252(static_cast<char16_t>(unit)));
    return 0;
}
