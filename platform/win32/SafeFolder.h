// A folder the elevated setup writes into, reached by the walk of FolderWalk.h over the real file
// system: each level opened with FILE_FLAG_OPEN_REPARSE_POINT, a junction or symbolic link
// followed only when an administrator owns it. Every level stays open without delete sharing
// while the folder is held, so none of them can be renamed, removed or replaced by a link
// meanwhile, and names built on the folder's path mean what the walk found.
#pragma once

#include "platform/FolderWalk.h"
#include "platform/WindowsHeaders.h"

#include <string>
#include <vector>

namespace platform {

class SafeFolder {
public:
    SafeFolder() = default;
    ~SafeFolder() { Release(); }
    SafeFolder(const SafeFolder&) = delete;
    SafeFolder& operator=(const SafeFolder&) = delete;

    // Walks to `path`; a relative path is made full first, as the system makes it. Missing levels
    // are made with MissingLevels::Create and listed in `created` when one is given.
    WalkResult Open(const std::string& path, MissingLevels missing = MissingLevels::Refuse,
                    std::vector<std::string>* created = nullptr);
    // Walks to the folder that holds `path` and gives the last component in `name`.
    WalkResult OpenParent(const std::string& path, std::string& name,
                          MissingLevels missing = MissingLevels::Refuse,
                          std::vector<std::string>* created = nullptr);
    void Release();

    bool opened() const { return !m_path.empty(); }
    // The folder as it really lies ("D:\Disk\Vorlagen" for a junction that leads there).
    const std::string& path() const { return m_path; }
    // The full name of `name` inside the folder.
    std::string Child(const std::string& name) const;

private:
    std::vector<HANDLE> m_levels;
    std::string m_path;
};

// Whether `owner` is the Administrators group, SYSTEM or TrustedInstaller: who may lay out links
// that the setup follows.
bool IsAdministratorSid(PSID owner);

// The process's redirection-trust mitigation (Windows 10 2004 and later): the system itself then
// refuses to follow a junction that a non-administrator made, for every open of the process. The
// function is looked up at run time; false where the system lacks it or refuses.
bool EnforceRedirectionTrust();

} // namespace platform
