#include "platform/LogFile.h"

#include "platform/win32/FileHandle.h"

namespace platform {

// Opened without truncation and without following a reparse point: an existing file is only
// emptied once it has proved to be a plain file on a disk, with one name, lying at the given name.
bool LogFile::Open(const std::string& path) {
    Close();
    HANDLE file =
        CreateFileA(path.c_str(), GENERIC_WRITE | FILE_READ_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    BY_HANDLE_FILE_INFORMATION info;
    if (!IsRegularFile(file, info) || info.nNumberOfLinks != 1 || !FileLiesAtName(file, path) ||
        !SetEndOfFile(file)) {
        CloseHandle(file);
        return false;
    }
    m_file = reinterpret_cast<std::intptr_t>(file);
    return true;
}

bool LogFile::Append(const std::string& bytes) {
    if (!IsOpen())
        return false;
    HANDLE file = reinterpret_cast<HANDLE>(m_file);
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD written = 0;
        if (!WriteFile(file, bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &written,
                       nullptr) ||
            written == 0)
            return false;
        done += written;
    }
    return true;
}

void LogFile::Close() {
    if (IsOpen())
        CloseHandle(reinterpret_cast<HANDLE>(m_file));
    m_file = kClosed;
}

std::string LogTimeStamp() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return FormatTimeStamp(now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond);
}

} // namespace platform
