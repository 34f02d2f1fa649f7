#include "platform/FileContent.h"

#include "platform/posix/FileCopy.h"
#include "platform/posix/Paths.h"
#include "platform/posix/SafePath.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

// Never O_CREAT, never through a link, and not emptied before its type and names are known: a
// record that is not there stays absent, and a record that is a second name of another file, or
// a FIFO placed there, is no record. Without any write permission it counts as read-only, which
// an administrator's write does not pass either. The whole text goes out even when the system
// takes it in parts; a failed write is not retried beyond that. The record's folder is reached
// as the copy reaches its targets: a linked folder on the way counts only where an administrator
// made the link.
bool OverwriteExistingFile(const std::string& path, const std::string& bytes) {
    std::string name;
    int folder = OpenParentSafely(ToPosixPath(path), name);
    if (folder < 0)
        return false;
    int fd =
        ::openat(folder, name.c_str(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    ::close(folder);
    if (fd < 0)
        return false;
    struct stat st;
    bool record = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_nlink == 1 &&
                  (st.st_mode & 0222) != 0 && ::ftruncate(fd, 0) == 0;
    if (record)
        WriteAll(fd, bytes.data(), bytes.size());
    ::close(fd);
    return record;
}

bool ReadFileStart(const std::string& path, size_t limit, std::string& content) {
    content.clear();
    struct stat st;
    int fd = OpenRegularFile(ToPosixPath(path), st);
    if (fd < 0)
        return false;
    bool read = ReadAtMost(fd, limit, content);
    ::close(fd);
    if (!read)
        content.clear();
    return read;
}

} // namespace platform
