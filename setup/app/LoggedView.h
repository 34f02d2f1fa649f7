// A front's view as the log sees it: every call goes on to the front, and what the run shows,
// asks and records also goes into the log. In a run that nobody answers, the replace questions
// are answered here and never reach the front. It also keeps how the run ended, for the exit code.
#pragma once

#include "setup/app/ExitCode.h"
#include "setup/app/RunLog.h"
#include "setup/engine/SetupView.h"

#include <string>
#include <vector>

// How the replace questions are answered: by the front (a person), or always the same way.
struct Answering {
    bool unattended = false;
    bool answerYes = false;
};

class LoggedView : public SetupView {
public:
    // Without a log (nullptr, or one that is not open) only the answers and the result are kept.
    LoggedView(SetupView& front, RunLog* log, Answering answering);

    // The run's end as far as it went: cancelled until the success or the error state came.
    const RunResult& Result() const { return m_result; }

    void ShowHeader(const std::string& header) override;
    void ShowReady(const SetupMessage& message) override;
    void ShowSetupError(const SetupMessage& message) override;
    void BeginInstall() override;
    void ShowProgress(int position) override;
    void SetProgress(int position) override;
    void SetInfoText(const SetupMessage& message) override;
    std::string FitPathToInfoText(const std::string& path) override;
    bool AskReplace(const ReplaceQuestion& question) override;
    void ShowSuccess(const SetupMessage& message) override;

    void OnHostFound(const HostRecord& host) override;
    void OnVersionChecked(const VersionCheckRecord& check) override;
    void OnFolderCreated(const FolderRecord& folder) override;
    void OnCopyEntry(const CopyRecord& copy) override;
    void OnRunRecord(const RunRecordRecord& record) override;
    void OnProgram(const ProgramRecord& program) override;

private:
    SetupView& m_front;
    void Log(const std::string& line);

    RunLog* m_log;
    Answering m_answering;
    RunResult m_result;
    // The questions asked about the entry being copied, with their answers, for its log line.
    std::vector<std::string> m_questions;
};
