// Folder paths end in a separator; paths are built by plain concatenation.
#pragma once

#include <string>

// Whether `c` separates folders in a path. On Windows only the backslash does: "/" is an ordinary
// character of a name there, as far as the setup's own path rules go. On POSIX "/" separates as
// well, the separator of the host installation's own paths.
inline bool IsPathSeparator(char c) {
#ifdef _WIN32
    return c == '\\';
#else
    return c == '\\' || c == '/';
#endif
}

// Appends a backslash unless the text already ends in a separator. An empty text becomes "\", the
// root of the current drive.
std::string WithFinalBackslash(const std::string& folder);

// What follows the last separator of a path; the whole path when it has none.
std::string FileNameOf(const std::string& path);
