// <windows.h> first, then every header of the engine, the config and the platform: they must
// compile after it, and the interfaces' members must keep their names there. Each member of the
// two interfaces is called by its name on the probe, whose bodies were compiled without
// <windows.h>; a renamed one fails to link. (CheckWindowsNames.cmake looks at every name of these
// headers, also of the free functions.)
#include "platform/WindowsHeaders.h"
// after <windows.h>, which must come first here
#include "platform/FileContent.h"
#include "platform/Files.h"
#include "platform/PathDisplay.h"
#include "platform/Process.h"
#include "platform/Profile.h"
#include "platform/ProfileOutline.h"
#include "platform/ProfileText.h"
#include "platform/SystemInfo.h"
#include "platform/VersionInfo.h"
#include "setup/checks/WindowsNamesProbe.h"
#include "setup/config/FileText.h"
#include "setup/config/FolderPath.h"
#include "setup/config/HostFolders.h"
#include "setup/config/SetupFiles.h"
#include "setup/config/SetupRules.h"
#include "setup/config/VersionCompare.h"
#include "setup/engine/CopyEntry.h"
#include "setup/engine/FollowUp.h"
#include "setup/engine/InstallActions.h"
#include "setup/engine/ModuleFolder.h"
#include "setup/engine/OsCode.h"
#include "setup/engine/SetupEngine.h"
#include "setup/engine/SetupMessage.h"
#include "setup/engine/SetupRun.h"
#include "setup/engine/SetupView.h"
#include "setup/engine/ShortenPath.h"
#include "setup/engine/StartUpChecks.h"
#include "setup/engine/VersionInfo.h"

namespace {

void CallEveryMember(CProbeActions& actions, CProbeView& view) {
    const std::string text;
    const CCopyList list;
    actions.CProbeActions::CreateFolder(text);
    actions.CProbeActions::BeginCopyPass(list);
    actions.CProbeActions::CopyPayloadFile(text, text);
    actions.CProbeActions::EndCopyPass(true);
    actions.CProbeActions::RewriteRunRecord(text, text);
    actions.CProbeActions::RunProgram(text);

    const SetupMessage message;
    view.CProbeView::ShowHeader(text);
    view.CProbeView::ShowReady(message);
    view.CProbeView::ShowSetupError(message);
    view.CProbeView::BeginInstall();
    view.CProbeView::ShowProgress(0);
    view.CProbeView::SetProgress(0);
    view.CProbeView::SetInfoText(message);
    view.CProbeView::FitPathToInfoText(text);
    view.CProbeView::AskReplace(ReplaceQuestion{});
    view.CProbeView::ShowSuccess(message);
    view.CProbeView::OnHostFound(HostRecord{});
    view.CProbeView::OnVersionChecked(VersionCheckRecord{});
    view.CProbeView::OnFolderCreated(FolderRecord{});
    view.CProbeView::OnCopyEntry(CopyRecord{});
    view.CProbeView::OnRunRecord(RunRecordRecord{});
    view.CProbeView::OnProgram(ProgramRecord{});
}

} // namespace

// Built, never run: the link is the check.
int main(int argc, char**) {
    CProbeActions actions;
    CProbeView view;
    if (argc < 0)
        CallEveryMember(actions, view);
    return 0;
}
