#include "check/DryRun.h"

#include "check/res/resource.h"
#include "framework/Messages.h"
#include "platform/Files.h"
#include "platform/Profile.h"
#include "platform/VersionInfo.h"
#include "setup/config/CheckInstallation.h"
#include "setup/config/SetupFiles.h"
#include "setup/config/SetupRules.h"
#include "setup/engine/OsCode.h"
#include "setup/engine/SetupEngine.h"
#include "setup/engine/VersionInfo.h"
#include "setup/res/resource.h"

#include <set>

namespace {

struct RecordingView : SetupView {
    std::string error;
    std::vector<std::string> questions; // asked since the last copy

    void ShowSetupError(const std::string& text) override { error = text; }
    void SetInfoText(const std::string&) override {}
    void SetProgress(int) override {}
    bool AskYesNo(const std::string& question) override {
        questions.push_back(question);
        return true;
    }
    std::string FitPathToInfoText(const std::string& path) override { return path; }
};

// Records what the setup would change. A copy fails where the real one would for want of its
// source or its target folder, so the dry run stops where the setup would.
struct RecordingActions : InstallActions {
    std::vector<DryRunStep> steps;
    std::set<std::string> createdFolders;
    RecordingView* view = nullptr;

    bool CreateFolder(const std::string& path) override {
        createdFolders.insert(path);
        steps.push_back(
            DryRunStep{"folder", FormatMessageText(IDS_DRY_FOLDER, {path}), "", path, ""});
        return true;
    }
    bool CopyFile(const std::string& source, const std::string& target) override {
        for (const std::string& question : view->questions)
            steps.push_back(QuestionStep(source, target, question));
        view->questions.clear();
        steps.push_back(DryRunStep{"copy", FormatMessageText(IDS_DRY_COPY, {source, target}),
                                   source, target, ""});
        return platform::PathExists(source) && FolderWillExist(FolderOf(target));
    }
    void RewriteRunRecord(const std::string& path, const std::string& text) override {
        if (platform::PathExists(path))
            steps.push_back(DryRunStep{"record", FormatMessageText(IDS_DRY_RECORD, {path, text}),
                                       "", path, text});
        else
            steps.push_back(
                DryRunStep{"record", FormatMessageText(IDS_DRY_NO_RECORD, {path}), "", path, ""});
    }
    bool RunProgram(const std::string& commandLine) override {
        steps.push_back(DryRunStep{"program", FormatMessageText(IDS_DRY_PROGRAM, {commandLine}), "",
                                   "", commandLine});
        return true;
    }

    static std::string FolderOf(const std::string& path) {
        size_t end = path.find_last_of("\\/");
        return end == std::string::npos ? "" : path.substr(0, end);
    }
    bool FolderWillExist(const std::string& folder) const {
        return createdFolders.count(folder) || platform::PathExists(folder);
    }

    // The question with what it is about: both versions, or both languages.
    static DryRunStep QuestionStep(const std::string& source, const std::string& target,
                                   const std::string& question) {
        std::string fileName = source.substr(source.find_last_of("\\/") + 1);
        bool newer = question == FormatMessageText(IDS_NEWER_EXISTS, {fileName});
        std::string detail;
        if (newer) {
            std::string installed, package;
            GetFileVersionString(target, installed, "FileVersion");
            GetFileVersionString(source, package, "FileVersion");
            detail = FormatMessageText(IDS_DRY_VERSIONS, {installed, package});
        } else {
            WORD installed = 0, package = 0, codePage = 0;
            GetFileTranslation(target, installed, codePage);
            GetFileTranslation(source, package, codePage);
            detail = FormatMessageText(IDS_DRY_LANGUAGES, {platform::LanguageName(installed),
                                                           platform::LanguageName(package)});
        }
        std::string id = std::to_string(newer ? IDS_NEWER_EXISTS : IDS_LANGUAGE_DIFFERS);
        return DryRunStep{"question", FormatMessageText(IDS_DRY_QUESTION, {id, target, detail}),
                          source, target, id};
    }
};

// Which message a text of the setup is, by comparing it with the catalogue's forms.
unsigned MessageOf(const std::string& text) {
    for (unsigned id :
         {IDS_INVALID_CONFIG, IDS_NO_INSTALLATION, IDS_NO_VERSION, IDS_NEWER_INSTALLED,
          IDS_COPY_FAILED, IDS_TARGET_NOT_FOUND, IDS_PROGRAM_FAILED, IDS_CANNOT_RUN}) {
        std::string form = LoadMessage(id);
        std::string head = form.substr(0, form.find('%'));
        std::string tail =
            form.find('%') == std::string::npos ? "" : form.substr(form.find('%') + 2, 30);
        if (text.find(head) != std::string::npos && text.find(tail) != std::string::npos)
            return id;
    }
    return 0;
}

void Stop(DryRun& run, const std::string& text) {
    run.message = MessageOf(text);
    run.messageText = text;
}

} // namespace

DryRun DryRunPackage(const std::string& folder, const HostFolders& host, int osCode) {
    DryRun run;
    RecordingView view;
    RecordingActions actions;
    actions.view = &view;

    // The dialog's start-up, in its order.
    std::string setupInf = folder + kSetupInfName;
    std::string title;
    if (!CheckPackageAndHost(view, setupInf, host, title)) {
        Stop(run, view.error);
        return run;
    }
    HostProgramFolder programFolder;
    if (!CheckInstallation(view, setupInf, host, programFolder)) {
        Stop(run, view.error);
        return run;
    }
    run.ready = true;
    run.message = IDS_INTRO;

    InstallContext context;
    context.setupInf = setupInf;
    context.sourceFolder = folder;
    context.header = "  " + title;
    context.host = host;
    context.programDirFound = programFolder.found;
    context.programDir = programFolder.path;
    context.osCode = osCode;
    SetupEngine engine(view, actions, context);

    // The install handler, in its order; every entry goes to the report, copied or skipped.
    CCopyList list;
    bool done = engine.CollectFiles(list) && engine.CopyFiles(list) && engine.RunPrograms();
    std::set<std::string> copied;
    for (const DryRunStep& step : actions.steps)
        if (step.kind == "copy")
            copied.insert(step.target);
    for (CCopyEntry* entry : list) {
        if (done && !copied.count(entry->m_strTarget))
            actions.steps.push_back(
                DryRunStep{"skip",
                           FormatMessageText(IDS_DRY_SKIP, {entry->m_strSource, entry->m_strTarget,
                                                            entry->m_strOptions}),
                           entry->m_strSource, entry->m_strTarget, entry->m_strOptions});
        delete entry;
    }
    run.steps = actions.steps;
    run.completed = done;
    if (done) {
        run.message = IDS_SUCCESS;
        run.messageText = LoadMessage(IDS_SUCCESS);
    } else {
        Stop(run, view.error);
    }
    return run;
}
