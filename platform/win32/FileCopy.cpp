// The replacing copy of the setup. The temporary is created new beside the target and is never
// opened by name again: the one handle writes it, flushes it and renames it into place, so a name
// swapped in the folder meanwhile cannot redirect the copy.
#include "platform/Files.h"

#include "platform/win32/FileHandle.h"
#include "platform/win32/PassJournal.h"
#include "platform/win32/SafeFolder.h"

#include <aclapi.h>

#include <vector>

namespace platform {

namespace {

constexpr DWORD kCopyChunk = 1 << 20;

// What CopyFileA carries over to the new file.
constexpr DWORD kCopiedAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                                    FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                                    FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

std::string FolderOf(const std::string& path) {
    const size_t separator = path.find_last_of("\\/:");
    return separator == std::string::npos ? "" : path.substr(0, separator + 1);
}

// The temporary of a target has a name of its own and of fixed length: a target name of the full
// length still leaves room for it, and a temporary that a killed run left behind is found again
// by the next copy of the same file.
std::string TemporaryOf(const std::string& target) {
    const size_t separator = target.find_last_of("\\/:");
    const std::string name = separator == std::string::npos ? target : target.substr(separator + 1);
    uint32_t hash = 2166136261u; // FNV-1a over the name as the file system compares it
    for (char c : name) {
        hash ^= static_cast<uint8_t>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
        hash *= 16777619u;
    }
    std::string temporary = FolderOf(target) + "~qz";
    for (int shift = 28; shift >= 0; shift -= 4)
        temporary += "0123456789abcdef"[(hash >> shift) & 0xF];
    return temporary + ".tmp";
}

bool SetDeleteOnClose(HANDLE file) {
    FILE_DISPOSITION_INFO disposition = {TRUE};
    return SetFileInformationByHandle(file, FileDispositionInfo, &disposition,
                                      sizeof disposition) != FALSE;
}

// A temporary left by an interrupted run is removed through a handle, and only when it is a plain
// file lying at that name: what a link of that name leads to stays untouched (and the copy then
// fails, as the temporary's name is taken).
void RemoveLeftover(const std::string& temporary) {
    Handle file(CreateFileA(temporary.c_str(),
                            DELETE | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    BY_HANDLE_FILE_INFORMATION info;
    if (!file.valid() || !IsRegularFile(file.get(), info) || info.nNumberOfLinks != 1 ||
        !FileLiesAtName(file.get(), temporary))
        return;
    // A read-only file refuses to be deleted.
    FILE_BASIC_INFO basic = {};
    basic.FileAttributes = FILE_ATTRIBUTE_NORMAL;
    SetFileInformationByHandle(file.get(), FileBasicInfo, &basic, sizeof basic);
    SetDeleteOnClose(file.get());
}

bool CopyBytes(HANDLE from, HANDLE to) {
    std::vector<char> buffer(kCopyChunk);
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(from, buffer.data(), kCopyChunk, &got, nullptr))
            return false;
        if (got == 0)
            return true;
        DWORD written = 0;
        if (!WriteFile(to, buffer.data(), got, &written, nullptr) || written != got)
            return false;
    }
}

// The source's last-write time and attributes, as CopyFileA gives them to its copy.
bool TakeOverTimeAndAttributes(const BY_HANDLE_FILE_INFORMATION& source, HANDLE copy) {
    FILE_BASIC_INFO basic = {};
    basic.LastWriteTime.LowPart = source.ftLastWriteTime.dwLowDateTime;
    basic.LastWriteTime.HighPart = static_cast<LONG>(source.ftLastWriteTime.dwHighDateTime);
    basic.FileAttributes = source.dwFileAttributes & kCopiedAttributes;
    if (basic.FileAttributes == 0)
        basic.FileAttributes = FILE_ATTRIBUTE_NORMAL;
    return SetFileInformationByHandle(copy, FileBasicInfo, &basic, sizeof basic) != FALSE;
}

bool RenameInto(HANDLE file, const std::string& target) {
    const int characters = MultiByteToWideChar(CP_ACP, 0, target.c_str(), -1, nullptr, 0);
    if (characters <= 0)
        return false;
    std::vector<char> buffer(sizeof(FILE_RENAME_INFO) + characters * sizeof(WCHAR));
    auto* rename = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
    rename->ReplaceIfExists = TRUE;
    rename->RootDirectory = nullptr;
    rename->FileNameLength = static_cast<DWORD>((characters - 1) * sizeof(WCHAR));
    MultiByteToWideChar(CP_ACP, 0, target.c_str(), -1, rename->FileName, characters);
    return SetFileInformationByHandle(file, FileRenameInfo, rename,
                                      static_cast<DWORD>(buffer.size())) != FALSE;
}

// A target that CopyFileA would refuse (read-only, hidden) or that is no file at all is refused
// before anything is created. A missing target is fine; so is a link, which the rename replaces.
bool TargetMayBeReplaced(const std::string& target) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(target.c_str(), GetFileExInfoStandard, &data))
        return GetLastError() == ERROR_FILE_NOT_FOUND;
    constexpr DWORD kRefused = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                               FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE;
    return (data.dwFileAttributes & kRefused) == 0;
}

// The names are looked up without opening them first: a pipe or device is refused before an open
// could wait on it.
bool NameIsAFile(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    return GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) &&
           (data.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) == 0;
}

// The replaced file's permissions (its security descriptor: owner, group, access list) go to its
// successor, by handle, before it takes the name: installing must not open a program file to
// more users than before. A new file, or one in place of a link, keeps what the folder gives it.
// Owner and group follow where the system lets the setup give them away.
bool CarrySecurity(const std::string& target, HANDLE temporary) {
    Handle old(CreateFileA(target.c_str(), READ_CONTROL,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!old.valid())
        return GetLastError() == ERROR_FILE_NOT_FOUND;
    BY_HANDLE_FILE_INFORMATION info;
    if (!IsRegularFile(old.get(), info))
        return true;
    PSID owner = nullptr;
    PSID group = nullptr;
    PACL access = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetSecurityInfo(old.get(), SE_FILE_OBJECT,
                        OWNER_SECURITY_INFORMATION | GROUP_SECURITY_INFORMATION |
                            DACL_SECURITY_INFORMATION,
                        &owner, &group, &access, nullptr, &descriptor) != ERROR_SUCCESS)
        return false;
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    GetSecurityDescriptorControl(descriptor, &control, &revision);
    const SECURITY_INFORMATION dacl =
        DACL_SECURITY_INFORMATION |
        ((control & SE_DACL_PROTECTED) ? PROTECTED_DACL_SECURITY_INFORMATION
                                       : UNPROTECTED_DACL_SECURITY_INFORMATION);
    bool carried = SetSecurityInfo(temporary, SE_FILE_OBJECT, dacl, nullptr, nullptr, access,
                                   nullptr) == ERROR_SUCCESS;
    if (carried)
        SetSecurityInfo(temporary, SE_FILE_OBJECT,
                        OWNER_SECURITY_INFORMATION | GROUP_SECURITY_INFORMATION, owner, group,
                        nullptr, nullptr);
    LocalFree(descriptor);
    return carried;
}

// Writes the temporary and moves it into place. Wine carries out a rename by handle through the
// name the file had, so the name must still hold our file just before, and the target must hold
// it just after.
// Within a pass, the file at the target's name is moved aside into the pass's private folder just
// before, so that a rollback can put it back.
bool WriteAndReplace(HANDLE source, const BY_HANDLE_FILE_INFORMATION& sourceInfo, HANDLE temporary,
                     const std::string& temporaryName, const SafeFolder& folder,
                     const std::string& name) {
    const std::string target = folder.Child(name);
    return CopyBytes(source, temporary) && FlushFileBuffers(temporary) &&
           TakeOverTimeAndAttributes(sourceInfo, temporary) && CarrySecurity(target, temporary) &&
           NameHoldsFile(temporaryName, temporary) &&
           KeepReplacedFile(folder.path(), name, temporary) && RenameInto(temporary, target) &&
           NameHoldsFile(target, temporary);
}

} // namespace

// The target's folder is walked to first and held while the copy works in it: a junction that a
// non-administrator placed on the way ends the copy before anything is created.
bool CopyFileReplacing(const std::string& source, const std::string& targetPath) {
    SafeFolder folder;
    std::string name;
    if (folder.OpenParent(targetPath, name) != WalkResult::Reached)
        return false;
    const std::string target = folder.Child(name);
    if (!NameIsAFile(source) || !TargetMayBeReplaced(target))
        return false;
    Handle from(CreateFileA(source.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    BY_HANDLE_FILE_INFORMATION sourceInfo;
    if (!from.valid() || !IsRegularFile(from.get(), sourceInfo))
        return false;

    const std::string temporaryName = TemporaryOf(target);
    RemoveLeftover(temporaryName);
    if (!RecordTemporary(folder.path(), temporaryName))
        return false;
    Handle temporary(CreateFileA(temporaryName.c_str(),
                                 GENERIC_WRITE | DELETE | FILE_READ_ATTRIBUTES |
                                     FILE_WRITE_ATTRIBUTES | READ_CONTROL | WRITE_DAC | WRITE_OWNER,
                                 0, nullptr, CREATE_NEW,
                                 FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!temporary.valid())
        return false;
    if (WriteAndReplace(from.get(), sourceInfo, temporary.get(), temporaryName, folder, name))
        return true;
    // Wine removes a file deleted through its handle only where its name still holds it, so
    // whatever was swapped in meanwhile stays as it is, and so does any file a link leads to.
    FILE_BASIC_INFO basic = {};
    basic.FileAttributes = FILE_ATTRIBUTE_NORMAL;
    SetFileInformationByHandle(temporary.get(), FileBasicInfo, &basic, sizeof basic);
    SetDeleteOnClose(temporary.get());
    return false;
}

} // namespace platform
