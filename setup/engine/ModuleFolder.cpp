#include "setup/engine/ModuleFolder.h"

#include "platform/SystemInfo.h"
#include "setup/config/FolderPath.h"

std::string GetModuleFolder() {
    // Drive and directory of the program's own file name: everything up to its last separator.
    std::string path = platform::ModuleFilePath();
    size_t end = path.size();
    while (end > 0 && !IsPathSeparator(path[end - 1]) && path[end - 1] != ':')
        --end;
    return WithFinalBackslash(path.substr(0, end));
}
