// The profile reader on both targets: the POSIX stand-in natively, GetPrivateProfileStringA under
// Wine. The same texts must read the same on both.
#include "platform/Profile.h"
#include "platform/ProfileText.h"
#include "platform/SystemInfo.h"
#include "platform_temp_folder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {

using platform_test::ReadFile;
using platform_test::TempFolder;
using platform_test::WriteFile;

struct Case {
    const char* what;
    std::string text;
    const char* section;
    const char* key;
    std::string expected;
};

TEST(Profile, ReadsValuesAsTheWindowsReaderDoes) {
    const std::string longValue(1500, 'x');
    const Case cases[] = {
        {"names ignore case", "[Installation]\r\nBezeichnung=Hotfix 3\r\n", "INSTALLATION",
         "bezeichnung", "Hotfix 3"},
        {"LF line ends", "[a]\nk=1\nl=2\n", "A", "L", "2"},
        {"no line end at the end", "[a]\r\nk=last", "a", "k", "last"},
        {"blanks around name and value", "[a]\r\n  Key \t=  \t a  b \t \r\n", "a", "key", "a  b"},
        {"empty value", "[a]\r\nk=\r\nl=1\r\n", "a", "k", ""},
        {"blank value", "[a]\r\nk=  \t\r\n", "a", "k", ""},
        {"absent key", "[a]\r\nk=1\r\n", "a", "m", ""},
        {"absent section", "[a]\r\nk=1\r\n", "b", "k", ""},
        {"key of another section", "[a]\r\nk=1\r\n[b]\r\nl=2\r\n", "a", "l", ""},
        {"first of two keys", "[a]\r\nk=1\r\nK=2\r\n", "a", "k", "1"},
        {"first of two sections", "[a]\r\nk=1\r\n[b]\r\n[A]\r\nk=2\r\n", "a", "k", "1"},
        {"only the first section is read", "[a]\r\nk=1\r\n[A]\r\nl=2\r\n", "a", "l", ""},
        {"comment line", "[a]\r\n;k=1\r\nk=2\r\n", "a", "k", "2"},
        {"value with more =", "[a]\r\nk=x=y\r\n", "a", "k", "x=y"},
        {"value with ;", "[a]\r\nFile1=a;b;VERSION\r\n", "a", "File1", "a;b;VERSION"},
        {"line without =", "[a]\r\nk\r\n", "a", "k", ""},
        {"keys before any section", "k=0\r\n[a]\r\nk=1\r\n", "a", "k", "1"},
        {"blanks before the section", "  [a]  \r\nk=1\r\n", "a", "k", "1"},
        {"double quotes removed", "[a]\r\nk=\"x y\"\r\n", "a", "k", "x y"},
        {"single quotes removed", "[a]\r\nk='x'\r\n", "a", "k", "x"},
        {"quotes that do not pair", "[a]\r\nk=\"x'\r\n", "a", "k", "\"x'"},
        {"quote only at the start", "[a]\r\nk=\"x\r\n", "a", "k", "\"x"},
        {"quotes inside kept", "[a]\r\nk=a \"b\"\r\n", "a", "k", "a \"b\""},
        {"cut at 1023", "[a]\r\nk=" + longValue + "\r\n", "a", "k", longValue.substr(0, 1023)},
        {"1023 fit", "[a]\r\nk=" + longValue.substr(0, 1023) + "\r\n", "a", "k",
         longValue.substr(0, 1023)},
        {"8-bit value as is", "[a]\r\nk=f\xFCr\r\n", "a", "k", "f\xFCr"},
    };
    TempFolder folder;
    int n = 0;
    for (const Case& c : cases) {
        // A file per case: the reader may keep what it parsed.
        std::string file = folder.File("case" + std::to_string(n++) + ".ini");
        WriteFile(file, c.text);
        EXPECT_EQ(platform::ReadProfileValue(c.section, c.key, file), c.expected) << c.what;
    }
}

// A SETUP.INF saved as UTF-16 or as UTF-8 with its byte-order mark reads as the same 8-bit text
// as one in code page 1252; what code page 1252 cannot hold comes back as Windows converts it.
TEST(Profile, ReadsTheEncodingsWindowsReads) {
    // The same lines in UTF-16 LE (each unit written as two bytes) and in UTF-8.
    const std::u16string lines = u"[Installation]\r\nBezeichnung=Gr\u00fc\u00dfe \u20ac\r\n"
                                 u"EXEFile1=\"Nach lauf.exe\" /q\r\n"
                                 u"fit=\u0100\u2002\uff21\r\nnone=\u65e5\U0001d11e\r\n";
    std::string le;
    std::string be;
    for (char16_t unit : lines) {
        le += {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
        be += {static_cast<char>(unit >> 8), static_cast<char>(unit & 0xFF)};
    }
    const std::string utf8 = "[Installation]\r\nBezeichnung=Gr\xC3\xBC\xC3\x9F"
                             "e \xE2\x82\xAC\r\nEXEFile1=\"Nach lauf.exe\" /q\r\n"
                             "fit=\xC4\x80\xE2\x80\x82\xEF\xBC\xA1\r\n"
                             "none=\xE6\x97\xA5\xF0\x9D\x84\x9E\r\n";
    const struct {
        const char* encoding;
        std::string bytes;
    } files[] = {
        {"UTF-16 LE", "\xFF\xFE" + le},
        {"UTF-16 BE", "\xFE\xFF" + be},
        {"UTF-8", "\xEF\xBB\xBF" + utf8},
    };
    TempFolder folder;
    for (const auto& f : files) {
        const std::string file = folder.File(std::string(f.encoding) + ".ini");
        WriteFile(file, f.bytes);
        EXPECT_EQ(platform::ReadProfileValue("installation", "BEZEICHNUNG", file), "Gr\xFC\xDF"
                                                                                   "e \x80")
            << f.encoding;
        EXPECT_EQ(platform::ReadProfileValue("Installation", "EXEFile1", file),
                  "\"Nach lauf.exe\" /q")
            << f.encoding;
        EXPECT_EQ(platform::ReadProfileValue("Installation", "fit", file), "A A") << f.encoding;
        EXPECT_EQ(platform::ReadProfileValue("Installation", "none", file), "???") << f.encoding;
    }
}

TEST(Profile, MissingFileReadsEmpty) {
    TempFolder folder;
    EXPECT_EQ(platform::ReadProfileValue("a", "k", folder.File("missing.ini")), "");
    EXPECT_EQ(platform::ReadProfileValue("a", "k", folder.File("sub")), "");
}

TEST(Profile, ChangedFileIsReadAgain) {
    TempFolder folder;
    const std::string file = folder.File("changing.ini");
    WriteFile(file, "[a]\r\nk=1\r\n");
    ASSERT_EQ(platform::ReadProfileValue("a", "k", file), "1");

    WriteFile(file, "[a]\r\nk=22\r\n");
    EXPECT_EQ(platform::ReadProfileValue("a", "k", file), "22") << "new size";

    // The same size: only the time tells the new content from the old.
    WriteFile(file, "[a]\r\nk=33\r\n");
    auto time = std::filesystem::last_write_time(file);
    std::filesystem::last_write_time(file, time + std::chrono::seconds(2));
    EXPECT_EQ(platform::ReadProfileValue("a", "k", file), "33") << "new time";

    // Replaced by another file of the same size and time.
    const std::string other = folder.File("other.ini");
    WriteFile(other, "[a]\r\nk=44\r\n");
    std::filesystem::last_write_time(other, std::filesystem::last_write_time(file));
    std::filesystem::rename(other, file);
    EXPECT_EQ(platform::ReadProfileValue("a", "k", file), "44") << "replaced";

    std::filesystem::remove(file);
    EXPECT_EQ(platform::ReadProfileValue("a", "k", file), "") << "removed";
}

// A profile beyond the bound reads as absent, every value empty; one at the bound is read. Sparse
// files make both cheap on disk.
TEST(Profile, FileAboveTheBoundReadsAsAbsent) {
    TempFolder folder;
    const std::string profile = folder.File("SETUP.INF");
    for (size_t size : {platform::kProfileFileLimit, platform::kProfileFileLimit + 1}) {
        WriteFile(profile, "[Installation]\r\nBezeichnung=Hotfix\r\n");
        std::filesystem::resize_file(profile, size);
        EXPECT_EQ(platform::ReadProfileValue("Installation", "Bezeichnung", profile),
                  size <= platform::kProfileFileLimit ? "Hotfix" : "")
            << size;
    }
}

#ifndef _WIN32
// 512 MiB that take 4 KiB on disk, read under a memory limit far below the file's length: the
// reader neither runs out of memory nor reads the file at all.
TEST(Profile, SparseGiantReadsAsAbsentUnderAMemoryLimit) {
    TempFolder folder;
    const std::string profile = folder.File("SETUP.INF");
    WriteFile(profile, "[Installation]\r\nBezeichnung=Hotfix\r\n");
    std::filesystem::resize_file(profile, size_t(512) << 20);
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        struct rlimit memory = {size_t(256) << 20, size_t(256) << 20};
        ::setrlimit(RLIMIT_AS, &memory);
        ::_exit(platform::ReadProfileValue("Installation", "Bezeichnung", profile).empty() ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

// A FIFO in the profile's place is refused at once, whether or not anyone holds its other end (a
// hang ends the test by the alarm); the profile that takes its place later is read.
TEST(Profile, FifoReadsAsAbsentAtOnce) {
    TempFolder folder;
    const std::string profile = folder.File("SETUP.INF");
    ASSERT_EQ(::mkfifo(profile.c_str(), 0666), 0);
    ::alarm(20);
    EXPECT_EQ(platform::ReadProfileValue("Installation", "Bezeichnung", profile), "");
    int writer = ::open(profile.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    EXPECT_EQ(platform::ReadProfileValue("Installation", "Bezeichnung", profile), "");
    ::alarm(0);
    ::close(writer);
    std::filesystem::remove(profile);
    WriteFile(profile, "[Installation]\r\nBezeichnung=Hotfix\r\n");
    EXPECT_EQ(platform::ReadProfileValue("Installation", "Bezeichnung", profile), "Hotfix");
}
#endif

TEST(Profile, BackslashesSeparateFoldersOnEveryTarget) {
    TempFolder folder;
    std::filesystem::create_directories(folder.path() / "sub");
    WriteFile(folder.File("sub/x.ini"), "[a]\r\nk=1\r\n");
    std::string path = folder.File("sub") + "\\x.ini";
    EXPECT_EQ(platform::ReadProfileValue("a", "k", path), "1");
}

// A name without a folder is looked for in the Windows directory: QUARNEL_WINDIR on POSIX, the
// prefix's own folder under Wine.
class ProfileInWindowsDirectory : public ::testing::Test {
protected:
    void SetUp() override {
#ifndef _WIN32
        ::setenv("QUARNEL_WINDIR", m_windows.path().string().c_str(), 1);
#endif
        m_name = "quarnel-profile-" + std::to_string(platform_test::ProcessId()) + ".ini";
        m_path = platform::WindowsFolder() + "/" + m_name;
        WriteFile(m_path, "[GENERAL-Directories]\r\nDataDir=/srv/daten\r\n");
        if (ReadFile(m_path).empty())
            GTEST_SKIP() << "the Windows directory is not writable";
    }
    void TearDown() override {
        std::error_code ignored;
        std::filesystem::remove(m_path, ignored);
#ifndef _WIN32
        ::unsetenv("QUARNEL_WINDIR");
#endif
    }

    TempFolder m_windows;
    std::string m_name;
    std::string m_path;
};

TEST_F(ProfileInWindowsDirectory, BareNameIsFoundThere) {
    EXPECT_EQ(platform::ReadProfileValue("general-directories", "DATADIR", m_name), "/srv/daten");
}

#ifndef _WIN32
TEST_F(ProfileInWindowsDirectory, NoWindowsDirectoryMeansNoFile) {
    ::unsetenv("QUARNEL_WINDIR");
    EXPECT_EQ(platform::ReadProfileValue("GENERAL-Directories", "DataDir", m_name), "");
    // Not the current folder either.
    std::filesystem::path current = std::filesystem::current_path();
    std::filesystem::current_path(m_windows.path());
    EXPECT_EQ(platform::ReadProfileValue("GENERAL-Directories", "DataDir", m_name), "");
    std::filesystem::current_path(current);
}
#endif

} // namespace
