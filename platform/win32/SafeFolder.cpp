#include "platform/win32/SafeFolder.h"

#include <aclapi.h>

namespace platform {

namespace {

constexpr DWORD kLevelSharing = FILE_SHARE_READ | FILE_SHARE_WRITE; // never FILE_SHARE_DELETE

// NT SERVICE\TrustedInstaller, which owns the system's own files and links.
bool IsTrustedInstaller(PSID sid) {
    SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
    PSID installer = nullptr;
    if (!AllocateAndInitializeSid(&nt, 6, 80, 956008885, 3418522649u, 1831038044, 1853292631,
                                  2271478464u, 0, 0, &installer))
        return false;
    bool same = EqualSid(sid, installer) != FALSE;
    FreeSid(installer);
    return same;
}

bool OwnedByAdministrator(HANDLE level) {
    PSID owner = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetSecurityInfo(level, SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &owner, nullptr, nullptr,
                        nullptr, &descriptor) != ERROR_SUCCESS)
        return false;
    bool administrator = owner != nullptr && IsAdministratorSid(owner);
    LocalFree(descriptor);
    return administrator;
}

// "\\?\C:\x" and "\\?\UNC\server\share\x" as the walk writes them: "C:\x", "\\server\share\x".
std::string WithoutLongPrefix(const std::string& path) {
    if (path.compare(0, 8, "\\\\?\\UNC\\") == 0)
        return "\\\\" + path.substr(8);
    if (path.compare(0, 4, "\\\\?\\") == 0)
        return path.substr(4);
    return path;
}

// The levels as the system shows them, each one kept open in `pins`.
class PinnedLevels : public LevelSystem {
public:
    explicit PinnedLevels(std::vector<HANDLE>& pins) : m_pins(pins) {}

    FolderLevel Open(const std::string& path) override {
        FolderLevel level;
        HANDLE handle = Pin(path, FILE_FLAG_OPEN_REPARSE_POINT);
        if (handle == INVALID_HANDLE_VALUE) {
            DWORD error = GetLastError();
            level.kind = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND
                             ? FolderLevel::Kind::Missing
                             : FolderLevel::Kind::Other;
            return level;
        }
        BY_HANDLE_FILE_INFORMATION info;
        level.kind = FolderLevel::Kind::Other;
        if (GetFileType(handle) != FILE_TYPE_DISK || !GetFileInformationByHandle(handle, &info))
            return level;
        if (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
            FILE_ATTRIBUTE_TAG_INFO tag = {};
            // A reparse point whose kind cannot be read is taken for a link, and judged as one.
            if (!GetFileInformationByHandleEx(handle, FileAttributeTagInfo, &tag, sizeof tag) ||
                IsReparseTagNameSurrogate(tag.ReparseTag)) {
                level.kind = FolderLevel::Kind::Link;
                level.administratorOwned = OwnedByAdministrator(handle);
                return level;
            }
        }
        if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            level.kind = FolderLevel::Kind::Folder;
        return level;
    }

    bool Resolve(const std::string& path, std::string& resolved) override {
        HANDLE handle = Pin(path, 0);
        char buffer[MAX_PATH * 4];
        DWORD length = handle == INVALID_HANDLE_VALUE
                           ? 0
                           : GetFinalPathNameByHandleA(handle, buffer, sizeof buffer,
                                                       FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (length == 0 || length >= sizeof buffer)
            return false;
        resolved = WithoutLongPrefix(std::string(buffer, length));
        return true;
    }

    bool Create(const std::string& path) override {
        return CreateDirectoryA(path.c_str(), nullptr) != FALSE;
    }

private:
    HANDLE Pin(const std::string& path, DWORD flags) {
        HANDLE handle =
            CreateFileA(path.c_str(), FILE_READ_ATTRIBUTES | READ_CONTROL, kLevelSharing, nullptr,
                        OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | flags, nullptr);
        if (handle != INVALID_HANDLE_VALUE)
            m_pins.push_back(handle);
        return handle;
    }

    std::vector<HANDLE>& m_pins;
};

std::string FullPath(const std::string& path) {
    char buffer[MAX_PATH * 4];
    DWORD length = GetFullPathNameA(path.c_str(), sizeof buffer, buffer, nullptr);
    return length == 0 || length >= sizeof buffer ? "" : std::string(buffer, length);
}

} // namespace

WalkResult SafeFolder::Open(const std::string& path, MissingLevels missing,
                            std::vector<std::string>* created) {
    Release();
    const std::string full = FullPath(path);
    if (full.empty())
        return WalkResult::BadPath;
    PinnedLevels levels(m_levels);
    std::string walked;
    WalkResult result = WalkFolderLevels(full, missing, levels, walked, created);
    if (result == WalkResult::Reached)
        m_path = walked;
    else
        Release();
    return result;
}

WalkResult SafeFolder::OpenParent(const std::string& path, std::string& name, MissingLevels missing,
                                  std::vector<std::string>* created) {
    Release();
    std::string full = FullPath(path);
    while (full.size() > 3 && (full.back() == '\\' || full.back() == '/'))
        full.pop_back();
    const size_t separator = full.find_last_of("\\/");
    if (separator == std::string::npos || separator + 1 >= full.size())
        return WalkResult::BadPath;
    name = full.substr(separator + 1);
    return Open(full.substr(0, separator + 1), missing, created);
}

void SafeFolder::Release() {
    for (HANDLE level : m_levels)
        CloseHandle(level);
    m_levels.clear();
    m_path.clear();
}

std::string SafeFolder::Child(const std::string& name) const {
    return m_path.empty() || m_path.back() == '\\' ? m_path + name : m_path + "\\" + name;
}

bool IsAdministratorSid(PSID owner) {
    return IsWellKnownSid(owner, WinBuiltinAdministratorsSid) ||
           IsWellKnownSid(owner, WinLocalSystemSid) || IsTrustedInstaller(owner);
}

bool EnforceRedirectionTrust() {
    using SetPolicy = BOOL WINAPI(PROCESS_MITIGATION_POLICY, PVOID, SIZE_T);
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    auto* setPolicy = kernel ? reinterpret_cast<SetPolicy*>(reinterpret_cast<void*>(
                                   GetProcAddress(kernel, "SetProcessMitigationPolicy")))
                             : nullptr;
    if (setPolicy == nullptr)
        return false;
    PROCESS_MITIGATION_REDIRECTION_TRUST_POLICY policy = {};
    policy.EnforceRedirectionTrust = 1;
    return setPolicy(ProcessRedirectionTrustPolicy, &policy, sizeof policy) != FALSE;
}

} // namespace platform
