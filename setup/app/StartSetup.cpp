#include "setup/app/StartSetup.h"

#include "framework/Messages.h"
#include "resources/Codepage.h"
#include "setup/app/CommandLine.h"
#include "setup/app/ExitCode.h"
#include "setup/app/QuietRun.h"
#include "setup/app/RunLog.h"
#include "setup/app/SetupDlg.h"
#include "setup/res/resource.h"

#include <cstdio>

namespace {

// A POSIX program says on standard error, in the terminal's UTF-8, why it did not succeed.
void PrintOnStandardError(const std::string& text) {
    std::string lines;
    for (char c : text)
        if (c != '\r')
            lines += c;
    std::fputs((resources::Cp1252ToUtf8(lines) + "\n").c_str(), stderr);
}

// Why nothing was done, before any front came up: a message box in the setup's style on Windows
// (unless the run is quiet), standard error on POSIX.
void TellBeforeRun(const std::string& text, bool quiet) {
    if (kSystemConventions == Conventions::Posix)
        PrintOnStandardError(text);
    else if (!quiet)
        ShowMessageBox(nullptr, text, MB_OK);
}

RunResult RunDialog(CWinApp& app, RunLog& log, const SetupOptions& options) {
    CSetupDlg dlg(nullptr, &log, Answering{options.front == RunFront::Passive, options.answerYes});
    app.m_pMainWnd = &dlg;
    INT_PTR shown = dlg.DoModal();
    app.m_pMainWnd = nullptr;
    if (shown == -1)
        return RunResult{RunEnd::Failed, 0, ""};
    return dlg.Result();
}

} // namespace

int RunSetup(CWinApp& app) {
    const AfxCommandLine& commandLine = app.CommandLine();
    SetupOptions options = ParseSetupOptions(commandLine.arguments, kSystemConventions);
    RunLog log;
    RunResult result;
    if (!options.valid) {
        // Nothing is changed, not even a log: the line may name the wrong file as one.
        result.end = RunEnd::WrongCommandLine;
        TellBeforeRun(UsageText(options.wrongArgument, kSystemConventions), options.quietAsked);
    } else if (!options.logFile.empty() && !log.Open(options.logFile)) {
        result = RunResult{RunEnd::LogFailed, IDS_LOG_FAILED,
                           FormatMessageText(IDS_LOG_FAILED, {options.logFile})};
        TellBeforeRun(kSystemConventions == Conventions::Posix ? ErrorLine(result)
                                                               : result.messageText,
                      options.quietAsked);
    } else {
        log.Started(LoadModuleFileVersion(), commandLine.text);
        result = options.front == RunFront::Quiet ? RunQuietly(log, options.answerYes)
                                                  : RunDialog(app, log, options);
        if (kSystemConventions == Conventions::Posix && !ErrorLine(result).empty())
            PrintOnStandardError(ErrorLine(result));
    }
    int exitCode = ExitCodeOf(result, kSystemConventions);
    log.Finished(result, exitCode);
    return exitCode;
}
