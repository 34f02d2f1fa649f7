#include "platform/win32/VersionDll.h"

namespace platform {

namespace {

template <typename Function> bool Resolve(HMODULE module, const char* name, Function& function) {
    // Through void*: GetProcAddress's FARPROC is no function type the compiler may cast from.
    function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    return function != nullptr;
}

VersionDll LoadVersionDll(bool& ok) {
    VersionDll dll;
    HMODULE module = LoadLibraryExA("version.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    ok = module != nullptr &&
         Resolve(module, "GetFileVersionInfoSizeA", dll.GetFileVersionInfoSizeA) &&
         Resolve(module, "GetFileVersionInfoA", dll.GetFileVersionInfoA) &&
         Resolve(module, "VerQueryValueA", dll.VerQueryValueA) &&
         Resolve(module, "VerLanguageNameA", dll.VerLanguageNameA);
    return dll;
}

} // namespace

// The library stays loaded for the life of the program, as an import would.
const VersionDll* GetVersionDll() {
    static bool ok = false;
    static const VersionDll dll = LoadVersionDll(ok);
    return ok ? &dll : nullptr;
}

} // namespace platform
