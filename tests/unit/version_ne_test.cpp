// 16-bit modules (NE): the version resource found through the resource table, in the fixtures
// that make_ne_module.py lays out and in damaged copies of them.
#include "resources/NeImage.h"
#include "resources/VersionBlock.h"

#include "platform/VersionInfo.h"
#include "platform_temp_folder.h"
#include "tests/RequiredInputs.h"

#include "fixture_dir.h"

#include <gtest/gtest.h>

#include <functional>

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace {

using Module = std::vector<uint8_t>;

const char kFixture[] = "ne_de_3.10.0.103.dll";
const std::string kFileVersion = "\\StringFileInfo\\040704e4\\FileVersion";

uint16_t Get16(const Module& m, size_t at) {
    return static_cast<uint16_t>(m.at(at) | (m.at(at + 1) << 8));
}

void Put16(Module& m, size_t at, uint16_t value) {
    m.at(at) = static_cast<uint8_t>(value);
    m.at(at + 1) = static_cast<uint8_t>(value >> 8);
}

// Where the fixture keeps what the damage below aims at. The NE header lies at e_lfanew; its
// word at 0x24 places the resource table, the one at 0x26 the resident-name table that ends it.
// The generator writes the table as: the alignment shift, then QUARNEL (one resource), RT_STRING
// (one), RT_VERSION (number 2, then number 1), each type 8 bytes and each resource 12.
struct Layout {
    size_t ne = 0;
    size_t table = 0;
    size_t stringType() const { return table + 2 + 20; }
    size_t versionType() const { return stringType() + 20; }
    size_t versionEntry() const { return versionType() + 8 + 12; } // number 1
};

Layout LayoutOf(const Module& m) {
    Layout layout;
    layout.ne = Get16(m, 0x3C);
    layout.table = layout.ne + Get16(m, layout.ne + 0x24);
    return layout;
}

std::optional<std::string> FileVersionOf(const Module& m) {
    std::optional<Module> block = resources::ReadNeVersionResource(m.data(), m.size());
    if (!block)
        return std::nullopt;
    return resources::ReadVersionString(block->data(), block->size(), kFileVersion);
}

class NeModule : public ::testing::Test {
protected:
    void SetUp() override {
        std::string bytes = platform_test::ReadFile(kFixtureDir + kFixture);
        if (kFixtureDir.empty() || bytes.empty()) {
            if (quarnel_test::InputsRequired())
                FAIL() << "no NE fixtures in this build";
            GTEST_SKIP() << "no NE fixtures in this build";
        }
        module_.assign(bytes.begin(), bytes.end());
        layout_ = LayoutOf(module_);
    }

    Module module_;
    Layout layout_;
};

TEST_F(NeModule, VersionResourceNumberOneAsStored) {
    std::optional<Module> fromBuffer =
        resources::ReadNeVersionResource(module_.data(), module_.size());
    std::optional<Module> fromFile = resources::ReadNeVersionResource(kFixtureDir + kFixture);
    ASSERT_TRUE(fromBuffer);
    ASSERT_TRUE(fromFile);
    EXPECT_EQ(*fromBuffer, *fromFile);
    EXPECT_TRUE(resources::IsSixteenBitVersionBlock(fromFile->data(), fromFile->size()));
    // The named type and RT_VERSION number 2 stored ahead of it hold 9.9.9.9.
    EXPECT_EQ(FileVersionOf(module_), "3.10.0.103");

    // The block's padding to the alignment unit may be missing at the end of the file.
    size_t start = size_t(Get16(module_, layout_.versionEntry())) << Get16(module_, layout_.table);
    Module cut(module_.begin(), module_.begin() + start + Get16(module_, start));
    ASSERT_LT(cut.size(), module_.size());
    EXPECT_EQ(FileVersionOf(cut), "3.10.0.103");
}

// A table that lies gives nothing (or, where only the padding is misstated, the block itself),
// and never bytes from outside the file.
TEST_F(NeModule, DamagedHeadersAndTables) {
    const Layout l = layout_;
    struct Case {
        const char* what;
        std::function<void(Module&)> damage;
        std::optional<std::string> fileVersion;
    } cases[] = {
        {"as written", [](Module&) {}, "3.10.0.103"},
        {"not MZ", [](Module& m) { m[0] = 'Z'; }, std::nullopt},
        {"not NE", [&](Module& m) { m[l.ne] = 'L'; }, std::nullopt},
        {"NE header beyond the file", [](Module& m) { Put16(m, 0x3C, 0xFFF0); }, std::nullopt},
        {"resource table beyond the file",
         [&](Module& m) {
             Put16(m, l.ne + 0x24, 0xFF00);
             Put16(m, l.ne + 0x26, 0xFFF0);
         },
         std::nullopt},
        {"resource table of no length",
         [&](Module& m) { Put16(m, l.ne + 0x26, Get16(m, l.ne + 0x24)); }, std::nullopt},
        {"table ending inside the version type",
         [&](Module& m) { Put16(m, l.ne + 0x26, uint16_t(l.versionEntry() - l.ne)); },
         std::nullopt},
        {"list ended before RT_VERSION", [&](Module& m) { Put16(m, l.stringType(), 0); },
         std::nullopt},
        {"type count running past the table",
         [&](Module& m) { Put16(m, l.stringType() + 2, 0x7FFF); }, std::nullopt},
        {"only other numbers", [&](Module& m) { Put16(m, l.versionEntry() + 6, 0x8003); },
         std::nullopt},
        {"version named, not numbered", [&](Module& m) { Put16(m, l.versionEntry() + 6, 0x0001); },
         std::nullopt},
        {"shift of 32", [&](Module& m) { Put16(m, l.table, 32); }, std::nullopt},
        {"shift beyond the file", [&](Module& m) { Put16(m, l.table, 31); }, std::nullopt},
        {"offset beyond the file", [&](Module& m) { Put16(m, l.versionEntry(), 0xFFFF); },
         std::nullopt},
        {"length of zero", [&](Module& m) { Put16(m, l.versionEntry() + 2, 0); }, std::nullopt},
        {"length beyond the file", [&](Module& m) { Put16(m, l.versionEntry() + 2, 0xFFFF); },
         "3.10.0.103"},
        {"length beyond what a block can take",
         [&](Module& m) {
             Put16(m, l.versionEntry() + 2, 0xFFFF);
             m.resize(m.size() + (1u << 20));
         },
         "3.10.0.103"},
    };
    for (const Case& c : cases) {
        Module m = module_;
        c.damage(m);
        EXPECT_EQ(FileVersionOf(m), c.fileVersion) << c.what;
        std::optional<Module> block = resources::ReadNeVersionResource(m.data(), m.size());
        EXPECT_TRUE(!block || block->size() <= 0xFFFF + 3) << c.what;
    }
}

// Cut anywhere, a module answers its whole version or nothing.
TEST_F(NeModule, TruncatedModules) {
    for (size_t cut = 0; cut < module_.size(); ++cut) {
        Module part(module_.begin(), module_.begin() + cut);
        std::optional<std::string> text = FileVersionOf(part);
        EXPECT_TRUE(!text || *text == "3.10.0.103") << "cut at " << cut;
    }
    EXPECT_FALSE(resources::ReadNeVersionResource(nullptr, 0));
    EXPECT_FALSE(resources::ReadNeVersionResource(kFixtureDir + "no such module.dll"));
}

#ifndef _WIN32
// A FIFO where a module is expected is refused by its type at once, whoever holds its other end.
TEST_F(NeModule, FifoIsNoModule) {
    platform_test::TempFolder folder;
    const std::string fifo = folder.File("fifo.dll");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0666), 0);
    EXPECT_FALSE(resources::ReadNeVersionResource(fifo));
    platform::VersionData data;
    EXPECT_FALSE(platform::LoadFileVersionInfo(fifo, data));
}
#endif

} // namespace
