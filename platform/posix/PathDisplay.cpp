#include "platform/PathDisplay.h"

#include "platform/posix/Paths.h"

namespace platform {

std::string DisplayPath(const std::string& path) {
    return ToPosixPath(path);
}

size_t DisplayRootLength(const std::string& displayPath) {
    return !displayPath.empty() && displayPath[0] == '/' ? 1 : 0;
}

} // namespace platform
