// The pass record on Windows: one file in a folder of the Windows directory that only
// Administrators and SYSTEM may open, appended to before each change and flushed where a later
// step relies on it. A replaced file is renamed, through its handle, into the pass's private
// folder beside it (same volume, no copying; content, times, attributes and security stay those
// of the same file), and renamed back by a rollback. A running program or a loaded library may
// be renamed so; a file held open without delete sharing may not, and its copy fails, which rolls
// the pass back.
#include "platform/InstallJournal.h"

#include "platform/PassRecord.h"
#include "platform/win32/FileHandle.h"
#include "platform/win32/PassFiles.h"
#include "platform/win32/PassJournal.h"
#include "platform/win32/PassUndo.h"
#include "platform/win32/SafeFolder.h"

#include <map>
#include <memory>
#include <vector>

namespace platform {

namespace {

constexpr char kStateFolderName[] = "Quarnel Setup";
constexpr char kRecordName[] = "pass";
// A complete pass whose private folders could not all be removed yet (a replaced program still
// ran from its old file): every start tries again, until they are gone.
constexpr char kLeftoverPrefix[] = "done-";
// Every setup of this product, in any session: one installation at a time. The system abandons
// the mutex of a process that is killed, and the next setup then owns it.
constexpr char kLockName[] = "Global\\QuarnelZtrSetupInstall";
constexpr DWORD kRecordLimit = 64u << 20;
constexpr char kPrivatePrefix[] = ".~qzp";
constexpr int kPrivateNames = 100;

std::string Inside(const std::string& folder, const std::string& name) {
    return folder.empty() || folder.back() == '\\' ? folder + name : folder + "\\" + name;
}

std::string Upper(std::string text) {
    CharUpperBuffA(&text[0], static_cast<DWORD>(text.size()));
    return text;
}

std::string StateFolderPath() {
    char windows[MAX_PATH];
    UINT length = GetWindowsDirectoryA(windows, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return "";
    return Inside(std::string(windows, length), kStateFolderName);
}

// Made with access for Administrators and SYSTEM alone; refused when it is a reparse point, no
// folder, or open to anyone else (made so by someone other than the setup).
bool OpenStateFolder(std::string& path, Handle& folder) {
    path = StateFolderPath();
    if (path.empty())
        return false;
    if (!CreatePrivateFolder(path) && GetLastError() != ERROR_ALREADY_EXISTS)
        return false;
    folder.Reset(CreateFileA(path.c_str(), READ_CONTROL | FILE_READ_ATTRIBUTES,
                             FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                             FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    FileIdentity id;
    DWORD attributes = 0;
    return folder.valid() && IdentityOfHandle(folder.get(), id, &attributes) &&
           (attributes & FILE_ATTRIBUTE_DIRECTORY) &&
           !(attributes & FILE_ATTRIBUTE_REPARSE_POINT) &&
           OnlyAdministratorsMayChange(folder.get());
}

// Keeps a committed record under a name of its own, so that the next start finishes its
// clean-up while a new pass may begin.
bool SetAside(const std::string& record) {
    const size_t separator = record.find_last_of('\\');
    const std::string leftover = record.substr(0, separator + 1) + kLeftoverPrefix +
                                 std::to_string(GetCurrentProcessId()) + "-" +
                                 std::to_string(GetTickCount64());
    return MoveFileExA(record.c_str(), leftover.c_str(), 0) != FALSE;
}

class Pass {
public:
    explicit Pass(const std::string& recordPath) : m_recordPath(recordPath) {}

    bool Open() {
        m_record.Reset(CreateFileA(m_recordPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                   CREATE_NEW, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT,
                                   nullptr));
        if (!m_record.valid())
            return false;
        m_pending = std::string(kPassRecordHeader) + "\n";
        return Flush(true);
    }

    bool Plan(const std::vector<std::string>& targets) {
        for (const std::string& target : targets) {
            const size_t separator = target.find_last_of("\\/");
            if (separator == std::string::npos)
                continue;
            const std::string name = target.substr(separator + 1);
            Folder* folder = Register(target.substr(0, separator));
            if (!folder)
                continue; // a folder that cannot be opened: the copy into it fails
            Handle existing(OpenEntry(target, FILE_READ_ATTRIBUTES));
            FileIdentity id;
            if (existing.valid() && IdentityOfHandle(existing.get(), id) &&
                m_backups.find({folder->index, Upper(name)}) == m_backups.end() &&
                !AddReplaced(*folder, name, m_nextBackup++, id))
                return false;
        }
        return Flush(true);
    }

    bool Temporary(const std::string& folderPath, const std::string& temporary) {
        Folder* folder = Register(folderPath);
        if (!folder)
            return false;
        RecordEntry entry;
        entry.kind = RecordKind::Temporary;
        entry.folder = folder->index;
        entry.name = temporary.substr(temporary.find_last_of("\\/") + 1);
        return Add(entry) && Flush(false);
    }

    bool KeepReplaced(const std::string& folderPath, const std::string& name, HANDLE copy) {
        Folder* folder = Register(folderPath);
        FileIdentity copyId;
        if (!folder || !IdentityOfHandle(copy, copyId))
            return false;
        const std::string target = Inside(folderPath, name);
        Handle existing(CreateFileA(target.c_str(), DELETE | FILE_READ_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
        if (!existing.valid() && GetLastError() != ERROR_FILE_NOT_FOUND)
            return false; // held open without delete sharing, or not ours to move
        // Where Wine opened what a link of that name leads to, that file is not the target and
        // stays where it is; the rename then replaces the link, which a rollback does not bring
        // back.
        if (existing.valid() && FileLiesAtName(existing.get(), target) &&
            !KeepBackup(*folder, name, existing.get()))
            return false;
        RecordEntry created;
        created.kind = RecordKind::Created;
        created.folder = folder->index;
        created.id = copyId;
        created.name = name;
        return Add(created) && Flush(false);
    }

    bool MakeFolder(const std::string& path) {
        RecordEntry planned;
        planned.kind = RecordKind::FolderPlanned;
        planned.name = path;
        if (!Add(planned) || !Flush(false) || !CreateDirectoryA(path.c_str(), nullptr))
            return false;
        Handle made(OpenEntry(path, FILE_READ_ATTRIBUTES));
        RecordEntry entry = planned;
        entry.kind = RecordKind::FolderMade;
        // Made, but its identity not written: the next start removes it while it is empty.
        if (!made.valid() || !IdentityOfHandle(made.get(), entry.id))
            return true;
        return Add(entry) && Flush(false);
    }

    // Marks the pass complete before its backups go, so that a kill while they are removed is
    // finished by the next start instead of undone halfway.
    bool Commit() {
        RecordEntry committed;
        committed.kind = RecordKind::Committed;
        if (!Add(committed) || !Flush(true)) {
            // Without the mark, the record itself must go first: a record without it would undo
            // a complete installation.
            m_record.Close();
            if (!DeleteFileA(m_recordPath.c_str()))
                return false;
            std::vector<RecordEntry> entries = Written();
            entries.push_back(committed);
            Undo(entries);
            return true;
        }
        bool cleaned = true;
        Undo(Written(), &cleaned);
        return cleaned ? DeleteFileA(m_recordPath.c_str()) != FALSE : SetAside(m_recordPath);
    }

    bool RollBack() {
        if (!Undo(Written()))
            return false;
        return DeleteFileA(m_recordPath.c_str()) != FALSE;
    }

private:
    struct Folder {
        unsigned index = 0;
        FileIdentity id;
        std::string path;
        std::string privatePath; // empty when none could be made
        Handle pin;              // held without delete sharing: the folder cannot be renamed
    };
    struct Backup {
        unsigned number;
        FileIdentity id;
    };

    bool Add(const RecordEntry& entry) {
        std::string line;
        if (m_broken || !FormatRecordEntry(entry, line))
            return false;
        m_pending += line;
        return true;
    }

    // A record that could not be written whole is not added to: the lines written so far are
    // all that the rollback relies on.
    bool Flush(bool durable) {
        if (m_broken)
            return false;
        if (!m_pending.empty()) {
            DWORD written = 0;
            if (!WriteFile(m_record.get(), m_pending.data(), static_cast<DWORD>(m_pending.size()),
                           &written, nullptr) ||
                written != m_pending.size()) {
                m_broken = true;
                return false;
            }
            m_written += m_pending;
            m_pending.clear();
        }
        if (durable && !FlushFileBuffers(m_record.get())) {
            m_broken = true;
            return false;
        }
        return true;
    }

    std::vector<RecordEntry> Written() const {
        std::vector<RecordEntry> entries;
        ParseRecord(m_written, entries);
        return entries;
    }

    bool Undo(const std::vector<RecordEntry>& entries, bool* cleaned = nullptr) {
        m_folders.clear();
        m_record.Close();
        return UndoPass(entries, cleaned);
    }

    // The folder and its private folder, made and recorded the first time the pass meets it.
    Folder* Register(const std::string& path) {
        Handle pin(CreateFileA(path.c_str(), FILE_READ_ATTRIBUTES,
                               FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                               FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr));
        FileIdentity id;
        DWORD attributes = 0;
        if (!pin.valid() || !IdentityOfHandle(pin.get(), id, &attributes) ||
            !(attributes & FILE_ATTRIBUTE_DIRECTORY))
            return nullptr;
        for (auto& folder : m_folders)
            if (folder->id == id)
                return folder->privatePath.empty() ? nullptr : folder.get();
        // Kept even when its private folder cannot be made: the record's folder numbers are
        // positions in this list.
        m_folders.emplace_back(new Folder);
        Folder& folder = *m_folders.back();
        folder.index = static_cast<unsigned>(m_folders.size() - 1);
        folder.id = id;
        folder.path = path;
        folder.pin.Reset(pin.Detach());
        RecordEntry entry;
        entry.kind = RecordKind::TargetFolder;
        entry.id = id;
        entry.name = path;
        if (!Add(entry) || !MakePrivate(folder))
            return nullptr;
        return &folder;
    }

    bool MakePrivate(Folder& folder) {
        for (int i = 0; i < kPrivateNames; ++i) {
            RecordEntry entry;
            entry.kind = RecordKind::PrivatePlanned;
            entry.folder = folder.index;
            entry.name = kPrivatePrefix + std::to_string(i);
            if (!Add(entry) || !Flush(false))
                return false;
            const std::string path = Inside(folder.path, entry.name);
            if (!CreatePrivateFolder(path)) {
                if (GetLastError() == ERROR_ALREADY_EXISTS)
                    continue;
                return false;
            }
            Handle made(OpenEntry(path, FILE_READ_ATTRIBUTES));
            if (!made.valid() || !IdentityOfHandle(made.get(), entry.id))
                return false;
            entry.kind = RecordKind::PrivateMade;
            if (!Add(entry) || !Flush(false))
                return false;
            folder.privatePath = path;
            return true;
        }
        return false;
    }

    bool AddReplaced(const Folder& folder, const std::string& name, unsigned backup,
                     const FileIdentity& id) {
        RecordEntry entry;
        entry.kind = RecordKind::Replaced;
        entry.folder = folder.index;
        entry.backup = backup;
        entry.id = id;
        entry.name = name;
        if (!Add(entry))
            return false;
        m_backups[{folder.index, Upper(name)}] = {backup, id};
        return true;
    }

    // The record learns which file is kept before it moves: where it is not the one the intent
    // saw, or the intent did not know it, a line of its own says so.
    bool KeepBackup(Folder& folder, const std::string& name, HANDLE existing) {
        FileIdentity id;
        if (!IdentityOfHandle(existing, id))
            return false;
        auto known = m_backups.find({folder.index, Upper(name)});
        const unsigned backup = known != m_backups.end() ? known->second.number : m_nextBackup++;
        if ((known == m_backups.end() || known->second.id != id) &&
            !(AddReplaced(folder, name, backup, id) && Flush(false)))
            return false;
        return RenameHandle(existing, Inside(folder.privatePath, BackupName(backup)), false);
    }

    std::string m_recordPath;
    Handle m_record;
    std::vector<std::unique_ptr<Folder>> m_folders;
    std::map<std::pair<unsigned, std::string>, Backup> m_backups;
    unsigned m_nextBackup = 0;
    std::string m_pending;
    std::string m_written;
    bool m_broken = false;
};

struct Journal {
    std::string statePath;
    Handle state; // held: the state folder cannot be renamed while the setup runs
    HANDLE lock = nullptr;
    std::unique_ptr<Pass> pass;
};

Journal& TheJournal() {
    static Journal journal;
    return journal;
}

InstallStart TakeLock(Journal& journal) {
    HANDLE mutex = CreateMutexA(nullptr, FALSE, kLockName);
    if (mutex == nullptr)
        return GetLastError() == ERROR_ACCESS_DENIED ? InstallStart::Busy : InstallStart::Unsafe;
    DWORD waited = WaitForSingleObject(mutex, 0);
    if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED) {
        CloseHandle(mutex);
        return InstallStart::Busy;
    }
    journal.lock = mutex;
    return InstallStart::Ready;
}

// A record in the state folder: a plain file with one name, read whole.
bool ReadRecord(const std::string& path, Handle& record, std::vector<RecordEntry>& entries) {
    record.Reset(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                             FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    BY_HANDLE_FILE_INFORMATION info;
    if (!record.valid() || !IsRegularFile(record.get(), info) || info.nNumberOfLinks != 1 ||
        info.nFileSizeHigh != 0 || info.nFileSizeLow > kRecordLimit)
        return false;
    std::string text(info.nFileSizeLow, '\0');
    DWORD got = 0;
    if (!text.empty() && (!ReadFile(record.get(), &text[0], info.nFileSizeLow, &got, nullptr) ||
                          got != info.nFileSizeLow))
        return false;
    return ParseRecord(text, entries);
}

// The record of a killed run; the undo itself then proves every file it moves.
InstallStart RecoverKilledRun(const std::string& statePath) {
    const std::string path = Inside(statePath, kRecordName);
    if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES &&
        GetLastError() == ERROR_FILE_NOT_FOUND)
        return InstallStart::Ready;
    Handle record;
    std::vector<RecordEntry> entries;
    bool cleaned = true;
    if (!ReadRecord(path, record, entries) || !UndoPass(entries, &cleaned))
        return InstallStart::Unsafe;
    record.Close();
    if (cleaned)
        DeleteFileA(path.c_str());
    else if (!SetAside(path))
        return InstallStart::Unsafe;
    return InstallStart::Ready;
}

// What complete passes could not remove yet goes once nothing holds it any more.
void FinishLeftovers(const std::string& statePath) {
    WIN32_FIND_DATAA found;
    HANDLE search =
        FindFirstFileA(Inside(statePath, std::string(kLeftoverPrefix) + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::string path = Inside(statePath, found.cFileName);
        Handle record;
        std::vector<RecordEntry> entries;
        bool cleaned = false;
        if (!ReadRecord(path, record, entries) || entries.empty() ||
            entries.back().kind != RecordKind::Committed)
            continue; // not one a pass set aside: left for an administrator to look at
        UndoPass(entries, &cleaned);
        record.Close();
        if (cleaned)
            DeleteFileA(path.c_str());
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

} // namespace

InstallStart PrepareInstall() {
    Journal& journal = TheJournal();
    if (journal.lock)
        return InstallStart::Ready;
    if (!OpenStateFolder(journal.statePath, journal.state))
        return InstallStart::Unsafe;
    InstallStart locked = TakeLock(journal);
    if (locked != InstallStart::Ready)
        return locked;
    InstallStart recovered = RecoverKilledRun(journal.statePath);
    if (recovered == InstallStart::Ready)
        FinishLeftovers(journal.statePath);
    return recovered;
}

bool BeginPass() {
    Journal& journal = TheJournal();
    if (journal.pass || PrepareInstall() != InstallStart::Ready)
        return false;
    std::unique_ptr<Pass> pass(new Pass(Inside(journal.statePath, kRecordName)));
    if (!pass->Open()) {
        pass.reset();
        DeleteFileA(Inside(journal.statePath, kRecordName).c_str());
        return false;
    }
    journal.pass = std::move(pass);
    return true;
}

bool PlanReplacements(const std::vector<std::string>& targets) {
    Journal& journal = TheJournal();
    return journal.pass && journal.pass->Plan(targets);
}

bool CommitPass() {
    Journal& journal = TheJournal();
    if (!journal.pass)
        return false;
    bool committed = journal.pass->Commit();
    journal.pass.reset();
    return committed;
}

bool RollBackPass() {
    Journal& journal = TheJournal();
    if (!journal.pass)
        return true;
    bool restored = journal.pass->RollBack();
    journal.pass.reset();
    return restored;
}

bool PassIsOpen() {
    return TheJournal().pass != nullptr;
}

bool RecordTemporary(const std::string& folder, const std::string& temporary) {
    Journal& journal = TheJournal();
    return !journal.pass || journal.pass->Temporary(folder, temporary);
}

bool KeepReplacedFile(const std::string& folder, const std::string& name, HANDLE copy) {
    Journal& journal = TheJournal();
    return !journal.pass || journal.pass->KeepReplaced(folder, name, copy);
}

bool CreateFolderRecorded(const std::string& path) {
    Journal& journal = TheJournal();
    if (!journal.pass)
        return CreateDirectoryA(path.c_str(), nullptr) != FALSE;
    return journal.pass->MakeFolder(path);
}

} // namespace platform
