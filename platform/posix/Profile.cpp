#include "platform/Profile.h"

#include "platform/ProfileText.h"
#include "platform/SystemInfo.h"
#include "platform/posix/FileCopy.h"
#include "platform/posix/Paths.h"
#include "platform/posix/ProfileParser.h"

#include <cerrno>
#include <fcntl.h>
#include <map>
#include <memory>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

// What tells one version of a file from the next without reading it. The inode catches a file
// replaced by another of the same size and time; the change time an edit within the same second.
struct FileStamp {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{};
    timespec changed{};

    explicit FileStamp(const struct stat& st)
        : device(st.st_dev), inode(st.st_ino), size(st.st_size), modified(st.st_mtim),
          changed(st.st_ctim) {}

    bool operator==(const FileStamp& other) const {
        return device == other.device && inode == other.inode && size == other.size &&
               modified.tv_sec == other.modified.tv_sec &&
               modified.tv_nsec == other.modified.tv_nsec &&
               changed.tv_sec == other.changed.tv_sec && changed.tv_nsec == other.changed.tv_nsec;
    }
};

struct CachedProfile {
    FileStamp stamp;
    std::shared_ptr<const ProfileData> data;
};

// The setup reads two profiles; a few more slots cover tests and benchmarks.
constexpr size_t kCachedFiles = 8;

std::mutex cacheMutex;
std::map<std::string, CachedProfile> cache;

// A bare name lies in the Windows directory; without one there is no such file.
bool ResolveProfilePath(const std::string& file, std::string& path) {
    if (HasFolderPart(file)) {
        path = ToPosixPath(file);
        return true;
    }
    std::string windows = WindowsFolder();
    if (windows.empty())
        return false;
    path = ToPosixPath(windows) + "/" + file;
    return true;
}

// The parse of the file as it is now: from the cache while the file is unchanged. The file is
// opened once, without waiting (a FIFO swapped in for it is refused by its type, never waited
// on), and everything else goes through that handle; a file above the bound is not read at all.
std::shared_ptr<const ProfileData> LoadProfile(const std::string& path) {
    struct stat st;
    int fd = OpenRegularFile(path, st);
    if (fd < 0)
        return nullptr;
    if (st.st_size < 0 || size_t(st.st_size) > kProfileFileLimit) {
        ::close(fd);
        return nullptr;
    }
    {
        std::lock_guard<std::mutex> lock(cacheMutex);
        auto hit = cache.find(path);
        if (hit != cache.end() && hit->second.stamp == FileStamp(st)) {
            ::close(fd);
            return hit->second.data;
        }
    }
    // One byte beyond the bound tells a file that grew past it while it was read.
    std::string text;
    bool read = ReadAtMost(fd, kProfileFileLimit + 1, text) && text.size() <= kProfileFileLimit;
    ::close(fd);
    if (!read)
        return nullptr;
    auto data = std::make_shared<const ProfileData>(ParseProfile(text.data(), text.size()));

    std::lock_guard<std::mutex> lock(cacheMutex);
    if (cache.size() >= kCachedFiles && cache.find(path) == cache.end())
        cache.erase(cache.begin());
    cache.insert_or_assign(path, CachedProfile{FileStamp(st), data});
    return data;
}

} // namespace

std::string ReadProfileValue(const std::string& section, const std::string& key,
                             const std::string& file) {
    std::string path;
    if (!ResolveProfilePath(file, path))
        return "";
    std::shared_ptr<const ProfileData> data = LoadProfile(path);
    return data ? data->Find(section, key) : "";
}

} // namespace platform
