// A module whose version block lies about its lengths reads as one without a usable version, on
// both backends; under Windows the block never reaches VerQueryValueA. The same for the block of a
// 16-bit module, which VerQueryValueA walks in place.
#include "platform/VersionInfo.h"
#include "platform_temp_folder.h"

#include "fixture_dir.h"
#include "tests/RequiredInputs.h"

#include <gtest/gtest.h>

namespace {

// Sets the 16-bit length in front of the version node whose key is `key`: behind three words and
// in UTF-16 in a Win32 block, behind two words and in 8 bits in a 16-bit one. The last node of
// that key is the one: a 16-bit fixture stores decoy blocks ahead of its version resource.
bool SetNodeLength(std::string& module, const std::string& key, bool sixteenBit, uint16_t length) {
    std::string needle;
    for (char c : key)
        needle += sixteenBit ? std::string{c} : std::string{c, '\0'};
    const size_t header = sixteenBit ? 4 : 6;
    size_t at = module.rfind(needle);
    if (at == std::string::npos || at < header)
        return false;
    module[at - header] = static_cast<char>(length);
    module[at - header + 1] = static_cast<char>(length >> 8);
    return true;
}

TEST(LyingVersionBlock, ReadsAsNoVersion) {
    if (kFixtureDir.empty()) {
        if (quarnel_test::InputsRequired())
            FAIL() << "no PE fixtures in this build";
        GTEST_SKIP() << "no PE fixtures in this build";
    }
    struct Module {
        const char* file;
        bool sixteenBit;
        const char* table;
        const char* fileVersion;
    } modules[] = {
        {"de_5.0.10.0.dll", false, "040704b0", "5.0.10.0"},
        {"ne_de_3.10.0.103.dll", true, "040704E4", "3.10.0.103"},
    };
    struct Case {
        const char* what;
        std::string key; // empty: the string table's
        uint16_t length;
    } cases[] = {
        {"root longer than the resource", "VS_VERSION_INFO", 0xFFF0},
        {"string longer than its table", "FileVersion", 0x7FF0},
        {"string table of length zero", "", 0},
        {"string shorter than its header", "FileVersion", 3},
    };
    platform_test::TempFolder folder;
    for (const Module& m : modules) {
        SCOPED_TRACE(m.file);
        const std::string original = platform_test::ReadFile(kFixtureDir + m.file);
        const std::string path = std::string("\\StringFileInfo\\") + m.table + "\\FileVersion";
        for (const Case& c : cases) {
            SCOPED_TRACE(c.what);
            std::string module = original;
            ASSERT_TRUE(
                SetNodeLength(module, c.key.empty() ? m.table : c.key, m.sixteenBit, c.length));
            const std::string lying = folder.File("lying.dll");
            platform_test::WriteFile(lying, module);
            platform::VersionData data;
            std::string text;
            EXPECT_FALSE(platform::LoadFileVersionInfo(lying, data) &&
                         platform::QueryStringValue(data, path, text));
        }
        platform::VersionData data;
        std::string text;
        platform_test::WriteFile(folder.File("honest.dll"), original);
        ASSERT_TRUE(platform::LoadFileVersionInfo(folder.File("honest.dll"), data));
        EXPECT_TRUE(platform::QueryStringValue(data, path, text));
        EXPECT_EQ(text, m.fileVersion);
    }
}

} // namespace
