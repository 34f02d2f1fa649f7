#include "setup/config/FolderPath.h"

std::string WithFinalBackslash(const std::string& folder) {
    if (!folder.empty() && IsPathSeparator(folder.back()))
        return folder;
    return folder + '\\';
}
