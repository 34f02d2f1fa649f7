// The small rules by which the setup reads the values of SETUP.INF, in one place for the setup
// and for the package check, which must judge a package by exactly the setup's rules.
#pragma once

#include <string>

// Numbered keys and sections count in decimal from 1: "File" and 3 give "File3".
std::string NumberedName(const char* base, int number);

// A File value: the name up to its last ";", the options text after it (none without a ";").
struct FileValue {
    std::string name;
    std::string options;
};
FileValue SplitFileValue(const std::string& value);

// A RequiredVersion value: the file up to its last ";", the version after it. False without ";".
bool SplitRequiredVersion(const std::string& value, std::string& file, std::string& version);

// How the installed version of a required-version file is read, by its extension in any case.
enum class VersionSource { None, FileVersion, VersionText };
VersionSource VersionSourceOf(const std::string& path);

// A block whose Section value contains "WINDOWS_DIR" (case-sensitive) targets the Windows
// directory when its Pfad contains "WINDIR", else the system directory; its Subdir is not read.
bool IsWindowsFolderBlock(const std::string& section);
bool NamesWindowsDirectory(const std::string& path);

// Only the exact words take the program folder found below the data folder.
bool TakesFoundProgramFolder(const std::string& section, const std::string& path);

// Options tags are found anywhere in the options text, case-sensitive. Any text containing "WIN"
// makes the entry a system filter; "VERSION" asks before replacing a newer or foreign file.
inline const char* const kSystemFilterMark = "WIN";
inline const char* const kVersionTag = "VERSION";
bool HasSystemFilter(const std::string& options);
bool AsksBeforeReplacing(const std::string& options);
