// File-system services of the setup. Paths are Windows-style text: on POSIX both "\" and "/"
// separate folders and are converted here, at the platform boundary.
#pragma once

#include <string>

namespace platform {

// GetFileAttributesA succeeded: a file or folder of that name exists.
bool PathExists(const std::string& path);

// CreateDirectoryA with default security: false when it cannot be created (also when it exists).
// The folder above it is reached level by level, following only links an administrator made
// (POSIX: platform/posix/SafePath.h; Windows: platform/win32/SafeFolder.h); behind any other
// link nothing is created.
bool CreateFolder(const std::string& path);

// Copies `source` over `target` without ever leaving a torn target: the bytes go to a temporary
// that no one else can reach by name, which then replaces the target in one step. On failure or
// interruption the old target stays as it was; a temporary left by a killed run is removed by the
// next copy into that folder. A target that is a symbolic link (reparse point) is replaced as a
// link, never written through; a read-only target is not replaced. A source or target that is not
// a regular file (folder, FIFO, device, socket) fails at once, without waiting on it. Temporary
// names are short, so a target name as long as the file system allows still copies. The target's
// folder is reached as CreateFolder reaches its parent: behind a link that no administrator made
// the copy fails and writes nothing. A replaced target keeps its permissions (POSIX: mode, owner
// and group; Windows: its security descriptor); a new POSIX file gets the source's mode without
// write for group and others.
bool CopyFileReplacing(const std::string& source, const std::string& target);

// Ends a run of CopyFileReplacing calls: removes whatever the copies kept between them to spend
// less per file (the POSIX copy keeps a private folder beside the targets). The process's end
// does it too.
void FinishReplacingCopies();

} // namespace platform
