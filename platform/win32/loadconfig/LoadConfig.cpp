// The load-configuration directory of setup.exe. GNU ld points the image's directory entry at the
// object of this name (ld looks for _load_config_used, on x86 with the extra leading underscore
// of C names) and takes its size from the first field. The one field we fill in is
// DependentLoadFlags (Windows 10 1607 and later): the DLLs that our static imports bring in are
// then looked for in the system folder only, never beside the program in a download folder.
// Older systems ignore the field. MinGW's headers still call it Reserved1.
#include "platform/WindowsHeaders.h"

extern "C" {

extern const IMAGE_LOAD_CONFIG_DIRECTORY _load_config_used;

// Constant data, laid out by the compiler: the loader reads it before any code of ours runs.
// Every field in order (x86 and x64 differ only in the order of two fields that stay 0).
__attribute__((used)) const IMAGE_LOAD_CONFIG_DIRECTORY _load_config_used = {
    sizeof(IMAGE_LOAD_CONFIG_DIRECTORY), // Size
    0,
    0,
    0, // TimeDateStamp, MajorVersion, MinorVersion
    0,
    0,
    0, // GlobalFlagsClear, GlobalFlagsSet, CriticalSection...
    0,
    0,
    0,
    0,
    0, // DeCommit..., LockPrefixTable, Maximum..., Virtual...
    0,
    0,                            // ProcessHeapFlags, ProcessAffinityMask
    0,                            // CSDVersion
    LOAD_LIBRARY_SEARCH_SYSTEM32, // DependentLoadFlags
    0,
    0,
    0,
    0, // EditList, SecurityCookie, SEHandlerTable, ...Count
};

} // extern "C"
