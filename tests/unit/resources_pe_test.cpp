// Reading the resource directory of PE images: real modules made by the MinGW toolchain, and
// damaged copies of them made here.
#include "resources/PeImage.h"
#include "tests/RequiredInputs.h"

#include "fixture_dir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#ifndef _WIN32
#include <cstdio>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

using resources::ReadPeResources;
using resources::ResId;
using resources::ResourceSet;

namespace {

std::vector<uint8_t> LoadFixture(const std::string& name) {
    std::ifstream in(kFixtureDir + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

uint32_t GetU32(const std::vector<uint8_t>& b, size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | uint32_t(b[at + 3]) << 24;
}

void PutU32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

void PutU16(std::vector<uint8_t>& b, size_t at, uint16_t v) {
    b[at] = static_cast<uint8_t>(v);
    b[at + 1] = static_cast<uint8_t>(v >> 8);
}

// File offsets of the structures the damage cases aim at, found the way a loader finds them.
struct Landmarks {
    size_t pe = 0;             // "PE\0\0"
    size_t optionalHeader = 0; // its magic
    size_t resourceEntry = 0;  // the resource directory's RVA in the data directories
    size_t sectionTable = 0;
    size_t resourceSection = 0; // its section header
    size_t root = 0;            // the resource directory's root
};

Landmarks Locate(const std::vector<uint8_t>& image) {
    Landmarks m;
    m.pe = GetU32(image, 0x3C);
    m.optionalHeader = m.pe + 24;
    bool plus = image[m.optionalHeader] == 0x0B && image[m.optionalHeader + 1] == 0x02;
    m.resourceEntry = m.optionalHeader + (plus ? 112 : 96) + 2 * 8;
    uint16_t optionalSize = image[m.pe + 20] | image[m.pe + 21] << 8;
    m.sectionTable = m.optionalHeader + optionalSize;
    uint16_t sections = image[m.pe + 6] | image[m.pe + 7] << 8;
    uint32_t rva = GetU32(image, m.resourceEntry);
    for (uint16_t i = 0; i < sections; ++i) {
        size_t header = m.sectionTable + 40 * i;
        uint32_t va = GetU32(image, header + 12);
        if (rva >= va && rva < va + GetU32(image, header + 16)) {
            m.resourceSection = header;
            m.root = GetU32(image, header + 20) + (rva - va);
        }
    }
    return m;
}

class PeFixture : public ::testing::Test {
protected:
    void SetUp() override {
        if (kFixtureDir.empty()) {
            if (quarnel_test::InputsRequired())
                FAIL() << "no PE fixtures in this build";
            GTEST_SKIP() << "no PE fixtures in this build";
        }
    }
};

using PeResources = PeFixture;

TEST_F(PeResources, VersionResourceOfBothImageKinds) {
    struct Case {
        const char* file;
        uint16_t language;
    } cases[] = {
        {"de_5.0.10.0.dll", 0x0407},         {"en_5.0.10.0.dll", 0x0409},
        {"x86_de_5.0.10.0.dll", 0x0407},     {"program_8.0.2.0.exe", 0x0407},
        {"x86_program_8.0.2.0.exe", 0x0407},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        std::optional<ResourceSet> set = ReadPeResources(kFixtureDir + c.file);
        ASSERT_TRUE(set);
        ASSERT_EQ(set->entries.size(), 1u);
        const resources::ResourceEntry* version = resources::FindVersionResource(*set);
        ASSERT_NE(version, nullptr);
        EXPECT_EQ(version->language, c.language);
        // The block starts with its own length and the key VS_VERSION_INFO.
        ASSERT_GE(version->data.size(), 40u);
        EXPECT_EQ(version->data[0] | version->data[1] << 8, int(version->data.size()));
        EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(&version->data[6]), 15),
                  u"VS_VERSION_INFO");
    }
}

TEST_F(PeResources, NamesTypesAndLanguagesAsStored) {
    std::optional<ResourceSet> set = ReadPeResources(kFixtureDir + "no_version.dll");
    ASSERT_TRUE(set);
    EXPECT_EQ(resources::FindVersionResource(*set), nullptr);

    auto find = [&](const ResId& type, const ResId& name, uint16_t language) {
        for (const auto& e : set->entries)
            if (e.type == type && e.name == name && e.language == language)
                return std::string(e.data.begin(), e.data.end());
        return std::string("(missing)");
    };
    using namespace std::string_literals;
    EXPECT_EQ(find(ResId::Number(10), ResId::Number(7), 0x0407), "deutsch\0"s);
    EXPECT_EQ(find(ResId::Number(10), ResId::Number(7), 0x0409), "english\0"s);
    EXPECT_EQ(find(ResId::Number(10), ResId::Name(u"HELLO"), 0x0407), "named\0"s);
    EXPECT_EQ(find(ResId::Name(u"CUSTOM"), ResId::Number(9), 0x0407), "custom type\0"s);
    EXPECT_NE(set->Find(resources::kTypeString, 1, 0x0407), nullptr);
}

// Among several languages the German system's loader takes German before English, and German
// without region when there is no German (Germany); without either, the first one stored.
TEST_F(PeResources, VersionLanguageChosenAsOnAGermanSystem) {
    std::optional<ResourceSet> set = ReadPeResources(kFixtureDir + "languages.dll");
    ASSERT_TRUE(set);
    ASSERT_EQ(set->OfType(resources::kTypeVersion).size(), 3u);
    ASSERT_NE(resources::FindVersionResource(*set), nullptr);
    EXPECT_EQ(resources::FindVersionResource(*set)->language, 0x0007);

    struct Case {
        std::vector<uint16_t> stored;
        uint16_t chosen;
    } cases[] = {
        {{0x0001, 0x0407, 0x0409}, 0x0407},
        {{0x0000, 0x0407}, 0x0000},
        {{0x0001, 0x0009, 0x0409}, 0x0409},
        {{0x0001, 0x0009, 0x0807}, 0x0001},
    };
    for (const Case& c : cases) {
        ResourceSet languages;
        for (uint16_t language : c.stored)
            languages.entries.push_back({ResId::Number(16), ResId::Number(1), language, {1}});
        const resources::ResourceEntry* chosen = resources::FindVersionResource(languages);
        ASSERT_NE(chosen, nullptr);
        EXPECT_EQ(chosen->language, c.chosen) << std::hex << c.chosen;
    }
}

TEST_F(PeResources, ImageWithoutResourcesGivesAnEmptySet) {
    std::optional<ResourceSet> set = ReadPeResources(kFixtureDir + "no_resources.dll");
    ASSERT_TRUE(set);
    EXPECT_TRUE(set->entries.empty());
}

TEST_F(PeResources, BufferAndFileReadTheSame) {
    for (const char* file : {"multi.dll", "x86_de_5.0.10.0.dll", "no_version.dll"}) {
        SCOPED_TRACE(file);
        std::vector<uint8_t> image = LoadFixture(file);
        std::optional<ResourceSet> fromFile = ReadPeResources(kFixtureDir + file);
        std::optional<ResourceSet> fromBuffer = ReadPeResources(image.data(), image.size());
        ASSERT_TRUE(fromFile && fromBuffer);
        ASSERT_EQ(fromFile->entries.size(), fromBuffer->entries.size());
        for (size_t i = 0; i < fromFile->entries.size(); ++i)
            EXPECT_EQ(fromFile->entries[i].data, fromBuffer->entries[i].data);
    }
}

TEST(PeResourcesInput, WhatIsNoImageReadsAsNothing) {
    const std::string text = "MZ but nothing after it";
    std::vector<uint8_t> mzOnly(text.begin(), text.end());
    std::vector<uint8_t> zeros(4096, 0);
    EXPECT_FALSE(ReadPeResources(nullptr, 0));
    EXPECT_FALSE(ReadPeResources(mzOnly.data(), mzOnly.size()));
    EXPECT_FALSE(ReadPeResources(zeros.data(), zeros.size()));
    EXPECT_FALSE(ReadPeResources(std::string("no such file.dll")));
}

// Cut anywhere, an image reads either as it did whole or as nothing: never a part, never garbage.
TEST_F(PeResources, TruncatedImageReadsWholeOrNothing) {
    for (const char* file : {"de_5.0.10.0.dll", "x86_de_5.0.10.0.dll", "no_version.dll"}) {
        SCOPED_TRACE(file);
        std::vector<uint8_t> image = LoadFixture(file);
        std::optional<ResourceSet> whole = ReadPeResources(image.data(), image.size());
        ASSERT_TRUE(whole);
        size_t readable = 0;
        for (size_t cut = 0; cut < image.size(); ++cut) {
            std::vector<uint8_t> part(image.begin(), image.begin() + cut);
            std::optional<ResourceSet> set = ReadPeResources(part.data(), part.size());
            if (!set)
                continue;
            ++readable;
            ASSERT_EQ(set->entries.size(), whole->entries.size()) << "cut at " << cut;
            for (size_t i = 0; i < set->entries.size(); ++i)
                EXPECT_EQ(set->entries[i].data, whole->entries[i].data) << "cut at " << cut;
        }
        // Only the padding after the last resource may go without changing the answer.
        EXPECT_LT(readable, image.size() / 2);
    }
}

TEST_F(PeResources, LyingFieldsReadAsNothing) {
    struct Case {
        const char* what;
        void (*damage)(std::vector<uint8_t>&, const Landmarks&);
    } cases[] = {
        {"PE header beyond the file", [](auto& b, auto&) { PutU32(b, 0x3C, 0xFFFFFFF0); }},
        {"PE signature", [](auto& b, auto& m) { b[m.pe] = 'X'; }},
        {"optional header magic", [](auto& b, auto& m) { PutU16(b, m.optionalHeader, 0x0107); }},
        {"optional header larger than the file",
         [](auto& b, auto& m) { PutU16(b, m.pe + 20, 0xFFFF); }},
        {"section count", [](auto& b, auto& m) { PutU16(b, m.pe + 6, 0xFFFF); }},
        {"resource RVA in no section",
         [](auto& b, auto& m) { PutU32(b, m.resourceEntry, 0x7FFFFF00); }},
        {"resource section's raw data beyond the file",
         [](auto& b, auto& m) { PutU32(b, m.resourceSection + 20, 0x7FFFFF00); }},
        {"type count beyond the section", [](auto& b, auto& m) { PutU16(b, m.root + 14, 0xFFFF); }},
        {"type entry pointing to the root itself",
         [](auto& b, auto& m) { PutU32(b, m.root + 16 + 4, 0x80000000); }},
        {"type entry pointing beyond the section",
         [](auto& b, auto& m) { PutU32(b, m.root + 16 + 4, 0x8FFFFFF0); }},
        {"name directory pointing back to the type directory",
         [](auto& b, auto& m) {
             uint32_t names = GetU32(b, m.root + 16 + 4) & 0x7FFFFFFF;
             PutU32(b, m.root + names + 16 + 4, 0x80000000);
         }},
        {"language directory pointing to itself",
         [](auto& b, auto& m) {
             uint32_t names = GetU32(b, m.root + 16 + 4) & 0x7FFFFFFF;
             uint32_t languages = GetU32(b, m.root + names + 16 + 4) & 0x7FFFFFFF;
             PutU32(b, m.root + languages + 16 + 4, 0x80000000 | languages);
         }},
        {"data entry larger than the file",
         [](auto& b, auto& m) {
             uint32_t names = GetU32(b, m.root + 16 + 4) & 0x7FFFFFFF;
             uint32_t languages = GetU32(b, m.root + names + 16 + 4) & 0x7FFFFFFF;
             uint32_t data = GetU32(b, m.root + languages + 16 + 4);
             PutU32(b, m.root + data + 4, 0xFFFFFFF0);
         }},
        {"data entry's RVA in no section",
         [](auto& b, auto& m) {
             uint32_t names = GetU32(b, m.root + 16 + 4) & 0x7FFFFFFF;
             uint32_t languages = GetU32(b, m.root + names + 16 + 4) & 0x7FFFFFFF;
             uint32_t data = GetU32(b, m.root + languages + 16 + 4);
             PutU32(b, m.root + data, 0x7FFFFF00);
         }},
    };
    for (const char* file : {"de_5.0.10.0.dll", "x86_de_5.0.10.0.dll"}) {
        std::vector<uint8_t> good = LoadFixture(file);
        Landmarks marks = Locate(good);
        ASSERT_NE(marks.root, 0u) << file;
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(file) + ": " + c.what);
            std::vector<uint8_t> image = good;
            c.damage(image, marks);
            EXPECT_FALSE(ReadPeResources(image.data(), image.size()));
        }
    }
}

#ifndef _WIN32
// A PE32 image of one section holding only a resource directory: one type, `names` names, each
// with a language directory of `languages` entries, every one with a data entry of its own that
// describes an empty resource.
std::vector<uint8_t> ManyEmptyResources(uint32_t names, uint32_t languages) {
    constexpr uint32_t kSectionRva = 0x1000;
    constexpr uint32_t kSectionOffset = 0x200;
    const uint32_t languageDirectory = 16 + 8 * languages;
    const uint32_t namesAt = 16 + 8;
    const uint32_t languagesAt = namesAt + 16 + 8 * names;
    const uint32_t dataAt = languagesAt + names * languageDirectory;
    const uint32_t sectionSize = dataAt + names * languages * 16;
    std::vector<uint8_t> b(kSectionOffset + sectionSize);
    PutU16(b, 0, 0x5A4D);
    PutU32(b, 0x3C, 0x40);
    PutU32(b, 0x40, 0x00004550);
    PutU16(b, 0x40 + 6, 1);    // one section
    PutU16(b, 0x40 + 20, 224); // optional header size
    PutU16(b, 0x58, 0x10B);    // PE32
    PutU32(b, 0x58 + 92, 16);  // data directories
    PutU32(b, 0x58 + 96 + 16, kSectionRva);
    PutU32(b, 0x58 + 96 + 20, sectionSize);
    const size_t section = 0x58 + 224;
    PutU32(b, section + 12, kSectionRva);
    PutU32(b, section + 16, sectionSize);
    PutU32(b, section + 20, kSectionOffset);
    auto directory = [&](uint32_t at, uint32_t count) {
        PutU16(b, kSectionOffset + at + 14, static_cast<uint16_t>(count));
    };
    auto entry = [&](uint32_t directoryAt, uint32_t index, uint32_t id, uint32_t target) {
        PutU32(b, kSectionOffset + directoryAt + 16 + 8 * index, id);
        PutU32(b, kSectionOffset + directoryAt + 16 + 8 * index + 4, target);
    };
    directory(0, 1);
    entry(0, 0, 10, 0x80000000 | namesAt);
    directory(namesAt, names);
    for (uint32_t n = 0; n < names; ++n) {
        uint32_t languagesOfName = languagesAt + n * languageDirectory;
        entry(namesAt, n, n + 1, 0x80000000 | languagesOfName);
        directory(languagesOfName, languages);
        for (uint32_t l = 0; l < languages; ++l) {
            uint32_t data = dataAt + (n * languages + l) * 16;
            entry(languagesOfName, l, l, data);
            PutU32(b, kSectionOffset + data, kSectionRva); // size 0
        }
    }
    return b;
}

size_t AddressSpaceInUse() {
    unsigned long pages = 0;
    if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%lu", &pages) != 1)
            pages = 0;
        std::fclose(statm);
    }
    return pages * static_cast<size_t>(::sysconf(_SC_PAGESIZE));
}

// A small directory of that shape is read whole. A 32 MB one is read under an address-space limit
// of a few times its size: the reader must answer (with or without its resources) instead of
// running out of memory, as it once did after taking 495 MB.
TEST(PeResourcesMemory, ManyEmptyEntriesStayWithinAFewTimesTheSection) {
    std::optional<ResourceSet> small = [] {
        std::vector<uint8_t> image = ManyEmptyResources(3, 4);
        return ReadPeResources(image.data(), image.size());
    }();
    ASSERT_TRUE(small);
    EXPECT_EQ(small->entries.size(), 12u);

    std::vector<uint8_t> image = ManyEmptyResources(256, 5500);
    const size_t sectionSize = image.size() - 0x200;
    ASSERT_GT(sectionSize, size_t(32) << 20);
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        struct rlimit limit;
        limit.rlim_cur = limit.rlim_max = AddressSpaceInUse() + 8 * sectionSize;
        ::setrlimit(RLIMIT_AS, &limit);
        try {
            std::optional<ResourceSet> set = ReadPeResources(image.data(), image.size());
            ::_exit(set ? 1 : 0);
        } catch (...) {
            ::_exit(2);
        }
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) != 2)
        << "the reader ran out of memory: " << status;
}
#endif

} // namespace
