// The program entry on Windows.
#include "framework/WinApp.h"
#include "framework/win32/StartUp.h"
#include "platform/win32/SafeFolder.h"

namespace {

// The dialog template's progress bar needs its window class registered before the dialog opens.
void RegisterCommonControls() {
    INITCOMMONCONTROLSEX controls;
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES;
    InitCommonControlsEx(&controls);
}

} // namespace

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int) {
    framework_win32::RestrictDllSearchToSystem();
    platform::EnforceRedirectionTrust();
    framework_win32::DisableWindowGhosting();
    RegisterCommonControls();
    return AfxRunApplication(hInstance);
}
