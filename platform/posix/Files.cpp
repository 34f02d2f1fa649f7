// File services over POSIX. Paths arrive as Windows-style text and are converted here; drive
// letters are not mapped (see Paths.h).
#include "platform/Files.h"

#include "platform/posix/FileCopy.h"
#include "platform/posix/Paths.h"
#include "platform/posix/SafePath.h"

#include <sys/stat.h>
#include <unistd.h>

namespace platform {

bool PathExists(const std::string& path) {
    struct stat st;
    return ::stat(ToPosixPath(path).c_str(), &st) == 0;
}

// The new folder is made through the handle of the one above it, which the walk reached without
// an untrusted link: a link planted anywhere on the way leads nowhere.
bool CreateFolder(const std::string& path) {
    std::string name;
    int parent = OpenParentSafely(ToPosixPath(path), name);
    if (parent < 0)
        return false;
    bool made = ::mkdirat(parent, name.c_str(), 0777) == 0;
    ::close(parent);
    return made;
}

bool CopyFileReplacing(const std::string& source, const std::string& target) {
    return CopyReplacing(ToPosixPath(source), ToPosixPath(target));
}

void FinishReplacingCopies() {
    ReleaseCopyFolder();
}

} // namespace platform
