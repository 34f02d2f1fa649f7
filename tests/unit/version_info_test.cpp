// The platform's version-resource functions over real modules: the POSIX readers natively, and
// version.dll when the same tests run under Wine.
#include "platform/VersionInfo.h"
#include "tests/RequiredInputs.h"

#include "fixture_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>

namespace {

std::string StringPath(uint16_t language, uint16_t codePage, const char* name) {
    char path[64];
    std::snprintf(path, sizeof path, "\\StringFileInfo\\%04x%04x\\%s", language, codePage, name);
    return path;
}

class VersionInfo : public ::testing::Test {
protected:
    void SetUp() override {
        if (kFixtureDir.empty()) {
            if (quarnel_test::InputsRequired())
                FAIL() << "no PE fixtures in this build";
            GTEST_SKIP() << "no PE fixtures in this build";
        }
    }
};

TEST_F(VersionInfo, FirstTranslationAndItsFileVersion) {
    struct Case {
        const char* file;
        uint16_t language;
        uint16_t codePage;
        const char* fileVersion;
    } cases[] = {
        {"de_5.0.10.0.dll", 0x0407, 1200, "5.0.10.0"},
        {"en_5.0.10.0.dll", 0x0409, 1200, "5.0.10.0"},
        {"de1252_5.0.10.0.dll", 0x0407, 1252, "5.0.10.0"},
        {"de_commas.dll", 0x0407, 1200, "5, 0, 1, 2"},
        {"de_10.20.300.4000.dll", 0x0407, 1200, "10.20.300.4000"},
        {"multi.dll", 0x0407, 1200, "5.1.2.0"},
        {"x86_de_5.0.10.0.dll", 0x0407, 1200, "5.0.10.0"},
        {"program_8.0.3.exe", 0x0407, 1200, "8.0.3"},
        {"x86_program_8.0.2.0.exe", 0x0407, 1200, "8.0.2.0"},
        // 16-bit modules, their resources aligned to 16, 512 and 1 bytes
        {"ne_de_3.10.0.103.dll", 0x0407, 1252, "3.10.0.103"},
        {"ne_en_2.1.exe", 0x0409, 1252, "2.1"},
        {"ne_de_unaligned.drv", 0x0407, 850, "1.0.0.7"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        platform::VersionData data;
        ASSERT_TRUE(platform::LoadFileVersionInfo(kFixtureDir + c.file, data));
        uint16_t language = 0;
        uint16_t codePage = 0;
        ASSERT_TRUE(platform::QueryTranslation(data, language, codePage));
        EXPECT_EQ(language, c.language);
        EXPECT_EQ(codePage, c.codePage);
        std::string text;
        EXPECT_TRUE(
            platform::QueryStringValue(data, StringPath(language, codePage, "FileVersion"), text));
        EXPECT_EQ(text, c.fileVersion);
    }
}

TEST_F(VersionInfo, OtherTranslationsAreReachableByTheirOwnPath) {
    platform::VersionData data;
    ASSERT_TRUE(platform::LoadFileVersionInfo(kFixtureDir + "multi.dll", data));
    std::string english;
    std::string french;
    EXPECT_TRUE(platform::QueryStringValue(data, StringPath(0x0409, 1200, "FileVersion"), english));
    EXPECT_TRUE(
        platform::QueryStringValue(data, StringPath(0x040C, 1252, "FileDescription"), french));
    EXPECT_EQ(english, "9.9.9.9");
    EXPECT_EQ(french, "Module de test, fran\xE7"
                      "ais");
}

// A 16-bit module's texts are 8-bit already and come back as stored; its string table is keyed
// in capitals, which a path matches in any case.
TEST_F(VersionInfo, SixteenBitTextComesBackAsStored) {
    platform::VersionData data;
    ASSERT_TRUE(platform::LoadFileVersionInfo(kFixtureDir + "ne_de_3.10.0.103.dll", data));
    std::string company;
    std::string comments = "unchanged";
    ASSERT_TRUE(platform::QueryStringValue(data, StringPath(0x0407, 1252, "CompanyName"), company));
    EXPECT_TRUE(platform::QueryStringValue(data, "\\STRINGFILEINFO\\040704E4\\Comments", comments));
    EXPECT_EQ(company, "Pr\xFC"
                       "fstand M\xFCller & S\xF6hne");
    EXPECT_EQ(comments, "");
}

TEST_F(VersionInfo, TextComesBackAsCodePage1252) {
    platform::VersionData data;
    ASSERT_TRUE(platform::LoadFileVersionInfo(kFixtureDir + "de_5.0.10.0.dll", data));
    std::string company;
    std::string trademarks;
    ASSERT_TRUE(platform::QueryStringValue(data, StringPath(0x0407, 1200, "CompanyName"), company));
    ASSERT_TRUE(
        platform::QueryStringValue(data, StringPath(0x0407, 1200, "LegalTrademarks"), trademarks));
    EXPECT_EQ(company, "Pr\xFC"
                       "fstand M\xFCller & S\xF6hne");
    EXPECT_EQ(trademarks, "?mega\x99");
}

// What is missing leaves the caller's values as they were.
TEST_F(VersionInfo, MissingPiecesReportFalse) {
    platform::VersionData data;
    for (const char* file :
         {"no_version.dll", "no_resources.dll", "ne_no_version.dll", "no such file.dll"})
        EXPECT_FALSE(platform::LoadFileVersionInfo(kFixtureDir + file, data)) << file;

    uint16_t language = 0xAAAA;
    uint16_t codePage = 0xBBBB;
    ASSERT_TRUE(platform::LoadFileVersionInfo(kFixtureDir + "no_translation.dll", data));
    EXPECT_FALSE(platform::QueryTranslation(data, language, codePage));
    EXPECT_EQ(language, 0xAAAA);
    EXPECT_EQ(codePage, 0xBBBB);

    std::string text = "unchanged";
    ASSERT_TRUE(platform::LoadFileVersionInfo(kFixtureDir + "no_fileversion.dll", data));
    EXPECT_FALSE(platform::QueryStringValue(data, StringPath(0x0407, 1200, "FileVersion"), text));
    EXPECT_FALSE(
        platform::QueryStringValue(data, StringPath(0x0409, 1200, "ProductVersion"), text));
    EXPECT_EQ(text, "unchanged");
}

TEST_F(VersionInfo, PlainFileHasNoVersion) {
    const std::string path = testing::TempDir() + "version_info_plain.txt";
    std::ofstream(path) << "MZ is not enough to make a program\r\n";
    platform::VersionData data;
    EXPECT_FALSE(platform::LoadFileVersionInfo(path, data));
    std::remove(path.c_str());
}

TEST_F(VersionInfo, BackslashesSeparateFolders) {
    std::string path = kFixtureDir + "de_5.0.9.0.dll";
    std::replace(path.begin(), path.end(), '/', '\\');
    platform::VersionData data;
    std::string text;
    ASSERT_TRUE(platform::LoadFileVersionInfo(path, data));
    EXPECT_TRUE(platform::QueryStringValue(data, StringPath(0x0407, 1200, "FileVersion"), text));
    EXPECT_EQ(text, "5.0.9.0");
}

} // namespace
