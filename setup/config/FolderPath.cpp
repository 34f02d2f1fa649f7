#include "setup/config/FolderPath.h"

std::string WithFinalBackslash(const std::string& folder) {
    if (!folder.empty() && IsPathSeparator(folder.back()))
        return folder;
    return folder + '\\';
}

std::string FileNameOf(const std::string& path) {
    for (size_t i = path.size(); i > 0; --i)
        if (IsPathSeparator(path[i - 1]))
            return path.substr(i);
    return path;
}
