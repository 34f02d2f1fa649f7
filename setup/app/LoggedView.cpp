#include "setup/app/LoggedView.h"

#include "platform/PathDisplay.h"

namespace {

const char* OutcomeText(VersionOutcome outcome) {
    switch (outcome) {
    case VersionOutcome::Met:
        return "met";
    case VersionOutcome::OlderAccepted:
        return "older, accepted";
    case VersionOutcome::OlderRefused:
        return "older, refused";
    case VersionOutcome::InstalledNewer:
        return "installed newer, refused";
    case VersionOutcome::NotFound:
        return "no installed version found, refused";
    }
    return "";
}

const char* OutcomeText(CopyOutcome outcome) {
    switch (outcome) {
    case CopyOutcome::Copied:
        return "copied";
    case CopyOutcome::Replaced:
        return "replaced";
    case CopyOutcome::KeptAnsweredNo:
        return "kept";
    case CopyOutcome::SkippedByFilter:
        return "skipped by the system filter";
    case CopyOutcome::Failed:
        return "failed";
    }
    return "";
}

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

// A path as the system spells it, which is how an administrator searches the log for it.
std::string Shown(const std::string& path) {
    return platform::DisplayPath(path);
}

// A value read from a file, without the blanks and line end around it.
std::string Trimmed(const std::string& value) {
    size_t first = value.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return {};
    return value.substr(first, value.find_last_not_of(" \t\r\n") - first + 1);
}

} // namespace

LoggedView::LoggedView(SetupView& front, RunLog* log, Answering answering)
    : m_front(front), m_log(log), m_answering(answering) {}

void LoggedView::Log(const std::string& line) {
    if (m_log != nullptr)
        m_log->Line(line);
}

void LoggedView::ShowHeader(const std::string& header) {
    m_front.ShowHeader(header);
}

void LoggedView::ShowReady(const SetupMessage& message) {
    Log("ready: " + std::to_string(message.id));
    m_front.ShowReady(message);
}

void LoggedView::ShowSetupError(const SetupMessage& message) {
    m_result = RunResult{RunEnd::Failed, message.id, message.text};
    m_front.ShowSetupError(message);
}

void LoggedView::BeginInstall() {
    Log("installing");
    m_front.BeginInstall();
}

void LoggedView::ShowProgress(int position) {
    m_front.ShowProgress(position);
}

void LoggedView::SetProgress(int position) {
    m_front.SetProgress(position);
}

void LoggedView::SetInfoText(const SetupMessage& message) {
    m_front.SetInfoText(message);
}

std::string LoggedView::FitPathToInfoText(const std::string& path) {
    return m_front.FitPathToInfoText(path);
}

bool LoggedView::AskReplace(const ReplaceQuestion& question) {
    bool yes = m_answering.unattended ? m_answering.answerYes : m_front.AskReplace(question);
    m_questions.push_back("question " + std::to_string(question.id) + " (on disk " +
                          Trimmed(question.diskValue) + ", package " +
                          Trimmed(question.packageValue) + "), answer " + (yes ? "yes" : "no"));
    return yes;
}

void LoggedView::ShowSuccess(const SetupMessage& message) {
    m_result = RunResult{RunEnd::Succeeded, message.id, message.text};
    m_front.ShowSuccess(message);
}

void LoggedView::OnHostFound(const HostRecord& host) {
    Log("host: data folder " + Shown(host.dataFolder) + "; program folder " +
        Shown(host.programFolder) + (host.programFolderFound ? " (found)" : " (not found)") +
        "; Windows folder " + Shown(host.windowsFolder) + "; system folder " +
        Shown(host.systemFolder) + "; system code " + std::to_string(host.osCode));
    m_front.OnHostFound(host);
}

void LoggedView::OnVersionChecked(const VersionCheckRecord& check) {
    std::string installed = Trimmed(check.installed);
    Log("required version " + std::to_string(check.number) + ": " + Shown(check.file) +
        ": installed " + (installed.empty() ? "(none)" : installed) + ", required " +
        check.required + ": " + OutcomeText(check.outcome));
    m_front.OnVersionChecked(check);
}

void LoggedView::OnFolderCreated(const FolderRecord& folder) {
    Log((folder.created ? "folder created: " : "folder not created: ") + Shown(folder.path));
    m_front.OnFolderCreated(folder);
}

void LoggedView::OnCopyEntry(const CopyRecord& copy) {
    std::string line = "copy: " + Shown(copy.source) + " -> " + Shown(copy.target) + ": " +
                       OutcomeText(copy.outcome);
    if (copy.outcome == CopyOutcome::SkippedByFilter)
        line += " (" + copy.options + ")";
    for (const std::string& question : m_questions)
        line += "; " + question;
    m_questions.clear();
    Log(line);
    m_front.OnCopyEntry(copy);
}

void LoggedView::OnRunRecord(const RunRecordRecord& record) {
    switch (record.outcome) {
    case RunRecordOutcome::Rewritten:
        Log("run record: " + Shown(record.path) + ": rewritten with " + Quoted(record.text));
        break;
    case RunRecordOutcome::NoProgramFolder:
        Log("run record: none, the program folder was not found");
        break;
    case RunRecordOutcome::Absent:
        Log("run record: " + Shown(record.path) + ": absent, not created");
        break;
    case RunRecordOutcome::NotWritten:
        Log("run record: " + Shown(record.path) + ": not written");
        break;
    }
    m_front.OnRunRecord(record);
}

void LoggedView::OnProgram(const ProgramRecord& program) {
    std::string line = "program " + std::to_string(program.number) + ": " + program.commandLine;
    if (!program.started)
        line += ": could not be started";
    else if (program.exitCodeKnown)
        line += ": exit code " + std::to_string(program.exitCode);
    else
        line += ": started, its exit code unknown";
    Log(line);
    m_front.OnProgram(program);
}
