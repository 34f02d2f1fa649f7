// An installation as one change: until its pass is committed, every file it replaced can be put
// back and every file and folder it created removed, by the setup itself when the pass fails and
// by the next start of any setup when a run was killed. Paths as in Files.h.
//
// The record lies in a folder only administrators (root) can write: on POSIX $QUARNEL_STATEDIR,
// by default /var/lib/quarnel-setup; on Windows "Quarnel Setup" in the Windows directory, with
// access for Administrators and SYSTEM alone. A record or a backup is acted on only where the
// identities written down prove it is the pass's own, so nothing another user plants or swaps
// moves a file.
#pragma once

#include <string>
#include <vector>

namespace platform {

enum class InstallStart {
    Ready,  // this process now holds the install lock; a killed run's changes are undone
    Busy,   // another setup holds the lock
    Unsafe, // the state folder or a record in it is not what only an administrator could make
};

// Takes the install lock for the rest of the process's life, then rolls back the pass of a run
// that was killed. Called before anything else looks at the installation.
InstallStart PrepareInstall();

// Starts the record of a pass, flushed. From here until CommitPass or RollBackPass, the folders
// CreateFolder makes and the files CopyFileReplacing replaces or creates are recorded before
// each change. false when no record can be kept: then nothing may change.
bool BeginPass();

// Records, once and flushed, which of `targets` exist now and where each would be kept.
bool PlanReplacements(const std::vector<std::string>& targets);

// The pass is complete: the changes stay; the backups and the record go.
bool CommitPass();

// Puts back every target the pass replaced and removes what it created. false when something
// could not be put back: the record then stays, and the next start tries again.
bool RollBackPass();

// Whether a pass is open.
bool PassIsOpen();

} // namespace platform
