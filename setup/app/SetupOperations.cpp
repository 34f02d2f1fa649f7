// The dialog's operations, carried out by the engine with the dialog as its view.
#include "setup/app/SetupDlg.h"
#include "setup/config/CheckInstallation.h"
#include "setup/engine/ModuleFolder.h"
#include "setup/engine/OsCode.h"
#include "setup/engine/ShortenPath.h"
#include "setup/res/resource.h"

#include <utility>

SetupEngine CSetupDlg::Engine() {
    InstallContext context;
    context.setupInf = m_strSetupInf;
    context.sourceFolder = GetModuleFolder();
    context.header = GetDlgItemText(IDC_HEADER_TEXT);
    context.host = SystemHostFolders();
    context.programDirFound = m_bProgramDirFound;
    context.programDir = m_strProgramDir;
    context.osCode = GetOsCode();
    return SetupEngine(*this, SystemActions(), std::move(context));
}

BOOL CSetupDlg::CheckInstallation() {
    HostProgramFolder folder;
    BOOL result = ::CheckInstallation(*this, m_strSetupInf, SystemHostFolders(), folder);
    m_strProgramDir = folder.path;
    m_bProgramDirFound = folder.found;
    return result;
}

BOOL CSetupDlg::CollectFiles(CCopyList& list) {
    return Engine().CollectFiles(list);
}

BOOL CSetupDlg::CopyFiles(CCopyList& list) {
    return Engine().CopyFiles(list);
}

BOOL CSetupDlg::CheckFileOptions(const std::string& options, const std::string& source,
                                 const std::string& target) {
    return Engine().CheckFileOptions(options, source, target);
}

void CSetupDlg::CreateFolderPath(const std::string& path) {
    Engine().CreateFolderPath(path);
}

BOOL CSetupDlg::ConfirmReplace(const std::string& source, const std::string& target) {
    return Engine().ConfirmReplace(source, target);
}

void CSetupDlg::WriteUpdateInf() {
    Engine().WriteUpdateInf();
}

BOOL CSetupDlg::RunPrograms() {
    return Engine().RunPrograms();
}

// No message loop runs while the engine works: each new text and position is painted at once.
void CSetupDlg::SetInfoText(const std::string& text) {
    CWnd info = GetDlgItem(IDC_INFO_TEXT);
    info.SetWindowText(text);
    info.UpdateWindow();
}

void CSetupDlg::SetProgress(int position) {
    m_ctlProgress.SetPosAtOnce(position);
}

bool CSetupDlg::AskYesNo(const std::string& question) {
    return MessageBox(question, MB_YESNO) == IDYES;
}

std::string CSetupDlg::FitPathToInfoText(const std::string& path) {
    CWnd info = GetDlgItem(IDC_INFO_TEXT);
    std::string shown;
    ShortenPathToFit(&info, path, shown);
    return shown;
}
