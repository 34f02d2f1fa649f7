// The pass record on POSIX: one file in the state folder, appended to before each change and
// flushed where a later step relies on it. Backups are second names (hard links) of the replaced
// files in the pass's private folder beside them, so they cost no copying, and content, times,
// mode and owner come back unchanged: it is the same file.
#include "platform/InstallJournal.h"

#include "platform/PassRecord.h"
#include "platform/posix/Descriptor.h"
#include "platform/posix/FileCopy.h"
#include "platform/posix/PassJournal.h"
#include "platform/posix/PassUndo.h"
#include "platform/posix/Paths.h"
#include "platform/posix/StateFolder.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <map>
#include <memory>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_set>

namespace platform {

namespace {

// Record files are small: a line per target. More than this is not one we wrote.
constexpr size_t kRecordLimit = 64u << 20;
constexpr char kPrivatePrefix[] = ".~qzp";
constexpr int kPrivateNames = 100;

std::string Absolute(const std::string& path) {
    if (!path.empty() && path[0] == '/')
        return path;
    char cwd[4096];
    if (!::getcwd(cwd, sizeof cwd))
        return path;
    return std::string(cwd) + "/" + path;
}

// The names in a folder. One that appears after the listing is not in the intent; the copy that
// meets it records it before replacing it.
std::unordered_set<std::string> Names(int folder) {
    std::unordered_set<std::string> names;
    int fd = ::fcntl(folder, F_DUPFD_CLOEXEC, 0);
    DIR* listing = fd >= 0 ? ::fdopendir(fd) : nullptr;
    if (!listing) {
        if (fd >= 0)
            ::close(fd);
        return names;
    }
    while (dirent* item = ::readdir(listing))
        names.insert(item->d_name);
    ::closedir(listing);
    return names;
}

class Pass final : public ReplaceRecorder {
public:
    explicit Pass(int stateFolder) : m_state(stateFolder) {}

    bool Open() {
        m_record.reset(::openat(m_state, kRecordName,
                                O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
        if (m_record.get() < 0)
            return false;
        m_pending = std::string(kPassRecordHeader) + "\n";
        // The record's name must outlast a power loss as much as its content.
        return Flush(true) && ::fsync(m_state) == 0;
    }

    bool Plan(const std::vector<std::string>& targets) {
        // Targets come folder by folder: each folder is opened and listed once for its run of
        // targets, and only the names it holds are looked at one by one.
        std::string openPath;
        Descriptor folderFd;
        Folder* folder = nullptr;
        std::unordered_set<std::string> present;
        for (const std::string& target : targets) {
            const std::string path = Absolute(ToPosixPath(target));
            const std::string name = LastComponent(path);
            if (FolderOf(path) != openPath || !folder) {
                openPath = FolderOf(path);
                folderFd.reset(::open(openPath.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
                struct stat folderStat;
                folder = folderFd.get() >= 0 && ::fstat(folderFd.get(), &folderStat) == 0
                             ? Register(folderFd.get(), folderStat, openPath)
                             : nullptr;
                present = folder ? Names(folderFd.get()) : std::unordered_set<std::string>();
            }
            struct stat st;
            // A folder that cannot be opened: the copy into it fails and there is nothing to keep.
            if (folder && present.count(name) &&
                ::fstatat(folderFd.get(), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 &&
                m_backups.find({folder->index, name}) == m_backups.end() &&
                !AddReplaced(*folder, name, m_nextBackup++, IdentityOf(st)))
                return false;
        }
        return Flush(true);
    }

    bool MakeFolder(int parent, const std::string& name, const std::string& path) {
        RecordEntry planned;
        planned.kind = RecordKind::FolderPlanned;
        planned.name = Absolute(path);
        if (!Add(planned) || !Flush(false))
            return false;
        if (::mkdirat(parent, name.c_str(), 0777) != 0)
            return false;
        struct stat st;
        RecordEntry made = planned;
        made.kind = RecordKind::FolderMade;
        // Made, but its identity not written: the next start removes it while it is empty.
        if (::fstatat(parent, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
            return true;
        made.id = IdentityOf(st);
        return Add(made) && Flush(false);
    }

    int PrivateFolderFor(int folderFd, const struct stat& folderStat,
                         const std::string& path) override {
        Folder* folder = Register(folderFd, folderStat, Absolute(path));
        return folder && Flush(false) ? folder->privateFd.get() : -1;
    }

    bool BeforeRename(int folderFd, int privateFolder, const std::string& name, bool replacing,
                      int copy) override {
        Folder* folder = FolderOfPrivate(privateFolder);
        struct stat st;
        if (!folder || ::fstat(copy, &st) != 0)
            return false;
        if (replacing && !KeepBackup(*folder, folderFd, name))
            return false;
        RecordEntry created;
        created.kind = RecordKind::Created;
        created.folder = folder->index;
        created.id = IdentityOf(st);
        created.name = name;
        return Add(created) && Flush(false);
    }

    // Marks the pass complete before its backups go, so that a kill while they are removed is
    // finished by the next start instead of undone halfway.
    bool Commit() {
        RecordEntry committed;
        committed.kind = RecordKind::Committed;
        if (!Add(committed) || !Flush(true)) {
            // Without the mark, the record itself must go first: a record without it would undo
            // a complete installation.
            if (::unlinkat(m_state, kRecordName, 0) != 0)
                return false;
            Undo(Committed());
            return true;
        }
        Undo(Written());
        return ::unlinkat(m_state, kRecordName, 0) == 0;
    }

    bool RollBack() {
        if (!Undo(Written()))
            return false;
        return ::unlinkat(m_state, kRecordName, 0) == 0;
    }

private:
    struct Folder {
        unsigned index = 0;
        FileIdentity id;
        Descriptor fd;
        Descriptor privateFd;
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
            if (!WriteAll(m_record.get(), m_pending.data(), m_pending.size())) {
                m_broken = true;
                return false;
            }
            m_written += m_pending;
            m_pending.clear();
        }
        if (durable && ::fdatasync(m_record.get()) != 0) {
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

    std::vector<RecordEntry> Committed() const {
        std::vector<RecordEntry> entries = Written();
        RecordEntry committed;
        committed.kind = RecordKind::Committed;
        entries.push_back(committed);
        return entries;
    }

    // The folder and its private folder, made and recorded the first time the pass meets it.
    Folder* Register(int folderFd, const struct stat& folderStat, const std::string& path) {
        const FileIdentity id = IdentityOf(folderStat);
        for (auto& folder : m_folders)
            if (folder->id == id)
                return folder->privateFd.get() >= 0 ? folder.get() : nullptr;
        // Kept even when its private folder cannot be made: the record's folder numbers are
        // positions in this list.
        m_folders.emplace_back(new Folder);
        Folder& folder = *m_folders.back();
        folder.index = static_cast<unsigned>(m_folders.size() - 1);
        folder.id = id;
        folder.fd.reset(::fcntl(folderFd, F_DUPFD_CLOEXEC, 0));
        RecordEntry entry;
        entry.kind = RecordKind::TargetFolder;
        entry.id = id;
        entry.name = path;
        if (folder.fd.get() < 0 || !Add(entry) || !MakePrivate(folder)) {
            folder.privateFd.reset();
            return nullptr;
        }
        return &folder;
    }

    // A new folder of mode 0700, made by this pass and written down before anything goes in.
    bool MakePrivate(Folder& folder) {
        for (int i = 0; i < kPrivateNames; ++i) {
            RecordEntry entry;
            entry.kind = RecordKind::PrivatePlanned;
            entry.folder = folder.index;
            entry.name = kPrivatePrefix + std::to_string(i);
            if (!Add(entry) || !Flush(false))
                return false;
            if (::mkdirat(folder.fd.get(), entry.name.c_str(), 0700) != 0) {
                if (errno == EEXIST)
                    continue;
                return false;
            }
            folder.privateFd.reset(::openat(folder.fd.get(), entry.name.c_str(),
                                            O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
            struct stat st;
            if (folder.privateFd.get() < 0 || ::fstat(folder.privateFd.get(), &st) != 0 ||
                st.st_uid != ::geteuid() || (st.st_mode & 077) != 0)
                return false;
            entry.kind = RecordKind::PrivateMade;
            entry.id = IdentityOf(st);
            return Add(entry);
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
        m_backups[{folder.index, name}] = {backup, id};
        return true;
    }

    // The file at `name` gets a second name in the private folder. Where it is not the file the
    // intent saw (or the intent did not know it), the record learns which file it is before the
    // rename replaces it.
    bool KeepBackup(Folder& folder, int folderFd, const std::string& name) {
        auto known = m_backups.find({folder.index, name});
        const unsigned backup = known != m_backups.end() ? known->second.number : m_nextBackup++;
        const std::string backupName = BackupName(backup);
        ::unlinkat(folder.privateFd.get(), backupName.c_str(), 0);
        if (::linkat(folderFd, name.c_str(), folder.privateFd.get(), backupName.c_str(), 0) != 0)
            return false;
        struct stat st;
        if (::fstatat(folder.privateFd.get(), backupName.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
            return false;
        if (known == m_backups.end() || known->second.id != IdentityOf(st))
            return AddReplaced(folder, name, backup, IdentityOf(st)) && Flush(false);
        return true;
    }

    Folder* FolderOfPrivate(int privateFolder) {
        for (auto& folder : m_folders)
            if (folder->privateFd.get() == privateFolder)
                return folder.get();
        return nullptr;
    }

    // The same undo as after a kill, over the folders this pass holds open.
    bool Undo(const std::vector<RecordEntry>& entries) {
        SetReplaceRecorder(nullptr);
        std::vector<OpenPassFolder> open(m_folders.size());
        for (size_t i = 0; i < m_folders.size(); ++i)
            open[i] = {m_folders[i]->fd.get(), m_folders[i]->privateFd.get()};
        bool undone = UndoPass(entries, open);
        m_folders.clear();
        m_record.reset();
        return undone;
    }

    struct Backup {
        unsigned number;
        FileIdentity id;
    };

    int m_state;
    Descriptor m_record;
    std::vector<std::unique_ptr<Folder>> m_folders;
    std::map<std::pair<unsigned, std::string>, Backup> m_backups;
    unsigned m_nextBackup = 0;
    std::string m_pending;
    std::string m_written;
    bool m_broken = false;
};

struct Journal {
    Descriptor state;
    Descriptor lock;
    std::unique_ptr<Pass> pass;
};

Journal& TheJournal() {
    static Journal journal;
    return journal;
}

// The lock is released by the kernel whenever this process ends, killed or not; it is not
// inherited by the follow-up programs.
InstallStart TakeLock(Journal& journal) {
    journal.lock.reset(::openat(journal.state.get(), kLockName,
                                O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600));
    struct stat st;
    if (journal.lock.get() < 0 || ::fstat(journal.lock.get(), &st) != 0 || !S_ISREG(st.st_mode) ||
        !OnlyOursToChange(st)) {
        journal.lock.reset();
        return InstallStart::Unsafe;
    }
    if (::flock(journal.lock.get(), LOCK_EX | LOCK_NB) != 0) {
        journal.lock.reset();
        return errno == EWOULDBLOCK ? InstallStart::Busy : InstallStart::Unsafe;
    }
    return InstallStart::Ready;
}

// A record left by a killed run is acted on only when it is a plain file that only an
// administrator could have written; the undo itself then proves every file it moves.
InstallStart RecoverKilledRun(int state) {
    Descriptor record(::openat(state, kRecordName, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    if (record.get() < 0)
        return errno == ENOENT ? InstallStart::Ready : InstallStart::Unsafe;
    struct stat st;
    std::string text;
    std::vector<RecordEntry> entries;
    if (::fstat(record.get(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_nlink != 1 ||
        !OnlyOursToChange(st) || !ReadAtMost(record.get(), kRecordLimit, text) ||
        !ParseRecord(text, entries))
        return InstallStart::Unsafe;
    if (!UndoPass(entries))
        return InstallStart::Unsafe;
    ::unlinkat(state, kRecordName, 0);
    return InstallStart::Ready;
}

} // namespace

InstallStart PrepareInstall() {
    Journal& journal = TheJournal();
    if (journal.lock.get() >= 0)
        return InstallStart::Ready;
    journal.state.reset(OpenStateFolder());
    if (journal.state.get() < 0)
        return InstallStart::Unsafe;
    InstallStart locked = TakeLock(journal);
    if (locked != InstallStart::Ready)
        return locked;
    return RecoverKilledRun(journal.state.get());
}

bool BeginPass() {
    Journal& journal = TheJournal();
    if (journal.pass || PrepareInstall() != InstallStart::Ready)
        return false;
    std::unique_ptr<Pass> pass(new Pass(journal.state.get()));
    if (!pass->Open()) {
        ::unlinkat(journal.state.get(), kRecordName, 0);
        return false;
    }
    journal.pass = std::move(pass);
    SetReplaceRecorder(journal.pass.get());
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

bool MakeFolderRecorded(int parent, const std::string& name, const std::string& posixPath) {
    Journal& journal = TheJournal();
    if (!journal.pass)
        return ::mkdirat(parent, name.c_str(), 0777) == 0;
    return journal.pass->MakeFolder(parent, name, posixPath);
}

} // namespace platform
