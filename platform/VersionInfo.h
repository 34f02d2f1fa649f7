// Windows version resources of files: GetFileVersionInfoSizeA / GetFileVersionInfoA /
// VerQueryValueA / VerLanguageNameA, on both targets.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// A file's version resource, read anew for every query.
struct VersionData {
    std::vector<uint8_t> block;
};

// Reads the version resource of `path`; false when the file has none (its size is 0).
bool LoadFileVersionInfo(const std::string& path, VersionData& data);

// "\VarFileInfo\Translation": the first language and code page. false when there is none.
bool QueryTranslation(const VersionData& data, uint16_t& language, uint16_t& codePage);

// A string value such as "\StringFileInfo\040704b0\FileVersion", as 8-bit ANSI text. false when
// the value is not there, or its reported length is 0.
bool QueryStringValue(const VersionData& data, const std::string& subBlock, std::string& text);

// The display name of a language identifier as the German system shows it
// (VerLanguageNameA's job), for example "Deutsch (Deutschland)" for 0x0407.
std::string LanguageName(uint16_t language);

} // namespace platform
