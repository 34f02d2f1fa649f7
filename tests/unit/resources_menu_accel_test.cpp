// Menu templates and accelerator tables read from small hand-built images, including truncated
// and hostile ones.
#include "resources/AcceleratorTable.h"
#include "resources/MenuTemplate.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

using resources::Accelerator;
using resources::MenuItem;

struct Image {
    std::vector<uint8_t> bytes;
    Image& word(uint16_t w) {
        bytes.push_back(static_cast<uint8_t>(w & 0xFF));
        bytes.push_back(static_cast<uint8_t>(w >> 8));
        return *this;
    }
    Image& text(const char* s) {
        for (; *s; ++s)
            word(static_cast<uint8_t>(*s));
        return word(0);
    }
};

// "&File" { "Open" 100, separator, "Recent" { "One" 200 (checked, last) }, "E&xit" 300 (last) },
// "&Help" 400 (last)
Image SampleMenu() {
    Image m;
    m.word(0).word(0);
    m.word(resources::kMenuPopup).text("&File");
    m.word(0).word(100).text("Open");
    m.word(0).word(0).text("");
    m.word(resources::kMenuPopup).text("Recent");
    m.word(resources::kMenuChecked | resources::kMenuEnd).word(200).text("One");
    m.word(resources::kMenuEnd).word(300).text("E&xit");
    m.word(resources::kMenuEnd).word(400).text("&Help");
    return m;
}

TEST(MenuTemplate, ReadsTheTreeWithFlagsCommandsAndSeparators) {
    Image m = SampleMenu();
    auto menu = resources::ParseMenuTemplate(m.bytes.data(), m.bytes.size());
    ASSERT_TRUE(menu);
    ASSERT_EQ(menu->size(), 2u);
    const MenuItem& file = (*menu)[0];
    EXPECT_TRUE(file.isPopup());
    EXPECT_EQ(file.text, u"&File");
    ASSERT_EQ(file.children.size(), 4u);
    EXPECT_EQ(file.children[0].command, 100);
    EXPECT_TRUE(file.children[1].isSeparator());
    ASSERT_EQ(file.children[2].children.size(), 1u);
    EXPECT_EQ(file.children[2].children[0].flags, resources::kMenuChecked);
    EXPECT_EQ(file.children[3].text, u"E&xit");
    EXPECT_EQ(file.children[3].flags, 0) << "the end marker is not part of the item's flags";
    EXPECT_FALSE((*menu)[1].isPopup());
    EXPECT_EQ((*menu)[1].command, 400);
}

TEST(MenuTemplate, RejectsEveryTruncationAndAForeignHeader) {
    Image m = SampleMenu();
    for (size_t size = 0; size < m.bytes.size(); ++size)
        EXPECT_FALSE(resources::ParseMenuTemplate(m.bytes.data(), size)) << "cut at " << size;
    Image extended = m;
    extended.bytes[0] = 1; // version 1 is the extended form
    EXPECT_FALSE(resources::ParseMenuTemplate(extended.bytes.data(), extended.bytes.size()));
}

TEST(MenuTemplate, RejectsPopupsNestedBeyondTheLimit) {
    Image m;
    m.word(0).word(0);
    for (int i = 0; i < 1000; ++i)
        m.word(resources::kMenuPopup | resources::kMenuEnd).text("x");
    m.word(resources::kMenuEnd).word(1).text("leaf");
    EXPECT_FALSE(resources::ParseMenuTemplate(m.bytes.data(), m.bytes.size()));
}

TEST(AcceleratorTable, ReadsEntriesUpToTheLastFlag) {
    Image t;
    t.word(resources::kAccelVirtKey | resources::kAccelControl).word('C').word(57634).word(0);
    t.word(resources::kAccelVirtKey | resources::kAccelLast).word(0x75).word(57680).word(0);
    t.word(0x01).word('Z').word(1).word(0); // after the last entry: ignored
    auto table = resources::ParseAcceleratorTable(t.bytes.data(), t.bytes.size());
    ASSERT_TRUE(table);
    const std::vector<Accelerator> expected = {
        {resources::kAccelVirtKey | resources::kAccelControl, 'C', 57634},
        {resources::kAccelVirtKey, 0x75, 57680},
    };
    EXPECT_EQ(*table, expected);
}

TEST(AcceleratorTable, RejectsATableWithoutItsLastEntry) {
    Image t;
    t.word(resources::kAccelVirtKey).word('C').word(57634).word(0);
    EXPECT_FALSE(resources::ParseAcceleratorTable(t.bytes.data(), t.bytes.size()));
    EXPECT_FALSE(resources::ParseAcceleratorTable(t.bytes.data(), 5));
    EXPECT_FALSE(resources::ParseAcceleratorTable(nullptr, 0));
}

} // namespace
