// The setup from its start to its end, in the one order every front follows: the start-up checks
// (package title, host installation, required versions), the ready state, and the install command
// (copy list, copy pass, run record, follow-up programs) ending in success or in the error state.
// A front (the dialog, the package check's dry run, an unattended run) shows and answers through
// its SetupView; the system is changed only through InstallActions.
#pragma once

#include "setup/config/HostFolders.h"
#include "setup/engine/InstallActions.h"
#include "setup/engine/SetupEngine.h"
#include "setup/engine/SetupView.h"

#include <string>

// Where a run takes its package and host from.
struct SetupPlace {
    std::string packageFolder; // holds SETUP.INF and the payload; ends in a separator
    HostFolders host;
    int osCode = 0; // see OsCode.h
};

// The running setup's own: its program's folder, the system's host folders and Windows.
SetupPlace SystemPlace();

enum class SetupStage { Starting, Ready, Installing, Succeeded, Failed };

class SetupRun {
public:
    SetupRun(SetupView& view, InstallActions& actions, SetupPlace place);
    SetupRun(const SetupRun&) = delete;
    SetupRun& operator=(const SetupRun&) = delete;

    // The start-up checks; true when the run is ready for the install command, false after
    // entering the error state. Runs once.
    bool Start();

    // The install command; only the ready state takes it (in any other state it does nothing and
    // returns false). true after entering the success state.
    bool Install();

    SetupStage Stage() const { return m_stage; }

    // What the start-up found: SETUP.INF, the header, the program folder.
    const InstallContext& Context() const { return m_context; }

private:
    SetupView& m_view;
    InstallActions& m_actions;
    InstallContext m_context;
    SetupStage m_stage = SetupStage::Starting;
};
