// Walking to a folder the elevated setup writes into without being led elsewhere. Every level is
// opened through the one above it, never by its full name, and a symbolic link on the way is
// followed only where an administrator made it and nobody else can replace it: what careful path
// resolvers call "safe" resolution. What the walk ends on is a handle; whoever writes there works
// relative to it (openat, mkdirat, renameat), so no level can be swapped afterwards either.
// Paths here are POSIX paths.
#pragma once

#include "platform/FolderWalk.h"

#include <string>
#include <sys/stat.h>
#include <vector>

namespace platform {

// Whether the walk may follow a symbolic link with status `link` (lstat) that lies in a folder
// with status `folder`: the link is owned by root (or by the setup's own user, who is the
// administrator of a setup run without root), and so is the folder, which neither its group nor
// anyone else may write to. Anyone else's link, or a link in a folder others can rename entries
// of, could lead anywhere.
bool IsTrustedLink(const struct stat& link, const struct stat& folder);

// Opens the folder `path` level by level from the root (from the current folder for a relative
// path) with O_NOFOLLOW | O_DIRECTORY, following only trusted links, at most 40 of them. With
// MissingLevels::Create a missing level is made (mode 0777 less the umask, as CreateDirectoryA
// with default security) and its path, as walked, appended to `created` when one is given.
// Returns a descriptor of the folder (O_RDONLY | O_DIRECTORY | O_CLOEXEC), or -1 with errno set:
// EACCES for an untrusted link, ELOOP for too many links, ENOTDIR for a level that is no folder.
int OpenFolderSafely(const std::string& path, MissingLevels missing = MissingLevels::Refuse,
                     std::vector<std::string>* created = nullptr);

// Opens the folder that holds `path` as OpenFolderSafely does and gives the last component in
// `name` (never empty, ".", or ".."; final slashes are ignored). -1 when there is no such name.
int OpenParentSafely(const std::string& path, std::string& name,
                     MissingLevels missing = MissingLevels::Refuse,
                     std::vector<std::string>* created = nullptr);

} // namespace platform
