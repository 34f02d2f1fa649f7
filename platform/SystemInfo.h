// What the setup asks of the system about itself: its own file, the Windows folders, the version.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

// The full file name of the running program, however long.
std::string ModuleFilePath();

// The Windows directory (POSIX: $QUARNEL_WINDIR) and the system directory (POSIX:
// $QUARNEL_SYSDIR, by default <windows directory>/system32), without a final separator.
std::string WindowsFolder();
std::string SystemFolder();

// GetVersionExA with the basic OSVERSIONINFOA record. `ok` is false when the call failed; on
// POSIX the platform id is 0 (neither Windows 9x nor NT).
struct OsVersion {
    bool ok = false;
    uint32_t platformId = 0;
    uint32_t major = 0;
    uint32_t minor = 0;
    uint32_t build = 0;
};
OsVersion GetOsVersion();

#ifndef _WIN32
// Tests run the setup's code in-process as if the program lay elsewhere.
void SetModuleFilePathForTesting(const std::string& path);
#endif

} // namespace platform
