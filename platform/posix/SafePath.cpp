#include "platform/posix/SafePath.h"

#include <cerrno>
#include <climits>
#include <deque>
#include <fcntl.h>
#include <unistd.h>

namespace platform {

namespace {

// As many links as the kernel itself follows in one path.
constexpr int kMaxLinks = 40;

// A level on the way needs only search permission, as in a walk by name; the folder reached is
// opened for reading at the end.
#ifdef O_PATH
constexpr int kLevelFlags = O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
#else
constexpr int kLevelFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
#endif

bool IsAdministrator(uid_t uid) {
    return uid == 0 || uid == ::geteuid();
}

// Closes what it holds when it is replaced or goes.
class Level {
public:
    explicit Level(int fd) : m_fd(fd) {}
    ~Level() { Set(-1); }
    Level(const Level&) = delete;
    Level& operator=(const Level&) = delete;

    int get() const { return m_fd; }
    void Set(int fd) {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = fd;
    }
    int Release() {
        int fd = m_fd;
        m_fd = -1;
        return fd;
    }

private:
    int m_fd;
};

void PushComponents(const std::string& path, std::deque<std::string>& pending) {
    std::deque<std::string> parts;
    size_t start = 0;
    while (start <= path.size()) {
        size_t slash = path.find('/', start);
        if (slash == std::string::npos)
            slash = path.size();
        if (slash > start)
            parts.push_back(path.substr(start, slash - start));
        start = slash + 1;
    }
    pending.insert(pending.begin(), parts.begin(), parts.end());
}

// The walked path, kept as the folders really lie (links replaced by what they name), so that a
// created level is reported where it was made.
void AppendLevel(std::string& walked, const std::string& name) {
    if (name == "..") {
        if (walked == "/")
            return; // the root is its own parent
        size_t slash = walked.rfind('/');
        std::string last = slash == std::string::npos ? walked : walked.substr(slash + 1);
        if (!walked.empty() && last != "..") {
            walked.erase(slash == std::string::npos ? 0 : slash == 0 ? 1 : slash);
            return;
        }
    }
    if (!walked.empty() && walked.back() != '/')
        walked += '/';
    walked += name;
}

// The text of the link `name` in `folder`, when the walk may follow it.
bool ReadTrustedLink(int folder, const std::string& name, std::string& target) {
    struct stat link, holder;
    if (::fstatat(folder, name.c_str(), &link, AT_SYMLINK_NOFOLLOW) != 0)
        return false;
    if (!S_ISLNK(link.st_mode)) {
        errno = ENOTDIR;
        return false;
    }
    if (::fstat(folder, &holder) != 0)
        return false;
    if (!IsTrustedLink(link, holder)) {
        errno = EACCES;
        return false;
    }
    char buffer[PATH_MAX];
    ssize_t length = ::readlinkat(folder, name.c_str(), buffer, sizeof buffer);
    if (length <= 0 || size_t(length) >= sizeof buffer) {
        errno = ENAMETOOLONG;
        return false;
    }
    target.assign(buffer, size_t(length));
    return true;
}

} // namespace

bool IsTrustedLink(const struct stat& link, const struct stat& folder) {
    return IsAdministrator(link.st_uid) && IsAdministrator(folder.st_uid) &&
           (folder.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

int OpenFolderSafely(const std::string& path, MissingLevels missing,
                     std::vector<std::string>* created) {
    if (path.empty()) {
        errno = ENOENT;
        return -1;
    }
    const bool absolute = path[0] == '/';
    Level level(::open(absolute ? "/" : ".", kLevelFlags & ~O_NOFOLLOW));
    if (level.get() < 0)
        return -1;
    std::string walked = absolute ? "/" : "";
    std::deque<std::string> pending;
    PushComponents(path, pending);
    int links = 0;
    while (!pending.empty()) {
        const std::string name = pending.front();
        pending.pop_front();
        if (name == ".")
            continue;
        int next = ::openat(level.get(), name.c_str(), kLevelFlags);
        if (next < 0 && errno == ENOENT && missing == MissingLevels::Create && name != "..") {
            // Someone else may make it first; what is there then is looked at like any level.
            bool made = ::mkdirat(level.get(), name.c_str(), 0777) == 0;
            if (!made && errno != EEXIST)
                return -1;
            next = ::openat(level.get(), name.c_str(), kLevelFlags);
            if (made && created) {
                std::string madePath = walked;
                AppendLevel(madePath, name);
                created->push_back(madePath);
            }
        }
        if (next >= 0) {
            level.Set(next);
            AppendLevel(walked, name);
            continue;
        }
        // A link opened with O_NOFOLLOW fails with ELOOP (ENOTDIR on some systems).
        if (errno != ELOOP && errno != ENOTDIR)
            return -1;
        std::string target;
        if (!ReadTrustedLink(level.get(), name, target))
            return -1;
        if (++links > kMaxLinks) {
            errno = ELOOP;
            return -1;
        }
        if (target[0] == '/') {
            level.Set(::open("/", kLevelFlags & ~O_NOFOLLOW));
            if (level.get() < 0)
                return -1;
            walked = "/";
        }
        PushComponents(target, pending);
    }
#ifdef O_PATH
    return ::openat(level.get(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
#else
    return level.Release();
#endif
}

int OpenParentSafely(const std::string& path, std::string& name, MissingLevels missing,
                     std::vector<std::string>* created) {
    std::string trimmed = path;
    while (trimmed.size() > 1 && trimmed.back() == '/')
        trimmed.pop_back();
    size_t slash = trimmed.rfind('/');
    name = slash == std::string::npos ? trimmed : trimmed.substr(slash + 1);
    if (name.empty() || name == "." || name == ".." || name == "/") {
        errno = EINVAL;
        return -1;
    }
    std::string folder = slash == std::string::npos ? "."
                         : slash == 0               ? "/"
                                                    : trimmed.substr(0, slash);
    return OpenFolderSafely(folder, missing, created);
}

} // namespace platform
