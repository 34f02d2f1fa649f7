// The setup dialog run in-process on the POSIX window model: start-up states, the installation
// check, and whole installations, with a scripted front-end pressing the buttons and answering.
#ifndef _WIN32

#include "framework/Messages.h"
#include "framework/posix/ScriptedFrontEnd.h"
#include "platform/SystemInfo.h"
#include "platform/VersionInfo.h"
#include "setup/app/SetupDlg.h"
#include "setup/res/resource.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace fs = std::filesystem;
using framework_posix::ControlSnapshot;
using framework_posix::DialogSnapshot;
using framework_posix::ScopedFrontEnd;
using framework_posix::ScriptedFrontEnd;

namespace {

const std::string kTitle = "Quarnel ZTR Hotfix 3";
const std::string kHead = "[Installation]\r\nBezeichnung=" + kTitle + "\r\n";

std::string Fixture(const std::string& name) {
    return std::string(QUARNEL_FIXTURE_DIR) + name;
}

std::string Read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
}

void Write(const fs::path& path, const std::string& content) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << content;
}

// A package folder beside a host installation, in a temporary folder of its own:
//   pkg/        the setup's folder (SETUP.INF, payload)
//   windows/    the Windows directory (TALMORIX.INI), windows/system32 the system directory
//   Daten/      the data folder, Daten/Client/program/ the program folder
//   Programme/  the ProgDir folder
class SetupDialog : public ::testing::Test {
protected:
    void SetUp() override {
        root = fs::temp_directory_path() /
               ("quarnel-setup-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root);
        pkg = root / "pkg";
        windir = root / "windows";
        data = root / "Daten";
        program = data / "Client" / "program";
        progDir = root / "Programme";
        for (const fs::path& dir : {pkg, windir / "system32", program, progDir})
            fs::create_directories(dir);
        platform::SetModuleFilePathForTesting((pkg / "setup").string());
        ::setenv("QUARNEL_WINDIR", windir.c_str(), 1);
        ::unsetenv("QUARNEL_SYSDIR");
    }
    void TearDown() override { fs::remove_all(root); }

    void Host(const std::string& iniText) { Write(windir / "TALMORIX.INI", iniText); }
    void StandardHost() {
        Host("[GENERAL-Directories]\r\nDataDir=" + data.string() +
             "\r\nProgDir=" + progDir.string() + "\r\n");
    }
    void SetupInf(const std::string& text) { Write(pkg / "SETUP.INF", text); }
    void CopyFixture(const std::string& name, const fs::path& to) {
        fs::create_directories(to.parent_path());
        fs::copy_file(Fixture(name), to, fs::copy_options::overwrite_existing);
    }

    // Runs the dialog: `commands` are the buttons pressed in turn, `answers` the message boxes'.
    ScriptedFrontEnd Run(std::deque<int> commands = {}, std::deque<int> answers = {}) {
        ScriptedFrontEnd frontEnd(std::move(commands), std::move(answers));
        ScopedFrontEnd scope(frontEnd);
        CSetupDlg dlg;
        dlg.DoModal();
        programDirFound = dlg.m_bProgramDirFound;
        return frontEnd;
    }

    fs::path root, pkg, windir, data, program, progDir;
    bool programDirFound = false;
};

const ControlSnapshot& Control(const DialogSnapshot& dialog, int id) {
    static const ControlSnapshot none;
    const ControlSnapshot* control = dialog.Find(id);
    EXPECT_NE(control, nullptr) << "control " << id;
    return control ? *control : none;
}

// The states of the dialog as the state table has them.
void ExpectError(const DialogSnapshot& dialog, const std::string& text) {
    EXPECT_EQ(Control(dialog, IDC_INFO_TEXT).text, text);
    EXPECT_FALSE(Control(dialog, IDOK).visible);
    EXPECT_FALSE(Control(dialog, IDC_PROGRESS).visible);
    EXPECT_TRUE(Control(dialog, IDC_WARNING_ICON).visible);
    EXPECT_EQ(Control(dialog, IDCANCEL).text, "&Beenden");
}

void ExpectReady(const DialogSnapshot& dialog) {
    EXPECT_EQ(Control(dialog, IDC_INFO_TEXT).text, LoadMessage(IDS_INTRO));
    EXPECT_TRUE(Control(dialog, IDOK).visible);
    EXPECT_TRUE(Control(dialog, IDOK).isDefault);
    EXPECT_FALSE(Control(dialog, IDC_PROGRESS).visible);
    EXPECT_FALSE(Control(dialog, IDC_WARNING_ICON).visible);
    EXPECT_EQ(Control(dialog, IDCANCEL).text, "&Abbrechen");
}

void ExpectSuccess(const DialogSnapshot& dialog) {
    EXPECT_EQ(Control(dialog, IDC_INFO_TEXT).text, LoadMessage(IDS_SUCCESS));
    EXPECT_FALSE(Control(dialog, IDOK).visible);
    EXPECT_TRUE(Control(dialog, IDC_PROGRESS).visible);
    EXPECT_EQ(Control(dialog, IDC_PROGRESS).progressPos, 100);
    EXPECT_FALSE(Control(dialog, IDC_WARNING_ICON).visible);
    EXPECT_EQ(Control(dialog, IDCANCEL).text, "&Beenden");
}

TEST_F(SetupDialog, WithoutSetupInfTheDialogOpensInTheErrorState) {
    ScriptedFrontEnd run = Run();
    ExpectError(run.Final(), LoadMessage(IDS_INVALID_CONFIG));
    EXPECT_EQ(Control(run.Final(), IDC_HEADER_TEXT).text, "");
    EXPECT_EQ(run.Final().caption, "Quarnel ZTR Setup");
    EXPECT_EQ(run.results.at(0), IDCANCEL);
}

TEST_F(SetupDialog, WithoutHostTheHeaderShowsTheTitle) {
    SetupInf(kHead);
    for (const char* ini : {"", "[GENERAL-Directories]\r\nDataDir=\r\n"}) {
        fs::remove(windir / "TALMORIX.INI");
        if (*ini)
            Host(ini);
        ScriptedFrontEnd run = Run();
        ExpectError(run.Final(), LoadMessage(IDS_NO_INSTALLATION));
        EXPECT_EQ(Control(run.Final(), IDC_HEADER_TEXT).text, "  " + kTitle);
    }
}

TEST_F(SetupDialog, ReadyStateThenCancelInstallsNothing) {
    SetupInf(kHead + "[Block1]\r\nSection=GENERAL-Directories\r\nPfad=DataDir\r\nFile1=a.txt\r\n");
    Write(pkg / "a.txt", "neu");
    StandardHost();
    ScriptedFrontEnd run = Run({IDCANCEL});
    ASSERT_FALSE(run.waits.empty());
    ExpectReady(run.waits.front());
    EXPECT_EQ(run.results.at(0), IDCANCEL);
    EXPECT_FALSE(fs::exists(data / "a.txt"));
    EXPECT_TRUE(programDirFound);
}

// The installation check: program folder, base folder of the files, extensions, comparisons.
TEST_F(SetupDialog, RequiredVersions) {
    struct Case {
        const char* name;
        bool programFolder;                                     // Daten/Client/program exists
        std::vector<std::pair<std::string, std::string>> files; // in the base folder
        std::string entries;                                    // [Installation] keys
        std::string expected;                                   // "" = ready, else the error text
    };
    const std::string older = "Bitte installieren Sie zuerst das Service Pack 2.";
    const std::string stand3 = "Quarnel ZTR\r\nService Pack 2\r\n8.0.2\r\n";
    const Case cases[] = {
        {"no entries", true, {}, "", ""},
        {"met",
         true,
         {{"Programm.exe", "program_8.0.2.0.exe"}},
         "RequiredVersion1=Programm.exe;8.0.2\r\n",
         ""},
        {"newer",
         true,
         {{"Programm.exe", "program_8.0.3.exe"}},
         "RequiredVersion1=Programm.exe;8.0.2\r\n",
         LoadMessage(IDS_NEWER_INSTALLED)},
        {"older with InfoText",
         true,
         {{"Programm.exe", "program_8.0.1.exe"}},
         "RequiredVersion1=Programm.exe;8.0.2\r\nInfoText1=" + older + "\r\n",
         older + "\r\n" + LoadMessage(IDS_CANNOT_RUN)},
        {"older without InfoText",
         true,
         {{"Programm.exe", "program_7.9.9.exe"}},
         "RequiredVersion1=Programm.exe;8.0.0\r\nInfoText2=unused\r\n",
         ""},
        {"commas: one component",
         true,
         {{"Programm.exe", "program_commas.exe"}},
         "RequiredVersion1=Programm.exe;8.1\r\n",
         ""},
        {"empty required version",
         true,
         {{"Programm.exe", "program_8.0.1.exe"}},
         "RequiredVersion1=Programm.exe;\r\n",
         LoadMessage(IDS_NEWER_INSTALLED)},
        {"mixed-case .Exe",
         true,
         {{"Programm.Exe", "program_8.0.3.exe"}},
         "RequiredVersion1=Programm.Exe;8.0.2\r\n",
         LoadMessage(IDS_NEWER_INSTALLED)},
        {"dll: no version",
         true,
         {{"Basis.dll", "de_5.0.10.0.dll"}},
         "RequiredVersion1=Basis.dll;5.0\r\n",
         LoadMessage(IDS_NO_VERSION)},
        {"missing file",
         true,
         {},
         "RequiredVersion1=Fehlt.exe;1.0\r\n",
         LoadMessage(IDS_NO_VERSION)},
        {"no FileVersion",
         true,
         {{"Programm.exe", "no_fileversion.dll"}},
         "RequiredVersion1=Programm.exe;1.0\r\n",
         LoadMessage(IDS_NO_VERSION)},
        {"entry without ;",
         true,
         {{"Programm.exe", "program_8.0.2.0.exe"}},
         "RequiredVersion1=Programm.exe;8.0.2\r\nRequiredVersion2=Programm.exe\r\n",
         LoadMessage(IDS_NO_VERSION)},
        {"gap ends the list",
         true,
         {{"Programm.exe", "program_8.0.2.0.exe"}},
         "RequiredVersion1=Programm.exe;8.0.2\r\nRequiredVersion3=Fehlt.exe;1\r\n",
         ""},
        {"version text, three lines",
         true,
         {{"Stand.INF", "text:" + stand3}},
         "RequiredVersion1=Stand.INF;8.0.3\r\nInfoText1=x\r\n",
         "x\r\n" + LoadMessage(IDS_CANNOT_RUN)},
        {"version text, two lines",
         true,
         {{"Stand.inf", "text:Kopf\r\n8.1"}},
         "RequiredVersion1=Stand.inf;8.0\r\n",
         LoadMessage(IDS_NEWER_INSTALLED)},
        {"version text, one line",
         true,
         {{"Stand.inf", "text:8.0.2"}},
         "RequiredVersion1=Stand.inf;8.0.2.0\r\n",
         ""},
        {"empty version text",
         true,
         {{"Stand.inf", "text:a\r\nb\r\n"}},
         "RequiredVersion1=Stand.inf;8\r\n",
         LoadMessage(IDS_NO_VERSION)},
        {"ProgDir when the program folder is missing",
         false,
         {{"Programm.exe", "program_8.0.3.exe"}},
         "RequiredVersion1=Programm.exe;8.0.2\r\n",
         LoadMessage(IDS_NEWER_INSTALLED)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(data);
        fs::remove_all(progDir);
        fs::create_directories(progDir);
        if (c.programFolder)
            fs::create_directories(program);
        fs::path base = c.programFolder ? program : progDir;
        for (const auto& [name, source] : c.files) {
            if (source.rfind("text:", 0) == 0)
                Write(base / name, source.substr(5));
            else
                CopyFixture(source, base / name);
        }
        SetupInf(kHead + c.entries);
        StandardHost();
        ScriptedFrontEnd run = Run();
        if (c.expected.empty())
            ExpectReady(run.Final());
        else
            ExpectError(run.Final(), c.expected);
        EXPECT_EQ(programDirFound, c.programFolder);
    }
}

TEST_F(SetupDialog, ProgressCountsEveryEntryAndSkippedOnesToo) {
    std::string inf = kHead + "[Block1]\r\nSection=GENERAL-Directories\r\nPfad=DataDir\r\n";
    for (int m = 1; m <= 10; ++m) {
        std::string name = "f" + std::to_string(m) + ".dll";
        inf += "File" + std::to_string(m) + "=" + name + (m == 4 ? ";VERSION" : "") + "\r\n";
        CopyFixture("de_5.0.9.0.dll", pkg / name);
    }
    CopyFixture("de_5.0.10.0.dll", data / "f4.dll"); // newer on disk: declined below
    SetupInf(inf);
    StandardHost();
    ScriptedFrontEnd run = Run({IDOK}, {IDNO});
    EXPECT_EQ(run.progress, (std::vector<int>{10, 9, 18, 27, 45, 54, 63, 72, 81, 90, 100}));
    ExpectSuccess(run.Final());
    EXPECT_EQ(Read(data / "f4.dll"), Read(Fixture("de_5.0.10.0.dll")));
    EXPECT_EQ(Read(data / "f5.dll"), Read(Fixture("de_5.0.9.0.dll")));
}

TEST_F(SetupDialog, ReplaceQuestions) {
    struct Case {
        const char* name;
        const char* source;
        const char* target;
        std::deque<int> answers;
        std::vector<UINT> asked; // ids of the questions in order
        bool replaced;
    };
    const Case cases[] = {
        {"older on disk (5.0.9.0 < 5.0.10.0)", "de_5.0.10.0.dll", "de_5.0.9.0.dll", {}, {}, true},
        {"newer on disk, yes",
         "de_5.0.9.0.dll",
         "de_5.0.10.0.dll",
         {IDYES},
         {IDS_NEWER_EXISTS},
         true},
        {"newer on disk, no",
         "de_5.0.9.0.dll",
         "de_5.0.10.0.dll",
         {IDNO},
         {IDS_NEWER_EXISTS},
         false},
        {"equal in value (1.2 and 1.2.0.0)", "de_1.2.0.0.dll", "de_1.2.dll", {}, {}, true},
        {"11-digit version",
         "de_5.0.10.0.dll",
         "de_10.20.300.4000.dll",
         {IDYES},
         {IDS_NEWER_EXISTS},
         true},
        {"other language, yes",
         "de_5.0.10.0.dll",
         "en_5.0.10.0.dll",
         {IDYES},
         {IDS_LANGUAGE_DIFFERS},
         true},
        {"other language, no",
         "de_5.0.10.0.dll",
         "en_5.0.10.0.dll",
         {IDNO},
         {IDS_LANGUAGE_DIFFERS},
         false},
        {"other code page only", "de_5.0.10.0.dll", "de1252_5.0.10.0.dll", {}, {}, true},
        {"newer and other language: yes, no",
         "de_5.0.9.0.dll",
         "en_5.0.10.0.dll",
         {IDYES, IDNO},
         {IDS_NEWER_EXISTS, IDS_LANGUAGE_DIFFERS},
         false},
        {"newer and other language: no asks once",
         "de_5.0.9.0.dll",
         "en_5.0.10.0.dll",
         {IDNO},
         {IDS_NEWER_EXISTS},
         false},
        {"commas, newer on disk",
         "de_commas_8.0.2.0.dll",
         "de_commas_8.0.3.0.dll",
         {IDNO},
         {IDS_NEWER_EXISTS},
         false},
        {"points on disk, commas in the package",
         "de_commas_8.0.2.0.dll",
         "de_8.0.3.0.dll",
         {IDNO},
         {IDS_NEWER_EXISTS},
         false},
        {"commas, older on disk (2 < 10)",
         "de_commas_8.0.10.0.dll",
         "de_commas_8.0.2.0.dll",
         {},
         {},
         true},
        {"no version resource on disk", "de_5.0.9.0.dll", "no_version.dll", {}, {}, true},
        {"nothing on disk", "de_5.0.9.0.dll", nullptr, {}, {}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove(data / "Basis.dll");
        CopyFixture(c.source, pkg / "Basis.dll");
        if (c.target)
            CopyFixture(c.target, data / "Basis.dll");
        SetupInf(kHead + "[Block1]\r\nSection=GENERAL-Directories\r\nPfad=DataDir\r\n"
                         "File1=Basis.dll;VERSION\r\n");
        StandardHost();
        ScriptedFrontEnd run = Run({IDOK}, c.answers);
        ASSERT_EQ(run.messageBoxes.size(), c.asked.size());
        for (size_t i = 0; i < c.asked.size(); ++i) {
            const auto& box = run.messageBoxes[i];
            EXPECT_EQ(box.caption, "Quarnel ZTR Setup");
            EXPECT_EQ(box.type & (MB_TYPEMASK | MB_ICONMASK), UINT(MB_YESNO | MB_ICONEXCLAMATION));
            if (c.asked[i] == IDS_NEWER_EXISTS)
                EXPECT_EQ(box.text, FormatMessageText(IDS_NEWER_EXISTS, {"Basis.dll"}));
            else // the file on disk is English, the setup's copy German
                EXPECT_EQ(box.text, FormatMessageText(IDS_LANGUAGE_DIFFERS,
                                                      {"Basis.dll", platform::LanguageName(0x0409),
                                                       platform::LanguageName(0x0407)}));
        }
        ExpectSuccess(run.Final());
        EXPECT_EQ(Read(data / "Basis.dll") == Read(Fixture(c.source)), c.replaced);
    }
}

// Input given ahead while the installation ran is dropped before each question and once the
// install command has ended.
TEST_F(SetupDialog, QueuedInputIsDroppedBeforeQuestionsAndAtTheEnd) {
    class CRecordingFrontEnd : public ScriptedFrontEnd {
    public:
        using ScriptedFrontEnd::ScriptedFrontEnd;
        void DiscardQueuedInput() override { events += 'D'; }
        int AskMessageBox(const std::string& text, const std::string& caption, UINT type) override {
            events += 'Q';
            return ScriptedFrontEnd::AskMessageBox(text, caption, type);
        }
        int NextCommand(const DialogSnapshot& dialog) override {
            events += 'W';
            return ScriptedFrontEnd::NextCommand(dialog);
        }
        std::string events;
    };
    CopyFixture("de_5.0.9.0.dll", pkg / "Basis.dll");
    CopyFixture("en_5.0.10.0.dll", data / "Basis.dll"); // newer and English: two questions
    SetupInf(kHead + "[Block1]\r\nSection=GENERAL-Directories\r\nPfad=DataDir\r\n"
                     "File1=Basis.dll;VERSION\r\n");
    StandardHost();
    CRecordingFrontEnd frontEnd({IDOK}, {IDYES, IDYES});
    {
        ScopedFrontEnd scope(frontEnd);
        CSetupDlg dlg;
        dlg.DoModal();
    }
    EXPECT_EQ(frontEnd.events, "WDQDQDW"); // wait, install: drop, ask, drop, ask, drop; wait
    ExpectSuccess(frontEnd.Final());
}

// The install command's Tab takes effect however it ends, although queued input is dropped: the
// focus and the default button are on "Beenden", so Enter closes the dialog and never reaches the
// hidden install button.
TEST_F(SetupDialog, AfterTheInstallEnterPressesBeenden) {
    StandardHost();
    struct Case {
        const char* blocks;
        bool succeeds;
    } cases[] = {
        {"[Block1]\r\nSection=GENERAL-Directories\r\nPfad=DataDir\r\nFile1=a.txt\r\n", true},
        {"[Block1]\r\nSection=GENERAL-Directories\r\nPfad=DataDir\r\nFile1=fehlt.txt\r\n", false},
    };
    Write(pkg / "a.txt", "a");
    for (const Case& c : cases) {
        SetupInf(kHead + c.blocks);
        ScriptedFrontEnd run = Run({IDOK, IDCANCEL});
        ASSERT_EQ(run.waits.size(), 2u) << c.blocks;
        const DialogSnapshot& after = run.waits[1];
        if (c.succeeds)
            ExpectSuccess(after);
        else
            ExpectError(after, Control(after, IDC_INFO_TEXT).text);
        EXPECT_EQ(after.focusId, IDCANCEL) << c.blocks;
        EXPECT_TRUE(Control(after, IDCANCEL).isDefault) << c.blocks;
        EXPECT_FALSE(Control(after, IDOK).isDefault) << c.blocks;
    }
}

TEST_F(SetupDialog, FailedCopyStopsTheRunAndKeepsTheOldFile) {
    Write(pkg / "nachlauf.sh", "#!/bin/sh\necho ran >> \"$(dirname \"$0\")/ran.txt\"\n");
    fs::permissions(pkg / "nachlauf.sh", fs::perms::owner_all);
    Write(pkg / "a.txt", "neu a");
    fs::create_directories(pkg / "b.txt"); // a folder: it cannot be copied
    Write(pkg / "c.txt", "neu c");
    Write(program / "b.txt", "alt b");
    Write(program / "Update.inf", "alt");
    SetupInf(kHead + "EXEFile1=nachlauf.sh\r\n[Block1]\r\nSection=GENERAL-Directories\r\n"
                     "Pfad=ProgDir\r\nFile1=a.txt\r\nFile2=b.txt\r\nFile3=c.txt\r\n");
    StandardHost();
    ScriptedFrontEnd run = Run({IDOK});
    const std::string info = Control(run.Final(), IDC_INFO_TEXT).text;
    ExpectError(run.Final(), info);
    EXPECT_EQ(info.rfind(LoadMessage(IDS_COPY_FAILED).substr(0, 28), 0), 0u) << info;
    EXPECT_NE(info.find("b.txt"), std::string::npos);
    EXPECT_EQ(Read(program / "a.txt"), "neu a");
    EXPECT_EQ(Read(program / "b.txt"), "alt b");
    EXPECT_FALSE(fs::exists(program / "c.txt"));
    EXPECT_EQ(Read(program / "Update.inf"), "alt");
    EXPECT_FALSE(fs::exists(pkg / "ran.txt"));
    for (const auto& entry : fs::directory_iterator(program))
        EXPECT_TRUE(entry.path().filename() == "a.txt" || entry.path().filename() == "b.txt" ||
                    entry.path().filename() == "Update.inf")
            << "left behind: " << entry.path();
}

// A Linux user reads the failed copy's target as a POSIX path: "/" only, the root kept in front.
TEST_F(SetupDialog, FailedCopyShowsAShortenedPosixPath) {
    Write(pkg / "Fehlt" / "Tief.dll", "neu");
    SetupInf(kHead + "[Block1]\r\nSection=GENERAL-Directories\r\nPfad=ProgDir\r\n"
                     "File1=Fehlt\\Tief.dll\r\n");
    StandardHost();
    ScriptedFrontEnd run = Run({IDOK});
    const std::string info = Control(run.Final(), IDC_INFO_TEXT).text;
    const std::string message = LoadMessage(IDS_COPY_FAILED);
    const std::string before = message.substr(0, message.find("%1"));
    const std::string after = message.substr(message.find("%1") + 2);
    ASSERT_EQ(info.rfind(before, 0), 0u) << info;
    ASSERT_GE(info.size(), before.size() + after.size()) << info;
    const std::string shown =
        info.substr(before.size(), info.size() - before.size() - after.size());
    EXPECT_EQ(shown.rfind("/.../", 0), 0u) << shown;
    EXPECT_EQ(shown.find('\\'), std::string::npos) << shown;
    EXPECT_EQ(shown.substr(shown.size() - 15), "/Fehlt/Tief.dll") << shown;
    EXPECT_LT(shown.size(), (program / "Fehlt" / "Tief.dll").string().size()) << shown;
}

TEST_F(SetupDialog, UnresolvedBlockStopsBeforeAnythingIsCopied) {
    Write(pkg / "a.txt", "neu");
    SetupInf(
        kHead +
        "[Block1]\r\nSection=GENERAL-Directories\r\nPfad=DataDir\r\nSubdir=Vorlagen\\Standard\r\n"
        "File1=a.txt\r\n[Block2]\r\nSection=Andere\r\nPfad=Ziel\r\nFile1=a.txt\r\n");
    StandardHost();
    ScriptedFrontEnd run = Run({IDOK});
    ExpectError(run.Final(), FormatMessageText(IDS_TARGET_NOT_FOUND, {"Ziel"}));
    EXPECT_TRUE(fs::is_directory(data / "Vorlagen" / "Standard"));
    EXPECT_FALSE(fs::exists(data / "Vorlagen" / "Standard" / "a.txt"));
    EXPECT_TRUE(run.progress.empty());
}

TEST_F(SetupDialog, NoEntriesIsAnInvalidConfiguration) {
    SetupInf(kHead + "[Block1]\r\nSection=GENERAL-Directories\r\nPfad=DataDir\r\nFile2=a.txt\r\n");
    StandardHost();
    ScriptedFrontEnd run = Run({IDOK});
    ExpectError(run.Final(), LoadMessage(IDS_INVALID_CONFIG));
    EXPECT_EQ(Control(run.Final(), IDC_HEADER_TEXT).text, "  " + kTitle);
}

TEST_F(SetupDialog, FollowUpProgramThatCannotStartComesAfterAllCopies) {
    Write(pkg / "a.txt", "neu");
    SetupInf(kHead + "EXEFile1=gibt-es-nicht /q\r\n[Block1]\r\nSection=GENERAL-Directories\r\n"
                     "Pfad=ProgDir\r\nFile1=a.txt\r\n");
    StandardHost();
    ScriptedFrontEnd run = Run({IDOK});
    ExpectError(run.Final(), FormatMessageText(IDS_PROGRAM_FAILED, {"gibt-es-nicht /q"}));
    EXPECT_EQ(Read(program / "a.txt"), "neu");
}

TEST_F(SetupDialog, RunRecordIsRewrittenOnlyWhereItExists) {
    struct Case {
        const char* name;
        bool programFolder;
        bool recordExists;
    };
    const Case cases[] = {
        {"rewritten", true, true},
        {"absent: not created", true, false},
        {"program folder not found: ProgDir's record untouched", false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(data);
        fs::remove_all(progDir);
        fs::create_directories(progDir);
        fs::create_directories(data);
        if (c.programFolder)
            fs::create_directories(program);
        fs::path base = c.programFolder ? program : progDir;
        if (c.recordExists)
            Write(base / "Update.inf",
                  "  Quarnel ZTR Hotfix 2 mit einem laengeren alten Inhalt\r\n");
        Write(pkg / "a.txt", "neu");
        Write(pkg / "nachlauf.sh", "#!/bin/sh\necho \"$@\" >> \"$(dirname \"$0\")/ran.txt\"\n");
        fs::permissions(pkg / "nachlauf.sh", fs::perms::owner_all);
        SetupInf(kHead + "EXEFile1=nachlauf.sh erst\r\nEXEFile2=nachlauf.sh zweit\r\n"
                         "EXEFile4=nachlauf.sh nie\r\n[Block1]\r\nSection=GENERAL-Directories\r\n"
                         "Pfad=ProgDir\r\nFile1=a.txt\r\n");
        fs::remove(pkg / "ran.txt");
        StandardHost();
        ScriptedFrontEnd run = Run({IDOK});
        ExpectSuccess(run.Final());
        EXPECT_EQ(Read(pkg / "ran.txt"), "erst\nzweit\n");
        if (c.programFolder && c.recordExists)
            EXPECT_EQ(Read(base / "Update.inf"), "  " + kTitle);
        else if (c.recordExists)
            EXPECT_EQ(Read(base / "Update.inf"),
                      "  Quarnel ZTR Hotfix 2 mit einem laengeren alten Inhalt\r\n");
        else
            EXPECT_FALSE(fs::exists(base / "Update.inf"));
    }
}

TEST_F(SetupDialog, InstallCommandHasNoEffectOnceDoneOrFailed) {
    Write(pkg / "a.txt", "neu");
    Write(pkg / "nachlauf.sh", "#!/bin/sh\necho ran >> \"$(dirname \"$0\")/ran.txt\"\n");
    fs::permissions(pkg / "nachlauf.sh", fs::perms::owner_all);
    SetupInf(kHead + "EXEFile1=nachlauf.sh\r\n[Block1]\r\nSection=GENERAL-Directories\r\n"
                     "Pfad=DataDir\r\nFile1=a.txt\r\n");
    StandardHost();
    ScriptedFrontEnd done = Run({IDOK, IDOK, IDOK});
    ExpectSuccess(done.Final());
    EXPECT_EQ(Read(pkg / "ran.txt"), "ran\n");

    fs::remove(pkg / "SETUP.INF");
    ScriptedFrontEnd failed = Run({IDOK});
    ExpectError(failed.Final(), LoadMessage(IDS_INVALID_CONFIG));
    EXPECT_EQ(Read(pkg / "ran.txt"), "ran\n");
}

TEST_F(SetupDialog, WindowsDirectoryBlocks) {
    Write(pkg / "a.txt", "a");
    Write(pkg / "b.txt", "b");
    SetupInf(kHead +
             "[Block1]\r\nSection=WINDOWS_DIR\r\nPfad=WINDIR\r\nSubdir=Nie\r\nFile1=a.txt\r\n"
             "[Block2]\r\nSection=x WINDOWS_DIR\r\nPfad=windir\r\nFile1=b.txt\r\n");
    StandardHost();
    ScriptedFrontEnd run = Run({IDOK});
    ExpectSuccess(run.Final());
    EXPECT_EQ(Read(windir / "a.txt"), "a");
    EXPECT_EQ(Read(windir / "system32" / "b.txt"), "b");
    EXPECT_FALSE(fs::exists(windir / "Nie"));
}

} // namespace

#endif
