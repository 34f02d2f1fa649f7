#include "platform/win32/PassUndo.h"

#include "platform/win32/FileHandle.h"
#include "platform/win32/PassFiles.h"

#include <memory>
#include <string>

namespace platform {

namespace {

using PrivateFolder = RecordSummary::PrivateFolder;

constexpr DWORD kRemove = DELETE | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES;

std::string Inside(const std::string& folder, const std::string& name) {
    return folder.empty() || folder.back() == '\\' ? folder + name : folder + "\\" + name;
}

// A target folder of the record, proven by its identity, and its proven private folder. The
// folders stay open without delete sharing meanwhile: nobody can rename them under the undo.
struct ProvenFolder {
    bool proven = false;
    bool privateProven = false;
    std::string privatePath;
    Handle folder;
    Handle privateFolder;
    bool keepBackups = false;
};

HANDLE Pin(const std::string& path) {
    return CreateFileA(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                       nullptr, OPEN_EXISTING,
                       FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

bool IsPlainFolder(DWORD attributes) {
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) && !(attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

bool Proves(HANDLE handle, const FileIdentity& expected) {
    FileIdentity id;
    DWORD attributes = 0;
    return IdentityOfHandle(handle, id, &attributes) && IsPlainFolder(attributes) && id == expected;
}

void Prove(const RecordSummary::Folder& recorded, ProvenFolder& proven) {
    proven.folder.Reset(Pin(recorded.path));
    proven.proven = proven.folder.valid() && Proves(proven.folder.get(), recorded.id);
    const PrivateFolder* own = ProvenPrivate(recorded);
    if (!proven.proven || !own)
        return;
    proven.privatePath = Inside(recorded.path, own->name);
    proven.privateFolder.Reset(Pin(proven.privatePath));
    proven.privateProven =
        proven.privateFolder.valid() && Proves(proven.privateFolder.get(), own->id);
}

// A file the pass created goes only when the name still holds that very file, and only from a
// folder in which the pass's own private folder proves that it worked there.
void RemoveCreated(const RecordSummary::Folder& recorded, const ProvenFolder& proven,
                   const RecordEntry& entry) {
    if (!proven.privateProven)
        return;
    Handle file(OpenEntry(Inside(recorded.path, entry.name), kRemove));
    FileIdentity id;
    DWORD attributes = 0;
    if (file.valid() && IdentityOfHandle(file.get(), id, &attributes) && id == entry.id &&
        !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        DeleteHandle(file.get());
}

// A backup goes back, through its handle, when it is the file the record names.
bool PutBack(const RecordSummary::Folder& recorded, const ProvenFolder& proven,
             const RecordEntry& entry) {
    if (!proven.privateProven)
        return true; // nothing was kept there
    Handle backup(OpenEntry(Inside(proven.privatePath, BackupName(entry.backup)), kRemove));
    FileIdentity id;
    if (!backup.valid() || !IdentityOfHandle(backup.get(), id) || id != entry.id)
        return true; // never kept, or not ours: nothing to put back
    return RenameHandle(backup.get(), Inside(recorded.path, entry.name), true);
}

// A temporary left by a killed copy goes as the copy itself removes one: a plain file with one
// name, through its handle, so what a link of that name leads to stays.
void RemoveTemporary(const RecordSummary::Folder& recorded, const ProvenFolder& proven,
                     const RecordEntry& entry) {
    if (!proven.proven)
        return;
    const std::string path = Inside(recorded.path, entry.name);
    Handle file(OpenEntry(path, kRemove));
    BY_HANDLE_FILE_INFORMATION info;
    if (file.valid() && IsRegularFile(file.get(), info) && info.nNumberOfLinks == 1 &&
        FileLiesAtName(file.get(), path))
        DeleteHandle(file.get());
}

// Everything in a proven private folder is the pass's: only administrators can write there.
// false while something in it cannot go (a program still runs from its backup).
bool EmptyAndRemove(ProvenFolder& proven) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(Inside(proven.privatePath, "*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..")
                continue;
            Handle item(OpenEntry(Inside(proven.privatePath, name), kRemove));
            if (item.valid())
                DeleteHandle(item.get());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    FileIdentity id;
    IdentityOfHandle(proven.privateFolder.get(), id);
    proven.privateFolder.Close();
    Handle folder(OpenEntry(proven.privatePath, kRemove));
    if (!folder.valid())
        return GetLastError() == ERROR_FILE_NOT_FOUND;
    if (!Proves(folder.get(), id) || !DeleteHandle(folder.get()))
        return false;
    folder.Close();
    return GetFileAttributesA(proven.privatePath.c_str()) == INVALID_FILE_ATTRIBUTES;
}

// A private folder made just before a kill, its identity not yet written down, holds nothing:
// it goes when it is still empty and only administrators may change it.
void RemoveUnprovenPrivate(const RecordSummary::Folder& recorded, const ProvenFolder& proven,
                           const PrivateFolder& own) {
    if (!proven.proven || own.identityKnown)
        return;
    Handle folder(OpenEntry(Inside(recorded.path, own.name), kRemove | READ_CONTROL));
    DWORD attributes = 0;
    FileIdentity id;
    if (folder.valid() && IdentityOfHandle(folder.get(), id, &attributes) &&
        IsPlainFolder(attributes) && OnlyAdministratorsMayChange(folder.get()))
        DeleteHandle(folder.get()); // refused by the system unless it is empty
}

// A folder the pass made goes when it is still that folder and empty; one it was about to make
// when it was killed, when it is an empty plain folder.
void RemoveFolder(const RecordEntry& entry, bool identityKnown) {
    Handle folder(OpenEntry(entry.name, kRemove));
    FileIdentity id;
    DWORD attributes = 0;
    if (folder.valid() && IdentityOfHandle(folder.get(), id, &attributes) &&
        IsPlainFolder(attributes) && (!identityKnown || id == entry.id))
        DeleteHandle(folder.get());
}

} // namespace

bool UndoPass(const std::vector<RecordEntry>& entries, bool* cleaned) {
    if (cleaned)
        *cleaned = true;
    RecordSummary summary;
    if (!SummarizeRecord(entries, summary))
        return false;
    std::vector<std::unique_ptr<ProvenFolder>> proven;
    for (const RecordSummary::Folder& folder : summary.folders) {
        proven.emplace_back(new ProvenFolder);
        Prove(folder, *proven.back());
    }
    bool restored = true;
    if (!summary.committed) {
        for (auto it = summary.created.rbegin(); it != summary.created.rend(); ++it)
            RemoveCreated(summary.folders[it->folder], *proven[it->folder], *it);
        for (const RecordEntry& entry : summary.replaced)
            if (!PutBack(summary.folders[entry.folder], *proven[entry.folder], entry)) {
                proven[entry.folder]->keepBackups = true;
                restored = false;
            }
    }
    for (const RecordEntry& entry : summary.temporaries)
        RemoveTemporary(summary.folders[entry.folder], *proven[entry.folder], entry);
    for (size_t i = 0; i < summary.folders.size(); ++i) {
        for (const PrivateFolder& own : summary.folders[i].privates)
            RemoveUnprovenPrivate(summary.folders[i], *proven[i], own);
        if (proven[i]->privateProven && !proven[i]->keepBackups && !EmptyAndRemove(*proven[i]) &&
            cleaned)
            *cleaned = false;
    }
    proven.clear();
    if (!summary.committed) {
        for (auto it = summary.foldersMade.rbegin(); it != summary.foldersMade.rend(); ++it)
            RemoveFolder(*it, true);
        for (auto it = summary.foldersPlanned.rbegin(); it != summary.foldersPlanned.rend(); ++it)
            RemoveFolder(*it, false);
    }
    return restored;
}

} // namespace platform
