// The application object of the Vasquill resource library.
#pragma once

#include "framework/WinApp.h"

// The library's code only starts and stops as a framework library; everything the support tool
// takes from it is a resource. The class therefore handles no message of its own and keeps the
// framework's InitInstance and ExitInstance.
class CVQ_DeuApp : public CWinApp {
public:
    CVQ_DeuApp();
    ~CVQ_DeuApp() override;

    const AFX_MSGMAP* GetMessageMap() const override;

    // A slot after the framework's for the support tool's use; the library itself never calls it.
    // The arguments are ignored and the answer is always TRUE.
    virtual BOOL OnHostNotify(UINT nCode, UINT nParam1, UINT nParam2);

    static const AFX_MSGMAP* GetThisMessageMap();
};
