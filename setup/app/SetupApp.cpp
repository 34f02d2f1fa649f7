#include "setup/app/SetupApp.h"

#include "setup/app/SetupDlg.h"

// No application name: the framework takes the title from string 57344.
CSetupApp::CSetupApp() : CWinApp(nullptr) {}

BOOL CSetupApp::InitInstance() {
    CSetupDlg dlg(nullptr);
    m_pMainWnd = &dlg;
    dlg.DoModal();
    m_pMainWnd = nullptr;

    // End at once instead of entering a message loop of our own.
    return FALSE;
}

CSetupApp theApp;
