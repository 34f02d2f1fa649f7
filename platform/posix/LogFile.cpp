#include "platform/LogFile.h"

#include "platform/posix/FileCopy.h"
#include "platform/posix/Paths.h"

#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

// Opened without O_TRUNC: an existing file is only emptied once it has proved to be a regular
// file with one name. O_NONBLOCK keeps a FIFO from holding the setup before its type is known.
bool LogFile::Open(const std::string& path) {
    Close();
    int fd = ::open(ToPosixPath(path).c_str(),
                    O_WRONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_nlink != 1 ||
        ::ftruncate(fd, 0) != 0) {
        ::close(fd);
        return false;
    }
    m_file = fd;
    return true;
}

bool LogFile::Append(const std::string& bytes) {
    return IsOpen() && WriteAll(static_cast<int>(m_file), bytes.data(), bytes.size());
}

void LogFile::Close() {
    if (IsOpen())
        ::close(static_cast<int>(m_file));
    m_file = kClosed;
}

std::string LogTimeStamp() {
    std::time_t now = std::time(nullptr);
    std::tm local = {};
    if (localtime_r(&now, &local) == nullptr)
        return FormatTimeStamp(1970, 1, 1, 0, 0, 0);
    return FormatTimeStamp(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                           local.tm_min, local.tm_sec);
}

} // namespace platform
