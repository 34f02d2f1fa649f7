#include "platform/Profile.h"

#include "platform/ProfileText.h"
#include "platform/WindowsHeaders.h"

namespace platform {

namespace {

// The file as the profile functions find it: a name without a folder lies in the Windows folder.
std::string ProfilePath(const std::string& file) {
    if (file.find_first_of("\\/") != std::string::npos)
        return file;
    char windows[MAX_PATH];
    UINT length = GetWindowsDirectoryA(windows, sizeof windows);
    if (length == 0 || length >= sizeof windows)
        return file;
    return std::string(windows, length) + "\\" + file;
}

// The profile functions read a file whole: one above the bound reads as absent, as the POSIX
// reader has it. The size is looked up without opening the file.
bool TooLarge(const std::string& file) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(ProfilePath(file).c_str(), GetFileExInfoStandard, &data))
        return false;
    const unsigned long long size =
        (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    return size > kProfileFileLimit;
}

} // namespace

std::string ReadProfileValue(const std::string& section, const std::string& key,
                             const std::string& file) {
    if (TooLarge(file))
        return "";
    char buffer[1024];
    DWORD length = GetPrivateProfileStringA(section.c_str(), key.c_str(), "", buffer, sizeof buffer,
                                            file.c_str());
    return std::string(buffer, length);
}

} // namespace platform
