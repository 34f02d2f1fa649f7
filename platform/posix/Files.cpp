// File services over POSIX. Paths arrive as Windows-style text and are converted here; drive
// letters are not mapped (see Paths.h).
#include "platform/Files.h"

#include "platform/posix/Descriptor.h"
#include "platform/posix/FileCopy.h"
#include "platform/posix/PassJournal.h"
#include "platform/posix/Paths.h"
#include "platform/posix/SafePath.h"

#include <fcntl.h>
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
    const std::string posixPath = ToPosixPath(path);
    Descriptor parent(OpenParentSafely(posixPath, name));
    return parent.get() >= 0 && MakeFolderRecorded(parent.get(), name, posixPath);
}

bool CopyFileReplacing(const std::string& source, const std::string& target) {
    return CopyReplacing(ToPosixPath(source), ToPosixPath(target));
}

void FinishReplacingCopies() {
    ReleaseCopyFolder();
}

} // namespace platform
