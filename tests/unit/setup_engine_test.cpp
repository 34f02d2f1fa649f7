// The engine without a dialog: a recording view and recording actions stand in for the window and
// the system, so the rules of the copy list, the copy pass, the questions, the run record and the
// follow-up programs are seen as calls, on both backends.
#include "framework/Messages.h"
#include "platform/VersionInfo.h"
#include "setup/engine/SetupEngine.h"
#include "setup/engine/SetupRun.h"
#include "setup/engine/VersionInfo.h"
#include "setup/res/resource.h"

#include "platform_temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <filesystem>
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
    void BeginCopyPass(const CCopyList& list) override {
        pass.push_back("begin " + std::to_string(list.size()));
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

// A path of the setup's spelling as this system's file functions take it.
std::string OnDisk(std::string path) {
#ifndef _WIN32
    std::replace(path.begin(), path.end(), '\\', '/');
#endif
    return path;
}

// A network path begins with "\\\\server": that is the first level tried, and since it cannot be
// created nothing below the share is made either.
TEST_F(Engine, FolderPathOnANetworkShareCreatesNothing) {
    actions.failFolder = "\\\\server";
    Make().CreateFolderPath("\\\\server\\share\\Neu\\Tief\\");
    EXPECT_EQ(actions.log, (std::vector<std::string>{"mkdir \\\\server"}));
    ASSERT_EQ(view.folders.size(), 1u);
    EXPECT_EQ(view.folders[0].path, "\\\\server");
    EXPECT_FALSE(view.folders[0].created);
}

TEST_F(Engine, RunRecordOutcomes) {
    const std::string existing = folder.File("prog") + "\\";
    std::filesystem::create_directories(folder.File("prog"));
    WriteFile(OnDisk(existing + "Update.inf"), "alt");
    struct Case {
        bool found;
        std::string programDir;
        bool written;
        RunRecordOutcome outcome;
    } cases[] = {
        {false, existing, true, RunRecordOutcome::NoProgramFolder},
        {true, existing, true, RunRecordOutcome::Rewritten},
        {true, existing, false, RunRecordOutcome::NotWritten},
        {true, folder.File("nirgends") + "\\", false, RunRecordOutcome::Absent},
    };
    for (const Case& c : cases) {
        view.records.clear();
        context.programDirFound = c.found;
        context.programDir = c.programDir;
        actions.recordWritten = c.written;
        Make().WriteUpdateInf();
        ASSERT_EQ(view.records.size(), 1u);
        EXPECT_EQ(view.records[0].outcome, c.outcome) << c.programDir;
        EXPECT_EQ(view.records[0].text, "  Hotfix");
        EXPECT_EQ(view.records[0].path, c.found ? c.programDir + "Update.inf" : "");
    }
}

// A whole run over a package and a host in a temporary folder:
//   pkg/      SETUP.INF and the payload
//   win/      TALMORIX.INI
//   Daten/    the data folder; Daten/Client/program/ the program folder
class Run : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"pkg", "win", "Daten/Client/program"})
            std::filesystem::create_directories(folder.path() / name);
        program = folder.File("Daten") + "\\Client\\program\\";
        WriteFile(OnDisk(folder.File("win") + "\\TALMORIX.INI"),
                  "[GENERAL-Directories]\r\nDataDir=" + folder.File("Daten") + "\r\n");
    }
    void SetupInf(const std::string& text) { WriteFile(OnDisk(Package() + "SETUP.INF"), text); }
    void InstalledVersion(const std::string& version) {
        WriteFile(OnDisk(program + "Version.inf"), "Quarnel ZTR\r\nStand\r\n" + version);
    }
    std::string Package() const { return folder.File("pkg") + "\\"; }
    SetupPlace Place() const { return SetupPlace{Package(), HostFoldersIn(folder.File("win")), 5}; }
    void Copy(const std::string& fixture, const std::string& to) {
        std::filesystem::copy_file(Fixture(fixture), OnDisk(to));
    }

    TempFolder folder;
    std::string program;
    RecordingView view;
    RecordingActions actions;
};

TEST_F(Run, EveryStepReachesTheViewWithWhatItWasAbout) {
    SetupInf("[Installation]\r\nBezeichnung=Hotfix 7\r\nRequiredVersion1=Version.inf;8.0\r\n"
             "EXEFile1=nachlauf /q\r\n"
             "[Block1]\r\nSection=GENERAL-Directories\r\nPfad=ProgDir\r\nFile1=neu.txt\r\n"
             "File2=alt.txt\r\nFile3=Basis.dll;VERSION\r\nFile4=nur95.txt;WIN95\r\n"
             "[Block2]\r\nSection=GENERAL-Directories\r\nPfad=ProgDir\r\nSubdir=Neu\r\n"
             "File1=neu.txt\r\n");
    InstalledVersion("8.0");
    WriteFile(OnDisk(program + "alt.txt"), "alt");
    Copy("de_5.0.9.0.dll", Package() + "Basis.dll");
    Copy("en_5.0.10.0.dll", program + "Basis.dll"); // newer on disk: declined
    view.answers = {false};

    SetupRun run(view, actions, Place());
    ASSERT_TRUE(run.Start());
    EXPECT_EQ(run.Stage(), SetupStage::Ready);
    ASSERT_TRUE(run.Install());
    EXPECT_EQ(run.Stage(), SetupStage::Succeeded);

    EXPECT_EQ(view.states, (std::vector<std::string>{"header  Hotfix 7", "ready", "install",
                                                     "progress", "success"}));
    ASSERT_EQ(view.messages.size(), 2u);
    EXPECT_EQ(view.messages[0].id, static_cast<unsigned>(IDS_INTRO));
    EXPECT_EQ(view.messages[0].text, LoadMessage(IDS_INTRO));
    EXPECT_EQ(view.messages[1].id, static_cast<unsigned>(IDS_SUCCESS));
    EXPECT_EQ(view.messages[1].text, LoadMessage(IDS_SUCCESS));

    ASSERT_EQ(view.hosts.size(), 1u);
    EXPECT_EQ(view.hosts[0].dataFolder, folder.File("Daten"));
    EXPECT_EQ(view.hosts[0].programFolder, program);
    EXPECT_TRUE(view.hosts[0].programFolderFound);
    EXPECT_EQ(view.hosts[0].windowsFolder, folder.File("win"));
    EXPECT_EQ(view.hosts[0].osCode, 5);

    ASSERT_EQ(view.versions.size(), 1u);
    EXPECT_EQ(view.versions[0].number, 1);
    EXPECT_EQ(view.versions[0].file, program + "Version.inf");
    EXPECT_EQ(view.versions[0].required, "8.0");
    EXPECT_EQ(view.versions[0].installed, "8.0");
    EXPECT_EQ(view.versions[0].outcome, VersionOutcome::Met);

    ASSERT_EQ(view.folders.size(), 1u);
    EXPECT_EQ(view.folders[0].path, program + "Neu");
    EXPECT_TRUE(view.folders[0].created);

    ASSERT_EQ(view.asked.size(), 1u);
    std::string packageVersion, diskVersion;
    GetFileVersionString(Package() + "Basis.dll", packageVersion, "FileVersion");
    GetFileVersionString(program + "Basis.dll", diskVersion, "FileVersion");
    EXPECT_EQ(view.asked[0].id, static_cast<unsigned>(IDS_NEWER_EXISTS));
    EXPECT_EQ(view.asked[0].fileName, "Basis.dll");
    EXPECT_EQ(view.asked[0].source, Package() + "Basis.dll");
    EXPECT_EQ(view.asked[0].target, program + "Basis.dll");
    EXPECT_EQ(view.asked[0].packageValue, packageVersion);
    EXPECT_EQ(view.asked[0].diskValue, diskVersion);
    EXPECT_EQ(view.asked[0].text, FormatMessageText(IDS_NEWER_EXISTS, {"Basis.dll"}));

    std::vector<std::pair<std::string, CopyOutcome>> copies;
    for (const CopyRecord& copy : view.copies)
        copies.emplace_back(copy.target, copy.outcome);
    EXPECT_EQ(copies, (std::vector<std::pair<std::string, CopyOutcome>>{
                          {program + "neu.txt", CopyOutcome::Copied},
                          {program + "alt.txt", CopyOutcome::Replaced},
                          {program + "Basis.dll", CopyOutcome::KeptAnsweredNo},
                          {program + "nur95.txt", CopyOutcome::SkippedByFilter},
                          {program + "Neu\\neu.txt", CopyOutcome::Copied},
                      }));
    EXPECT_EQ(actions.pass, (std::vector<std::string>{"begin 5", "end"}));

    ASSERT_EQ(view.records.size(), 1u);
    EXPECT_EQ(view.records[0].path, program + "Update.inf");
    EXPECT_EQ(view.records[0].text, "  Hotfix 7");
    EXPECT_EQ(view.records[0].outcome, RunRecordOutcome::Rewritten);

    ASSERT_EQ(view.programs.size(), 1u);
    EXPECT_EQ(view.programs[0].number, 1);
    EXPECT_EQ(view.programs[0].commandLine, "nachlauf /q");
    EXPECT_TRUE(view.programs[0].started);
    EXPECT_TRUE(view.programs[0].exitCodeKnown);
    EXPECT_EQ(view.programs[0].exitCode, 3ul); // recorded; the run still succeeded

    // Only the ready state takes the install command.
    const size_t calls = actions.log.size();
    EXPECT_FALSE(run.Install());
    EXPECT_EQ(actions.log.size(), calls);
    EXPECT_EQ(view.states.size(), 5u);
}

TEST_F(Run, FailedCopyEndsThePassAsFailed) {
    SetupInf("[Installation]\r\nBezeichnung=Hotfix 7\r\nEXEFile1=nachlauf\r\n[Block1]\r\n"
             "Section=GENERAL-Directories\r\nPfad=ProgDir\r\nFile1=a.txt\r\nFile2=b.txt\r\n");
    actions.failCopyOf = program + "a.txt";
    SetupRun run(view, actions, Place());
    ASSERT_TRUE(run.Start());
    EXPECT_FALSE(run.Install());
    EXPECT_EQ(run.Stage(), SetupStage::Failed);
    EXPECT_EQ(actions.pass, (std::vector<std::string>{"begin 2", "end failed"}));
    ASSERT_EQ(view.copies.size(), 1u);
    EXPECT_EQ(view.copies[0].outcome, CopyOutcome::Failed);
    ASSERT_EQ(view.messages.size(), 2u);
    EXPECT_EQ(view.messages[1].id, static_cast<unsigned>(IDS_COPY_FAILED));
    EXPECT_EQ(view.messages[1].args, (std::vector<std::string>{"[" + program + "a.txt]"}));
    EXPECT_TRUE(view.programs.empty());
    EXPECT_TRUE(view.records.empty());
}

// Each refusal of the start-up with its message number, its arguments and its text.
TEST_F(Run, StartUpRefusals) {
    const std::string head = "[Installation]\r\nBezeichnung=Hotfix 7\r\n";
    const std::string required = head + "RequiredVersion1=Version.inf;8.0\r\n";
    const std::string info = "Bitte zuerst Hotfix 6 installieren.";
    struct Case {
        std::string setupInf;
        const char* installed; // nullptr: no version file
        bool host;
        unsigned id;
        std::vector<std::string> args;
        std::string text;
        std::vector<VersionOutcome> versions;
    } cases[] = {
        {"[Installation]\r\n",
         "8.0",
         true,
         IDS_INVALID_CONFIG,
         {},
         LoadMessage(IDS_INVALID_CONFIG),
         {}},
        {required, "8.0", false, IDS_NO_INSTALLATION, {}, LoadMessage(IDS_NO_INSTALLATION), {}},
        {required,
         nullptr,
         true,
         IDS_NO_VERSION,
         {},
         LoadMessage(IDS_NO_VERSION),
         {VersionOutcome::NotFound}},
        {required,
         "8.1",
         true,
         IDS_NEWER_INSTALLED,
         {},
         LoadMessage(IDS_NEWER_INSTALLED),
         {VersionOutcome::InstalledNewer}},
        {required + "InfoText1=" + info + "\r\n",
         "7.9",
         true,
         IDS_CANNOT_RUN,
         {info},
         info + "\r\n" + LoadMessage(IDS_CANNOT_RUN),
         {VersionOutcome::OlderRefused}},
        {required,
         "7.9",
         true,
         IDS_INTRO,
         {},
         LoadMessage(IDS_INTRO),
         {VersionOutcome::OlderAccepted}},
    };
    for (const Case& c : cases) {
        SetupInf(c.setupInf);
        std::filesystem::remove(OnDisk(program + "Version.inf"));
        if (c.installed)
            InstalledVersion(c.installed);
        SetupPlace place = Place();
        if (!c.host)
            place.host = HostFoldersIn(folder.File("pkg"));
        view = RecordingView();
        actions = RecordingActions();

        SetupRun run(view, actions, place);
        EXPECT_EQ(run.Start(), c.id == IDS_INTRO) << c.text;
        ASSERT_EQ(view.messages.size(), 1u) << c.text;
        EXPECT_EQ(view.messages[0].id, c.id);
        EXPECT_EQ(view.messages[0].args, c.args);
        EXPECT_EQ(view.messages[0].text, c.text);
        std::vector<VersionOutcome> versions;
        for (const VersionCheckRecord& check : view.versions)
            versions.push_back(check.outcome);
        EXPECT_EQ(versions, c.versions) << c.text;
        if (c.id != IDS_INTRO) {
            EXPECT_EQ(run.Stage(), SetupStage::Failed);
            EXPECT_FALSE(run.Install());
            EXPECT_TRUE(actions.log.empty());
        }
    }
}

} // namespace
