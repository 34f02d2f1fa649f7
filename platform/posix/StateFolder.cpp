#include "platform/posix/StateFolder.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

namespace platform {

const char kRecordName[] = "pass";
const char kLockName[] = "lock";

namespace {

std::string StateFolderPath() {
    const char* configured = std::getenv("QUARNEL_STATEDIR");
    return configured && *configured ? configured : "/var/lib/quarnel-setup";
}

} // namespace

bool OnlyOursToChange(const struct stat& st) {
    return (st.st_uid == ::geteuid() || st.st_uid == 0) && (st.st_mode & 022) == 0;
}

FileIdentity IdentityOf(const struct stat& st) {
    FileIdentity id;
    id.volume = static_cast<uint64_t>(st.st_dev);
    id.file = static_cast<uint64_t>(st.st_ino);
    return id;
}

int OpenStateFolder() {
    const std::string path = StateFolderPath();
    if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST)
        return -1;
    // O_NOFOLLOW refuses a link in place of the folder; its owner and mode are then read from
    // the folder opened, not from the name.
    int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    struct stat st;
    if (fd >= 0 && (::fstat(fd, &st) != 0 || !S_ISDIR(st.st_mode) || !OnlyOursToChange(st))) {
        ::close(fd);
        return -1;
    }
    return fd;
}

} // namespace platform
