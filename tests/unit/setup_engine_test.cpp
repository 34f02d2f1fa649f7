// The engine without a dialog: a recording view and recording actions stand in for the window and
// the system, so the rules of the copy list, the copy pass, the questions, the run record and the
// follow-up programs are seen as calls, on both backends.
#include "framework/Messages.h"
#include "platform/VersionInfo.h"
#include "setup/engine/SetupEngine.h"
#include "setup/res/resource.h"

#include "platform_temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <vector>

using platform_test::TempFolder;
using platform_test::WriteFile;

namespace {

struct RecordingView : SetupView {
    std::vector<std::string> errors;
    std::vector<std::string> infoTexts;
    std::vector<int> progress;
    std::vector<std::string> questions;
    std::deque<bool> answers; // taken in turn; Yes when none is left
    // Every message and question as the front receives it, and what the run reported.
    std::vector<SetupMessage> messages;
    std::vector<ReplaceQuestion> asked;
    std::vector<std::string> states; // header, ready, install, progress, error, success in turn
    std::vector<HostRecord> hosts;
    std::vector<VersionCheckRecord> versions;
    std::vector<FolderRecord> folders;
    std::vector<CopyRecord> copies;
    std::vector<RunRecordRecord> records;
    std::vector<ProgramRecord> programs;

    void ShowHeader(const std::string& header) override { states.push_back("header" + header); }
    void ShowReady(const SetupMessage& message) override {
        states.push_back("ready");
        messages.push_back(message);
    }
    void ShowSetupError(const SetupMessage& message) override {
        states.push_back("error");
        errors.push_back(message.text);
        messages.push_back(message);
    }
    void BeginInstall() override { states.push_back("install"); }
    void ShowProgress(int position) override {
        states.push_back("progress");
        progress.push_back(position);
    }
    void SetInfoText(const SetupMessage& message) override { infoTexts.push_back(message.text); }
    void SetProgress(int position) override { progress.push_back(position); }
    bool AskReplace(const ReplaceQuestion& question) override {
        questions.push_back(question.text);
        asked.push_back(question);
        bool answer = answers.empty() || answers.front();
        if (!answers.empty())
            answers.pop_front();
        return answer;
    }
    std::string FitPathToInfoText(const std::string& path) override { return "[" + path + "]"; }
    void ShowSuccess(const SetupMessage& message) override {
        states.push_back("success");
        messages.push_back(message);
    }
    void OnHostFound(const HostRecord& host) override { hosts.push_back(host); }
    void OnVersionChecked(const VersionCheckRecord& check) override { versions.push_back(check); }
    void OnFolderCreated(const FolderRecord& folder) override { folders.push_back(folder); }
    void OnCopyEntry(const CopyRecord& copy) override { copies.push_back(copy); }
    void OnRunRecord(const RunRecordRecord& record) override { records.push_back(record); }
    void OnProgram(const ProgramRecord& program) override { programs.push_back(program); }
};

struct RecordingActions : InstallActions {
    std::vector<std::string> log;
    std::vector<std::string> pass; // the copy pass's beginning and end
    std::string failCopyOf;        // the target whose copy fails
    std::string failFolder;        // the folder that cannot be created
    bool programsStart = true;
    bool recordWritten = true;

    bool CreateFolder(const std::string& path) override {
        log.push_back("mkdir " + path);
        return path != failFolder;
    }
    bool BeginCopyPass(const CCopyList& list) override {
        pass.push_back("begin " + std::to_string(list.size()));
        return true;
    }
    bool CopyPayloadFile(const std::string& source, const std::string& target) override {
        log.push_back("copy " + source + " -> " + target);
        return target != failCopyOf;
    }
    void EndCopyPass(bool succeeded) override { pass.push_back(succeeded ? "end" : "end failed"); }
    bool RewriteRunRecord(const std::string& path, const std::string& text) override {
        log.push_back("record " + path + " = " + text);
        return recordWritten;
    }
    ProgramResult RunProgram(const std::string& commandLine) override {
        log.push_back("run " + commandLine);
        return ProgramResult{programsStart, programsStart, programsStart ? 3ul : 0ul};
    }
};

// On Windows only "\" separates folders, so the fixture folder is spelt with it there.
std::string Fixture(const std::string& name) {
    std::string path = std::string(QUARNEL_FIXTURE_DIR) + name;
#ifdef _WIN32
    std::replace(path.begin(), path.end(), '/', '\\');
#endif
    return path;
}

class Engine : public ::testing::Test {
protected:
    void SetUp() override {
        context.setupInf = folder.File("SETUP.INF");
        context.sourceFolder = folder.File("pkg") + "\\";
        context.header = "  Hotfix";
        context.programDirFound = true;
        context.programDir = "P:\\prog\\";
    }
    SetupEngine Make() { return SetupEngine(view, actions, context); }
    std::vector<std::string> Collected(const std::string& setupInf) {
        WriteFile(context.setupInf, setupInf);
        CCopyList list;
        Make().CollectFiles(list);
        std::vector<std::string> entries;
        for (const CCopyEntry& entry : list)
            entries.push_back(entry.m_strSource + " -> " + entry.m_strTarget + " ;" +
                              entry.m_strOptions);
        return entries;
    }

    TempFolder folder;
    RecordingView view;
    RecordingActions actions;
    InstallContext context;
};

TEST_F(Engine, CopyListFollowsTheBlocksAndCreatesSubfolders) {
    const std::string src = context.sourceFolder;
    auto entries = Collected("[Block1]\r\nSection=GENERAL-Directories\r\nPfad=ProgDir\r\n"
                             "Subdir=Neu\\Tief\r\nFile1=a.dll;VERSION\r\nFile2=b.txt\r\n"
                             "File4=never.txt\r\n"
                             "[Block2]\r\nSection=GENERAL-Directories\r\nPfad=ProgDir\r\n"
                             "File1=c.txt;WINNT\r\n");
    EXPECT_EQ(entries, (std::vector<std::string>{
                           src + "a.dll -> P:\\prog\\Neu\\Tief\\a.dll ;VERSION",
                           src + "b.txt -> P:\\prog\\Neu\\Tief\\b.txt ;",
                           src + "c.txt -> P:\\prog\\c.txt ;WINNT",
                       }));
    // Every level below the drive that does not exist is asked for, in order.
    EXPECT_EQ(actions.log, (std::vector<std::string>{"mkdir P:\\prog", "mkdir P:\\prog\\Neu",
                                                     "mkdir P:\\prog\\Neu\\Tief"}));
    EXPECT_TRUE(view.errors.empty());
}

TEST_F(Engine, CopyListWithoutEntriesIsAnInvalidConfiguration) {
    EXPECT_TRUE(Collected("[Block1]\r\nSection=GENERAL-Directories\r\nPfad=ProgDir\r\n").empty());
    EXPECT_EQ(view.errors, (std::vector<std::string>{LoadMessage(IDS_INVALID_CONFIG)}));
}

TEST_F(Engine, CopyPassShowsEachFileAdvancesAndWritesTheRunRecord) {
    CCopyEntry a{"S\\a.txt", "T\\a.txt", ""};
    CCopyEntry b{"S\\b.txt", "T\\b.txt", "WIN95"}; // filtered away on NT below 5
    CCopyEntry c{"S\\c.txt", "T\\c.txt", ""};
    context.osCode = 1;
    ASSERT_TRUE(Make().CopyFiles({a, b, c}));
    EXPECT_EQ(view.progress, (std::vector<int>{30, 90, 100}));
    EXPECT_EQ(view.infoTexts, (std::vector<std::string>{
                                  FormatMessageText(IDS_COPYING, {"[S\\a.txt]", "[T\\a.txt]"}),
                                  FormatMessageText(IDS_COPYING, {"[S\\c.txt]", "[T\\c.txt]"}),
                              }));
    EXPECT_EQ(actions.log,
              (std::vector<std::string>{"copy S\\a.txt -> T\\a.txt", "copy S\\c.txt -> T\\c.txt",
                                        "record P:\\prog\\Update.inf =   Hotfix"}));
}

TEST_F(Engine, FailedCopyStopsWithTheShownTargetAndNoRunRecord) {
    CCopyEntry a{"S\\a.txt", "T\\a.txt", ""};
    CCopyEntry b{"S\\b.txt", "T\\b.txt", ""};
    actions.failCopyOf = "T\\a.txt";
    EXPECT_FALSE(Make().CopyFiles({a, b}));
    EXPECT_EQ(view.errors,
              (std::vector<std::string>{FormatMessageText(IDS_COPY_FAILED, {"[T\\a.txt]"})}));
    EXPECT_EQ(actions.log, (std::vector<std::string>{"copy S\\a.txt -> T\\a.txt"}));
}

TEST_F(Engine, RunRecordOnlyInAFoundProgramFolder) {
    context.programDirFound = false;
    Make().WriteUpdateInf();
    EXPECT_TRUE(actions.log.empty());
}

TEST_F(Engine, ReplaceQuestionsGoThroughTheView) {
    // A newer file on disk in another language: declining the first question ends the matter.
    view.answers = {false};
    EXPECT_FALSE(Make().ConfirmReplace(Fixture("de_5.0.9.0.dll"), Fixture("en_5.0.10.0.dll")));
    EXPECT_EQ(view.questions,
              (std::vector<std::string>{FormatMessageText(IDS_NEWER_EXISTS, {"de_5.0.9.0.dll"})}));

    view.questions.clear();
    view.answers = {true, false};
    EXPECT_FALSE(Make().ConfirmReplace(Fixture("de_5.0.9.0.dll"), Fixture("en_5.0.10.0.dll")));
    ASSERT_EQ(view.questions.size(), 2u);
    EXPECT_EQ(
        view.questions[1],
        FormatMessageText(IDS_LANGUAGE_DIFFERS, {"de_5.0.9.0.dll", platform::LanguageName(0x0409),
                                                 platform::LanguageName(0x0407)}));
}

TEST_F(Engine, FollowUpProgramsRunInTurnUntilOneCannotStart) {
    WriteFile(context.setupInf,
              "[Installation]\r\nEXEFile1=eins.exe /q\r\nEXEFile2=zwei.exe\r\nEXEFile4=vier\r\n");
    EXPECT_TRUE(Make().RunPrograms());
    EXPECT_EQ(actions.log, (std::vector<std::string>{"run eins.exe /q", "run zwei.exe"}));

    actions.log.clear();
    actions.programsStart = false;
    EXPECT_FALSE(Make().RunPrograms());
    EXPECT_EQ(actions.log, (std::vector<std::string>{"run eins.exe /q"}));
    EXPECT_EQ(view.errors,
              (std::vector<std::string>{FormatMessageText(IDS_PROGRAM_FAILED, {"eins.exe /q"})}));
}

} // namespace
