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

struct PrivateFolder {
    std::string name;
    bool identityKnown = false;
    FileIdentity id;
};

struct TargetFolder {
    std::string path;
    FileIdentity id;
    std::vector<PrivateFolder> privates;
    Descriptor fd;
    Descriptor privateFd;     // the proven private folder, open
    bool keepBackups = false; // a backup could not be put back: it stays for the next attempt
};

// The record turned into what the undo needs: the folders with their private folders, the last
// word on each backup, the files and folders the pass created.
struct PassModel {
    std::vector<std::unique_ptr<TargetFolder>> folders;
    std::vector<RecordEntry> replaced; // by backup number, the last entry of each
    std::vector<RecordEntry> created;
    std::vector<RecordEntry> foldersPlanned;
    std::vector<RecordEntry> foldersMade;
    bool committed = false;
};

bool BuildModel(const std::vector<RecordEntry>& entries, PassModel& model) {
    for (const RecordEntry& entry : entries) {
        if (entry.kind != RecordKind::TargetFolder && entry.kind != RecordKind::FolderPlanned &&
            entry.kind != RecordKind::FolderMade && entry.kind != RecordKind::Committed &&
            entry.folder >= model.folders.size())
            return false;
        switch (entry.kind) {
        case RecordKind::TargetFolder:
            model.folders.emplace_back(new TargetFolder);
            model.folders.back()->path = entry.name;
            model.folders.back()->id = entry.id;
            break;
        case RecordKind::PrivatePlanned:
            model.folders[entry.folder]->privates.push_back({entry.name, false, {}});
            break;
        case RecordKind::PrivateMade:
            for (PrivateFolder& folder : model.folders[entry.folder]->privates)
                if (folder.name == entry.name) {
                    folder.identityKnown = true;
                    folder.id = entry.id;
                }
            break;
        case RecordKind::Replaced: {
            bool updated = false;
            for (RecordEntry& known : model.replaced)
                if (known.backup == entry.backup) {
                    known = entry;
                    updated = true;
                }
            if (!updated)
                model.replaced.push_back(entry);
            break;
        }
        case RecordKind::Created:
            model.created.push_back(entry);
            break;
        case RecordKind::FolderPlanned:
            model.foldersPlanned.push_back(entry);
            break;
        case RecordKind::FolderMade:
            model.foldersMade.push_back(entry);
            break;
        case RecordKind::Committed:
            model.committed = true;
            break;
        }
    }
    return true;
}

bool StatAt(int folder, const std::string& name, struct stat& st) {
    return ::fstatat(folder, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0;
}

// The folder is opened by its path, and then proven by its identity: a path that now leads
// elsewhere (a folder renamed, a link put in its place) yields nothing.
void OpenProven(TargetFolder& folder) {
    folder.fd.reset(::open(folder.path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    struct stat st;
    if (folder.fd.get() >= 0 && (::fstat(folder.fd.get(), &st) != 0 || IdentityOf(st) != folder.id))
        folder.fd.reset();
}

const PrivateFolder* ProvenPrivate(const TargetFolder& folder);
int OpenPrivate(const TargetFolder& folder, const PrivateFolder& own);

// A pass that is still running has both folders open and takes them as they are, wherever a
// name now leads; a start after a kill finds them by name and proves them.
void OpenFolders(TargetFolder& folder, const OpenPassFolder* open) {
    if (open && open->folder >= 0) {
        folder.fd.reset(::fcntl(open->folder, F_DUPFD_CLOEXEC, 0));
        folder.privateFd.reset(
            open->privateFolder >= 0 ? ::fcntl(open->privateFolder, F_DUPFD_CLOEXEC, 0) : -1);
        return;
    }
    OpenProven(folder);
    if (const PrivateFolder* own = ProvenPrivate(folder))
        folder.privateFd.reset(OpenPrivate(folder, *own));
}

// A private folder is trusted when it is the one recorded, or (made just before a kill, its
// identity not yet written) still empty, ours and private.
int OpenPrivate(const TargetFolder& folder, const PrivateFolder& own) {
    if (folder.fd.get() < 0)
        return -1;
    int fd = ::openat(folder.fd.get(), own.name.c_str(),
                      O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    struct stat st;
    if (fd >= 0 && ::fstat(fd, &st) == 0 && st.st_uid == ::geteuid() && (st.st_mode & 077) == 0 &&
        (!own.identityKnown || IdentityOf(st) == own.id))
        return fd;
    if (fd >= 0)
        ::close(fd);
    return -1;
}

const PrivateFolder* ProvenPrivate(const TargetFolder& folder) {
    for (const PrivateFolder& own : folder.privates)
        if (own.identityKnown)
            return &own;
    return nullptr;
}

// A file the pass created goes only when the name still holds that very file, and only from a
// folder in which the pass's own private folder proves that it worked there.
void RemoveCreated(const PassModel& model, const RecordEntry& entry) {
    const TargetFolder& folder = *model.folders[entry.folder];
    struct stat st;
    if (folder.fd.get() >= 0 && folder.privateFd.get() >= 0 && StatAt(folder.fd.get(), entry.name, st) &&
        IdentityOf(st) == entry.id && !S_ISDIR(st.st_mode))
        ::unlinkat(folder.fd.get(), entry.name.c_str(), 0);
}

// A backup goes back when it is the file the record names; where the target still is that file
// (the pass stopped between keeping it and replacing it), only the second name goes.
bool PutBack(const PassModel& model, const RecordEntry& entry) {
    const TargetFolder& folder = *model.folders[entry.folder];
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

// Everything in a proven private folder is the pass's: only this user can write there. One made
// just before a kill holds nothing yet and only goes when it is empty.
void RemovePrivate(const TargetFolder& folder, const PrivateFolder& own) {
    if (folder.fd.get() < 0)
        return;
    if (!own.identityKnown) {
        int fd = OpenPrivate(folder, own);
        if (fd >= 0) {
            ::close(fd);
            ::unlinkat(folder.fd.get(), own.name.c_str(), AT_REMOVEDIR);
        }
        return;
    }
    if (folder.privateFd.get() < 0)
        return;
    int fd = ::fcntl(folder.privateFd.get(), F_DUPFD_CLOEXEC, 0);
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
    // Its name goes only where it still holds this folder: one moved elsewhere stays, empty.
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

bool WasMade(const PassModel& model, const RecordEntry& planned) {
    for (const RecordEntry& made : model.foldersMade)
        if (made.name == planned.name)
            return true;
    return false;
}

} // namespace

bool UndoPass(const std::vector<RecordEntry>& entries, const std::vector<OpenPassFolder>& open) {
    PassModel model;
    if (!BuildModel(entries, model))
        return false;
    for (size_t i = 0; i < model.folders.size(); ++i)
        OpenFolders(*model.folders[i], i < open.size() ? &open[i] : nullptr);
    bool restored = true;
    if (!model.committed) {
        for (auto it = model.created.rbegin(); it != model.created.rend(); ++it)
            RemoveCreated(model, *it);
        for (const RecordEntry& entry : model.replaced)
            if (!PutBack(model, entry)) {
                model.folders[entry.folder]->keepBackups = true;
                restored = false;
            }
    }
    for (auto& folder : model.folders)
        if (!folder->keepBackups)
            for (const PrivateFolder& own : folder->privates)
                RemovePrivate(*folder, own);
    if (!model.committed) {
        for (auto it = model.foldersMade.rbegin(); it != model.foldersMade.rend(); ++it)
            RemoveFolder(*it, true);
        for (auto it = model.foldersPlanned.rbegin(); it != model.foldersPlanned.rend(); ++it)
            if (!WasMade(model, *it))
                RemoveFolder(*it, false);
    }
    return restored;
}

} // namespace platform
