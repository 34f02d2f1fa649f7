// File-system services of the setup. Paths are Windows-style text: on POSIX both "\" and "/"
// separate folders and are converted here, at the platform boundary.
#pragma once

#include <string>

namespace platform {

// GetFileAttributesA succeeded: a file or folder of that name exists.
bool PathExists(const std::string& path);

// CreateDirectoryA with default security: false when it cannot be created (also when it exists).
bool CreateFolder(const std::string& path);

// Copies `source` over `target` without ever leaving a torn target: the bytes go to a temporary
// file beside the target, which then replaces it in one step. On failure or interruption the old
// target stays as it was and no temporary is left behind.
bool CopyFileReplacing(const std::string& source, const std::string& target);

// Opens an existing file for writing with truncation (never creating it), writes `bytes` in one
// call and closes it. false when it could not be opened.
bool OverwriteExistingFile(const std::string& path, const std::string& bytes);

// The whole content of a file, opened for shared reading. false when it cannot be opened.
bool ReadWholeFile(const std::string& path, std::string& content);

} // namespace platform
