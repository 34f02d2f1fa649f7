// Prints, for each file given, its first translation and FileVersion as the POSIX version readers
// report them, in the same lines as the Windows reference program.
#include "tests/differential/VersionLine.h"

#include "platform/VersionInfo.h"

namespace {

void PrintFile(const std::string& path) {
    std::string translation;
    std::string fileVersion;
    platform::VersionData data;
    uint16_t language = 0;
    uint16_t codePage = 0;
    if (platform::LoadFileVersionInfo(path, data) &&
        platform::QueryTranslation(data, language, codePage)) {
        translation = differential::TranslationKey(language, codePage);
        platform::QueryStringValue(data, "\\StringFileInfo\\" + translation + "\\FileVersion",
                                   fileVersion);
    }
    differential::PrintVersionLine(path, translation, fileVersion);
}

} // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        PrintFile(argv[i]);
    return 0;
}
