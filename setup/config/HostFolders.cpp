#include "setup/config/HostFolders.h"

#include "platform/SystemInfo.h"
#include "setup/config/FolderPath.h"
#include "setup/config/SetupFiles.h"

HostFolders SystemHostFolders() {
    return HostFolders{kHostIniName, platform::WindowsFolder(), platform::SystemFolder()};
}

HostFolders HostFoldersIn(const std::string& windowsFolder) {
    std::string folder = WithFinalBackslash(windowsFolder);
    return HostFolders{folder + kHostIniName, windowsFolder, folder + "system32"};
}
