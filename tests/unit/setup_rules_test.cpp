// The setup's small rules: version comparisons, version text files, extensions, path shortening,
// the system classification.
#include "platform/PathDisplay.h"
#include "setup/config/FileText.h"
#include "setup/config/FolderPath.h"
#include "setup/config/VersionCompare.h"
#include "setup/engine/OsCode.h"
#include "setup/engine/ShortenPath.h"

#include <gtest/gtest.h>

namespace {

TEST(VersionCompare, RequiredVersionComparesTheShorterCount) {
    struct Case {
        const char* installed;
        const char* required;
        VersionCheck expected;
    };
    const Case cases[] = {
        {"8.0.2.0", "8.0.2", VersionCheck::Met},
        {"8.0.7.1", "8.0", VersionCheck::Met},
        {"8.0.3", "8.0.2", VersionCheck::InstalledNewer},
        {"8.0.1", "8.0.2", VersionCheck::InstalledOlder},
        {"7.9.9", "8.0.0", VersionCheck::InstalledOlder},
        {"8.0.10", "8.0.9", VersionCheck::InstalledNewer},
        {"08.0", "8.0", VersionCheck::Met},
        {"8.00.2", "8.0.2a", VersionCheck::Met},
        {"8, 0, 2, 0", "8.1", VersionCheck::Met}, // one component of value 8
        {"9, 0, 0, 0", "8.1", VersionCheck::InstalledNewer},
        {"1.0", "", VersionCheck::InstalledNewer}, // an empty requirement is one 0 component
        {"0.9", "", VersionCheck::Met},
        {" 8.\t0.2\r\n", "8.0.2", VersionCheck::Met}, // blanks before a number, line end after
        {"-1", "0", VersionCheck::InstalledOlder},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CompareWithRequired(c.installed, c.required), c.expected)
            << c.installed << " vs " << c.required;
}

TEST(VersionCompare, NewerComparesEveryComponentByValue) {
    struct Case {
        const char* a;
        const char* b;
        bool aIsNewer;
    };
    const Case cases[] = {
        {"5.0.10.0", "5.0.9.0", true},
        {"5.0.9.0", "5.0.10.0", false},
        {"1.2", "1.2.0.0", false},
        {"1.2.0.0", "1.2", false},
        {"1.2.0.1", "1.2", true},
        {"10.20.300.4000", "10.20.300.999", true},
        {"10.20.300.4000", "10.20.300.40000", false},
        {"99999999999999999999999", "1", true}, // clamped, not overflowing
    };
    for (const Case& c : cases)
        EXPECT_EQ(VersionIsNewer(c.a, c.b), c.aIsNewer) << c.a << " vs " << c.b;
}

// The same pairs through both comparisons: the replace question reads commas as separators, the
// required-version check splits at points only.
TEST(VersionCompare, CommasSeparateOnlyForTheReplaceQuestion) {
    struct Case {
        const char* a;
        const char* b;
        VersionCheck aAgainstRequiredB;
        bool aIsNewer;
    };
    const Case cases[] = {
        {"8, 0, 3, 0", "8, 0, 2, 0", VersionCheck::Met, true},
        {"8.0.3.0", "8, 0, 2, 0", VersionCheck::Met, true},
        {"8, 0, 2, 0", "8, 0, 10, 0", VersionCheck::Met, false},
        {"8, 0, 10, 0", "8, 0, 2, 0", VersionCheck::Met, true},
        {"8 ,0 , 3", "8.0.2", VersionCheck::Met, true}, // blanks on either side of a comma
        {"8,0,2,1", "8.0.2", VersionCheck::Met, true},
        {"8, 0, 2, 0", "8.1", VersionCheck::Met, false},
        {"8, 0, 2, 0", "8.0.2.0", VersionCheck::Met, false},
        {"9, 0", "8.1", VersionCheck::InstalledNewer, true},
        {"7, 9", "8.0", VersionCheck::InstalledOlder, false},
        {"8.0.2", "8.0.3", VersionCheck::InstalledOlder, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CompareWithRequired(c.a, c.b), c.aAgainstRequiredB) << c.a << " vs " << c.b;
        EXPECT_EQ(VersionIsNewer(c.a, c.b), c.aIsNewer) << c.a << " vs " << c.b;
    }
}

TEST(FileText, VersionTextIsTakenFromTheThirdLine) {
    struct Case {
        const char* content;
        const char* version;
    };
    const Case cases[] = {
        {"Stand\r\nHotfix\r\n8.0.2\r\n", "8.0.2\r\n"},
        {"Stand\r\n8.0.2", "8.0.2"},
        {"8.0.2", "8.0.2"},
        {"a\nb\nc\n", "c\n"}, // LF alone: each pass drops one line
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(VersionTextOf(c.content), c.version);
}

TEST(FileText, ExtensionOfTheLastComponent) {
    EXPECT_EQ(GetFileExtension("C:\\Programme\\Programm.Exe"), ".Exe");
    EXPECT_EQ(GetFileExtension("C:\\a.b\\Stand"), "");
    EXPECT_EQ(GetFileExtension("Stand.tar.inf"), ".inf");
    EXPECT_EQ(GetFileExtension("noext"), "");
}

// On Windows only the backslash separates folders; on POSIX "/" does as well.
TEST(FolderPath, SeparatorsOfTheTarget) {
#ifdef _WIN32
    const bool windows = true;
#else
    const bool windows = false;
#endif
    struct Case {
        const char* path;
        const char* folderOnWindows;
        const char* folderOnPosix;
        const char* nameOnWindows;
        const char* nameOnPosix;
    };
    const Case cases[] = {
        {"D:\\Daten", "D:\\Daten\\", "D:\\Daten\\", "Daten", "Daten"},
        {"D:\\Daten\\", "D:\\Daten\\", "D:\\Daten\\", "", ""},
        {"", "\\", "\\", "", ""},
        {"/srv/daten/", "/srv/daten/\\", "/srv/daten/", "/srv/daten/", ""},
        {"D:\\Paket\\Vorlagen/Brief.dot", "D:\\Paket\\Vorlagen/Brief.dot\\",
         "D:\\Paket\\Vorlagen/Brief.dot\\", "Vorlagen/Brief.dot", "Brief.dot"},
        {"Basis.dll", "Basis.dll\\", "Basis.dll\\", "Basis.dll", "Basis.dll"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(WithFinalBackslash(c.path), windows ? c.folderOnWindows : c.folderOnPosix)
            << c.path;
        EXPECT_EQ(FileNameOf(c.path), windows ? c.nameOnWindows : c.nameOnPosix) << c.path;
    }
    EXPECT_EQ(GetFileExtension("D:\\a.b/c"), windows ? ".b/c" : "");
}

TEST(ShortenPath, DropsOneFolderPerStepUntilItFits) {
    const std::string path = "C:\\Programme\\Host\\Client\\program\\Basis.dll";
    auto chars = [](const std::string& text) { return static_cast<long>(text.size()); };
    struct Case {
        long width;
        const char* shown;
    };
    const Case cases[] = {
        {100, "C:\\Programme\\Host\\Client\\program\\Basis.dll"},
        {40, "C:\\...\\Host\\Client\\program\\Basis.dll"},
        {31, "C:\\...\\Client\\program\\Basis.dll"},
        {24, "C:\\...\\program\\Basis.dll"},
        {16, "C:\\...\\Basis.dll"},
        {3, "C:\\...\\Basis.dll"}, // nothing left to drop: it ends there
    };
    for (const Case& c : cases)
        EXPECT_EQ(ShortenPathToWidth(path, 3, c.width, chars), c.shown) << c.width;
}

TEST(ShortenPath, EndsOnPathsWithoutFoldersToDrop) {
    auto chars = [](const std::string& text) { return static_cast<long>(text.size()); };
    EXPECT_EQ(ShortenPathToWidth("C:\\AVeryLongFileNameInTheRoot.dll", 3, 5, chars),
              "C:\\AVeryLongFileNameInTheRoot.dll");
    EXPECT_EQ(ShortenPathToWidth("\\\\server\\share\\x.dll", 3, 2, chars),
              "\\\\s...\\x.dll"); // shortened by the same rule, and still it ends
    EXPECT_EQ(ShortenPathToWidth("x", 3, 0, chars), "x");
    EXPECT_EQ(ShortenPathToWidth("/AVeryLongFileNameInTheRoot.dll", 1, 5, chars),
              "/AVeryLongFileNameInTheRoot.dll");
}

#ifndef _WIN32
// On POSIX the root "/" is what stays, and the path is shown with "/" only.
TEST(ShortenPath, PosixPathsKeepTheRoot) {
    const std::string shown =
        platform::DisplayPath("/tmp/quarnel/host/Daten\\Client\\program\\Basis.dll");
    auto chars = [](const std::string& text) { return static_cast<long>(text.size()); };
    const struct {
        long width;
        const char* shown;
    } cases[] = {
        {100, "/tmp/quarnel/host/Daten/Client/program/Basis.dll"},
        {47, "/.../host/Daten/Client/program/Basis.dll"},
        {39, "/.../Daten/Client/program/Basis.dll"},
        {24, "/.../program/Basis.dll"},
        {3, "/.../Basis.dll"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ShortenPathToWidth(shown, platform::DisplayRootLength(shown), c.width, chars),
                  c.shown)
            << c.width;
    EXPECT_EQ(platform::DisplayRootLength("relative/x.dll"), 0u);
}
#endif

TEST(OsCode, ClassifiesTheVersionRecord) {
    struct Case {
        platform::OsVersion version;
        int code;
    };
    const Case cases[] = {
        {{false, 2, 10, 0, 0}, 0},          {{true, 0, 5, 0, 0}, 0},
        {{true, 2, 4, 0, 1381}, 1},         {{true, 1, 4, 0, 950}, 2},
        {{true, 1, 4, 10, 0x040A0B0Au}, 3}, {{true, 1, 4, 90, 0x045A0BB8u}, 4},
        {{true, 2, 5, 0, 2195}, 5},         {{true, 2, 10, 0, 19045}, 5},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ClassifyOs(c.version), c.code);
    EXPECT_EQ(OsTag(0), nullptr);
    EXPECT_STREQ(OsTag(5), "WIN2K");
}

} // namespace
