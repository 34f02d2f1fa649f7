// Building the copy list from the blocks of SETUP.INF.
#include "platform/Files.h"
#include "platform/Profile.h"
#include "setup/config/FolderPath.h"
#include "setup/config/SetupFiles.h"
#include "setup/config/SetupRules.h"
#include "setup/engine/SetupEngine.h"
#include "setup/engine/SetupMessage.h"
#include "setup/res/resource.h"

namespace {

// What a "WINDOWS_DIR" block's Pfad names: the Windows directory when it contains "WINDIR",
// otherwise the system directory.
std::string WindowsFolderFor(const std::string& path, const HostFolders& host) {
    return WithFinalBackslash(NamesWindowsDirectory(path) ? host.windowsFolder : host.systemFolder);
}

size_t NextSeparator(const std::string& path, size_t from) {
    for (size_t i = from; i < path.size(); ++i)
        if (IsPathSeparator(path[i]))
            return i;
    return path.size();
}

} // namespace

// The first three characters, a drive root such as "D:\", are never tried. On a network path
// ("\\server\share\...") the first level tried is "\\server", which cannot be created: nothing
// is made there.
void SetupEngine::CreateFolderPath(const std::string& path) const {
    for (size_t pos = 3; pos < path.size();) {
        size_t end = NextSeparator(path, pos);
        std::string level = path.substr(0, end);
        if (!platform::PathExists(level)) {
            FolderRecord record{level, m_actions.CreateFolder(level)};
            m_view.OnFolderCreated(record);
            if (!record.created)
                return;
        }
        pos = end + 1;
    }
}

BOOL SetupEngine::CollectFiles(CCopyList& list) const {
    const std::string& setupInf = m_context.setupInf;

    for (int n = 1;; ++n) {
        std::string block = NumberedName(kBlockSection, n);
        std::string section = platform::ReadProfileValue(block, kBlockSectionKey, setupInf);
        if (section.empty())
            break;
        std::string path = platform::ReadProfileValue(block, kBlockPathKey, setupInf);
        if (path.empty())
            break;

        std::string targetFolder;
        if (IsWindowsFolderBlock(section)) {
            targetFolder = WindowsFolderFor(path, m_context.host);
        } else {
            if (m_context.programDirFound && TakesFoundProgramFolder(section, path)) {
                targetFolder = m_context.programDir;
            } else {
                std::string folder =
                    platform::ReadProfileValue(section, path, m_context.host.hostIni);
                if (folder.empty()) {
                    m_view.ShowSetupError(MakeMessage(IDS_TARGET_NOT_FOUND, {path}));
                    return FALSE;
                }
                targetFolder = WithFinalBackslash(folder);
            }
            std::string subdir = platform::ReadProfileValue(block, kBlockSubdirKey, setupInf);
            if (!subdir.empty()) {
                targetFolder = WithFinalBackslash(targetFolder + subdir);
                CreateFolderPath(targetFolder);
            }
        }

        for (int m = 1;; ++m) {
            std::string value =
                platform::ReadProfileValue(block, NumberedName(kBlockFileKey, m), setupInf);
            if (value.empty())
                break;
            FileValue file = SplitFileValue(value);
            list.push_back(CCopyEntry{m_context.sourceFolder + file.name, targetFolder + file.name,
                                      file.options});
        }
    }

    if (list.empty()) {
        m_view.ShowSetupError(MakeMessage(IDS_INVALID_CONFIG));
        return FALSE;
    }
    return TRUE;
}
