// The application object: runs the setup once, as its command line asks, and ends with the exit
// code that says how the run went.
#pragma once

#include "framework/WinApp.h"

class CSetupApp : public CWinApp {
public:
    CSetupApp();

    BOOL InitInstance() override;
    int ExitInstance() override;

private:
    int m_nExitCode = 0;
};
