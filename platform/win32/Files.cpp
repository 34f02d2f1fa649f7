#include "platform/Files.h"

#include "platform/win32/FileHandle.h"
#include "platform/win32/PassJournal.h"
#include "platform/win32/SafeFolder.h"

namespace platform {

bool PathExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The new folder is made in the one above it as the walk found it, held open meanwhile: a
// junction that a non-administrator planted on the way leads nowhere.
bool CreateFolder(const std::string& path) {
    SafeFolder parent;
    std::string name;
    return parent.OpenParent(path, name) == WalkResult::Reached &&
           CreateFolderRecorded(parent.Child(name));
}

void FinishReplacingCopies() {}

} // namespace platform
