// A module whose version block lies about its lengths reads as one without a usable version, on
// both backends; under Windows the block never reaches VerQueryValueA.
#include "platform/VersionInfo.h"
#include "platform_temp_folder.h"

#include "fixture_dir.h"
#include "tests/RequiredInputs.h"

#include <gtest/gtest.h>

namespace {

const std::string kFileVersion = "\\StringFileInfo\\040704b0\\FileVersion";

// Sets the 16-bit length in front of the version node whose key is `key`.
bool SetNodeLength(std::string& module, const std::u16string& key, uint16_t length) {
    std::string needle;
    for (char16_t c : key)
        needle += {static_cast<char>(c), static_cast<char>(c >> 8)};
    size_t at = module.find(needle);
    if (at == std::string::npos || at < 6)
        return false;
    module[at - 6] = static_cast<char>(length);
    module[at - 5] = static_cast<char>(length >> 8);
    return true;
}

TEST(LyingVersionBlock, ReadsAsNoVersion) {
    if (kFixtureDir.empty()) {
        if (quarnel_test::InputsRequired())
            FAIL() << "no PE fixtures in this build";
        GTEST_SKIP() << "no PE fixtures in this build";
    }
    const std::string original = platform_test::ReadFile(kFixtureDir + "de_5.0.10.0.dll");
    struct Case {
        const char* what;
        std::u16string key;
        uint16_t length;
    } cases[] = {
        {"root longer than the resource", u"VS_VERSION_INFO", 0xFFF0},
        {"string longer than its table", u"FileVersion", 0x7FF0},
        {"string table of length zero", u"040704b0", 0},
        {"string shorter than its header", u"FileVersion", 3},
    };
    platform_test::TempFolder folder;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string module = original;
        ASSERT_TRUE(SetNodeLength(module, c.key, c.length));
        const std::string path = folder.File("lying.dll");
        platform_test::WriteFile(path, module);
        platform::VersionData data;
        std::string text;
        EXPECT_FALSE(platform::LoadFileVersionInfo(path, data) &&
                     platform::QueryStringValue(data, kFileVersion, text));
    }
    platform::VersionData data;
    std::string text;
    platform_test::WriteFile(folder.File("honest.dll"), original);
    ASSERT_TRUE(platform::LoadFileVersionInfo(folder.File("honest.dll"), data));
    EXPECT_TRUE(platform::QueryStringValue(data, kFileVersion, text));
    EXPECT_EQ(text, "5.0.10.0");
}

} // namespace
