// The start-up's checks: the package, the host installation and the required versions.
#pragma once

#include "framework/WinDefs.h"
#include "setup/config/HostFolders.h"
#include "setup/engine/SetupView.h"

#include <string>

// Where the host's program folder is: below the data folder when it exists there.
struct HostProgramFolder {
    std::string path; // the data folder's program folder, ending in a separator
    bool found = false;
};

// The start-up's first two checks, in their order: SETUP.INF must give the package title (into
// `title`), and TALMORIX.INI a data folder. FALSE after entering the error state; `title` is set
// whenever SETUP.INF has one, so the header can show it in the error state too.
BOOL CheckPackageAndHost(SetupView& view, const std::string& setupInf, const HostFolders& host,
                         std::string& title);

// Reads the data folder from TALMORIX.INI into `folder`, then checks every RequiredVersion of
// `setupInf`. FALSE after entering the error state with the reason. `osCode` only goes into the
// record of what was found.
BOOL CheckInstallation(SetupView& view, const std::string& setupInf, const HostFolders& host,
                       int osCode, HostProgramFolder& folder);
