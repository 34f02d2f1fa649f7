// File services over POSIX. Paths arrive as Windows-style text and are converted here; drive
// letters are not mapped (see Paths.h).
#include "platform/Files.h"

#include "platform/posix/Descriptor.h"
#include "platform/posix/FileCopy.h"
#include "platform/posix/PassJournal.h"
#include "platform/posix/Paths.h"

#include <fcntl.h>
#include <sys/stat.h>

namespace platform {

bool PathExists(const std::string& path) {
    struct stat st;
    return ::stat(ToPosixPath(path).c_str(), &st) == 0;
}

bool CreateFolder(const std::string& path) {
    const std::string posixPath = ToPosixPath(path);
    std::string folder = FolderOf(posixPath);
    Descriptor parent(
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    return parent.get() >= 0 &&
           MakeFolderRecorded(parent.get(), LastComponent(posixPath), posixPath);
}

bool CopyFileReplacing(const std::string& source, const std::string& target) {
    return CopyReplacing(ToPosixPath(source), ToPosixPath(target));
}

void FinishReplacingCopies() {
    ReleaseCopyFolder();
}

} // namespace platform
