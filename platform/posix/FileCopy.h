// Copying a file over another without ever leaving a torn target, and the plain read and write
// loops beneath it. Paths here are POSIX paths.
#pragma once

#include <cstddef>
#include <string>
#include <sys/stat.h>

namespace platform {

// The setup runs as an administrator in folders that others may own, so nothing here is opened by
// a name twice or through a link. The target's folder is opened once, level by level as
// SafePath.h walks it, and every later step goes through that handle. The bytes go to a file that
// has no name while it is written (where the system allows it; a fixed short name otherwise) inside
// a private folder of mode 0700 beside the target, and are renamed from there into place: nobody
// else can swap that file for a link. The copy keeps the source's modification time; a replaced
// file's mode, owner and group stay, and a new file gets the source's mode without write for group
// and others. A target without write permission is not replaced, like a read-only file on Windows;
// a symbolic link as target is replaced as a link, the file it points to stays as it is.
// A source or target that is not a regular file fails at once, without being opened in a way
// that can block.
bool CopyReplacing(const std::string& source, const std::string& target);

// Removes the private folder that copies into one folder share; the process's end does it too.
void ReleaseCopyFolder();

// What a copy pass keeps so that it can be undone (InstallJournal.cpp). Outside a pass there is
// none, and each copy stands alone.
class ReplaceRecorder {
public:
    // The pass's private folder (ours, mode 0700) in the folder open as `folder`, which holds the
    // temporaries and the backups of that folder's targets; -1 when there can be none.
    virtual int PrivateFolderFor(int folder, const struct stat& folderStat,
                                 const std::string& path) = 0;

    // Called just before `copy` takes the name `name` in `folder`: keeps what lies there now
    // (`replacing`) as a backup in `privateFolder` and records both. false stops the copy.
    virtual bool BeforeRename(int folder, int privateFolder, const std::string& name,
                              bool replacing, int copy) = 0;

protected:
    ~ReplaceRecorder() = default;
};

// Every copy from now on goes through `recorder` (nullptr: none).
void SetReplaceRecorder(ReplaceRecorder* recorder);

// Opens a regular file for reading without ever waiting (a FIFO or device is refused by its type,
// not waited for); -1 otherwise. `st` receives its status.
int OpenRegularFile(const std::string& path, struct stat& st);

// Writes all bytes, resuming after partial writes and interruptions.
bool WriteAll(int fd, const char* data, size_t size);

// Appends everything up to the end of the file.
bool ReadAll(int fd, std::string& content);

// Appends at most `limit` bytes from the current position.
bool ReadAtMost(int fd, size_t limit, std::string& content);

} // namespace platform
