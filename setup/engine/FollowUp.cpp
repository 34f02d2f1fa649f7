// The follow-up programs of SETUP.INF, started one after the other and awaited.
#include "setup/engine/FollowUp.h"

#include "framework/Messages.h"
#include "platform/Process.h"
#include "platform/Profile.h"
#include "setup/app/SetupDlg.h"
#include "setup/config/SetupFiles.h"
#include "setup/res/resource.h"

int StartProgram(const std::string& commandLine, int wait) {
    return platform::StartProcess(commandLine, wait == 1) ? 1 : 0;
}

BOOL CSetupDlg::RunPrograms() {
    for (int n = 1;; ++n) {
        std::string commandLine = platform::ReadProfileValue(
            kInstallationSection, kProgramKey + std::to_string(n), m_strSetupInf);
        if (commandLine.empty())
            return TRUE;
        if (!StartProgram(commandLine, 1)) {
            ShowSetupError(FormatMessageText(IDS_PROGRAM_FAILED, {commandLine}));
            return FALSE;
        }
    }
}
