// Finding the host program folder and checking the required versions of SETUP.INF.
#include "setup/engine/StartUpChecks.h"

#include "framework/Messages.h"
#include "platform/Files.h"
#include "platform/Profile.h"
#include "setup/config/FileText.h"
#include "setup/config/FolderPath.h"
#include "setup/config/SetupFiles.h"
#include "setup/config/SetupRules.h"
#include "setup/config/VersionCompare.h"
#include "setup/engine/SetupMessage.h"
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
        view.ShowSetupError(MakeMessage(IDS_INVALID_CONFIG));
        return FALSE;
    }
    // Only the presence of the host is checked here; CheckInstallation reads the key again.
    if (platform::ReadProfileValue(kDirectoriesSection, kDataDirKey, host.hostIni).empty()) {
        view.ShowSetupError(MakeMessage(IDS_NO_INSTALLATION));
        return FALSE;
    }
    return TRUE;
}

BOOL CheckInstallation(SetupView& view, const std::string& setupInf, const HostFolders& host,
                       int osCode, HostProgramFolder& folder) {
    std::string dataDir =
        platform::ReadProfileValue(kDirectoriesSection, kDataDirKey, host.hostIni);
    if (dataDir.empty()) {
        view.ShowSetupError(MakeMessage(IDS_TARGET_NOT_FOUND, {kDataDirKey}));
        return FALSE;
    }

    folder.path = WithFinalBackslash(dataDir) + kProgramSubfolder;
    folder.found = platform::PathExists(folder.path);
    view.OnHostFound(HostRecord{dataDir, folder.path, folder.found, host.windowsFolder,
                                host.systemFolder, osCode});

    std::string baseFolder = folder.found ? folder.path
                                          : WithFinalBackslash(platform::ReadProfileValue(
                                                kDirectoriesSection, kProgDirKey, host.hostIni));

    for (int n = 1;; ++n) {
        std::string entry = platform::ReadProfileValue(
            kInstallationSection, NumberedName(kRequiredVersionKey, n), setupInf);
        if (entry.empty())
            return TRUE;

        // An entry without ";" names no file, so no installed version can be found for it.
        VersionCheckRecord check;
        check.number = n;
        std::string name;
        if (SplitRequiredVersion(entry, name, check.required)) {
            check.file = baseFolder + name;
            check.installed = InstalledVersionOf(check.file);
        }
        if (check.installed.empty()) {
            check.outcome = VersionOutcome::NotFound;
            view.OnVersionChecked(check);
            view.ShowSetupError(MakeMessage(IDS_NO_VERSION));
            return FALSE;
        }

        switch (CompareWithRequired(check.installed, check.required)) {
        case VersionCheck::InstalledNewer:
            check.outcome = VersionOutcome::InstalledNewer;
            view.OnVersionChecked(check);
            view.ShowSetupError(MakeMessage(IDS_NEWER_INSTALLED));
            return FALSE;
        case VersionCheck::InstalledOlder: {
            std::string info = platform::ReadProfileValue(kInstallationSection,
                                                          NumberedName(kInfoTextKey, n), setupInf);
            if (!info.empty()) {
                check.outcome = VersionOutcome::OlderRefused;
                view.OnVersionChecked(check);
                // The package's explanation first, then the message.
                SetupMessage message;
                message.id = IDS_CANNOT_RUN;
                message.args = {info};
                message.text = info + "\r\n" + LoadMessage(IDS_CANNOT_RUN);
                view.ShowSetupError(message);
                return FALSE;
            }
            // Without an explanation, an older installed version is accepted.
            check.outcome = VersionOutcome::OlderAccepted;
            view.OnVersionChecked(check);
            break;
        }
        case VersionCheck::Met:
            view.OnVersionChecked(check);
            break;
        }
    }
}
