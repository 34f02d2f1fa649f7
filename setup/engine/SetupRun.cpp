#include "setup/engine/SetupRun.h"

#include "setup/config/SetupFiles.h"
#include "setup/engine/ModuleFolder.h"
#include "setup/engine/OsCode.h"
#include "setup/engine/SetupMessage.h"
#include "setup/engine/StartUpChecks.h"
#include "setup/res/resource.h"

#include <utility>

SetupPlace SystemPlace() {
    return SetupPlace{GetModuleFolder(), SystemHostFolders(), GetOsCode()};
}

SetupRun::SetupRun(SetupView& view, InstallActions& actions, SetupPlace place)
    : m_view(view), m_actions(actions) {
    m_context.setupInf = place.packageFolder + kSetupInfName;
    m_context.sourceFolder = std::move(place.packageFolder);
    m_context.host = std::move(place.host);
    m_context.osCode = place.osCode;
}

bool SetupRun::Start() {
    if (m_stage != SetupStage::Starting)
        return m_stage == SetupStage::Ready;
    m_stage = SetupStage::Failed;

    std::string title;
    BOOL found = CheckPackageAndHost(m_view, m_context.setupInf, m_context.host, title);
    // The header shows the title in the error state too, whenever SETUP.INF has one.
    if (!title.empty()) {
        m_context.header = "  " + title;
        m_view.ShowHeader(m_context.header);
    }
    if (!found)
        return false;

    HostProgramFolder folder;
    BOOL checked =
        CheckInstallation(m_view, m_context.setupInf, m_context.host, m_context.osCode, folder);
    // Kept whether or not a version check failed: they were found before any was checked.
    m_context.programDir = folder.path;
    m_context.programDirFound = folder.found;
    if (!checked)
        return false;

    m_stage = SetupStage::Ready;
    m_view.ShowReady(MakeMessage(IDS_INTRO));
    return true;
}

bool SetupRun::Install() {
    // Only the ready state takes the install command: in the error and success states a command
    // may still arrive (a default button, a posted command).
    if (m_stage != SetupStage::Ready)
        return false;
    m_stage = SetupStage::Installing;
    m_view.BeginInstall();

    // The engine is made once, over what the start-up found.
    const SetupEngine engine(m_view, m_actions, m_context);
    CCopyList list;
    if (!engine.CollectFiles(list)) {
        m_stage = SetupStage::Failed;
        return false;
    }
    m_view.ShowProgress(10);
    if (!engine.CopyFiles(list) || !engine.RunPrograms()) {
        m_stage = SetupStage::Failed;
        return false;
    }
    m_stage = SetupStage::Succeeded;
    m_view.ShowSuccess(MakeMessage(IDS_SUCCESS));
    return true;
}
