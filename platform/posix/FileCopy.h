// Copying a file over another without ever leaving a torn target, and the plain read and write
// loops beneath it. Paths here are POSIX paths.
#pragma once

#include <cstddef>
#include <string>

namespace platform {

// The bytes go to a file beside the target that has no name while it is written (where the
// system allows it; a hidden temporary name otherwise), are flushed to the disk, and the file
// then replaces the target in one rename. It keeps the source's permission bits and modification
// time. A target without write permission is not replaced, like a read-only file on Windows; a
// symbolic link as target has the file it points to replaced.
bool CopyReplacing(const std::string& source, const std::string& target);

// Writes all bytes, resuming after partial writes and interruptions.
bool WriteAll(int fd, const char* data, size_t size);

// Appends everything up to the end of the file.
bool ReadAll(int fd, std::string& content);

} // namespace platform
