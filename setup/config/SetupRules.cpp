#include "setup/config/SetupRules.h"

#include "setup/config/FileText.h"
#include "setup/config/SetupFiles.h"

#include <algorithm>
#include <cctype>

std::string NumberedName(const char* base, int number) {
    return base + std::to_string(number);
}

FileValue SplitFileValue(const std::string& value) {
    size_t split = value.rfind(';');
    if (split == std::string::npos)
        return FileValue{value, ""};
    return FileValue{value.substr(0, split), value.substr(split + 1)};
}

bool SplitRequiredVersion(const std::string& value, std::string& file, std::string& version) {
    size_t split = value.rfind(';');
    if (split == std::string::npos)
        return false;
    file = value.substr(0, split);
    version = value.substr(split + 1);
    return true;
}

VersionSource VersionSourceOf(const std::string& path) {
    std::string extension = GetFileExtension(path);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    if (extension == ".EXE")
        return VersionSource::FileVersion;
    if (extension == ".INF")
        return VersionSource::VersionText;
    return VersionSource::None;
}

bool IsWindowsFolderBlock(const std::string& section) {
    return section.find("WINDOWS_DIR") != std::string::npos;
}

bool NamesWindowsDirectory(const std::string& path) {
    return path.find("WINDIR") != std::string::npos;
}

bool TakesFoundProgramFolder(const std::string& section, const std::string& path) {
    return section == kDirectoriesSection && path == kProgDirKey;
}

bool HasSystemFilter(const std::string& options) {
    return options.find(kSystemFilterMark) != std::string::npos;
}

bool AsksBeforeReplacing(const std::string& options) {
    return options.find(kVersionTag) != std::string::npos;
}
