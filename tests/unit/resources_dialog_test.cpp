#include "resources/DialogTemplate.h"
#include "resources_dialog_fixture.h"

#include <gtest/gtest.h>

namespace {

using resources::DialogTemplate;

std::vector<uint8_t> DialogData(uint16_t number) {
    static const resources::ResourceSet set = resources_fixture::SmallResources();
    const resources::ResourceEntry* entry = set.Find(resources::kTypeDialog, number);
    return entry != nullptr ? entry->data : std::vector<uint8_t>{};
}

std::optional<DialogTemplate> Parse(const std::vector<uint8_t>& data) {
    return resources::ParseDialogTemplate(data.data(), data.size());
}

TEST(DialogTemplate, ExtendedHeaderAndFont) {
    std::optional<DialogTemplate> d = Parse(DialogData(10));
    ASSERT_TRUE(d);
    EXPECT_TRUE(d->extended);
    EXPECT_EQ(d->style, 0x80C800C0u);
    EXPECT_EQ(d->exStyle, 0x80u);
    EXPECT_EQ((std::vector<int>{d->x, d->y, d->cx, d->cy}), (std::vector<int>{0, 0, 200, 100}));
    EXPECT_FALSE(d->menu.present);
    EXPECT_FALSE(d->windowClass.present);
    EXPECT_EQ(d->caption, u"Pr\u00fcfung");
    ASSERT_TRUE(d->hasFont);
    EXPECT_EQ(d->pointSize, 9);
    EXPECT_EQ(d->weight, 700);
    EXPECT_EQ(d->italic, 1);
    EXPECT_EQ(d->charset, 0xEE);
    EXPECT_EQ(d->face, u"Arial");
}

struct ControlCase {
    int id;
    std::u16string className;
    uint16_t atom;
    std::u16string text;
    uint16_t textOrdinal;
    uint32_t style;
    uint32_t exStyle;
    uint32_t helpId;
    int x, y, cx, cy;
};

TEST(DialogTemplate, ExtendedControlsInTemplateOrder) {
    const ControlCase cases[] = {
        // The resource compiler stores class names in capitals; window classes ignore case.
        {100, u"STATIC", 0x82, u"Kopf", 0, 0x50020000, 0x20, 77, 4, 5, 150, 20},
        {101, u"STATIC", 0x82, u"", 140, 0x40000003, 0, 0, 160, 5, 0, 0}, // ICON keeps no size
        {102, u"MSCTLS_PROGRESS32", 0, u"Progress1", 0, 0x40000000, 0, 0, 4, 60, 190, 10},
        {1, u"BUTTON", 0x80, u"&Los", 0, 0x50010001, 0, 0, 90, 80, 50, 12},
        {2, u"BUTTON", 0x80, u"&Abbrechen", 0, 0x50010000, 0, 0, 145, 80, 50, 12},
    };
    std::optional<DialogTemplate> d = Parse(DialogData(10));
    ASSERT_TRUE(d);
    ASSERT_EQ(d->controls.size(), std::size(cases));
    for (size_t i = 0; i < std::size(cases); ++i) {
        const ControlCase& want = cases[i];
        const resources::DialogControl& c = d->controls[i];
        SCOPED_TRACE(want.id);
        EXPECT_EQ(c.controlId(), want.id);
        EXPECT_EQ(c.className, want.className);
        EXPECT_EQ(c.classAtom, want.atom);
        EXPECT_EQ(c.text.isOrdinal, want.textOrdinal != 0);
        EXPECT_EQ(c.text.isOrdinal ? c.text.ordinal : 0, want.textOrdinal);
        EXPECT_EQ(c.text.text, want.text);
        EXPECT_EQ(c.style, want.style);
        EXPECT_EQ(c.exStyle, want.exStyle);
        EXPECT_EQ(c.helpId, want.helpId);
        EXPECT_EQ((std::vector<int>{c.x, c.y, c.cx, c.cy}),
                  (std::vector<int>{want.x, want.y, want.cx, want.cy}));
        EXPECT_TRUE(c.creationData.empty());
    }
}

TEST(DialogTemplate, ClassicTemplate) {
    std::optional<DialogTemplate> d = Parse(DialogData(11));
    ASSERT_TRUE(d);
    EXPECT_FALSE(d->extended);
    EXPECT_EQ(d->style & resources::kDsCenter, resources::kDsCenter);
    EXPECT_EQ((std::vector<int>{d->x, d->y, d->cx, d->cy}), (std::vector<int>{10, 20, 120, 60}));
    EXPECT_EQ(d->caption, u"Alt");
    EXPECT_EQ(d->pointSize, 8);
    EXPECT_EQ(d->weight, 0);
    EXPECT_EQ(d->face, u"MS Sans Serif");
    ASSERT_EQ(d->controls.size(), 2u);
    EXPECT_EQ(d->controls[0].className, u"EDIT");
    EXPECT_EQ(d->controls[0].controlId(), 200);
    // A 16-bit id of 0xFFFF is "no id", the same as -1 in the script.
    EXPECT_EQ(d->controls[1].id, 0xFFFFu);
    EXPECT_EQ(d->controls[1].controlId(), -1);
    EXPECT_EQ(d->controls[1].className, u"STATIC");
    EXPECT_TRUE(d->controls[1].text.isOrdinal);
    EXPECT_EQ(d->controls[1].text.ordinal, 145);
}

TEST(DialogTemplate, WithoutFontOrControls) {
    std::optional<DialogTemplate> d = Parse(DialogData(12));
    ASSERT_TRUE(d);
    EXPECT_FALSE(d->hasFont);
    EXPECT_TRUE(d->face.empty());
    EXPECT_TRUE(d->controls.empty());
}

TEST(DialogTemplate, EveryTruncationIsRejected) {
    for (uint16_t number : {10, 11, 12}) {
        std::vector<uint8_t> data = DialogData(number);
        ASSERT_FALSE(data.empty());
        for (size_t length = 0; length < data.size(); ++length) {
            std::vector<uint8_t> cut(data.begin(), data.begin() + length);
            EXPECT_FALSE(Parse(cut)) << "dialog " << number << " cut at " << length;
        }
    }
}

TEST(DialogTemplate, MalformedFieldsAreRejected) {
    std::vector<uint8_t> data = DialogData(10);
    // The control count (offset 16 of an extended header) promises more items than there are.
    std::vector<uint8_t> tooMany = data;
    tooMany[16] = 0xFF;
    EXPECT_FALSE(Parse(tooMany));
    // The last control ends with its creation-data length, here made to run past the end.
    std::vector<uint8_t> longExtra = data;
    longExtra[data.size() - 2] = 0x40;
    EXPECT_FALSE(Parse(longExtra));
}

} // namespace
