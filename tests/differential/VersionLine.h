// The line both version readers print for one file, so that the two outputs compare as text:
//   <file name> TAB <language and code page as 8 hex digits, or -> TAB <FileVersion, or ->
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace differential {

inline std::string TranslationKey(uint16_t language, uint16_t codePage) {
    char key[16];
    std::snprintf(key, sizeof key, "%04x%04x", language, codePage);
    return key;
}

inline std::string BaseName(const std::string& path) {
    size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

inline void PrintVersionLine(const std::string& path, const std::string& translation,
                             const std::string& fileVersion) {
    std::printf("%s\t%s\t%s\n", BaseName(path).c_str(),
                translation.empty() ? "-" : translation.c_str(),
                fileVersion.empty() ? "-" : fileVersion.c_str());
}

} // namespace differential
