// The program entry on Windows.
#include "framework/WinApp.h"
#include "framework/win32/StartUp.h"
#include "platform/win32/SafeFolder.h"

#include <cstdlib>

namespace {

// The dialog template's progress bar needs its window class registered before the dialog opens.
void RegisterCommonControls() {
    INITCOMMONCONTROLSEX controls;
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES;
    InitCommonControlsEx(&controls);
}

// The C runtime has already split the line by the Windows rules (quotes, backslashes before them)
// for __argv; the whole line is the one the starting program passed.
AfxCommandLine ProgramCommandLine() {
    AfxCommandLine commandLine;
    commandLine.text = GetCommandLineA();
    for (int i = 1; i < __argc; ++i)
        commandLine.arguments.push_back(__argv[i]);
    return commandLine;
}

} // namespace

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int) {
    framework_win32::RestrictDllSearchToSystem();
    platform::EnforceRedirectionTrust();
    framework_win32::DisableWindowGhosting();
    RegisterCommonControls();
    return AfxRunApplication(hInstance, ProgramCommandLine());
}
