// The entry points of version.dll, resolved in this one place from the copy in the system folder.
// The setup runs elevated from a download folder: importing version.dll would let the loader pick
// up a planted copy beside the program, so it is loaded from the system folder by name instead.
#pragma once

#include "platform/WindowsHeaders.h"

namespace platform {

struct VersionDll {
    DWORD(WINAPI* GetFileVersionInfoSizeA)(LPCSTR, LPDWORD) = nullptr;
    BOOL(WINAPI* GetFileVersionInfoA)(LPCSTR, DWORD, DWORD, LPVOID) = nullptr;
    BOOL(WINAPI* VerQueryValueA)(LPCVOID, LPCSTR, LPVOID*, PUINT) = nullptr;
    DWORD(WINAPI* VerLanguageNameA)(DWORD, LPSTR, DWORD) = nullptr;
};

// The resolved entry points; nullptr when the library or one of them could not be loaded.
const VersionDll* GetVersionDll();

// LoadLibraryExA, or a stand-in that answers as an older system would.
using LoadLibraryExFunction = HMODULE(WINAPI*)(LPCSTR, HANDLE, DWORD);

// Loads version.dll from the system folder through `load`. A system that does not know
// LOAD_LIBRARY_SEARCH_SYSTEM32 (Windows 7 without its loader update) refuses the flag with
// ERROR_INVALID_PARAMETER; there the library is loaded by its full path in the system folder,
// never by its bare name.
HMODULE LoadVersionLibrary(LoadLibraryExFunction load);

} // namespace platform
