#include "platform/win32/VersionDll.h"

#include <string>

namespace platform {

namespace {

template <typename Function> bool Resolve(HMODULE module, const char* name, Function& function) {
    // Through void*: GetProcAddress's FARPROC is no function type the compiler may cast from.
    function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    return function != nullptr;
}

VersionDll LoadVersionDll(bool& ok) {
    VersionDll dll;
    HMODULE module = LoadVersionLibrary(LoadLibraryExA);
    ok = module != nullptr &&
         Resolve(module, "GetFileVersionInfoSizeA", dll.GetFileVersionInfoSizeA) &&
         Resolve(module, "GetFileVersionInfoA", dll.GetFileVersionInfoA) &&
         Resolve(module, "VerQueryValueA", dll.VerQueryValueA) &&
         Resolve(module, "VerLanguageNameA", dll.VerLanguageNameA);
    return dll;
}

} // namespace

HMODULE LoadVersionLibrary(LoadLibraryExFunction load) {
    HMODULE module = load("version.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (module || GetLastError() != ERROR_INVALID_PARAMETER)
        return module;
    char folder[MAX_PATH];
    UINT length = GetSystemDirectoryA(folder, sizeof folder);
    if (length == 0 || length >= sizeof folder)
        return nullptr;
    const std::string path = std::string(folder, length) + "\\version.dll";
    // The library's own imports are then looked for beside it, in the system folder.
    return load(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

// The library stays loaded for the life of the program, as an import would.
const VersionDll* GetVersionDll() {
    static bool ok = false;
    static const VersionDll dll = LoadVersionDll(ok);
    return ok ? &dll : nullptr;
}

} // namespace platform
