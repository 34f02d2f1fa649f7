#include "framework/win32/StartUp.h"

#include "framework/WinDefs.h"

namespace {

// The address of `name` in a system DLL the program already has loaded; nullptr when missing.
template <typename Function> Function* SystemFunction(const char* dll, const char* name) {
    HMODULE module = GetModuleHandleA(dll);
    if (module == nullptr)
        return nullptr;
    return reinterpret_cast<Function*>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

} // namespace

namespace framework_win32 {

bool RestrictDllSearchToSystem() {
    auto* setDirectories =
        SystemFunction<BOOL WINAPI(DWORD)>("kernel32.dll", "SetDefaultDllDirectories");
    return setDirectories != nullptr && setDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

bool DisableWindowGhosting() {
    auto* disableGhosting =
        SystemFunction<void WINAPI()>("user32.dll", "DisableProcessWindowsGhosting");
    if (disableGhosting == nullptr)
        return false;
    disableGhosting();
    return true;
}

} // namespace framework_win32
