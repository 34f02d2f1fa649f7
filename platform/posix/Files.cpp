// File services over POSIX. Paths arrive as Windows-style text and are converted here; drive
// letters are not mapped (see Paths.h).
#include "platform/Files.h"

#include "platform/posix/FileCopy.h"
#include "platform/posix/Paths.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

bool PathExists(const std::string& path) {
    struct stat st;
    return ::stat(ToPosixPath(path).c_str(), &st) == 0;
}

bool CreateFolder(const std::string& path) {
    return ::mkdir(ToPosixPath(path).c_str(), 0777) == 0;
}

bool CopyFileReplacing(const std::string& source, const std::string& target) {
    return CopyReplacing(ToPosixPath(source), ToPosixPath(target));
}

// Never O_CREAT: a record that is not there stays absent. The whole text goes out even when the
// system takes it in parts, and a failed write is not retried beyond that.
bool OverwriteExistingFile(const std::string& path, const std::string& bytes) {
    int fd = ::open(ToPosixPath(path).c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (fd < 0)
        return false;
    WriteAll(fd, bytes.data(), bytes.size());
    ::close(fd);
    return true;
}

bool ReadWholeFile(const std::string& path, std::string& content) {
    content.clear();
    int fd = ::open(ToPosixPath(path).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    bool read = ReadAll(fd, content);
    ::close(fd);
    if (!read)
        content.clear();
    return read;
}

} // namespace platform
