#include "resources/StringTable.h"
#include "resources_dialog_fixture.h"

#include <gtest/gtest.h>

namespace {

TEST(StringTable, LoadsByNumberFromItsBlock) {
    const resources::ResourceSet set = resources_fixture::SmallResources();
    struct Case {
        uint32_t id;
        std::optional<std::string> text;
    };
    const Case cases[] = {
        {1, "eins"}, // block 1, entry 1
        {17, "Gr\xF6\xDF"
             "e"},               // block 2, entry 1, converted to code page 1252
        {31, "ende"},            // block 2, last entry
        {0, std::nullopt},       // an empty entry is no string
        {2, std::nullopt},       // likewise, after a defined one
        {40, std::nullopt},      // no block 3
        {0x10000, std::nullopt}, // beyond the 16-bit numbers
    };
    for (const Case& c : cases)
        EXPECT_EQ(resources::LoadStringCp1252(set, c.id), c.text) << c.id;
    EXPECT_EQ(resources::LoadStringUtf16(set, 17), std::u16string(u"Gr\u00f6\u00dfe"));
}

TEST(StringTable, LanguageIsOptional) {
    const resources::ResourceSet set = resources_fixture::SmallResources();
    EXPECT_EQ(resources::LoadStringCp1252(set, 1, 0x0407), std::string("eins"));
    EXPECT_EQ(resources::LoadStringCp1252(set, 1, 0x0409), std::nullopt);
}

TEST(StringTable, MalformedBlocks) {
    // Entry 0 has 2 characters, entry 1 claims 5 but holds 1.
    const uint8_t block[] = {2, 0, 'a', 0, 'b', 0, 5, 0, 'c', 0};
    EXPECT_EQ(resources::StringFromBlock(block, sizeof block, 0), std::u16string(u"ab"));
    EXPECT_EQ(resources::StringFromBlock(block, sizeof block, 1), std::nullopt);
    EXPECT_EQ(resources::StringFromBlock(block, sizeof block, 2), std::nullopt);
    EXPECT_EQ(resources::StringFromBlock(block, sizeof block, 16), std::nullopt);
    EXPECT_EQ(resources::StringFromBlock(block, 1, 0), std::nullopt);
}

} // namespace
