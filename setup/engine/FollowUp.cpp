// The follow-up programs of SETUP.INF, started one after the other and awaited.
#include "setup/engine/FollowUp.h"

#include "framework/Messages.h"
#include "platform/Process.h"
#include "platform/Profile.h"
#include "setup/config/SetupFiles.h"
#include "setup/config/SetupRules.h"
#include "setup/engine/SetupEngine.h"
#include "setup/res/resource.h"

int StartProgram(const std::string& commandLine, int wait) {
    return platform::StartProcess(commandLine, wait == 1) ? 1 : 0;
}

BOOL SetupEngine::RunPrograms() const {
    for (int n = 1;; ++n) {
        std::string commandLine = platform::ReadProfileValue(
            kInstallationSection, NumberedName(kProgramKey, n), m_context.setupInf);
        if (commandLine.empty())
            return TRUE;
        if (!m_actions.RunProgram(commandLine)) {
            m_view.ShowSetupError(FormatMessageText(IDS_PROGRAM_FAILED, {commandLine}));
            return FALSE;
        }
    }
}
