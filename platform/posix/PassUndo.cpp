#include "platform/posix/PassUndo.h"

#include "platform/posix/Descriptor.h"
#include "platform/posix/Paths.h"
#include "platform/posix/StateFolder.h"

#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <string>
#include <sys/stat.h>

namespace platform {

namespace {

using PrivateFolder = RecordSummary::PrivateFolder;

// A target folder of the record, open, with its proven private folder.
struct OpenFolder {
    const RecordSummary::Folder* recorded = nullptr;
    Descriptor fd;
    Descriptor privateFd;
    bool keepBackups = false; // a backup could not be put back: it stays for the next attempt
};

bool StatAt(int folder, const std::string& name, struct stat& st) {
    return ::fstatat(folder, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0;
}

// A private folder is trusted when it is the one recorded, or (made just before a kill, its
// identity not yet written) ours and private; such a one holds nothing yet.
int OpenPrivate(int folder, const PrivateFolder& own) {
    if (folder < 0)
        return -1;
    int fd = ::openat(folder, own.name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    struct stat st;
    if (fd >= 0 && ::fstat(fd, &st) == 0 && st.st_uid == ::geteuid() && (st.st_mode & 077) == 0 &&
        (!own.identityKnown || IdentityOf(st) == own.id))
        return fd;
    if (fd >= 0)
        ::close(fd);
    return -1;
}

// A pass that is still running has both folders open and takes them as they are, wherever a
// name now leads; a start after a kill finds them by name and proves them by their identities:
// a path that now leads elsewhere (a folder renamed, a link put in its place) yields nothing.
void OpenFolders(OpenFolder& folder, const OpenPassFolder* open) {
    if (open && open->folder >= 0) {
        folder.fd.reset(::fcntl(open->folder, F_DUPFD_CLOEXEC, 0));
        if (open->privateFolder >= 0)
            folder.privateFd.reset(::fcntl(open->privateFolder, F_DUPFD_CLOEXEC, 0));
        return;
    }
    const RecordSummary::Folder& recorded = *folder.recorded;
    folder.fd.reset(::open(recorded.path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    struct stat st;
    if (folder.fd.get() >= 0 &&
        (::fstat(folder.fd.get(), &st) != 0 || IdentityOf(st) != recorded.id))
        folder.fd.reset();
    if (const PrivateFolder* own = ProvenPrivate(recorded))
        folder.privateFd.reset(OpenPrivate(folder.fd.get(), *own));
}

// A file the pass created goes only when the name still holds that very file, and only from a
// folder in which the pass's own private folder proves that it worked there.
void RemoveCreated(const OpenFolder& folder, const RecordEntry& entry) {
    struct stat st;
    if (folder.fd.get() >= 0 && folder.privateFd.get() >= 0 &&
        StatAt(folder.fd.get(), entry.name, st) && IdentityOf(st) == entry.id &&
        !S_ISDIR(st.st_mode))
        ::unlinkat(folder.fd.get(), entry.name.c_str(), 0);
}

// A backup goes back when it is the file the record names; where the target still is that file
// (the pass stopped between keeping it and replacing it), only the second name goes.
bool PutBack(const OpenFolder& folder, const RecordEntry& entry) {
    const int privateFd = folder.privateFd.get();
    const std::string backup = BackupName(entry.backup);
    struct stat st;
    if (folder.fd.get() < 0 || privateFd < 0 || !StatAt(privateFd, backup, st) ||
        IdentityOf(st) != entry.id)
        return true; // never kept, or not ours: nothing to put back
    struct stat now;
    if (StatAt(folder.fd.get(), entry.name, now) && IdentityOf(now) == entry.id)
        return ::unlinkat(privateFd, backup.c_str(), 0) == 0;
    return ::renameat(privateFd, backup.c_str(), folder.fd.get(), entry.name.c_str()) == 0;
}

// Everything in a proven private folder is the pass's: only this user can write there. Its
// name goes only where it still holds this folder: one moved elsewhere stays, empty.
void RemovePrivate(const OpenFolder& folder, const PrivateFolder& own) {
    if (folder.fd.get() < 0)
        return;
    if (!own.identityKnown) {
        Descriptor fd(OpenPrivate(folder.fd.get(), own));
        if (fd.get() >= 0)
            ::unlinkat(folder.fd.get(), own.name.c_str(), AT_REMOVEDIR);
        return;
    }
    int fd = folder.privateFd.get() >= 0 ? ::fcntl(folder.privateFd.get(), F_DUPFD_CLOEXEC, 0) : -1;
    if (fd < 0)
        return;
    if (DIR* listing = ::fdopendir(fd)) {
        while (dirent* item = ::readdir(listing)) {
            const std::string name = item->d_name;
            if (name != "." && name != "..")
                ::unlinkat(fd, name.c_str(), 0);
        }
        ::closedir(listing);
    } else {
        ::close(fd);
    }
    struct stat st;
    if (StatAt(folder.fd.get(), own.name, st) && IdentityOf(st) == own.id)
        ::unlinkat(folder.fd.get(), own.name.c_str(), AT_REMOVEDIR);
}

// A folder the pass made goes when it is still that folder and empty; one it was about to make
// when it was killed, when it is an empty folder of this user's.
void RemoveFolder(const RecordEntry& entry, bool identityKnown) {
    const std::string leaf = LastComponent(entry.name);
    Descriptor parent(::open(FolderOf(entry.name).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    struct stat st;
    if (parent.get() < 0 || leaf.empty() || !StatAt(parent.get(), leaf, st) ||
        !S_ISDIR(st.st_mode) ||
        (identityKnown ? IdentityOf(st) != entry.id : st.st_uid != ::geteuid()))
        return;
    ::unlinkat(parent.get(), leaf.c_str(), AT_REMOVEDIR);
}

} // namespace

bool UndoPass(const std::vector<RecordEntry>& entries, const std::vector<OpenPassFolder>& open) {
    RecordSummary summary;
    if (!SummarizeRecord(entries, summary))
        return false;
    std::vector<std::unique_ptr<OpenFolder>> folders;
    for (size_t i = 0; i < summary.folders.size(); ++i) {
        folders.emplace_back(new OpenFolder);
        folders.back()->recorded = &summary.folders[i];
        OpenFolders(*folders.back(), i < open.size() ? &open[i] : nullptr);
    }
    bool restored = true;
    if (!summary.committed) {
        for (auto it = summary.created.rbegin(); it != summary.created.rend(); ++it)
            RemoveCreated(*folders[it->folder], *it);
        for (const RecordEntry& entry : summary.replaced)
            if (!PutBack(*folders[entry.folder], entry)) {
                folders[entry.folder]->keepBackups = true;
                restored = false;
            }
    }
    for (auto& folder : folders)
        if (!folder->keepBackups)
            for (const PrivateFolder& own : folder->recorded->privates)
                RemovePrivate(*folder, own);
    if (!summary.committed) {
        for (auto it = summary.foldersMade.rbegin(); it != summary.foldersMade.rend(); ++it)
            RemoveFolder(*it, true);
        for (auto it = summary.foldersPlanned.rbegin(); it != summary.foldersPlanned.rend(); ++it)
            RemoveFolder(*it, false);
    }
    return restored;
}

} // namespace platform
