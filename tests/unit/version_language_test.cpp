// Display names of language identifiers, as the setup's language question shows them.
#include "platform/VersionInfo.h"

#include <gtest/gtest.h>

namespace {

#ifndef _WIN32
// The POSIX table speaks German, as VerLanguageNameA does on a German system.
TEST(LanguageName, GermanNamesOfCommonLanguages) {
    struct Case {
        uint16_t id;
        const char* name;
    } cases[] = {
        {0x0000, "Sprachneutral"},
        {0x0407, "Deutsch (Deutschland)"},
        {0x0C07, "Deutsch (\xD6sterreich)"},
        {0x0409, "Englisch (USA)"},
        {0x0809, "Englisch (Gro\xDF"
                 "britannien)"},
        {0x040C, "Franz\xF6sisch (Frankreich)"},
        {0x0411, "Japanisch (Japan)"},
        {0x0804, "Chinesisch (VR China)"},
        // A sublanguage the table does not know still names its language; an unknown language
        // names its number.
        {0x4C07, "Deutsch"},
        {0x0400, "Sprachneutral"},
        {0x03FE, "Sprache 0x03FE"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(platform::LanguageName(c.id), c.name) << std::hex << c.id;
}

TEST(LanguageName, NoIdentifierIsLeftWithoutAName) {
    for (uint32_t id = 0; id <= 0xFFFF; ++id)
        ASSERT_FALSE(platform::LanguageName(static_cast<uint16_t>(id)).empty()) << std::hex << id;
}
#endif

TEST(LanguageName, KnownLanguagesHaveDistinctNames) {
    for (uint16_t id : {0x0407, 0x0409, 0x040C, 0x0411})
        EXPECT_FALSE(platform::LanguageName(id).empty()) << std::hex << id;
    EXPECT_NE(platform::LanguageName(0x0407), platform::LanguageName(0x0409));
}

} // namespace
