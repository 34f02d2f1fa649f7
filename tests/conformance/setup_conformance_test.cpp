// The setup's resources as built: the compiled .res of this build and the setup.exe of the x86
// and x64 Windows builds, each read back with the resource readers and compared with the
// expected tables. A program that has not been built is skipped, not failed.
#include "tests/RequiredInputs.h"
#include "tests/conformance/manifest_xml.h"
#include "tests/conformance/pe_headers.h"
#include "tests/conformance/setup_expected.h"

#include "resources/BitmapInfo.h"
#include "resources/ByteReader.h"
#include "resources/Codepage.h"
#include "resources/DialogTemplate.h"
#include "resources/IconGroup.h"
#include "resources/PeImage.h"
#include "resources/ResourceSet.h"
#include "resources/StringTable.h"
#include "resources/VersionBlock.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <set>
#include <utility>

using namespace resources;
using namespace conformance;

namespace {

struct Source {
    const char* name;
    const char* variable;     // environment variable with the file's path
    const char* defaultPath;  // used when the variable is not set
    bool program;             // a PE image rather than a .res file
    uint16_t machine;         // expected PE machine
    const char* architecture; // expected in the manifest
};

const Source kSources[] = {
    {"res", "QUARNEL_SETUP_RES", QUARNEL_SETUP_RES_DEFAULT, false, 0, QUARNEL_SETUP_RES_ARCH},
    {"x86", "QUARNEL_SETUP_X86", QUARNEL_SETUP_X86_DEFAULT, true, 0x014C, "x86"},
    {"x64", "QUARNEL_SETUP_X64", QUARNEL_SETUP_X64_DEFAULT, true, 0x8664, "amd64"},
};

void PrintTo(const Source& source, std::ostream* out) {
    *out << source.name;
}

std::string PathOf(const Source& source) {
    const char* value = std::getenv(source.variable);
    return value && *value ? value : source.defaultPath;
}

struct Loaded {
    std::string path;
    std::vector<uint8_t> file; // empty when not there
    std::optional<ResourceSet> set;
};

// Each file is read once per run.
const Loaded& Load(const Source& source) {
    static std::map<std::string, Loaded> cache;
    auto found = cache.find(source.name);
    if (found != cache.end())
        return found->second;
    Loaded& loaded = cache[source.name];
    loaded.path = PathOf(source);
    std::ifstream in(loaded.path, std::ios::binary);
    if (in)
        loaded.file.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (!loaded.file.empty())
        loaded.set = source.program ? ReadPeResources(loaded.file.data(), loaded.file.size())
                                    : ReadResFile(loaded.file.data(), loaded.file.size());
    return loaded;
}

class SetupResources : public ::testing::TestWithParam<Source> {
protected:
    void SetUp() override {
        const Loaded& loaded = Load(GetParam());
        if (loaded.file.empty()) {
            if (quarnel_test::InputsRequired())
                FAIL() << GetParam().name << ": no file at " << loaded.path << " (build it, or set "
                       << GetParam().variable << " to its path)";
            GTEST_SKIP() << GetParam().name << ": no file at " << loaded.path
                         << " (build it, or set " << GetParam().variable << " to its path)";
        }
        ASSERT_TRUE(loaded.set) << loaded.path << " does not read as compiled resources";
        m_set = &*loaded.set;
        m_file = &loaded.file;
    }

    // The data of a resource in German; fails the test when it is missing.
    const std::vector<uint8_t>& Data(uint16_t type, uint16_t name) {
        const ResourceEntry* entry = m_set->Find(type, name, kGerman);
        static const std::vector<uint8_t> none;
        EXPECT_TRUE(entry) << "resource " << type << "/" << name << " in German";
        return entry ? entry->data : none;
    }

    const ResourceSet* m_set = nullptr;
    const std::vector<uint8_t>* m_file = nullptr;
};

std::string Describe(const ResId& id) {
    return id.isNumber ? std::to_string(id.number) : "\"" + Utf16ToCp1252(id.name) + "\"";
}

// ------------------------------------------------------------------------------------------------
// The inventory

TEST_P(SetupResources, HoldsExactlyTheSetupsResourcesAllInGerman) {
    std::set<std::pair<int, int>> found;
    for (const ResourceEntry& entry : m_set->entries) {
        EXPECT_EQ(entry.language, kGerman)
            << "resource " << Describe(entry.type) << "/" << Describe(entry.name);
        ASSERT_TRUE(entry.type.isNumber && entry.name.isNumber)
            << "named resource " << Describe(entry.type) << "/" << Describe(entry.name);
        // Icon images are numbered by the compiler; the icon test checks that the groups use
        // exactly those.
        if (entry.type.number != kTypeIcon) {
            EXPECT_TRUE(found.insert({entry.type.number, entry.name.number}).second)
                << "twice: " << entry.type.number << "/" << entry.name.number;
        }
    }
    // String blocks 3585, 3876 and 3877 hold 57344, 62000..62015 and 62016..62017.
    const std::set<std::pair<int, int>> expected = {
        {kTypeBitmap, 145},    {kTypeDialog, 135},  {kTypeString, 3585},
        {kTypeString, 3876},   {kTypeString, 3877}, {kTypeGroupIcon, 128},
        {kTypeGroupIcon, 140}, {kTypeVersion, 1},   {kTypeManifest, 1},
    };
    EXPECT_EQ(found, expected);
}

// ------------------------------------------------------------------------------------------------
// The dialog

TEST_P(SetupResources, DialogHeaderIsTheSetupWindow) {
    const auto& data = Data(kTypeDialog, 135);
    auto dialog = ParseDialogTemplate(data.data(), data.size());
    ASSERT_TRUE(dialog);
    EXPECT_TRUE(dialog->extended);
    EXPECT_EQ(dialog->style, 0x80C800C0u);
    EXPECT_EQ(dialog->exStyle, 0u);
    EXPECT_EQ(dialog->helpId, 0u);
    EXPECT_EQ(std::make_tuple(dialog->x, dialog->y, dialog->cx, dialog->cy),
              std::make_tuple(int16_t(0), int16_t(0), int16_t(282), int16_t(158)));
    EXPECT_FALSE(dialog->menu.present);
    EXPECT_FALSE(dialog->windowClass.present);
    EXPECT_EQ(dialog->caption, u"Quarnel ZTR Setup");
    EXPECT_TRUE(dialog->hasFont);
    EXPECT_EQ(dialog->pointSize, 9);
    EXPECT_EQ(dialog->face, u"Arial");
    EXPECT_EQ(dialog->weight, 0);
    EXPECT_EQ(dialog->italic, 0);
    EXPECT_EQ(dialog->charset, 1) << "DEFAULT_CHARSET";
}

std::string Lower(std::u16string text) {
    std::string narrow = Utf16ToCp1252(text);
    std::transform(narrow.begin(), narrow.end(), narrow.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return narrow;
}

TEST_P(SetupResources, DialogControlsAreTheNineInTabOrder) {
    const auto& data = Data(kTypeDialog, 135);
    auto dialog = ParseDialogTemplate(data.data(), data.size());
    ASSERT_TRUE(dialog);
    const auto& expected = ExpectedControls();
    ASSERT_EQ(dialog->controls.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        const DialogControl& c = dialog->controls[i];
        const ExpectedControl& want = expected[i];
        SCOPED_TRACE("control " + std::to_string(i + 1) + ", id " + std::to_string(want.id));
        EXPECT_EQ(c.controlId(), want.id);
        EXPECT_EQ(c.classAtom, want.classAtom);
        if (!want.classAtom) {
            EXPECT_EQ(Lower(c.className), want.className); // class names ignore case
        }
        if (want.imageOrdinal) {
            EXPECT_TRUE(c.text.present && c.text.isOrdinal);
            EXPECT_EQ(c.text.ordinal, want.imageOrdinal);
        } else {
            EXPECT_FALSE(c.text.isOrdinal);
            EXPECT_EQ(c.text.text, want.text);
        }
        EXPECT_EQ(c.style, want.style) << std::hex << "0x" << c.style;
        EXPECT_EQ(c.exStyle, want.exStyle);
        EXPECT_EQ(c.helpId, 0u);
        EXPECT_EQ(std::make_tuple(c.x, c.y, c.cx, c.cy),
                  std::make_tuple(want.x, want.y, want.cx, want.cy));
        EXPECT_TRUE(c.creationData.empty());
    }
}

// ------------------------------------------------------------------------------------------------
// The message catalogue

TEST_P(SetupResources, StringTableHoldsTheCatalogueWordForWord) {
    std::set<uint32_t> expectedIds;
    for (const ExpectedString& want : ExpectedStrings()) {
        expectedIds.insert(want.id);
        auto text = LoadStringUtf16(*m_set, want.id, kGerman);
        ASSERT_TRUE(text) << want.id;
        EXPECT_EQ(Utf16ToCp1252(*text), Utf16ToCp1252(want.text)) << want.id;
        EXPECT_TRUE(*text == want.text) << want.id << ": differs beyond what code page 1252 shows";
    }
    // No other string in the blocks that hold these.
    for (const ResourceEntry* block : m_set->OfType(kTypeString)) {
        for (unsigned i = 0; i < 16; ++i) {
            uint32_t id = (block->name.number - 1u) * 16u + i;
            auto text = StringFromBlock(block->data.data(), block->data.size(), i);
            ASSERT_TRUE(text) << "block " << block->name.number << " malformed at " << i;
            EXPECT_EQ(!text->empty(), expectedIds.count(id) == 1) << id;
        }
    }
    // The A-functions hand the umlauts over as code page 1252 bytes.
    EXPECT_EQ(LoadStringCp1252(*m_set, 62009, kGerman),
              std::string("Das Setup wurde erfolgreich ausgef\xFChrt."));
    EXPECT_EQ(LoadStringUtf16(*m_set, 62001, kGerman).value_or(u"").size(), 281u);
}

// ------------------------------------------------------------------------------------------------
// Icons and the header bitmap

TEST_P(SetupResources, IconGroupsHoldTheirSizesAndDepths) {
    std::set<uint16_t> used;
    for (const ExpectedIcon& icon : ExpectedIcons()) {
        SCOPED_TRACE("icon " + std::to_string(icon.name));
        auto members = ResolveImageGroup(*m_set, GroupKind::Icon, icon.name);
        ASSERT_TRUE(members);
        ASSERT_EQ(members->size(), icon.images.size());
        for (size_t i = 0; i < icon.images.size(); ++i) {
            const GroupMember& m = (*members)[i];
            const ExpectedIconImage& want = icon.images[i];
            SCOPED_TRACE("image " + std::to_string(i));
            used.insert(m.entry.imageId);
            EXPECT_EQ(m.entry.width, want.size);
            EXPECT_EQ(m.entry.height, want.size);
            EXPECT_EQ(m.entry.bitCount, want.bitCount);
            EXPECT_EQ(m.entry.planes, 1);
            EXPECT_EQ(m.entry.colourCount, want.bitCount == 4 ? 16 : 0);
            ASSERT_TRUE(m.resource) << "image " << m.entry.imageId << " missing";
            EXPECT_EQ(m.entry.bytes, m.resource->data.size());
            ASSERT_TRUE(m.info) << "image " << m.entry.imageId << " does not read";
            EXPECT_EQ(m.info->width, want.size);
            EXPECT_EQ(m.info->height, want.size);
            EXPECT_EQ(m.info->bitCount, want.bitCount);
            EXPECT_EQ(m.info->compression, kBiRgb);
        }
    }
    std::set<uint16_t> stored;
    for (const ResourceEntry* image : m_set->OfType(kTypeIcon))
        stored.insert(image->name.number);
    EXPECT_EQ(stored, used) << "every icon image belongs to a group";
    // The shell shows the first icon group for the program file.
    auto groups = m_set->OfType(kTypeGroupIcon);
    ASSERT_FALSE(groups.empty());
    EXPECT_EQ(groups.front()->name.number, 128);
}

TEST_P(SetupResources, HeaderBitmapIs48By48At256ColoursOnWhite) {
    const auto& data = Data(kTypeBitmap, 145);
    auto info = ReadBitmapInfo(data.data(), data.size());
    ASSERT_TRUE(info);
    EXPECT_EQ(info->width, 48);
    EXPECT_EQ(info->height, 48);
    EXPECT_EQ(info->bitCount, 8);
    EXPECT_EQ(info->compression, kBiRgb);
    EXPECT_EQ(info->paletteEntries, 256u);
    // The corners show the white ground the header band is painted with.
    ByteReader pixels(data.data(), data.size());
    uint64_t stride = DibStride(48, 8);
    for (auto [x, y] : {std::pair{0, 0}, std::pair{47, 0}, std::pair{0, 47}, std::pair{47, 47}}) {
        ByteReader p = pixels;
        p.seek(info->pixelOffset + size_t(stride * y) + x);
        uint8_t index = p.u8();
        p.seek(info->headerSize + 4u * index);
        uint32_t bgr = p.u32() & 0xFFFFFF;
        ASSERT_TRUE(p.ok());
        EXPECT_EQ(bgr, 0xFFFFFFu) << "corner " << x << "," << y;
    }
}

// ------------------------------------------------------------------------------------------------
// The version block

// The keys of the string block in stored order, read node by node.
std::vector<std::string> StringKeysInOrder(const std::vector<uint8_t>& block) {
    std::vector<std::string> keys;
    auto children = [](ByteReader node, size_t length) {
        // Returns the offsets of a node's children, after its key and value.
        std::vector<std::pair<size_t, size_t>> found;
        size_t start = node.offset();
        node.u16(); // length
        uint16_t valueLength = node.u16();
        uint16_t type = node.u16();
        node.utf16z();
        node.alignTo(4);
        node.skip(type == 1 ? 2u * valueLength : valueLength);
        node.alignTo(4);
        while (node.ok() && node.offset() + 6 <= start + length) {
            size_t child = node.offset();
            uint16_t childLength = node.u16();
            if (childLength < 6 || !node.seek(child + childLength))
                break;
            found.push_back({child, childLength});
            node.alignTo(4);
        }
        return found;
    };
    ByteReader root(block.data(), block.size());
    for (auto [offset, length] : children(root, block.size())) {
        ByteReader info(block.data(), block.size());
        info.seek(offset + 6);
        if (info.utf16z() != u"StringFileInfo")
            continue;
        info.seek(offset);
        for (auto [tableOffset, tableLength] : children(info, length)) {
            ByteReader table(block.data(), block.size());
            table.seek(tableOffset);
            for (auto [valueOffset, valueLength] : children(table, tableLength)) {
                ByteReader value(block.data(), block.size());
                value.seek(valueOffset + 6);
                keys.push_back(Utf16ToCp1252(value.utf16z()));
                (void)valueLength;
            }
        }
    }
    return keys;
}

TEST_P(SetupResources, VersionBlockNamesTheSetup) {
    const ResourceEntry* entry = FindVersionResource(*m_set);
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->name.number, 1);
    EXPECT_EQ(entry->language, kGerman);
    const uint8_t* block = entry->data.data();
    size_t size = entry->data.size();

    auto fixed = ReadFixedFileInfo(block, size);
    ASSERT_TRUE(fixed);
    EXPECT_EQ(fixed->fileVersionMs, 15u << 16);
    EXPECT_EQ(fixed->fileVersionLs, 0u);
    EXPECT_EQ(fixed->productVersionMs, 15u << 16);
    EXPECT_EQ(fixed->productVersionLs, 0u);
    EXPECT_EQ(fixed->flagsMask, 0x3Fu);
    EXPECT_EQ(fixed->flags, 0u);
    EXPECT_EQ(fixed->os, 4u) << "VOS__WINDOWS32";
    EXPECT_EQ(fixed->fileType, 1u) << "VFT_APP";
    EXPECT_EQ(fixed->fileSubtype, 0u);

    std::vector<std::string> keys;
    for (const ExpectedVersionString& want : ExpectedVersionStrings()) {
        keys.push_back(want.key);
        std::string path = std::string("\\StringFileInfo\\040704b0\\") + want.key;
        // An empty value is there, holding just its terminator.
        auto value = FindVersionValue(block, size, path);
        EXPECT_TRUE(value && value->isText) << want.key;
        EXPECT_EQ(ReadVersionString(block, size, path).value_or(""), want.value) << want.key;
    }
    EXPECT_EQ(StringKeysInOrder(entry->data), keys);

    auto translations = ReadTranslations(block, size);
    ASSERT_EQ(translations.size(), 1u);
    EXPECT_EQ(translations[0].language, 0x0407);
    EXPECT_EQ(translations[0].codePage, 0x04B0);
}

// ------------------------------------------------------------------------------------------------
// The manifest

TEST_P(SetupResources, ManifestAsksForCommonControls6AndAdministratorRights) {
    const auto& data = Data(kTypeManifest, 1);
    auto elements = ParseXmlElements(std::string(data.begin(), data.end()));
    ASSERT_TRUE(elements) << "the manifest is not well-formed";
    const std::string arch = GetParam().architecture;

    const XmlElement* assembly = FindElement(*elements, "assembly");
    ASSERT_TRUE(assembly);
    EXPECT_EQ(assembly->attributes.at("manifestVersion"), "1.0");
    EXPECT_EQ(assembly->attributes.at("xmlns"), "urn:schemas-microsoft-com:asm.v1");

    const XmlElement* identity = FindElement(*elements, "assembly/assemblyIdentity");
    ASSERT_TRUE(identity);
    const std::map<std::string, std::string> ownIdentity = {
        {"name", "Korvessa Quarnel ZTR"},
        {"processorArchitecture", arch},
        {"version", "1.0.0.0"},
        {"type", "win32"},
    };
    EXPECT_EQ(identity->attributes, ownIdentity);
    const XmlElement* description = FindElement(*elements, "assembly/description");
    ASSERT_TRUE(description);
    EXPECT_EQ(description->text, "KorvessaQuarnel ZTR");

    const XmlElement* controls =
        FindElement(*elements, "assembly/dependency/dependentAssembly/assemblyIdentity");
    ASSERT_TRUE(controls);
    const std::map<std::string, std::string> commonControls = {
        {"type", "win32"},
        {"name", "Microsoft.Windows.Common-Controls"},
        {"version", "6.0.0.0"},
        {"processorArchitecture", arch},
        {"publicKeyToken", "6595b64144ccf1df"},
        {"language", "*"},
    };
    EXPECT_EQ(controls->attributes, commonControls);

    const XmlElement* level = FindElement(
        *elements, "assembly/trustInfo/security/requestedPrivileges/requestedExecutionLevel");
    ASSERT_TRUE(level);
    EXPECT_EQ(level->attributes.at("level"), "requireAdministrator");
    EXPECT_EQ(level->attributes.at("uiAccess"), "false");
    const XmlElement* trust = FindElement(*elements, "assembly/trustInfo");
    ASSERT_TRUE(trust);
    EXPECT_EQ(trust->attributes.at("xmlns"), "urn:schemas-microsoft-com:asm.v3");
}

// ------------------------------------------------------------------------------------------------
// The program file (Windows builds only)

TEST_P(SetupResources, ProgramImportsOnlySystemDlls) {
    if (!GetParam().program)
        GTEST_SKIP() << "a .res file has no imports";
    auto pe = ReadPeHeaders(m_file->data(), m_file->size());
    ASSERT_TRUE(pe);
    EXPECT_EQ(pe->machine, GetParam().machine);
    EXPECT_EQ(pe->subsystem, 2) << "a Windows GUI program";
    EXPECT_TRUE(pe->dllCharacteristics & 0x0040) << "dynamic base";
    EXPECT_TRUE(pe->dllCharacteristics & 0x0100) << "NX compatible";
    // So that GetWindowsDirectoryA answers the system's Windows folder on a Remote Desktop host.
    EXPECT_TRUE(pe->dllCharacteristics & 0x8000) << "terminal-server aware";
    const auto& allowed = AllowedImports();
    std::vector<std::string> all = pe->imports;
    all.insert(all.end(), pe->delayedImports.begin(), pe->delayedImports.end());
    EXPECT_FALSE(all.empty());
    std::string outside;
    for (std::string dll : all) {
        std::transform(dll.begin(), dll.end(), dll.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        if (std::find(allowed.begin(), allowed.end(), dll) == allowed.end())
            outside += " " + dll;
    }
    EXPECT_TRUE(outside.empty()) << "imports DLLs outside the system's:" << outside;
}

TEST_P(SetupResources, ReportsTheProgramSize) {
    if (!GetParam().program)
        GTEST_SKIP() << "a .res file is not shipped";
    // A figure to watch, not a limit: the shipping x86 program aims at 128 KiB.
    size_t size = m_file->size();
    std::cout << "setup.exe " << GetParam().name << ": " << size << " bytes ("
              << (size + 1023) / 1024 << " KiB; goal for x86: 128 KiB)" << std::endl;
    RecordProperty("bytes", static_cast<int>(size));
}

INSTANTIATE_TEST_SUITE_P(Setup, SetupResources, ::testing::ValuesIn(kSources),
                         [](const ::testing::TestParamInfo<Source>& info) {
                             return std::string(info.param.name);
                         });

} // namespace
