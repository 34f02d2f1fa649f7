// The follow-up programs of SETUP.INF, started one after the other and awaited.
#include "setup/engine/FollowUp.h"

#include "platform/Process.h"
#include "platform/Profile.h"
#include "setup/config/SetupFiles.h"
#include "setup/config/SetupRules.h"
#include "setup/engine/SetupEngine.h"
#include "setup/engine/SetupMessage.h"
#include "setup/res/resource.h"

ProgramResult StartProgram(const std::string& commandLine, int wait) {
    platform::ProcessEnd end = platform::RunProcess(commandLine, wait == 1);
    return ProgramResult{end.started, end.exitCodeKnown, end.exitCode};
}

BOOL SetupEngine::RunPrograms() const {
    for (int n = 1;; ++n) {
        std::string commandLine = platform::ReadProfileValue(
            kInstallationSection, NumberedName(kProgramKey, n), m_context.setupInf);
        if (commandLine.empty())
            return TRUE;
        ProgramResult result = m_actions.RunProgram(commandLine);
        m_view.OnProgram(
            ProgramRecord{n, commandLine, result.started, result.exitCodeKnown, result.exitCode});
        // Only whether it started counts: its exit code is recorded, never judged.
        if (!result.started) {
            m_view.ShowSetupError(MakeMessage(IDS_PROGRAM_FAILED, {commandLine}));
            return FALSE;
        }
    }
}
