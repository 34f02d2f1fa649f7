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
// that no one else can reach by name, which then replaces the target in one step. On failure or
// interruption the old target stays as it was; a temporary left by a killed run is removed by the
// next copy into that folder. A target that is a symbolic link (reparse point) is replaced as a
// link, never written through; a read-only target is not replaced. A source or target that is not
// a regular file (folder, FIFO, device, socket) fails at once, without waiting on it. Temporary
// names are short, so a target name as long as the file system allows still copies.
bool CopyFileReplacing(const std::string& source, const std::string& target);

// Ends a run of CopyFileReplacing calls: removes whatever the copies kept between them to spend
// less per file (the POSIX copy keeps a private folder beside the targets). The process's end
// does it too.
void FinishReplacingCopies();

} // namespace platform
