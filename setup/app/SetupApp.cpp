#include "setup/app/SetupApp.h"

#include "setup/app/StartSetup.h"

// No application name: the framework takes the title from string 57344.
CSetupApp::CSetupApp() : CWinApp(nullptr) {}

BOOL CSetupApp::InitInstance() {
    m_nExitCode = RunSetup(*this);

    // End at once instead of entering a message loop of our own.
    return FALSE;
}

int CSetupApp::ExitInstance() {
    CWinApp::ExitInstance();
    return m_nExitCode;
}

CSetupApp theApp;
