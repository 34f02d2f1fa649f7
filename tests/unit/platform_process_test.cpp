// Starting follow-up programs: found where Windows would find them, awaited, and a program that
// cannot be started reported as such.
#include "platform/Process.h"
#include "platform/SystemInfo.h"
#include "platform_temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#ifndef _WIN32
#include "platform/posix/CommandLine.h"

#include <sys/stat.h>
#endif

namespace {

namespace fs = std::filesystem;
using platform_test::ReadFile;
using platform_test::TempFolder;
using platform_test::WriteFile;

#ifdef _WIN32
TEST(StartProcess, RunsACommandLineAndWaitsForIt) {
    TempFolder folder;
    const std::string made = folder.File("made");
    EXPECT_TRUE(platform::StartProcess("cmd.exe /c mkdir \"" + made + "\"", true));
    EXPECT_TRUE(fs::is_directory(made)) << "the program has ended when the call returns";
}

TEST(StartProcess, MissingProgramIsNotStarted) {
    EXPECT_FALSE(platform::StartProcess("quarnel-missing-program.exe /q", true));
}
#else
TEST(CommandLine, SplitByTheWindowsRules) {
    using Arguments = std::vector<std::string>;
    const struct {
        const char* line;
        Arguments arguments;
    } cases[] = {
        {"Nachlauf.exe /q", {"Nachlauf.exe", "/q"}},
        {"  prog \t a   b  ", {"prog", "a", "b"}},
        {"", {}},
        {"   ", {}},
        {"\"C:\\Program Files\\x.exe\" a", {"C:\\Program Files\\x.exe", "a"}},
        {"C:\\Program Files\\x.exe a", {"C:\\Program", "Files\\x.exe", "a"}},
        {"p\\\" a", {"p\\\"", "a"}}, // no escapes in the program name
        {"p \"a b\" c", {"p", "a b", "c"}},
        {"p a\"b c\"d", {"p", "ab cd"}},
        {"p \"\"", {"p", ""}},
        {"p a\\\\b", {"p", "a\\\\b"}},         // backslashes before no quote stay
        {"p a\\\"b", {"p", "a\"b"}},           // odd: a literal quote
        {"p a\\\\\"b c\"", {"p", "a\\b c"}},   // even: half of them, and a quote
        {"p a\\\\\\\"b", {"p", "a\\\"b"}},     // three: one and a literal quote
        {"p \"a\"\"b\" c", {"p", "a\"b c"}},   // a doubled quote: literal, and the part closes
        {"p \"a\"\"\"b c\"", {"p", "a\"b c"}}, // three quotes: a literal and still inside
        {"p \"unclosed arg", {"p", "unclosed arg"}},
        {"\"unclosed name", {"unclosed name"}},
        {"\"C:\\dir\"x y", {"C:\\dir", "x", "y"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(platform::SplitCommandLine(c.line), c.arguments) << c.line;
}

// Programs in the setup's own folder and in a folder on PATH, each writing its arguments to a
// file of the test's, one per line, after its own name and folder.
class StartProcess : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(m_folder.path() / "own");
        fs::create_directories(m_folder.path() / "onpath");
        platform::SetModuleFilePathForTesting(m_folder.File("own/setup"));
        const char* path = std::getenv("PATH");
        m_oldPath = path ? path : "";
        ::setenv("PATH", (m_folder.File("onpath") + ":" + m_oldPath).c_str(), 1);
    }
    void TearDown() override {
        platform::SetModuleFilePathForTesting("");
        ::setenv("PATH", m_oldPath.c_str(), 1);
    }

    void Program(const std::string& folder, const std::string& name, mode_t mode = 0755,
                 const std::string& before = "") {
        const std::string path = m_folder.File(folder + "/" + name);
        WriteFile(path, "#!/bin/sh\n" + before + "printf '%s\\n' \"" + folder + "/" + name +
                            "\" \"$@\" >'" + m_output + "'\n");
        ::chmod(path.c_str(), mode);
    }
    std::string Output() const { return ReadFile(m_output); }
    static std::string ToWindows(std::string path) {
        std::replace(path.begin(), path.end(), '/', '\\');
        return path;
    }

    TempFolder m_folder;
    const std::string m_output = m_folder.File("output");
    std::string m_oldPath;
};

TEST_F(StartProcess, OwnFolderComesBeforePath) {
    Program("own", "tool");
    Program("onpath", "tool");
    Program("onpath", "other");
    ASSERT_TRUE(platform::StartProcess("tool a \"b c\" d\\\"e", true));
    EXPECT_EQ(Output(), "own/tool\na\nb c\nd\"e\n");
    ASSERT_TRUE(platform::StartProcess("other /q", true));
    EXPECT_EQ(Output(), "onpath/other\n/q\n");
}

TEST_F(StartProcess, NameWithOrWithoutExeAndWithAFolder) {
    Program("own", "tool");
    Program("onpath", "plain.exe");
    const struct {
        std::string line;
        const char* output;
    } cases[] = {
        {"tool.exe 1", "own/tool\n1\n"},
        {"TOOL.EXE 1", ""}, // names keep their case on POSIX
        {"plain 2", "onpath/plain.exe\n2\n"},
        {"plain.exe 3", "onpath/plain.exe\n3\n"},
        {m_folder.File("own") + "\\tool.exe 4", "own/tool\n4\n"},
        {"\"" + m_folder.File("own/tool") + "\" 5", "own/tool\n5\n"},
    };
    for (const auto& c : cases) {
        WriteFile(m_output, "");
        EXPECT_EQ(platform::StartProcess(c.line, true), *c.output != '\0') << c.line;
        EXPECT_EQ(Output(), c.output) << c.line;
    }
}

// A program named with a relative folder is the package's, as Windows finds it through the
// setup's folder first: one planted in the current folder neither comes first nor is needed.
TEST_F(StartProcess, RelativeFolderIsLookedUpFromTheSetupsFolder) {
    fs::create_directories(m_folder.path() / "own" / "Tools");
    fs::create_directories(m_folder.path() / "planted" / "Tools");
    fs::create_directories(m_folder.path() / "onpath" / "Other");
    Program("own/Tools", "Nach");
    Program("planted/Tools", "Nach");
    Program("onpath/Other", "Weiter");
    const fs::path previous = fs::current_path();
    fs::current_path(m_folder.path() / "planted");
    const struct {
        const char* line;
        const char* output;
    } cases[] = {
        {"Tools\\Nach /q", "own/Tools/Nach\n/q\n"},
        {"Tools/Nach.exe /q", "own/Tools/Nach\n/q\n"},
        {"Other\\Weiter 1", "onpath/Other/Weiter\n1\n"},
        {".\\Tools\\Nach 2", "planted/Tools/Nach\n2\n"}, // the current folder, as written
    };
    for (const auto& c : cases) {
        WriteFile(m_output, "");
        EXPECT_TRUE(platform::StartProcess(c.line, true)) << c.line;
        EXPECT_EQ(Output(), c.output) << c.line;
    }
    fs::remove_all(m_folder.path() / "planted" / "Tools");
    EXPECT_TRUE(platform::StartProcess("Tools\\Nach 3", true)) << "nothing planted";
    EXPECT_EQ(Output(), "own/Tools/Nach\n3\n");
    std::error_code ignored;
    fs::current_path(previous, ignored);
}

// An unquoted program path with blanks is tried prefix by prefix, shortest first, as
// CreateProcessA tries it; a quoted one is the program or nothing.
TEST_F(StartProcess, ProgramPathsWithBlanks) {
    fs::create_directories(m_folder.path() / "Sub Dir");
    Program("own", "Nach lauf.exe");
    Program("own", "Kurz");
    Program("own", "Kurz Lang.exe");
    Program("onpath", "auf dem Pfad");
    Program("Sub Dir", "tool");
    const std::string sub = m_folder.File("Sub Dir");
    using Arguments = std::vector<std::string>;
    const struct {
        std::string line;
        const char* program; // below the test's folder; "" when none is found
        Arguments arguments;
    } cases[] = {
        {"Nach lauf.exe /q", "own/Nach lauf.exe", {"Nach lauf.exe", "/q"}},
        {"Nach lauf /q", "own/Nach lauf.exe", {"Nach lauf", "/q"}},
        {"Nach lauf.exe", "own/Nach lauf.exe", {"Nach lauf.exe"}},
        {"Kurz Lang.exe /q", "own/Kurz", {"Kurz", "Lang.exe", "/q"}},
        {"auf dem Pfad \"a b\" c", "onpath/auf dem Pfad", {"auf dem Pfad", "a b", "c"}},
        {sub + "/tool x", "Sub Dir/tool", {sub + "/tool", "x"}},
        {ToWindows(sub) + "\\tool.exe  x\t y",
         "Sub Dir/tool",
         {ToWindows(sub) + "\\tool.exe", "x", "y"}},
        {"\"Nach lauf.exe\" /q", "own/Nach lauf.exe", {"Nach lauf.exe", "/q"}},
        {"\"Kurz Lang.exe\" /q", "own/Kurz Lang.exe", {"Kurz Lang.exe", "/q"}},
        {"\"Nach\" lauf.exe /q", "", {}}, // quoted: no other prefix is tried
        {"\"Nach lauf.exe /q", "", {}},   // an open quote is part of the name
        {"Nach  lauf.exe /q", "", {}},    // two blanks are not one
        {"gibt es nicht", "", {}},
    };
    for (const auto& c : cases) {
        platform::ProgramCall call = platform::FindCommandProgram(c.line);
        EXPECT_EQ(call.program, *c.program ? m_folder.File(c.program) : "") << c.line;
        EXPECT_EQ(call.arguments, c.arguments) << c.line;
    }
    ASSERT_TRUE(platform::StartProcess("Nach lauf.exe /q", true));
    EXPECT_EQ(Output(), "own/Nach lauf.exe\n/q\n");
}

TEST_F(StartProcess, WaitsForTheEnd) {
    Program("own", "slow", 0755, "sleep 0.3\n");
    ASSERT_TRUE(platform::StartProcess("slow done", true));
    EXPECT_EQ(Output(), "own/slow\ndone\n");
}

TEST_F(StartProcess, ProgramsThatCannotStartAreReported) {
    Program("own", "unexecutable", 0644);
    WriteFile(m_folder.File("own/garbage"), "\x7f"
                                            "ELF but nothing more");
    ::chmod(m_folder.File("own/garbage").c_str(), 0755);
    fs::create_directories(m_folder.path() / "own" / "folder");
    for (const char* line :
         {"missing", "missing.exe /q", "unexecutable", "garbage", "folder", "", "\"\" x"})
        EXPECT_FALSE(platform::StartProcess(line, true)) << line;
    EXPECT_EQ(Output(), "");
}
#endif

} // namespace
