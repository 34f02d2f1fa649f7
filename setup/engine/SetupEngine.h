// The install command's steps, from the copy list to the follow-up programs, for one run whose
// start-up has found the host. SetupRun calls them in their order; they talk to the front through
// SetupView and change the system only through InstallActions.
#pragma once

#include "framework/WinDefs.h"
#include "setup/config/HostFolders.h"
#include "setup/engine/CopyEntry.h"
#include "setup/engine/InstallActions.h"
#include "setup/engine/SetupView.h"

#include <string>

// Where the package and the host installation are, as the start-up found them.
struct InstallContext {
    std::string setupInf;     // SETUP.INF beside the setup
    std::string sourceFolder; // the setup's folder, which holds the payload; ends in a separator
    std::string header;       // the header text as shown; the run record receives it
    HostFolders host;         // TALMORIX.INI and the Windows folders
    bool programDirFound = false;
    std::string programDir; // the host program folder, ends in a separator
    int osCode = 0;         // which Windows the options tags are checked against (see OsCode.h)
};

class SetupEngine {
public:
    SetupEngine(SetupView& view, InstallActions& actions, InstallContext context);

    // The blocks of SETUP.INF as a copy list; FALSE after entering the error state.
    BOOL CollectFiles(CCopyList& list) const;

    // The copy pass, then the run record; FALSE after entering the error state.
    BOOL CopyFiles(const CCopyList& list) const;

    // Creates every missing level of a folder path, stopping at the first that cannot be made.
    void CreateFolderPath(const std::string& path) const;

    // Asks before an older or differently localised file replaces one on disk; FALSE for No.
    BOOL ConfirmReplace(const std::string& source, const std::string& target) const;

    // Rewrites the run record in the program folder, where one exists.
    void WriteUpdateInf() const;

    // Starts the follow-up programs in turn; FALSE after entering the error state.
    BOOL RunPrograms() const;

private:
    // Whether one entry is copied: its system filter, then the replace questions.
    CopyOutcome CheckFileOptions(const CCopyEntry& entry) const;

    SetupView& m_view;
    InstallActions& m_actions;
    InstallContext m_context;
};
