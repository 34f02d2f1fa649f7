// The record of one copy pass: what it may change and what it changed, line by line, so that a
// pass that failed, or a run that was killed, can be put back as it was. Both backends write and
// read the same format; paths in it are the system's own.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// What tells one file or folder from every other: device and inode on POSIX, volume serial
// and file index on Windows. A name can be swapped; this cannot.
struct FileIdentity {
    uint64_t volume = 0;
    uint64_t file = 0;
    bool operator==(const FileIdentity& other) const {
        return volume == other.volume && file == other.file;
    }
    bool operator!=(const FileIdentity& other) const { return !(*this == other); }
};

enum class RecordKind : char {
    TargetFolder = 'F',   // a folder the pass copies into, as it was opened: path
    PrivatePlanned = 'p', // about to make the pass's private folder `name` in folder `folder`
    PrivateMade = 'P',    // made it, with this identity
    Replaced = 'T',       // target `name` in `folder` existed; its backup is backup `backup`
    Created = 'N',        // the pass put this new file at `name` in `folder`
    Temporary = 't',      // about to create a temporary `name` in `folder` (where it has a name)
    FolderPlanned = 'm',  // about to create the folder at `name` (a full path)
    FolderMade = 'M',     // created it, with this identity
    Committed = 'K',      // the pass is complete: keep every change, drop the backups
};

struct RecordEntry {
    RecordKind kind = RecordKind::Committed;
    unsigned folder = 0; // index of the TargetFolder entry, in order of appearance
    unsigned backup = 0; // number of the backup in the folder's private folder
    FileIdentity id;
    std::string name;
};

// The first line of every record.
extern const char kPassRecordHeader[];

// One line, ending in a line feed; false when the name cannot be written down unambiguously (a
// line break in it).
bool FormatRecordEntry(const RecordEntry& entry, std::string& line);

// The entries of a whole record. A last line without its line feed is the write a kill cut off
// and is left out; anything else that does not parse makes the whole record untrustworthy.
bool ParseRecord(const std::string& text, std::vector<RecordEntry>& entries);

// A record turned into what an undo needs: each target folder with its private folders, the last
// word on each backup, the files and folders the pass created, in the order they came.
struct RecordSummary {
    struct PrivateFolder {
        std::string name;
        bool identityKnown = false; // made and written down; else only about to be made
        FileIdentity id;
    };
    struct Folder {
        std::string path;
        FileIdentity id;
        std::vector<PrivateFolder> privates;
    };
    std::vector<Folder> folders;
    std::vector<RecordEntry> replaced; // one per backup number
    std::vector<RecordEntry> created;
    std::vector<RecordEntry> temporaries;
    std::vector<RecordEntry> foldersPlanned; // about to be made, never written down as made
    std::vector<RecordEntry> foldersMade;
    bool committed = false;
};

// false when an entry names a folder that no entry before it introduced.
bool SummarizeRecord(const std::vector<RecordEntry>& entries, RecordSummary& summary);

// The private folder whose identity the record holds, or none.
const RecordSummary::PrivateFolder* ProvenPrivate(const RecordSummary::Folder& folder);

// The name of backup `number` inside a private folder.
std::string BackupName(unsigned number);

} // namespace platform
