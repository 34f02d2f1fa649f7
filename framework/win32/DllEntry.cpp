// The framework's standard entry of a library: sets the framework up for the library's own module
// and runs the application object's InitInstance on load, and its ExitInstance on unload.
#include "framework/WinApp.h"

class CLibraryEntry {
public:
    static BOOL AttachProcess(HINSTANCE hInstance);
    static void DetachProcess();
};

BOOL CLibraryEntry::AttachProcess(HINSTANCE hInstance) {
    // The library's instance, not the host's, is where the framework looks for resources.
    if (!AfxInitModule(hInstance))
        return FALSE;
    CWinApp* pApp = AfxGetApp();
    if (pApp == nullptr)
        return TRUE;
    if (!pApp->InitInstance())
        return FALSE;
    pApp->m_bLibraryStarted = true;
    return TRUE;
}

// A refused load still gets the call for detaching: ExitInstance runs only for an application
// whose InitInstance succeeded.
void CLibraryEntry::DetachProcess() {
    CWinApp* pApp = AfxGetApp();
    if (pApp == nullptr || !pApp->m_bLibraryStarted)
        return;
    pApp->m_bLibraryStarted = false;
    // The application object itself is destroyed later, by the runtime's exit list.
    pApp->ExitInstance();
}

extern "C" BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID) {
    switch (dwReason) {
    case DLL_PROCESS_ATTACH:
        return CLibraryEntry::AttachProcess(hInstance);
    case DLL_PROCESS_DETACH:
        CLibraryEntry::DetachProcess();
        break;
    default:
        // Threads: the framework keeps nothing per thread that would need releasing here.
        break;
    }
    return TRUE;
}
