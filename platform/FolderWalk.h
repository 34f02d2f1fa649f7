// Walking a Windows folder path one level at a time, as the elevated setup must before it writes
// there: each level is opened without following a reparse point, and a junction or symbolic link
// on the way is followed only when an administrator owns it. The rules are here, over a seam;
// the Windows backend opens the levels (and keeps them open, so that none can be renamed or
// swapped while the setup works below them), the unit tests put a made-up folder tree behind it,
// as Wine shows a Windows program no link that can be made from the Unix side.
#pragma once

#include <string>
#include <vector>

namespace platform {

enum class MissingLevels { Refuse, Create };

// One level as seen through a handle opened without following a reparse point.
struct FolderLevel {
    enum class Kind {
        Missing,
        Folder, // also a folder with a reparse point that redirects no name (deduplicated, cloud)
        Link,   // a junction or a symbolic link: a reparse point that stands for another name
        Other,  // a file, a device, or a level that could not be opened
    };
    Kind kind = Kind::Missing;
    // For a link: its owner is the Administrators group, SYSTEM or TrustedInstaller.
    bool administratorOwned = false;
};

class LevelSystem {
public:
    virtual ~LevelSystem() = default;
    // Opens and inspects the level with the full path `path`; a level that was opened stays open
    // until the walk's owner lets go of it.
    virtual FolderLevel Open(const std::string& path) = 0;
    // The full path of the folder that the link `path`, already judged, leads to.
    virtual bool Resolve(const std::string& path, std::string& resolved) = 0;
    // Creates the folder `path`; false also when something of that name exists meanwhile.
    virtual bool Create(const std::string& path) = 0;
};

enum class WalkResult { Reached, Missing, UntrustedLink, NotAFolder, TooManyLinks, BadPath };

// Walks the full path `path` ("C:\a\b", "\\server\share\a", with "\" or "/"; "." and ".." are
// taken as Windows takes them, by the text) from its root. On success `walked` is the folder as it
// really lies: each followed link replaced by the full path of where it leads, whose own levels
// are walked in turn. With MissingLevels::Create a missing level is made and its path appended to
// `created` when one is given.
WalkResult WalkFolderLevels(const std::string& path, MissingLevels missing, LevelSystem& system,
                            std::string& walked, std::vector<std::string>* created = nullptr);

} // namespace platform
