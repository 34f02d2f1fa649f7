#include "platform/posix/FileCopy.h"

#include "platform/posix/Descriptor.h"
#include "platform/posix/Paths.h"
#include "platform/posix/SafePath.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

constexpr size_t kCopyBuffer = 1 << 20;
// How much one in-kernel copy call moves at most.
constexpr size_t kKernelCopyStretch = 1 << 30;

// The private folder beside the targets and the one temporary in it. Short names of one length:
// a target name may take all the file system allows. A name that someone else holds is passed
// over for the next one.
constexpr char kPrivateFolderPrefix[] = ".~qz";
constexpr int kPrivateFolderNames = 10;
constexpr char kTemporary[] = "t";

// Opens without ever waiting: a FIFO or a device opens at once and is then refused by its type.
int OpenRegularForReading(const char* path, struct stat& st) {
    int fd = ::open(path, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return -1;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        errno = EINVAL;
        return -1;
    }
    return fd;
}

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

// In-kernel copying where both files allow it, up to the size the source had when it was opened
// (which spares the call that would only find the end); the file offsets advance either way, so
// the plain loop can take over wherever the kernel declines.
bool CopyData(int from, int to, off_t size) {
#ifdef __linux__
    while (size > 0) {
        size_t stretch = size < off_t(kKernelCopyStretch) ? size_t(size) : kKernelCopyStretch;
        ssize_t copied = ::copy_file_range(from, nullptr, to, nullptr, stretch, 0);
        if (copied > 0)
            size -= copied;
        else if (copied == 0)
            return true; // the source has become shorter meanwhile
        else if (errno == EXDEV || errno == ENOSYS || errno == EINVAL || errno == EOPNOTSUPP ||
                 errno == EBADF)
            return CopyByReadAndWrite(from, to);
        else if (errno != EINTR)
            return false;
    }
    return true;
#else
    (void)size;
    return CopyByReadAndWrite(from, to);
#endif
}

mode_t ProcessUmask() {
    static const mode_t mask = [] {
        mode_t m = ::umask(0);
        ::umask(m);
        return m;
    }();
    return mask;
}

ReplaceRecorder*& CurrentRecorder() {
    static ReplaceRecorder* recorder = nullptr;
    return recorder;
}

// The target's folder, opened once for a run of copies into it, and the private folder beside the
// targets in which each copy is made. Within a pass that folder is the pass's, which keeps it.
class CopyFolder {
public:
    ~CopyFolder() { Release(); }

    // Opens the folder unless it is the one already open.
    bool Use(const std::string& folder) {
        if (m_folder.get() >= 0 && m_path == folder)
            return true;
        Release();
        m_folder.reset(OpenFolderSafely(folder));
        if (m_folder.get() < 0 || ::fstat(m_folder.get(), &m_stat) != 0 ||
            !OpenPrivateFolder(folder)) {
            Release();
            return false;
        }
        m_path = folder;
        return true;
    }

    void Release() {
        if (m_borrowed >= 0)
            m_borrowed = -1;
        else if (m_folder.get() >= 0 && m_private.get() >= 0)
            ::unlinkat(m_folder.get(), m_privateName.c_str(), AT_REMOVEDIR);
        m_private.reset();
        m_folder.reset();
        m_path.clear();
    }

    int folder() const { return m_folder.get(); }
    int privateFolder() const { return m_borrowed >= 0 ? m_borrowed : m_private.get(); }
    // The group a new file gets in this folder.
    gid_t newFileGroup() const { return (m_stat.st_mode & S_ISGID) ? m_stat.st_gid : ::getegid(); }

private:
    // A folder of that name that is ours and private is a leftover of an interrupted run: its
    // temporary goes, the folder serves again. Anyone else's is left alone.
    bool OpenPrivateFolder(const std::string& path) {
        if (ReplaceRecorder* recorder = CurrentRecorder()) {
            m_borrowed = recorder->PrivateFolderFor(m_folder.get(), m_stat, path);
            return m_borrowed >= 0;
        }
        for (int i = 0; i < kPrivateFolderNames; ++i) {
            std::string name = kPrivateFolderPrefix + std::to_string(i);
            if (::mkdirat(m_folder.get(), name.c_str(), 0700) != 0 && errno != EEXIST)
                return false;
            m_private.reset(::openat(m_folder.get(), name.c_str(),
                                     O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
            struct stat st;
            if (m_private.get() >= 0 && ::fstat(m_private.get(), &st) == 0 &&
                st.st_uid == ::geteuid() && (st.st_mode & 077) == 0) {
                ::unlinkat(m_private.get(), kTemporary, 0);
                m_privateName = name;
                return true;
            }
            m_private.reset();
        }
        return false;
    }

    std::string m_path;
    Descriptor m_folder;
    Descriptor m_private;
    std::string m_privateName;
    int m_borrowed = -1; // the pass's private folder, which the pass closes and removes
    struct stat m_stat {};
};

CopyFolder& CurrentFolder() {
    static CopyFolder folder;
    return folder;
}

// What the target is now, seen without following a link.
enum class TargetKind { Absent, Link, Replaceable, Refused };

TargetKind Inspect(int folder, const std::string& name, struct stat& st) {
    if (::fstatat(folder, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
        return errno == ENOENT ? TargetKind::Absent : TargetKind::Refused;
    if (S_ISLNK(st.st_mode))
        return TargetKind::Link;
    if (!S_ISREG(st.st_mode) || (st.st_mode & 0222) == 0)
        return TargetKind::Refused;
    // An administrator may write any file; anyone else only those the permissions allow.
    if (::geteuid() != 0 && ::faccessat(folder, name.c_str(), W_OK, AT_EACCESS) != 0)
        return TargetKind::Refused;
    return TargetKind::Replaceable;
}

// A replaced file keeps its permissions, owner and group: installing must not open a program
// file to more users than before. A new file takes the source's permission bits (so programs
// stay executable) without write for group and others, whatever the package says, and belongs
// to the setup's user.
mode_t CopyMode(const struct stat& source, const struct stat* replaced) {
    return replaced ? replaced->st_mode & 07777 : source.st_mode & 0755;
}

// The copy also takes the source's modification time (as a copy on Windows keeps the file's
// time). The owner is given before the mode, as a change of owner clears the set-id bits; calls
// that would change nothing are not made.
bool FinishCopy(int fd, mode_t mode, const struct stat& source, const struct stat* replaced,
                const CopyFolder& folder) {
    bool chowned = false;
    if (replaced &&
        (replaced->st_uid != ::geteuid() || replaced->st_gid != folder.newFileGroup())) {
        // Only an administrator may give a file away; anyone else's copy stays their own.
        chowned = ::fchown(fd, replaced->st_uid, replaced->st_gid) == 0;
    }
    if (((mode & ProcessUmask()) != 0 || (chowned && (mode & 06000) != 0)) &&
        ::fchmod(fd, mode) != 0)
        return false;
    const timespec times[2] = {{0, UTIME_OMIT}, source.st_mtim};
    return ::futimens(fd, times) == 0;
}

#if defined(__linux__) && defined(O_TMPFILE)
// Gives the finished nameless file its name inside the private folder. Linking a descriptor
// directly needs a privilege an administrator has; anyone else goes through /proc.
bool LinkIntoPrivateFolder(int fd, int privateFolder) {
    static bool throughProc = false;
    for (int attempt = 0; attempt < 2; ++attempt) {
        int linked = -1;
        if (!throughProc) {
            linked = ::linkat(fd, "", privateFolder, kTemporary, AT_EMPTY_PATH);
            if (linked != 0 && errno == ENOENT)
                throughProc = true;
        }
        if (throughProc) {
            char self[32];
            std::snprintf(self, sizeof self, "/proc/self/fd/%d", fd);
            linked = ::linkat(AT_FDCWD, self, privateFolder, kTemporary, AT_SYMLINK_FOLLOW);
        }
        if (linked == 0)
            return true;
        if (errno != EEXIST)
            return false;
        ::unlinkat(privateFolder, kTemporary, 0);
    }
    return false;
}
#endif

// The file to write: nameless where the system allows it, so that a copy that fails or a process
// that is killed leaves nothing behind; otherwise under the temporary name in the private folder.
// `named` tells which.
int CreateCopy(const CopyFolder& folder, mode_t mode, bool& named) {
#if defined(__linux__) && defined(O_TMPFILE)
    static bool nameless = true;
    if (nameless) {
        int fd = ::openat(folder.folder(), ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
        if (fd >= 0 || (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)) {
            named = false;
            return fd;
        }
        nameless = false;
    }
#endif
    named = true;
    const int flags = O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC;
    int fd = ::openat(folder.privateFolder(), kTemporary, flags, mode);
    if (fd < 0 && errno == EEXIST && ::unlinkat(folder.privateFolder(), kTemporary, 0) == 0)
        fd = ::openat(folder.privateFolder(), kTemporary, flags, mode);
    return fd;
}

// `nameTaken`: something lies at the target's name, which the copy replaces.
bool CopyIntoPlace(int source, const struct stat& sourceStat, const CopyFolder& folder,
                   const std::string& name, const struct stat* replaced, bool nameTaken) {
    const mode_t mode = CopyMode(sourceStat, replaced);
    bool named = false;
    Descriptor copy(CreateCopy(folder, mode, named));
    if (copy.get() < 0)
        return false;
    bool ok = CopyData(source, copy.get(), sourceStat.st_size) &&
              FinishCopy(copy.get(), mode, sourceStat, replaced, folder);
#if defined(__linux__) && defined(O_TMPFILE)
    if (!named && !(ok && LinkIntoPrivateFolder(copy.get(), folder.privateFolder())))
        return false; // nothing has a name yet
#endif
    ReplaceRecorder* recorder = CurrentRecorder();
    if (ok && recorder)
        ok = recorder->BeforeRename(folder.folder(), folder.privateFolder(), name, nameTaken,
                                    copy.get());
    if (copy.Close() && ok &&
        ::renameat(folder.privateFolder(), kTemporary, folder.folder(), name.c_str()) == 0)
        return true;
    ::unlinkat(folder.privateFolder(), kTemporary, 0);
    return false;
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

bool ReadAtMost(int fd, size_t limit, std::string& content) {
    char buffer[65536];
    while (limit > 0) {
        ssize_t got = ::read(fd, buffer, limit < sizeof buffer ? limit : sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return got == 0;
        content.append(buffer, static_cast<size_t>(got));
        limit -= static_cast<size_t>(got);
    }
    return true;
}

bool ReadAll(int fd, std::string& content) {
    return ReadAtMost(fd, static_cast<size_t>(-1), content);
}

int OpenRegularFile(const std::string& path, struct stat& st) {
    return OpenRegularForReading(path.c_str(), st);
}

bool CopyReplacing(const std::string& source, const std::string& target) {
    struct stat sourceStat;
    Descriptor from(OpenRegularForReading(source.c_str(), sourceStat));
    if (from.get() < 0)
        return false;
    const std::string name = LastComponent(target);
    std::string folderPath = FolderOf(target);
    if (folderPath.empty())
        folderPath = ".";
    CopyFolder& folder = CurrentFolder();
    if (name.empty() || !folder.Use(folderPath))
        return false;
    struct stat targetStat;
    switch (Inspect(folder.folder(), name, targetStat)) {
    case TargetKind::Refused:
        return false;
    case TargetKind::Replaceable:
        return CopyIntoPlace(from.get(), sourceStat, folder, name, &targetStat, true);
    case TargetKind::Link:
        return CopyIntoPlace(from.get(), sourceStat, folder, name, nullptr, true);
    case TargetKind::Absent:
        break;
    }
    return CopyIntoPlace(from.get(), sourceStat, folder, name, nullptr, false);
}

void ReleaseCopyFolder() {
    CurrentFolder().Release();
}

void SetReplaceRecorder(ReplaceRecorder* recorder) {
    CurrentFolder().Release();
    CurrentRecorder() = recorder;
}

} // namespace platform
