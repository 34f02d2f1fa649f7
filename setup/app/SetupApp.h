// The application object: runs the setup dialog once and ends.
#pragma once

#include "framework/WinApp.h"

class CSetupApp : public CWinApp {
public:
    CSetupApp();

    BOOL InitInstance() override;
};
