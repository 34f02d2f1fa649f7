// Compiled without <windows.h>: the names as our headers spell them.
#include "setup/checks/WindowsNamesProbe.h"

bool CProbeActions::CreateFolder(const std::string&) {
    return false;
}
void CProbeActions::BeginCopyPass(const CCopyList&) {}
bool CProbeActions::CopyPayloadFile(const std::string&, const std::string&) {
    return false;
}
void CProbeActions::EndCopyPass(bool) {}
bool CProbeActions::RewriteRunRecord(const std::string&, const std::string&) {
    return false;
}
ProgramResult CProbeActions::RunProgram(const std::string&) {
    return {};
}

void CProbeView::ShowHeader(const std::string&) {}
void CProbeView::ShowReady(const SetupMessage&) {}
void CProbeView::ShowSetupError(const SetupMessage&) {}
void CProbeView::BeginInstall() {}
void CProbeView::ShowProgress(int) {}
void CProbeView::SetProgress(int) {}
void CProbeView::SetInfoText(const SetupMessage&) {}
std::string CProbeView::FitPathToInfoText(const std::string& path) {
    return path;
}
bool CProbeView::AskReplace(const ReplaceQuestion&) {
    return false;
}
void CProbeView::ShowSuccess(const SetupMessage&) {}
void CProbeView::OnHostFound(const HostRecord&) {}
void CProbeView::OnVersionChecked(const VersionCheckRecord&) {}
void CProbeView::OnFolderCreated(const FolderRecord&) {}
void CProbeView::OnCopyEntry(const CopyRecord&) {}
void CProbeView::OnRunRecord(const RunRecordRecord&) {}
void CProbeView::OnProgram(const ProgramRecord&) {}
