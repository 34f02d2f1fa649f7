#include "check/DryRun.h"

#include "check/res/resource.h"
#include "framework/Messages.h"
#include "platform/FileContent.h"
#include "platform/Files.h"
#include "setup/engine/SetupRun.h"
#include "setup/res/resource.h"

#include <set>

namespace {

std::string FolderOf(const std::string& path) {
    size_t end = path.find_last_of("\\/");
    return end == std::string::npos ? "" : path.substr(0, end);
}

// A regular file, opened without waiting on it and read no further: what the setup's copy demands
// of a source, and of a target it replaces.
bool IsRegularFile(const std::string& path) {
    std::string nothing;
    return platform::ReadFileStart(path, 0, nothing);
}

// Changes nothing. A copy fails where the real one would: for want of a regular source file or
// of its target folder, or over a target that is no regular file; so the dry run stops where the
// setup would.
class RecordingActions final : public InstallActions {
public:
    bool CreateFolder(const std::string& path) override {
        m_createdFolders.insert(path);
        return true;
    }
    bool CopyPayloadFile(const std::string& source, const std::string& target) override {
        if (!IsRegularFile(source) || !FolderWillExist(FolderOf(target)))
            return false;
        return !platform::PathExists(target) || IsRegularFile(target);
    }
    bool RewriteRunRecord(const std::string& path, const std::string&) override {
        return platform::PathExists(path);
    }
    ProgramResult RunProgram(const std::string&) override { return ProgramResult{true, false, 0}; }

private:
    bool FolderWillExist(const std::string& folder) const {
        return m_createdFolders.count(folder) || platform::PathExists(folder);
    }

    std::set<std::string> m_createdFolders;
};

// Answers every question Yes and turns what the run reports into the report's steps.
class RecordingView final : public SetupView {
public:
    explicit RecordingView(DryRun& run) : m_run(run) {}

    void ShowHeader(const std::string&) override {}
    void ShowReady(const SetupMessage& message) override {
        m_run.ready = true;
        Finish(message);
    }
    void ShowSetupError(const SetupMessage& message) override { Finish(message); }
    void BeginInstall() override {}
    void ShowProgress(int) override {}
    void SetProgress(int) override {}
    void SetInfoText(const SetupMessage&) override {}
    std::string FitPathToInfoText(const std::string& path) override { return path; }
    bool AskReplace(const ReplaceQuestion& question) override {
        UINT form = question.id == IDS_NEWER_EXISTS ? IDS_DRY_VERSIONS : IDS_DRY_LANGUAGES;
        std::string detail = FormatMessageText(form, {question.diskValue, question.packageValue});
        std::string id = std::to_string(question.id);
        Add("question", FormatMessageText(IDS_DRY_QUESTION, {id, question.target, detail}),
            question.source, question.target, id);
        return true;
    }
    void ShowSuccess(const SetupMessage& message) override {
        m_run.completed = true;
        Finish(message);
    }

    void OnFolderCreated(const FolderRecord& folder) override {
        Add("folder", FormatMessageText(IDS_DRY_FOLDER, {folder.path}), "", folder.path, "");
    }
    void OnCopyEntry(const CopyRecord& entry) override {
        switch (entry.outcome) {
        case CopyOutcome::SkippedByFilter:
            Add("skip",
                FormatMessageText(IDS_DRY_SKIP, {entry.source, entry.target, entry.options}),
                entry.source, entry.target, entry.options);
            break;
        case CopyOutcome::KeptAnsweredNo: // never: every question is answered Yes
            break;
        case CopyOutcome::Copied:
        case CopyOutcome::Replaced:
        case CopyOutcome::Failed:
            Add("copy", FormatMessageText(IDS_DRY_COPY, {entry.source, entry.target}), entry.source,
                entry.target, "");
            break;
        }
    }
    void OnRunRecord(const RunRecordRecord& record) override {
        switch (record.outcome) {
        case RunRecordOutcome::NoProgramFolder:
            break;
        case RunRecordOutcome::Rewritten:
            Add("record", FormatMessageText(IDS_DRY_RECORD, {record.path, record.text}), "",
                record.path, record.text);
            break;
        case RunRecordOutcome::Absent:
        case RunRecordOutcome::NotWritten:
            Add("record", FormatMessageText(IDS_DRY_NO_RECORD, {record.path}), "", record.path, "");
            break;
        }
    }
    void OnProgram(const ProgramRecord& program) override {
        Add("program", FormatMessageText(IDS_DRY_PROGRAM, {program.commandLine}), "", "",
            program.commandLine);
    }

private:
    void Finish(const SetupMessage& message) {
        m_run.message = message.id;
        m_run.messageText = message.text;
    }
    void Add(const char* kind, const std::string& text, const std::string& source,
             const std::string& target, const std::string& detail) {
        m_run.steps.push_back(DryRunStep{kind, text, source, target, detail});
    }

    DryRun& m_run;
};

} // namespace

DryRun DryRunPackage(const std::string& folder, const HostFolders& host, int osCode) {
    DryRun run;
    RecordingView view(run);
    RecordingActions actions;
    SetupRun setup(view, actions, SetupPlace{folder, host, osCode});
    if (setup.Start())
        setup.Install();
    return run;
}
