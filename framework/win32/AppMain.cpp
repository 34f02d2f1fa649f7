// The program entry on Windows.
#include "framework/WinApp.h"

namespace {

// Keeps the loader out of the program's own folder (a download folder, for a setup) when it looks
// for DLLs. Looked up at run time so that the program still starts where the function is missing.
void RestrictDllSearchToSystem() {
    typedef BOOL(WINAPI * SetDefaultDllDirectoriesFn)(DWORD);
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    if (kernel == nullptr)
        return;
    auto setDirectories = reinterpret_cast<SetDefaultDllDirectoriesFn>(
        reinterpret_cast<void*>(GetProcAddress(kernel, "SetDefaultDllDirectories")));
    if (setDirectories != nullptr)
        setDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

// The dialog template's progress bar needs its window class registered before the dialog opens.
void RegisterCommonControls() {
    INITCOMMONCONTROLSEX controls;
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES;
    InitCommonControlsEx(&controls);
}

} // namespace

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int) {
    RestrictDllSearchToSystem();
    RegisterCommonControls();
    return AfxRunApplication(hInstance);
}
