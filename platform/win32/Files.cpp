#include "platform/Files.h"

#include "platform/WindowsHeaders.h"

#include <atomic>

namespace platform {

namespace {

class Handle {
public:
    explicit Handle(HANDLE handle) : handle_(handle) {}
    ~Handle() {
        if (valid())
            CloseHandle(handle_);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;

    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return handle_; }

private:
    HANDLE handle_;
};

// An empty file of a new name beside the target, which reserves the name for the copy. The name
// is short, so that a target whose path just fits the path limit still gets its copy.
bool CreateTemporaryBeside(const std::string& target, std::string& temporary) {
    static std::atomic<unsigned> counter{0};
    const size_t separator = target.find_last_of("\\/:");
    const std::string folder =
        separator == std::string::npos ? "" : target.substr(0, separator + 1);
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = folder + "~qz" + std::to_string(GetCurrentProcessId()) + "-" +
                    std::to_string(counter++) + ".tmp";
        Handle file(CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file.valid())
            return true;
        if (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS)
            return false;
    }
    return false;
}

// The copied bytes go to the disk before the copy takes the target's name. A read-only copy (the
// source's attribute came along) is opened for writing only for the moment of the flush.
bool FlushToDisk(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return false;
    bool readOnly = (attributes & FILE_ATTRIBUTE_READONLY) != 0;
    if (readOnly && !SetFileAttributesA(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY))
        return false;
    bool flushed = false;
    {
        Handle file(
            CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        flushed = file.valid() && FlushFileBuffers(file.get());
    }
    if (readOnly && !SetFileAttributesA(path.c_str(), attributes))
        return false;
    return flushed;
}

void RemoveTemporary(const std::string& path) {
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(path.c_str());
}

} // namespace

bool PathExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool CreateFolder(const std::string& path) {
    return CreateDirectoryA(path.c_str(), nullptr) != FALSE;
}

// CopyFileA does the copying itself (attributes and times as ever), but into a temporary beside
// the target. Like CopyFileA, the copy refuses a target that is read-only or hidden.
bool CopyFileReplacing(const std::string& source, const std::string& target) {
    DWORD existing = GetFileAttributesA(target.c_str());
    if (existing != INVALID_FILE_ATTRIBUTES &&
        (existing & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_DIRECTORY)))
        return false;
    std::string temporary;
    if (!CreateTemporaryBeside(target, temporary))
        return false;
    if (CopyFileA(source.c_str(), temporary.c_str(), FALSE) && FlushToDisk(temporary) &&
        MoveFileExA(temporary.c_str(), target.c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    RemoveTemporary(temporary);
    return false;
}

bool OverwriteExistingFile(const std::string& path, const std::string& bytes) {
    Handle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid())
        return false;
    DWORD written = 0;
    WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    return true;
}

void FinishReplacingCopies() {}

// Others may go on reading and writing the file meanwhile; it is read as it is then.
bool ReadFileStart(const std::string& path, size_t limit, std::string& content) {
    content.clear();
    Handle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid())
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
