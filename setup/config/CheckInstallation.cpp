// Finding the host program folder and checking the required versions of SETUP.INF.
#include "setup/config/CheckInstallation.h"

#include "framework/Messages.h"
#include "platform/Files.h"
#include "platform/Profile.h"
#include "setup/config/FileText.h"
#include "setup/config/FolderPath.h"
#include "setup/config/SetupFiles.h"
#include "setup/config/SetupRules.h"
#include "setup/config/VersionCompare.h"
#include "setup/engine/VersionInfo.h"
#include "setup/res/resource.h"

namespace {

// The installed version of a required-version file, read by its extension; empty when it cannot
// be determined.
std::string InstalledVersionOf(const std::string& path) {
    std::string version;
    switch (VersionSourceOf(path)) {
    case VersionSource::FileVersion:
        GetFileVersionString(path, version, "FileVersion");
        break;
    case VersionSource::VersionText:
        version = VersionTextOf(ReadFileText(path));
        break;
    case VersionSource::None:
        break;
    }
    return version;
}

} // namespace

BOOL CheckPackageAndHost(SetupView& view, const std::string& setupInf, const HostFolders& host,
                         std::string& title) {
    title = platform::ReadProfileValue(kInstallationSection, kTitleKey, setupInf);
    if (title.empty()) {
        view.ShowSetupError(LoadMessage(IDS_INVALID_CONFIG));
        return FALSE;
    }
    // Only the presence of the host is checked here; CheckInstallation reads the key again.
    if (platform::ReadProfileValue(kDirectoriesSection, kDataDirKey, host.hostIni).empty()) {
        view.ShowSetupError(LoadMessage(IDS_NO_INSTALLATION));
        return FALSE;
    }
    return TRUE;
}

BOOL CheckInstallation(SetupView& view, const std::string& setupInf, const HostFolders& host,
                       HostProgramFolder& folder) {
    std::string dataDir =
        platform::ReadProfileValue(kDirectoriesSection, kDataDirKey, host.hostIni);
    if (dataDir.empty()) {
        view.ShowSetupError(FormatMessageText(IDS_TARGET_NOT_FOUND, {kDataDirKey}));
        return FALSE;
    }

    folder.path = WithFinalBackslash(dataDir) + kProgramSubfolder;
    folder.found = platform::PathExists(folder.path);

    std::string baseFolder = folder.found ? folder.path
                                          : WithFinalBackslash(platform::ReadProfileValue(
                                                kDirectoriesSection, kProgDirKey, host.hostIni));

    for (int n = 1;; ++n) {
        std::string entry = platform::ReadProfileValue(
            kInstallationSection, NumberedName(kRequiredVersionKey, n), setupInf);
        if (entry.empty())
            return TRUE;

        // An entry without ";" names no file, so no installed version can be found for it.
        std::string file;
        std::string required;
        std::string installed;
        if (SplitRequiredVersion(entry, file, required))
            installed = InstalledVersionOf(baseFolder + file);
        if (installed.empty()) {
            view.ShowSetupError(LoadMessage(IDS_NO_VERSION));
            return FALSE;
        }

        switch (CompareWithRequired(installed, required)) {
        case VersionCheck::InstalledNewer:
            view.ShowSetupError(LoadMessage(IDS_NEWER_INSTALLED));
            return FALSE;
        case VersionCheck::InstalledOlder: {
            std::string info = platform::ReadProfileValue(kInstallationSection,
                                                          NumberedName(kInfoTextKey, n), setupInf);
            if (!info.empty()) {
                view.ShowSetupError(info + "\r\n" + LoadMessage(IDS_CANNOT_RUN));
                return FALSE;
            }
            break; // without an explanation, an older installed version is accepted
        }
        case VersionCheck::Met:
            break;
        }
    }
}
