#include "setup/app/SetupApp.h"

#include "setup/app/SetupDlg.h"

namespace {

// The framework's help command goes to its standard handling; the setup ships no help file.
const AFX_MSGMAP_ENTRY kSetupAppEntries[] = {
    {WM_COMMAND, 0, ID_HELP, ID_HELP, 0, static_cast<AFX_PMSG>(&CWinApp::OnHelp)},
    {0, 0, 0, 0, 0, nullptr},
};

const AFX_MSGMAP kSetupAppMap = {&CWinApp::GetThisMessageMap, kSetupAppEntries};

} // namespace

// No application name: the framework takes the title from string 57344.
CSetupApp::CSetupApp() : CWinApp(nullptr) {}

const AFX_MSGMAP* CSetupApp::GetMessageMap() const {
    return &kSetupAppMap;
}

BOOL CSetupApp::InitInstance() {
    AfxEnableControlContainer();
    Enable3dControls();

    CSetupDlg dlg(nullptr);
    m_pMainWnd = &dlg;
    dlg.DoModal();
    m_pMainWnd = nullptr;

    // End at once instead of entering a message loop of our own.
    return FALSE;
}

CSetupApp theApp;
