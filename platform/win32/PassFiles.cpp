#include "platform/win32/PassFiles.h"

#include "platform/win32/FileHandle.h"
#include "platform/win32/SafeFolder.h"

#include <aclapi.h>
#include <sddl.h>

#include <vector>

namespace platform {

namespace {

// Administrators and SYSTEM, full access, inherited by everything inside; nothing from above.
constexpr char kPrivateAccess[] = "D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)";

bool IsThisUser(PSID sid) {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
        return false;
    std::vector<char> buffer(256);
    DWORD size = 0;
    bool same = false;
    if (!GetTokenInformation(token, TokenUser, buffer.data(), static_cast<DWORD>(buffer.size()),
                             &size) &&
        GetLastError() == ERROR_INSUFFICIENT_BUFFER) {
        buffer.resize(size);
    }
    if (GetTokenInformation(token, TokenUser, buffer.data(), static_cast<DWORD>(buffer.size()),
                            &size))
        same = EqualSid(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid, sid) != FALSE;
    CloseHandle(token);
    return same;
}

} // namespace

HANDLE OpenEntry(const std::string& path, DWORD access) {
    return CreateFileA(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                       nullptr, OPEN_EXISTING,
                       FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

bool IdentityOfHandle(HANDLE handle, FileIdentity& id, DWORD* attributes) {
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(handle, &info))
        return false;
    id.volume = info.dwVolumeSerialNumber;
    id.file = (static_cast<uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    if (attributes)
        *attributes = info.dwFileAttributes;
    return true;
}

bool RenameHandle(HANDLE handle, const std::string& path, bool replace) {
    const int characters = MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, nullptr, 0);
    if (characters <= 0)
        return false;
    std::vector<char> buffer(sizeof(FILE_RENAME_INFO) + characters * sizeof(WCHAR));
    auto* rename = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
    rename->ReplaceIfExists = replace ? TRUE : FALSE;
    rename->RootDirectory = nullptr;
    rename->FileNameLength = static_cast<DWORD>((characters - 1) * sizeof(WCHAR));
    MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, rename->FileName, characters);
    return SetFileInformationByHandle(handle, FileRenameInfo, rename,
                                      static_cast<DWORD>(buffer.size())) != FALSE;
}

bool DeleteHandle(HANDLE handle) {
    FILE_BASIC_INFO basic = {};
    if (GetFileInformationByHandleEx(handle, FileBasicInfo, &basic, sizeof basic) &&
        (basic.FileAttributes & FILE_ATTRIBUTE_READONLY)) {
        basic.FileAttributes &= ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY);
        if (basic.FileAttributes == 0)
            basic.FileAttributes = FILE_ATTRIBUTE_NORMAL;
        SetFileInformationByHandle(handle, FileBasicInfo, &basic, sizeof basic);
    }
    FILE_DISPOSITION_INFO disposition = {TRUE};
    return SetFileInformationByHandle(handle, FileDispositionInfo, &disposition,
                                      sizeof disposition) != FALSE;
}

bool CreatePrivateFolder(const std::string& path) {
    SECURITY_ATTRIBUTES attributes = {sizeof attributes, nullptr, FALSE};
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorA(
            kPrivateAccess, SDDL_REVISION_1, &attributes.lpSecurityDescriptor, nullptr))
        return false;
    bool created = CreateDirectoryA(path.c_str(), &attributes) != FALSE;
    LocalFree(attributes.lpSecurityDescriptor);
    return created;
}

// What lets someone change a folder or what is in it.
constexpr ACCESS_MASK kChanging = FILE_ADD_FILE | FILE_ADD_SUBDIRECTORY | FILE_DELETE_CHILD |
                                  FILE_WRITE_ATTRIBUTES | FILE_WRITE_EA | DELETE | WRITE_DAC |
                                  WRITE_OWNER | GENERIC_WRITE | GENERIC_ALL | MAXIMUM_ALLOWED;

// What counts is who may change the folder, not how the access list came about: the list the
// setup gives it (Administrators and SYSTEM alone, nothing inherited) passes, and so does one
// that the system made for an administrator's own new folder (Wine gives SYSTEM and the owner).
bool OnlyAdministratorsMayChange(HANDLE folder) {
    PSID owner = nullptr;
    PACL access = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetSecurityInfo(folder, SE_FILE_OBJECT,
                        OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, &owner, nullptr,
                        &access, nullptr, &descriptor) != ERROR_SUCCESS)
        return false;
    // No access list at all would let everyone in.
    bool safe =
        access != nullptr && owner != nullptr && (IsAdministratorSid(owner) || IsThisUser(owner));
    for (DWORD i = 0; safe && i < access->AceCount; ++i) {
        ACE_HEADER* header = nullptr;
        if (!GetAce(access, i, reinterpret_cast<void**>(&header))) {
            safe = false;
        } else if (header->AceType == ACCESS_ALLOWED_ACE_TYPE &&
                   !(header->AceFlags & INHERIT_ONLY_ACE)) {
            auto* allowed = reinterpret_cast<ACCESS_ALLOWED_ACE*>(header);
            PSID who = reinterpret_cast<PSID>(&allowed->SidStart);
            safe = (allowed->Mask & kChanging) == 0 || IsAdministratorSid(who) || IsThisUser(who);
        } else if (header->AceType != ACCESS_ALLOWED_ACE_TYPE &&
                   header->AceType != ACCESS_DENIED_ACE_TYPE) {
            safe = false; // a kind of entry whose effect we do not judge
        }
    }
    LocalFree(descriptor);
    return safe;
}

} // namespace platform
