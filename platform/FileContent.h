// Reading and writing a file's content as a whole, with the precautions a folder that others may
// write to demands. Paths as in Files.h.
#pragma once

#include <cstddef>
#include <string>

namespace platform {

// Rewrites an existing file with `bytes` in one write, never creating it. Only a regular file
// with a single name is written: not through a symbolic link or reparse point, not one with
// further hard links, not a read-only one (even for an administrator), not a FIFO or device
// (refused without waiting on it), not behind a link on the way that no administrator made (see
// CreateFolder in Files.h). false when it was not written to.
bool OverwriteExistingFile(const std::string& path, const std::string& bytes);

// At most the first `limit` bytes of a regular file, opened for shared reading; a huge or endless
// file costs no more than that. false when it cannot be opened or is not a regular file (a FIFO
// or device is refused without waiting on it).
bool ReadFileStart(const std::string& path, size_t limit, std::string& content);

} // namespace platform
