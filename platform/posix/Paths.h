// Windows-style path text on a POSIX file system: both "\" and "/" separate folders. Drive letters
// ("C:\...") are not mapped: such a path stays a relative name that is not found.
#pragma once

#include <string>

namespace platform {

// Every "\" becomes "/".
std::string ToPosixPath(std::string path);

// Whether the text names a folder at all, that is holds a "\" or a "/".
bool HasFolderPart(const std::string& path);

// The folder of a POSIX path without its final "/" ("" for a bare name, "/" for the root).
std::string FolderOf(const std::string& posixPath);

// The last component of a POSIX path.
std::string LastComponent(const std::string& posixPath);

} // namespace platform
