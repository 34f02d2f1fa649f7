// File services over POSIX. Paths arrive as Windows-style text and are converted here; drive
// letters are not mapped (see Paths.h).
#include "platform/Files.h"

#include "platform/posix/FileCopy.h"
#include "platform/posix/Paths.h"

#include <sys/stat.h>

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

void FinishReplacingCopies() {
    ReleaseCopyFolder();
}

} // namespace platform
