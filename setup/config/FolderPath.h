// Folder paths end in a separator; paths are built by plain concatenation.
#pragma once

#include <string>

// Appends a backslash unless the text already ends in a separator ("\", or "/" for the POSIX
// paths of a host installation there). An empty text becomes "\", the root of the current drive.
std::string WithFinalBackslash(const std::string& folder);

// Whether `c` separates folders in a path.
inline bool IsPathSeparator(char c) {
    return c == '\\' || c == '/';
}
