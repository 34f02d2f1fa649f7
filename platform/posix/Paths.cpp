#include "platform/posix/Paths.h"

#include <algorithm>

namespace platform {

std::string ToPosixPath(std::string path) {
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

bool HasFolderPart(const std::string& path) {
    return path.find_first_of("\\/") != std::string::npos;
}

std::string FolderOf(const std::string& posixPath) {
    size_t slash = posixPath.rfind('/');
    if (slash == std::string::npos)
        return "";
    return slash == 0 ? "/" : posixPath.substr(0, slash);
}

std::string LastComponent(const std::string& posixPath) {
    size_t slash = posixPath.rfind('/');
    return slash == std::string::npos ? posixPath : posixPath.substr(slash + 1);
}

} // namespace platform
