// Small file functions of the installation check.
#pragma once

#include <string>

// The extension of the path's last component from its last "." on, point included; empty when
// that component has none.
std::string GetFileExtension(const std::string& path);

// The content of a file as 8-bit text, as far as a version text can reach (its first 64 KiB),
// read while others may read and write it; empty when the file cannot be opened.
std::string ReadFileText(const std::string& path);

// The version held by a version text file: what remains after removing, twice in a row,
// everything up to the first carriage return and then everything up to the first line feed.
// With CR LF line ends that is the text from the third line on.
std::string VersionTextOf(const std::string& content);
