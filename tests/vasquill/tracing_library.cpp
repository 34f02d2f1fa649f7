// A library of the framework whose application reports each step of its life, linked like
// Vasquill.dll (the same library entry and start-up). The host program reads the steps from the
// loading process's environment: "construct", "init", "exit" and "destroy", comma-separated, in
// the order they ran. With VASQUILL_TEST_REFUSE set, its InitInstance fails.
#include "framework/WinApp.h"

#include <string>

namespace {

const char kSteps[] = "VASQUILL_TEST_STEPS";

void Record(const char* step) {
    char previous[256] = {};
    DWORD length = GetEnvironmentVariableA(kSteps, previous, sizeof previous);
    std::string steps(previous, length < sizeof previous ? length : 0);
    if (!steps.empty())
        steps += ',';
    steps += step;
    SetEnvironmentVariableA(kSteps, steps.c_str());
}

class CTracingApp : public CWinApp {
public:
    CTracingApp() { Record("construct"); }
    ~CTracingApp() override { Record("destroy"); }
    BOOL InitInstance() override {
        Record("init");
        return GetEnvironmentVariableA("VASQUILL_TEST_REFUSE", nullptr, 0) == 0;
    }
    int ExitInstance() override {
        Record("exit");
        return CWinApp::ExitInstance();
    }
};

CTracingApp theApp;

} // namespace
