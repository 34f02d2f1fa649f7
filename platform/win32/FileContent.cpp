#include "platform/FileContent.h"

#include "platform/win32/FileHandle.h"
#include "platform/win32/SafeFolder.h"

namespace platform {

// The run record lies in a folder that others may write to: it is written only while it is a
// plain file of its own, neither a link to another file nor one of several names of a file, and
// not read-only. It is opened without truncation, so nothing changes before that is known. Its
// folder is reached as the copy reaches its targets, and held while the record is written.
bool OverwriteExistingFile(const std::string& recordPath, const std::string& bytes) {
    SafeFolder folder;
    std::string name;
    if (folder.OpenParent(recordPath, name) != WalkResult::Reached)
        return false;
    const std::string path = folder.Child(name);
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        return false;
    Handle file(CreateFileA(path.c_str(), GENERIC_WRITE | FILE_READ_ATTRIBUTES, 0, nullptr,
                            OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    BY_HANDLE_FILE_INFORMATION info;
    if (!file.valid() || !IsRegularFile(file.get(), info) || info.nNumberOfLinks != 1 ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) || !FileLiesAtName(file.get(), path))
        return false;
    if (!SetEndOfFile(file.get()))
        return false;
    DWORD written = 0;
    WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    return true;
}

// Others may go on reading and writing the file meanwhile; it is read as it is then. Only a file
// on a disk is read: a pipe would wait for a writer that never comes.
bool ReadFileStart(const std::string& path, size_t limit, std::string& content) {
    content.clear();
    Handle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    BY_HANDLE_FILE_INFORMATION info;
    if (!file.valid() || !IsRegularFile(file.get(), info))
        return false;
    char buffer[65536];
    while (limit > 0) {
        DWORD got = 0;
        DWORD want = static_cast<DWORD>(limit < sizeof buffer ? limit : sizeof buffer);
        if (!ReadFile(file.get(), buffer, want, &got, nullptr)) {
            content.clear();
            return false;
        }
        if (got == 0)
            break;
        content.append(buffer, got);
        limit -= got;
    }
    return true;
}

} // namespace platform
