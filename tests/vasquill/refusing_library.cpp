// A library whose application refuses to start: the framework's library entry must then refuse
// the load, without a message and without running ExitInstance. It leaves traces in the loading
// process's environment for the host program to check.
#include "framework/WinApp.h"

namespace {

class CRefusingApp : public CWinApp {
public:
    BOOL InitInstance() override {
        SetEnvironmentVariableA("VASQUILL_TEST_INIT", "1");
        return FALSE;
    }
    int ExitInstance() override {
        SetEnvironmentVariableA("VASQUILL_TEST_EXIT", "1");
        return 0;
    }
};

CRefusingApp theApp;

} // namespace
