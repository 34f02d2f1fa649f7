#include "platform/SystemInfo.h"

#include "platform/WindowsHeaders.h"

#include <vector>

namespace platform {

namespace {

// For the folder functions that answer with the size they need when the buffer is too small.
template <typename Query> std::string QueryFolder(Query query) {
    std::vector<char> buffer(MAX_PATH + 1);
    for (;;) {
        UINT length = query(buffer.data(), static_cast<UINT>(buffer.size()));
        if (length == 0)
            return "";
        if (length < buffer.size()) {
            std::string folder(buffer.data(), length);
            if (folder.size() > 1 && folder.back() == '\\')
                folder.pop_back();
            return folder;
        }
        buffer.resize(length + 1);
    }
}

} // namespace

// GetModuleFileNameA cuts a long name to the buffer without saying how much it needs, so the
// buffer grows until the name fits with room to spare.
std::string ModuleFilePath() {
    std::vector<char> buffer(MAX_PATH);
    for (;;) {
        DWORD length =
            ::GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0)
            return "";
        if (length < buffer.size() - 1)
            return std::string(buffer.data(), length);
        if (buffer.size() >= 0x10000)
            return std::string(buffer.data(), length);
        buffer.resize(buffer.size() * 2);
    }
}

std::string WindowsFolder() {
    return QueryFolder(
        [](char* buffer, UINT size) { return ::GetWindowsDirectoryA(buffer, size); });
}

std::string SystemFolder() {
    return QueryFolder([](char* buffer, UINT size) { return ::GetSystemDirectoryA(buffer, size); });
}

// Without a compatibility section in the manifest, newer systems answer 6.2 here; the setup's
// classification only asks for "NT, 5 or higher", which that still is.
OsVersion GetOsVersion() {
    OSVERSIONINFOA info = {};
    info.dwOSVersionInfoSize = sizeof info;
    OsVersion version;
    if (!::GetVersionExA(&info))
        return version;
    version.ok = true;
    version.platformId = info.dwPlatformId;
    version.major = info.dwMajorVersion;
    version.minor = info.dwMinorVersion;
    version.build = info.dwBuildNumber;
    return version;
}

} // namespace platform
