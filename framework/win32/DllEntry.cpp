// The framework's standard entry of a library: sets the framework up for the library's own module
// and runs the application object's InitInstance on load, and its ExitInstance on unload.
#include "framework/WinApp.h"

namespace {

// Set once InitInstance has succeeded, so that a refused load, for which the loader still calls
// the entry for detaching, does not run ExitInstance on an application that never started.
bool g_bAppStarted = false;

BOOL AttachProcess(HINSTANCE hInstance) {
    // The library's instance, not the host's, is where the framework looks for resources.
    if (!AfxInitModule(hInstance))
        return FALSE;
    CWinApp* pApp = AfxGetApp();
    if (pApp != nullptr && !pApp->InitInstance())
        return FALSE;
    g_bAppStarted = pApp != nullptr;
    return TRUE;
}

void DetachProcess() {
    if (!g_bAppStarted)
        return;
    g_bAppStarted = false;
    // The application object itself is destroyed later, by the runtime's exit list.
    AfxGetApp()->ExitInstance();
}

} // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID) {
    switch (dwReason) {
    case DLL_PROCESS_ATTACH:
        return AttachProcess(hInstance);
    case DLL_PROCESS_DETACH:
        DetachProcess();
        break;
    default:
        // Threads: the framework keeps nothing per thread that would need releasing here.
        break;
    }
    return TRUE;
}
