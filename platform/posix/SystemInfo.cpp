#include "platform/SystemInfo.h"

#include <cstdlib>
#include <mutex>
#include <unistd.h>
#include <vector>

namespace platform {

namespace {

std::mutex moduleMutex;
std::string moduleOverride;

std::string FromEnvironment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

// Without its final separators; the root stays "/".
std::string WithoutFinalSeparator(std::string path) {
    while (path.size() > 1 && (path.back() == '/' || path.back() == '\\'))
        path.pop_back();
    return path;
}

std::string ReadOwnExecutable() {
    std::vector<char> buffer(256);
    for (;;) {
        ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (length < 0)
            return "";
        if (static_cast<size_t>(length) < buffer.size())
            return std::string(buffer.data(), static_cast<size_t>(length));
        buffer.resize(buffer.size() * 2);
    }
}

} // namespace

std::string ModuleFilePath() {
    {
        std::lock_guard<std::mutex> lock(moduleMutex);
        if (!moduleOverride.empty())
            return moduleOverride;
    }
    return ReadOwnExecutable();
}

void SetModuleFilePathForTesting(const std::string& path) {
    std::lock_guard<std::mutex> lock(moduleMutex);
    moduleOverride = path;
}

// A system has a Windows directory only when QUARNEL_WINDIR names one. Unset (or empty) the answer
// is "": a bare profile name such as TALMORIX.INI is then found nowhere, so the setup reports that
// there is no installation rather than guessing a folder.
std::string WindowsFolder() {
    return WithoutFinalSeparator(FromEnvironment("QUARNEL_WINDIR"));
}

// QUARNEL_SYSDIR, else the folder system32 of the Windows directory; "" when there is neither.
std::string SystemFolder() {
    std::string system = FromEnvironment("QUARNEL_SYSDIR");
    if (!system.empty())
        return WithoutFinalSeparator(system);
    std::string windows = WindowsFolder();
    if (windows.empty())
        return "";
    return (windows == "/" ? "" : windows) + "/system32";
}

// No Windows version here: platform id 0 makes every system filter of the options text pass.
OsVersion GetOsVersion() {
    return OsVersion{};
}

} // namespace platform
