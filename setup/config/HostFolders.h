// Where the setup finds the host installation: TALMORIX.INI, and the folders that WINDOWS_DIR
// blocks name. The setup takes the system's own; the package check may point them at a Windows
// folder of a test host.
#pragma once

#include <string>

struct HostFolders {
    std::string hostIni;       // TALMORIX.INI; a bare name is looked for in the Windows directory
    std::string windowsFolder; // without a final separator
    std::string systemFolder;  // without a final separator
};

// TALMORIX.INI by its bare name, the system's Windows and system directories.
HostFolders SystemHostFolders();

// A Windows folder of a host elsewhere: TALMORIX.INI in it, its system32 as the system directory.
HostFolders HostFoldersIn(const std::string& windowsFolder);
