// Prints, for each file given, its first translation and FileVersion as version.dll reports them.
// Built for Windows and run under Wine, it is the reference for the POSIX readers.
#include "tests/differential/VersionLine.h"

#include <windows.h>

#include <vector>

namespace {

void PrintFile(const std::string& path) {
    std::string translation;
    std::string fileVersion;
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeA(path.c_str(), &handle);
    std::vector<char> block(size);
    if (size != 0 && GetFileVersionInfoA(path.c_str(), 0, size, block.data())) {
        void* value = nullptr;
        UINT length = 0;
        if (VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", &value, &length) && value &&
            length >= 4) {
            const WORD* pair = static_cast<const WORD*>(value);
            translation = differential::TranslationKey(pair[0], pair[1]);
            std::string query = "\\StringFileInfo\\" + translation + "\\FileVersion";
            if (VerQueryValueA(block.data(), query.c_str(), &value, &length) && value && length)
                fileVersion.assign(static_cast<const char*>(value),
                                   strnlen(static_cast<const char*>(value), length));
        }
    }
    differential::PrintVersionLine(path, translation, fileVersion);
}

} // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        PrintFile(argv[i]);
    return 0;
}
