#include "platform/posix/FileCopy.h"

#include "platform/posix/Paths.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

constexpr size_t kCopyBuffer = 1 << 20;
// How much one in-kernel copy call moves at most.
constexpr size_t kKernelCopyStretch = 32 << 20;
constexpr int kNameAttempts = 100;

class Descriptor {
public:
    explicit Descriptor(int fd = -1) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    int get() const { return fd_; }
    // Closes now, so that a failing close (a late write error of some file systems) is seen.
    bool Close() {
        int fd = fd_;
        fd_ = -1;
        return fd < 0 || ::close(fd) == 0;
    }

private:
    int fd_;
};

bool CopyByReadAndWrite(int from, int to) {
    std::unique_ptr<char[]> buffer(new char[kCopyBuffer]);
    for (;;) {
        ssize_t got = ::read(from, buffer.get(), kCopyBuffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return got == 0;
        if (!WriteAll(to, buffer.get(), static_cast<size_t>(got)))
            return false;
    }
}

// In-kernel copying where both files allow it; the file offsets advance either way, so the
// plain loop can take over wherever the kernel declines.
bool CopyData(int from, int to) {
#ifdef __linux__
    for (;;) {
        ssize_t copied = ::copy_file_range(from, nullptr, to, nullptr, kKernelCopyStretch, 0);
        if (copied > 0)
            continue;
        if (copied == 0)
            return true;
        if (errno == EINTR)
            continue;
        if (errno != EXDEV && errno != ENOSYS && errno != EINVAL && errno != EOPNOTSUPP &&
            errno != EBADF)
            return false;
        break;
    }
#endif
    return CopyByReadAndWrite(from, to);
}

// What the finished copy takes along: the source's permission bits (so programs stay executable)
// and modification time (as a copy on Windows keeps the file's time), and the owner of the file
// it replaces, where we may give it (an administrator's install leaves the host's files owned as
// they were).
struct CopyAttributes {
    mode_t mode = 0;
    timespec modified{};
    bool keepOwner = false;
    uid_t owner = 0;
    gid_t group = 0;
};

// The rename that follows replaces the target in one step, so an interrupted or failed copy never
// shows under its name. The data is not forced to the disk first: like CopyFileA, the copy leaves
// that to the system (file systems that journal order a rename over an existing file after its
// data), and a flush per file would make an installation of many small files many times slower.
bool FinishCopy(int fd, const CopyAttributes& attributes) {
    if (attributes.keepOwner && ::fchown(fd, attributes.owner, attributes.group) != 0) {
        // Not ours to give: the copy stays the caller's.
    }
    const timespec times[2] = {{0, UTIME_NOW}, attributes.modified};
    return ::fchmod(fd, attributes.mode) == 0 && ::futimens(fd, times) == 0;
}

std::string TemporaryName(const std::string& target) {
    static std::atomic<unsigned> counter{0};
    std::string folder = FolderOf(target);
    return (folder.empty()  ? ""
            : folder == "/" ? "/"
                            : folder + "/") +
           "." + LastComponent(target) + ".~" + std::to_string(::getpid()) + "-" +
           std::to_string(counter++);
}

// A symbolic link as target has the file it names replaced, as writing through the link would.
std::string ReplacedFile(const std::string& target) {
    struct stat st;
    if (::lstat(target.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
        return target;
    std::unique_ptr<char, decltype(&std::free)> real(::realpath(target.c_str(), nullptr),
                                                     &std::free);
    return real ? std::string(real.get()) : target;
}

// An existing target must be a file we may write to; without any write permission it counts as
// read-only, which even an administrator's copy does not replace on Windows.
bool MayReplace(const std::string& target, CopyAttributes& attributes) {
    struct stat st;
    if (::stat(target.c_str(), &st) != 0)
        return errno == ENOENT;
    if (S_ISDIR(st.st_mode) || (st.st_mode & 0222) == 0 || ::access(target.c_str(), W_OK) != 0)
        return false;
    attributes.keepOwner = true;
    attributes.owner = st.st_uid;
    attributes.group = st.st_gid;
    return true;
}

bool Replace(const std::string& temporary, const std::string& target) {
    if (::rename(temporary.c_str(), target.c_str()) == 0)
        return true;
    ::unlink(temporary.c_str());
    return false;
}

enum class Outcome { Done, Failed, Unsupported };

#if defined(__linux__) && defined(O_TMPFILE)
// Gives the finished nameless file a temporary name beside the target.
bool LinkUnderTemporaryName(int fd, const std::string& target, std::string& temporary) {
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        temporary = TemporaryName(target);
        int linked =
            ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, temporary.c_str(), AT_SYMLINK_FOLLOW);
        if (linked != 0 && errno == ENOENT)
            linked = ::linkat(fd, "", AT_FDCWD, temporary.c_str(), AT_EMPTY_PATH);
        if (linked == 0)
            return true;
        if (errno != EEXIST)
            return false;
    }
    return false;
}

// While the bytes are written the file has no name: a copy that fails, or a process that is
// killed, leaves nothing behind.
Outcome CopyThroughNamelessFile(int source, const CopyAttributes& attributes,
                                const std::string& target) {
    std::string folder = FolderOf(target);
    Descriptor copy(
        ::open(folder.empty() ? "." : folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600));
    if (copy.get() < 0)
        return errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL ? Outcome::Unsupported
                                                                         : Outcome::Failed;
    if (!CopyData(source, copy.get()) || !FinishCopy(copy.get(), attributes))
        return Outcome::Failed;
    std::string temporary;
    if (!LinkUnderTemporaryName(copy.get(), target, temporary))
        return Outcome::Unsupported;
    if (!copy.Close()) {
        ::unlink(temporary.c_str());
        return Outcome::Failed;
    }
    return Replace(temporary, target) ? Outcome::Done : Outcome::Failed;
}
#endif

bool CopyThroughNamedFile(int source, const CopyAttributes& attributes, const std::string& target) {
    std::string temporary;
    int fd = -1;
    for (int attempt = 0; attempt < kNameAttempts && fd < 0; ++attempt) {
        temporary = TemporaryName(target);
        fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0 && errno != EEXIST)
            return false;
    }
    if (fd < 0)
        return false;
    Descriptor copy(fd);
    bool copied = CopyData(source, copy.get()) && FinishCopy(copy.get(), attributes);
    if (!copy.Close() || !copied) {
        ::unlink(temporary.c_str());
        return false;
    }
    return Replace(temporary, target);
}

} // namespace

bool WriteAll(int fd, const char* data, size_t size) {
    while (size > 0) {
        ssize_t written = ::write(fd, data, size);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        data += written;
        size -= static_cast<size_t>(written);
    }
    return true;
}

bool ReadAll(int fd, std::string& content) {
    char buffer[65536];
    for (;;) {
        ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return got == 0;
        content.append(buffer, static_cast<size_t>(got));
    }
}

bool CopyReplacing(const std::string& source, const std::string& target) {
    Descriptor from(::open(source.c_str(), O_RDONLY | O_CLOEXEC));
    struct stat sourceStat;
    if (from.get() < 0 || ::fstat(from.get(), &sourceStat) != 0 || !S_ISREG(sourceStat.st_mode))
        return false;
    CopyAttributes attributes;
    attributes.mode = sourceStat.st_mode & 0777;
    attributes.modified = sourceStat.st_mtim;
    const std::string replaced = ReplacedFile(target);
    if (!MayReplace(replaced, attributes))
        return false;
#if defined(__linux__) && defined(O_TMPFILE)
    Outcome outcome = CopyThroughNamelessFile(from.get(), attributes, replaced);
    if (outcome != Outcome::Unsupported)
        return outcome == Outcome::Done;
    if (::lseek(from.get(), 0, SEEK_SET) != 0)
        return false;
#endif
    return CopyThroughNamedFile(from.get(), attributes, replaced);
}

} // namespace platform
