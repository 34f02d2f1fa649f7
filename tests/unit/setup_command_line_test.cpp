// The unattended side of the setup: its options, its exit codes and its log.
#include "framework/Messages.h"
#include "setup/app/CommandLine.h"
#include "setup/app/ExitCode.h"
#include "setup/app/RunLog.h"
#include "setup/res/resource.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

using Args = std::vector<std::string>;

TEST(SetupOptions, ReadsEachConventionsSpelling) {
    struct Case {
        Conventions conventions;
        Args arguments;
        RunFront front;
        bool answerYes;
        const char* log;
    };
    const Conventions win = Conventions::Windows, posix = Conventions::Posix;
    const Case cases[] = {
        {win, {}, RunFront::Dialog, false, ""},
        {win, {"/quiet"}, RunFront::Quiet, false, ""},
        {win, {"-QUIET"}, RunFront::Quiet, false, ""},
        {win, {"/Passive", "/answer", "YES"}, RunFront::Passive, true, ""},
        {win,
         {"/quiet", "-Answer", "no", "/LOG", "C:\\Temp\\a b.log"},
         RunFront::Quiet,
         false,
         "C:\\Temp\\a b.log"},
        {win, {"/log", "/quiet"}, RunFront::Dialog, false, "/quiet"}, // a value, even if it looks
        {win, {"/passive", "/quiet"}, RunFront::Quiet, false, ""},    // the last front counts
        {win, {"/answer", "yes", "/answer", "no"}, RunFront::Dialog, false, ""},
        {posix, {"--quiet", "--log", "/var/log/s.log"}, RunFront::Quiet, false, "/var/log/s.log"},
        {posix, {"--Quiet", "--answer=Yes", "--log=x.log"}, RunFront::Quiet, true, "x.log"},
        {posix, {"--passive"}, RunFront::Passive, false, ""},
    };
    for (const Case& c : cases) {
        SetupOptions options = ParseSetupOptions(c.arguments, c.conventions);
        std::string shown = ::testing::PrintToString(c.arguments);
        EXPECT_TRUE(options.valid) << shown << ": " << options.wrongArgument;
        EXPECT_EQ(options.front, c.front) << shown;
        EXPECT_EQ(options.answerYes, c.answerYes) << shown;
        EXPECT_EQ(options.logFile, c.log) << shown;
    }
}

TEST(SetupOptions, AWrongLineNamesTheArgument) {
    struct Case {
        Conventions conventions;
        Args arguments;
        const char* wrong;
    };
    const Conventions win = Conventions::Windows, posix = Conventions::Posix;
    const Case cases[] = {
        {win, {"/silent"}, "/silent"},
        {win, {"/quiet", "/log"}, "/log"},
        {win, {"/answer"}, "/answer"},
        {win, {"/answer", "ja"}, "/answer ja"},
        {win, {"/log", ""}, "/log"},
        {win, {"setup.inf"}, "setup.inf"},
        {win, {"/"}, "/"},
        {win, {"--quiet"}, "--quiet"},
        {win, {"/quiet=1"}, "/quiet=1"},
        {posix, {"/quiet"}, "/quiet"},
        {posix, {"-quiet"}, "-quiet"},
        {posix, {"--quiet=yes"}, "--quiet=yes"},
        {posix, {"--answer"}, "--answer"},
        {posix, {"--answer=maybe"}, "--answer=maybe"},
        {posix, {"--log="}, "--log="},
        {posix, {"--"}, "--"},
    };
    for (const Case& c : cases) {
        SetupOptions options = ParseSetupOptions(c.arguments, c.conventions);
        EXPECT_FALSE(options.valid) << ::testing::PrintToString(c.arguments);
        EXPECT_EQ(options.wrongArgument, c.wrong) << ::testing::PrintToString(c.arguments);
        // A wrong line starts nothing: no front, no log.
        EXPECT_EQ(options.front, RunFront::Dialog);
        EXPECT_EQ(options.logFile, "");
    }
}

TEST(SetupOptions, TheUsageTextListsTheOptionsAsTheSystemSpellsThem) {
    std::string windows = UsageText("/silent", Conventions::Windows);
    std::string posix = UsageText("%1", Conventions::Posix);
    for (const char* option : {"/quiet", "/passive", "/answer yes|no", "/log"})
        EXPECT_NE(windows.find(option), std::string::npos) << option;
    for (const char* option : {"--quiet", "--passive", "--answer yes|no", "--log"})
        EXPECT_NE(posix.find(option), std::string::npos) << option;
    EXPECT_EQ(windows.find("%"), std::string::npos);
    EXPECT_EQ(windows.rfind("Die Angabe '/silent' ", 0), 0u);
    EXPECT_EQ(posix.rfind("Die Angabe '%1' ", 0), 0u); // the argument as typed
    EXPECT_NE(windows.find(LoadMessage(IDS_CANNOT_RUN)), std::string::npos);
}

TEST(ExitCode, EveryEndHasItsCodeOnEachSystem) {
    struct Case {
        RunEnd end;
        unsigned message;
        int windows;
        int posix;
    };
    const Case cases[] = {
        {RunEnd::Succeeded, IDS_SUCCESS, 0, 0},
        {RunEnd::Failed, IDS_INVALID_CONFIG, 62000, 1},
        {RunEnd::Failed, IDS_NO_INSTALLATION, 62002, 1},
        {RunEnd::Failed, IDS_NO_VERSION, 62004, 1},
        {RunEnd::Failed, IDS_CANNOT_RUN, 62005, 1},
        {RunEnd::Failed, IDS_TARGET_NOT_FOUND, 62006, 1},
        {RunEnd::Failed, IDS_COPY_FAILED, 62008, 1},
        {RunEnd::Failed, IDS_PROGRAM_FAILED, 62012, 1},
        {RunEnd::Failed, IDS_NEWER_INSTALLED, 62013, 1},
        {RunEnd::Failed, IDS_SETUP_RUNNING, 1618, 1}, // another setup is running
        {RunEnd::Failed, 0, 1603, 1},
        {RunEnd::Cancelled, 0, 1602, 1},
        {RunEnd::WrongCommandLine, 0, 87, 2},
        {RunEnd::LogFailed, IDS_LOG_FAILED, 1622, 1},
    };
    for (const Case& c : cases) {
        RunResult result{c.end, c.message, ""};
        EXPECT_EQ(ExitCodeOf(result, Conventions::Windows), c.windows) << c.message;
        EXPECT_EQ(ExitCodeOf(result, Conventions::Posix), c.posix) << c.message;
    }
}

TEST(ExitCode, ThePosixErrorLineHoldsNumberAndTextOnOneLine) {
    RunResult failed{RunEnd::Failed, IDS_NO_INSTALLATION, LoadMessage(IDS_NO_INSTALLATION)};
    EXPECT_EQ(ErrorLine(failed), "setup: 62002: Es wurde keine bestehende Quarnel "
                                 "ZTR-Installation gefunden Das Setup kann nicht ausgef\xFChrt "
                                 "werden.");
    EXPECT_EQ(OnOneLine("a\r\n\r\nb \r\nc\r\n"), "a b c");
    EXPECT_EQ(ErrorLine(RunResult{RunEnd::Succeeded, IDS_SUCCESS, "x"}), "");
    EXPECT_EQ(ErrorLine(RunResult{RunEnd::Cancelled, 0, ""}), "");
}

TEST(RunLog, WritesUtf8LinesWithATimeStamp) {
    std::filesystem::path path = std::filesystem::temp_directory_path() / "quarnel-runlog.log";
    {
        RunLog log;
        ASSERT_TRUE(log.Open(path.string()));
        log.Started("15.0.0.0", "setup.exe /quiet");
        log.Line(LoadMessage(IDS_COPY_FAILED));
        log.Finished(RunResult{RunEnd::Failed, IDS_COPY_FAILED, "Fehler \xFC"}, 62008);
    }
    std::ifstream in(path, std::ios::binary);
    std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    in.close(); // Windows removes no file that is open
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
    // Each line: "YYYY-MM-DD hh:mm:ss " and the event.
    std::vector<std::string> events;
    for (size_t at = 0, end; (end = content.find("\r\n", at)) != std::string::npos; at = end + 2) {
        std::string line = content.substr(at, end - at);
        ASSERT_GT(line.size(), 20u) << line;
        for (size_t i : {4u, 7u})
            EXPECT_EQ(line[i], '-') << line;
        EXPECT_EQ(line.substr(10, 1) + line.substr(13, 1) + line.substr(16, 1) + line[19], " :: ")
            << line;
        events.push_back(line.substr(20));
    }
    const std::vector<std::string> expected = {
        "setup 15.0.0.0",
        "command line: setup.exe /quiet",
        "Beim Installieren der Datei: %1 ist ein Fehler aufgetreten. Das Setup konnte nicht "
        "vollst\xC3\xA4ndig ausgef\xC3\xBChrt werden.",
        "result: 62008: Fehler \xC3\xBC",
        "exit code: 62008",
    };
    EXPECT_EQ(events, expected);
}

} // namespace
