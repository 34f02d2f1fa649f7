#include "platform/win32/FileHandle.h"

namespace platform {

namespace {

bool FinalPath(HANDLE handle, std::string& path) {
    char buffer[MAX_PATH * 4];
    DWORD length = GetFinalPathNameByHandleA(handle, buffer, sizeof buffer, FILE_NAME_NORMALIZED);
    if (length == 0 || length >= sizeof buffer)
        return false;
    path.assign(buffer, length);
    return true;
}

bool SameText(const std::string& a, const std::string& b) {
    return CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()),
                          b.data(), static_cast<int>(b.size())) == CSTR_EQUAL;
}

} // namespace

HANDLE OpenToInspect(const std::string& path) {
    return CreateFileA(
        path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

bool IsRegularFile(HANDLE file, BY_HANDLE_FILE_INFORMATION& info) {
    constexpr DWORD kNotAFile =
        FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DEVICE;
    return GetFileType(file) == FILE_TYPE_DISK && GetFileInformationByHandle(file, &info) &&
           (info.dwFileAttributes & kNotAFile) == 0;
}

bool NameHoldsFile(const std::string& path, HANDLE file) {
    Handle named(OpenToInspect(path));
    BY_HANDLE_FILE_INFORMATION ours, found;
    return named.valid() && GetFileInformationByHandle(file, &ours) &&
           GetFileInformationByHandle(named.get(), &found) &&
           ours.dwVolumeSerialNumber == found.dwVolumeSerialNumber &&
           ours.nFileIndexHigh == found.nFileIndexHigh && ours.nFileIndexLow == found.nFileIndexLow;
}

bool FileLiesAtName(HANDLE file, const std::string& path) {
    char full[MAX_PATH * 4];
    char* name = nullptr;
    DWORD length = GetFullPathNameA(path.c_str(), sizeof full, full, &name);
    if (length == 0 || length >= sizeof full || !name || name == full)
        return false;
    const std::string fileName = name;
    const std::string folderName(full, name - full);
    // The folder's own links are followed: the file's final path runs through them too.
    Handle folder(CreateFileA(folderName.c_str(), FILE_READ_ATTRIBUTES,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    std::string folderPath, filePath;
    if (!folder.valid() || !FinalPath(folder.get(), folderPath) || !FinalPath(file, filePath))
        return false;
    if (folderPath.empty() || folderPath.back() != '\\')
        folderPath += '\\';
    return SameText(filePath, folderPath + fileName);
}

} // namespace platform
