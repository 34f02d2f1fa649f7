#include "platform/Files.h"

#include "platform/win32/FileHandle.h"

namespace platform {

bool PathExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool CreateFolder(const std::string& path) {
    return CreateDirectoryA(path.c_str(), nullptr) != FALSE;
}

void FinishReplacingCopies() {}

} // namespace platform
