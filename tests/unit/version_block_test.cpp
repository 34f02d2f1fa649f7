// Queries of version blocks built byte by byte: the path rules, the writers' differing length
// conventions, and blocks that lie about their lengths.
#include "resources/VersionBlock.h"

#include "tests/fixtures/VersionBlockBuilder.h"

#include <gtest/gtest.h>

using fixtures::BuildVersionBlock;
using fixtures::GroupNode;
using fixtures::StandardVersionRoot;
using fixtures::TextNode;
using fixtures::VersionNode;
using resources::ReadVersionString;

namespace {

std::vector<uint8_t> GermanBlock() {
    return BuildVersionBlock(
        StandardVersionRoot(0x0407, 1200,
                            {TextNode(u"CompanyName", u"M\u00FCller \u4E2D \u20AC"),
                             TextNode(u"FileVersion", u"5.0.10.0"), TextNode(u"Comments", u"")}));
}

std::optional<std::string> Query(const std::vector<uint8_t>& block, const std::string& path) {
    return ReadVersionString(block.data(), block.size(), path);
}

TEST(VersionBlockQuery, PathsMatchWithoutRegardToCase) {
    std::vector<uint8_t> block = GermanBlock();
    struct Case {
        const char* path;
        std::optional<std::string> text;
    } cases[] = {
        {"\\StringFileInfo\\040704b0\\FileVersion", "5.0.10.0"},
        {"\\STRINGFILEINFO\\040704B0\\fileversion", "5.0.10.0"},
        {"StringFileInfo\\040704b0\\FileVersion", "5.0.10.0"},
        {"\\StringFileInfo\\\\040704b0\\FileVersion\\", "5.0.10.0"},
        // UTF-16 comes back as code page 1252; what it cannot hold becomes '?'.
        {"\\StringFileInfo\\040704b0\\CompanyName", "M\xFCller ? \x80"},
        {"\\StringFileInfo\\040704b0\\FileVersio", std::nullopt},
        {"\\StringFileInfo\\040704b0\\FileVersionX", std::nullopt},
        {"\\StringFileInfo\\040904b0\\FileVersion", std::nullopt},
        {"\\VarFileInfo\\FileVersion", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Query(block, c.path), c.text) << c.path;
}

TEST(VersionBlockQuery, FixedPartAndTranslations) {
    std::vector<uint8_t> block = GermanBlock();
    std::optional<resources::FixedFileInfo> fixed =
        resources::ReadFixedFileInfo(block.data(), block.size());
    ASSERT_TRUE(fixed);
    EXPECT_EQ(fixed->fileVersionMs, 0x00050000u);
    EXPECT_EQ(fixed->fileVersionLs, 0x000A0000u);
    EXPECT_EQ(fixed->fileType, 2u);

    std::vector<resources::Translation> pairs =
        resources::ReadTranslations(block.data(), block.size());
    ASSERT_EQ(pairs.size(), 1u);
    EXPECT_EQ(pairs[0].language, 0x0407);
    EXPECT_EQ(pairs[0].codePage, 1200);
}

TEST(VersionBlockQuery, ReportedLengthZeroIsAbsentEvenWithText) {
    VersionNode empty = TextNode(u"FileVersion", u"5.0");
    empty.valueLength = 0;
    std::vector<uint8_t> block = BuildVersionBlock(StandardVersionRoot(0x0407, 1200, {empty}));
    EXPECT_EQ(Query(block, "\\StringFileInfo\\040704b0\\FileVersion"), std::nullopt);
    // An empty text that still counts its terminator is there, and empty.
    EXPECT_EQ(Query(GermanBlock(), "\\StringFileInfo\\040704b0\\Comments"), "");
}

// Writers disagree on wType and on what wValueLength counts; the text is the same in all of them.
TEST(VersionBlockQuery, WritersLengthConventions) {
    auto with = [](uint16_t type, uint16_t valueLength, bool terminated) {
        VersionNode node = TextNode(u"FileVersion", u"");
        node.type = type;
        node.value = fixtures::Utf16Bytes(u"8.0.2.0", terminated);
        node.valueLength = valueLength;
        return node;
    };
    struct Case {
        const char* convention;
        VersionNode node;
    } cases[] = {
        {"text, characters with terminator", with(1, 8, true)},
        {"text, characters without terminator", with(1, 7, true)},
        {"text, length in bytes", with(1, 16, true)},
        {"binary, length in bytes", with(0, 16, true)},
        {"text, unterminated at the node's end", with(1, 7, false)},
        {"text, length beyond the node", with(1, 0xFFFF, true)},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> block = BuildVersionBlock(
            StandardVersionRoot(0x0407, 1200, {c.node, TextNode(u"ProductVersion", u"8.0")}));
        EXPECT_EQ(Query(block, "\\StringFileInfo\\040704b0\\FileVersion"), "8.0.2.0")
            << c.convention;
        EXPECT_EQ(Query(block, "\\StringFileInfo\\040704b0\\ProductVersion"), "8.0")
            << c.convention;
    }
}

// An empty value written as a bare key, its node ending before the padding, hides no sibling.
TEST(VersionBlockQuery, BareKeyNodeBeforeASibling) {
    VersionNode bare = TextNode(u"Notes", u"");
    bare.value.clear();
    bare.length = static_cast<uint16_t>(6 + 2 * (bare.key.size() + 1));
    std::vector<uint8_t> block = BuildVersionBlock(
        StandardVersionRoot(0x0407, 1200, {bare, TextNode(u"FileVersion", u"8.0.2.0")}));
    EXPECT_EQ(Query(block, "\\StringFileInfo\\040704b0\\Notes"), std::nullopt);
    EXPECT_EQ(Query(block, "\\StringFileInfo\\040704b0\\FileVersion"), "8.0.2.0");
}

TEST(VersionBlockQuery, RootMarkedAsTextStillHasItsFixedPart) {
    VersionNode root = StandardVersionRoot(0x0407, 1200, {TextNode(u"FileVersion", u"1.2")});
    root.type = 1;
    root.valueLength = 52;
    std::vector<uint8_t> block = BuildVersionBlock(root);
    EXPECT_TRUE(resources::ReadFixedFileInfo(block.data(), block.size()));
    EXPECT_EQ(Query(block, "\\StringFileInfo\\040704b0\\FileVersion"), "1.2");
}

TEST(VersionBlockQuery, LyingLengthsAnswerNotThere) {
    auto blockWith = [](auto damage) {
        VersionNode root = StandardVersionRoot(0x0407, 1200, {TextNode(u"FileVersion", u"1.2")});
        damage(root);
        return BuildVersionBlock(root);
    };
    struct Case {
        const char* what;
        std::vector<uint8_t> block;
    } cases[] = {
        {"child shorter than its header",
         blockWith([](VersionNode& r) { r.children[0].length = 2; })},
        {"child of length zero", blockWith([](VersionNode& r) { r.children[0].length = 0; })},
        {"string table longer than its parent",
         blockWith([](VersionNode& r) { r.children[0].children[0].length = 0x4000; })},
        {"root shorter than its key", blockWith([](VersionNode& r) { r.length = 8; })},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Query(c.block, "\\StringFileInfo\\040704b0\\FileVersion"), std::nullopt)
            << c.what;
        EXPECT_TRUE(resources::ReadTranslations(c.block.data(), c.block.size()).size() <= 1)
            << c.what;
    }
}

// Cut anywhere, a block answers the whole value or nothing; never bytes beyond its end.
TEST(VersionBlockQuery, TruncatedBlocks) {
    std::vector<uint8_t> block = GermanBlock();
    for (size_t cut = 0; cut <= block.size(); ++cut) {
        std::vector<uint8_t> part(block.begin(), block.begin() + cut);
        std::optional<std::string> text = Query(part, "\\StringFileInfo\\040704b0\\FileVersion");
        EXPECT_TRUE(!text || *text == "5.0.10.0") << "cut at " << cut;
        EXPECT_LE(resources::ReadTranslations(part.data(), part.size()).size(), 1u);
    }
    EXPECT_EQ(Query({}, "\\"), std::nullopt);
}

} // namespace

namespace {

// What goes to the system's version API: every convention of real writers passes, every lie and
// every cut block is refused.
TEST(VersionBlockCheck, WritersPassLiesAndCutsFail) {
    auto blockWith = [](auto change) {
        VersionNode root = StandardVersionRoot(
            0x0407, 1200, {TextNode(u"FileVersion", u"1.2"), TextNode(u"ProductVersion", u"1.2")});
        change(root);
        return BuildVersionBlock(root);
    };
    auto fileVersion = [](VersionNode& r) -> VersionNode& {
        return r.children[0].children[0].children[0];
    };
    struct Case {
        const char* what;
        std::vector<uint8_t> block;
        bool wellFormed;
    } cases[] = {
        {"as written", blockWith([](VersionNode&) {}), true},
        {"text length in bytes", blockWith([&](VersionNode& r) { fileVersion(r).valueLength = 8; }),
         true},
        {"text length beyond the node",
         blockWith([&](VersionNode& r) { fileVersion(r).valueLength = 0xFFFF; }), true},
        {"text unterminated in its node", blockWith([&](VersionNode& r) {
             fileVersion(r).value = fixtures::Utf16Bytes(u"1.2", false);
             fileVersion(r).valueLength = 3;
         }),
         true},
        {"root marked as text", blockWith([](VersionNode& r) {
             r.type = 1;
             r.valueLength = 52;
         }),
         true},
        {"root longer than the block", blockWith([](VersionNode& r) { r.length = 0xFFF0; }), false},
        {"root shorter than its key", blockWith([](VersionNode& r) { r.length = 8; }), false},
        {"child shorter than its header",
         blockWith([](VersionNode& r) { r.children[0].length = 2; }), false},
        {"string longer than its table",
         blockWith([&](VersionNode& r) { fileVersion(r).length = 0x400; }), false},
        {"binary value beyond its node", blockWith([](VersionNode& r) {
             r.valueLength = 0x2000;
             r.type = 0;
         }),
         false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(resources::IsWellFormedVersionBlock(c.block.data(), c.block.size()), c.wellFormed)
            << c.what;

    std::vector<uint8_t> block = cases[0].block;
    for (size_t cut = 0; cut < block.size(); ++cut)
        EXPECT_FALSE(resources::IsWellFormedVersionBlock(block.data(), cut)) << "cut at " << cut;
    EXPECT_FALSE(resources::IsWellFormedVersionBlock(nullptr, 0));
}

} // namespace

namespace {

// The block of a 16-bit module: the same tree with 8-bit keys and texts and no wType. Its string
// table is keyed in capitals, as the 16-bit resource compilers wrote it.
std::vector<uint8_t> NarrowGermanBlock(
    std::vector<VersionNode> strings = {fixtures::NarrowTextNode(u"CompanyName", "M\xFCller \x80"),
                                        fixtures::NarrowTextNode(u"FileVersion", "3.10.0.103"),
                                        fixtures::NarrowTextNode(u"Comments", "")}) {
    VersionNode root = StandardVersionRoot(0x0407, 1252, std::move(strings));
    root.children[0].children[0].key = u"040704E4";
    return fixtures::BuildNarrowVersionBlock(root);
}

TEST(SixteenBitBlockQuery, PathsTextsAndLists) {
    std::vector<uint8_t> block = NarrowGermanBlock();
    EXPECT_TRUE(resources::IsSixteenBitVersionBlock(block.data(), block.size()));
    EXPECT_FALSE(resources::IsSixteenBitVersionBlock(GermanBlock().data(), GermanBlock().size()));
    struct Case {
        const char* path;
        std::optional<std::string> text;
    } cases[] = {
        {"\\StringFileInfo\\040704e4\\FileVersion", "3.10.0.103"},
        {"\\stringfileinfo\\040704E4\\FILEVERSION\\", "3.10.0.103"},
        // 8-bit texts come back as stored, in the module's code page.
        {"\\StringFileInfo\\040704e4\\CompanyName", "M\xFCller \x80"},
        {"\\StringFileInfo\\040704e4\\Comments", ""},
        {"\\StringFileInfo\\040704e4\\FileVersio", std::nullopt},
        {"\\StringFileInfo\\040704b0\\FileVersion", std::nullopt},
        {"\\VarFileInfo\\FileVersion", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Query(block, c.path), c.text) << c.path;

    std::optional<resources::FixedFileInfo> fixed =
        resources::ReadFixedFileInfo(block.data(), block.size());
    ASSERT_TRUE(fixed);
    EXPECT_EQ(fixed->fileVersionMs, 0x00050000u);
    std::vector<resources::Translation> pairs =
        resources::ReadTranslations(block.data(), block.size());
    ASSERT_EQ(pairs.size(), 1u);
    EXPECT_EQ(pairs[0].language, 0x0407);
    EXPECT_EQ(pairs[0].codePage, 1252);
    EXPECT_TRUE(resources::IsWellFormedVersionBlock(block.data(), block.size()));
}

// wValueLength counts bytes, with the terminator or without; 0 means absent. A length shorter
// than the text leaves the rest of it where a walk expects children: no block for the system.
TEST(SixteenBitBlockQuery, ValueLengths) {
    auto with = [](std::optional<uint16_t> valueLength) {
        VersionNode node = fixtures::NarrowTextNode(u"FileVersion", "8.0.2.0");
        node.valueLength = valueLength;
        return NarrowGermanBlock({node, fixtures::NarrowTextNode(u"ProductVersion", "8.0")});
    };
    struct Case {
        const char* convention;
        std::vector<uint8_t> block;
        std::optional<std::string> text;
        bool wellFormed;
    } cases[] = {
        {"bytes with terminator", with(std::nullopt), "8.0.2.0", true},
        {"bytes without terminator", with(7), "8.0.2.0", true},
        {"shorter than the text", with(3), "8.0", false},
        {"zero", with(0), std::nullopt, false},
        {"beyond the block", with(0x7FFF), "8.0.2.0", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Query(c.block, "\\StringFileInfo\\040704e4\\FileVersion"), c.text)
            << c.convention;
        EXPECT_EQ(Query(c.block, "\\StringFileInfo\\040704e4\\ProductVersion"), "8.0")
            << c.convention;
        EXPECT_EQ(resources::IsWellFormedVersionBlock(c.block.data(), c.block.size()), c.wellFormed)
            << c.convention;
    }
}

TEST(SixteenBitBlockQuery, LyingLengthsAndCuts) {
    auto blockWith = [](auto damage) {
        VersionNode root =
            StandardVersionRoot(0x0407, 1252, {fixtures::NarrowTextNode(u"FileVersion", "1.2")});
        damage(root);
        return fixtures::BuildNarrowVersionBlock(root);
    };
    struct Case {
        const char* what;
        std::vector<uint8_t> block;
    } cases[] = {
        {"child shorter than its header",
         blockWith([](VersionNode& r) { r.children[0].length = 3; })},
        {"child of length zero", blockWith([](VersionNode& r) { r.children[0].length = 0; })},
        {"string table longer than its parent",
         blockWith([](VersionNode& r) { r.children[0].children[0].length = 0x4000; })},
        {"root shorter than its key", blockWith([](VersionNode& r) { r.length = 10; })},
        {"key without terminator",
         blockWith([](VersionNode& r) { r.children[0].children[0].children[0].length = 14; })},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Query(c.block, "\\StringFileInfo\\040704e4\\FileVersion"), std::nullopt)
            << c.what;
        EXPECT_FALSE(resources::IsWellFormedVersionBlock(c.block.data(), c.block.size())) << c.what;
    }

    std::vector<uint8_t> block = NarrowGermanBlock();
    for (size_t cut = 0; cut < block.size(); ++cut) {
        std::vector<uint8_t> part(block.begin(), block.begin() + cut);
        std::optional<std::string> text = Query(part, "\\StringFileInfo\\040704e4\\FileVersion");
        EXPECT_TRUE(!text || *text == "3.10.0.103") << "cut at " << cut;
        EXPECT_LE(resources::ReadTranslations(part.data(), part.size()).size(), 1u);
        EXPECT_FALSE(resources::IsWellFormedVersionBlock(part.data(), part.size()))
            << "cut at " << cut;
    }
}

} // namespace
