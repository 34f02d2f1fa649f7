// The built Vasquill.dll of the x86 and x64 Windows builds, read back with resources/ and compared
// with what the support tool expects. The libraries are named by QUARNEL_VASQUILL_X86 and
// QUARNEL_VASQUILL_X64; a library that is not there is skipped.
#include "tests/RequiredInputs.h"
#include "tests/vasquill/vasquill_conformance_library.h"

#include "tests/vasquill/vasquill_conformance_expected.h"

#include "resources/AcceleratorTable.h"
#include "resources/MenuTemplate.h"
#include "resources/VersionBlock.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

namespace ex = vasquill_expected;
using resources::Accelerator;
using resources::MenuItem;

class Vasquill : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        lib = vasquill_test::OpenLibrary(GetParam());
        if (!lib.given) {
            if (quarnel_test::InputsRequired())
                FAIL() << GetParam() << " names no library";
            GTEST_SKIP() << GetParam() << " names no library";
        }
        ASSERT_TRUE(lib.resources) << lib.path << " could not be read as a library";
    }
    const resources::ResourceSet& Set() const { return *lib.resources; }
    const std::vector<uint8_t>& Data(uint16_t type, uint16_t name) const {
        static const std::vector<uint8_t> none;
        const resources::ResourceEntry* entry = Set().Find(type, name, 0x0409);
        return entry ? entry->data : none;
    }

    vasquill_test::Library lib;
};

// ------------------------------------------------------------------------------------------------
// The library as a whole

TEST_P(Vasquill, EveryResourceIsEnglishAndNoneIsAnIconOrToolbar) {
    for (const resources::ResourceEntry& entry : Set().entries) {
        EXPECT_EQ(entry.language, 0x0409)
            << "type " << entry.type.number << " #" << entry.name.number;
        EXPECT_TRUE(entry.type.isNumber);
        EXPECT_TRUE(entry.name.isNumber) << "the tool finds every resource by number";
    }
    EXPECT_TRUE(Set().OfType(resources::kTypeIcon).empty());
    EXPECT_TRUE(Set().OfType(resources::kTypeGroupIcon).empty());
    EXPECT_TRUE(Set().OfType(241).empty()) << "toolbar";
}

TEST_P(Vasquill, ExportsNothing) {
    EXPECT_FALSE(lib.hasExportDirectory);
}

TEST_P(Vasquill, SizeReport) {
    std::printf("[ size     ] %s: %zu bytes (goal for the x86 build: 65536)\n", lib.path.c_str(),
                lib.fileSize);
}

// ------------------------------------------------------------------------------------------------
// Menu and shortcut keys

struct ExpectedItem {
    const char* text; // nullptr: separator
    uint16_t command; // 0: popup
    std::vector<ExpectedItem> children;
};

void ExpectMenuLevel(const std::vector<MenuItem>& actual, const std::vector<ExpectedItem>& expected,
                     const std::string& where) {
    ASSERT_EQ(actual.size(), expected.size()) << where;
    for (size_t i = 0; i < expected.size(); ++i) {
        const MenuItem& item = actual[i];
        const ExpectedItem& want = expected[i];
        std::string at = where + "/" + std::to_string(i);
        // No item is checked, greyed or disabled as loaded.
        EXPECT_EQ(item.flags & ~resources::kMenuPopup, 0) << at;
        if (!want.text) {
            EXPECT_TRUE(item.isSeparator()) << at;
            continue;
        }
        EXPECT_EQ(vasquill_test::Narrow(item.text), want.text) << at;
        EXPECT_EQ(item.isPopup(), want.command == 0) << at;
        EXPECT_EQ(item.command, want.command) << at;
        ExpectMenuLevel(item.children, want.children, at);
    }
}

TEST_P(Vasquill, MenuBar) {
    auto menu = resources::ParseMenuTemplate(Data(resources::kTypeMenu, 128).data(),
                                             Data(resources::kTypeMenu, 128).size());
    ASSERT_TRUE(menu);
    const std::vector<ExpectedItem> expected = {
        {"&File",
         0,
         {{"Language", 0, {{"German", 32773, {}}, {"English", 32774, {}}}},
          {"Quarnel Orvantis Pivora", 32771, {}},
          {nullptr, 0, {}},
          {"E&xit", 57665, {}}}},
        {"&Edit",
         0,
         {{"&Undo\tCtrl+Z", 57643, {}},
          {nullptr, 0, {}},
          {"&Cut\tCtrl+X", 57635, {}},
          {"C&opy\tCtrl+C", 57634, {}},
          {"&Paste\tCtrl+V", 57637, {}}}},
        {"&View", 0, {{"S&tatus bar", 59393, {}}}},
    };
    ExpectMenuLevel(*menu, expected, "menu");
}

TEST_P(Vasquill, ShortcutKeys) {
    using namespace resources;
    const uint16_t key = kAccelVirtKey | kAccelNoInvert;
    const std::vector<Accelerator> mainframe = {
        {key | kAccelControl, 'C', 57634},
        {key | kAccelControl, 'V', 57637},
        {key | kAccelAlt, 0x08, 57643},
        {key | kAccelShift, 0x2E, 57635},
        {key, 0x75, 57680},
        {key | kAccelShift, 0x75, 57681},
        {key | kAccelControl, 0x2D, 57634},
        {key | kAccelShift, 0x2D, 57637},
        {key | kAccelControl, 'X', 57635},
        {key | kAccelControl, 'Z', 57643},
    };
    const std::vector<Accelerator> preview = {
        {key, 0x22, 58114}, {key, 0x21, 58115}, {key, 0x1B, 58112}};
    for (auto [number, expected] : {std::pair{128, mainframe}, std::pair{30997, preview}}) {
        const auto& data = Data(kTypeAccelerator, static_cast<uint16_t>(number));
        auto table = ParseAcceleratorTable(data.data(), data.size());
        ASSERT_TRUE(table) << number;
        EXPECT_EQ(*table, expected) << number;
    }
}

// ------------------------------------------------------------------------------------------------
// Dialog templates

// Window classes are matched without regard to case, as the system registers and finds them.
std::string ClassKey(const std::string& name) {
    std::string key = name;
    std::transform(key.begin(), key.end(), key.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return key;
}

void ExpectControl(const vasquill_test::Control& actual, const ex::Control& want,
                   const std::string& at) {
    EXPECT_EQ(actual.id, want.id) << at;
    EXPECT_EQ(ClassKey(actual.cls), ClassKey(want.cls)) << at;
    if (want.text) {
        EXPECT_EQ(actual.text, want.text) << at;
    }
    EXPECT_EQ(actual.x, want.x) << at;
    EXPECT_EQ(actual.y, want.y) << at;
    EXPECT_EQ(actual.cx, want.cx) << at;
    EXPECT_EQ(actual.cy, want.cy) << at;
    EXPECT_EQ(actual.style, want.style) << at << std::hex << " style 0x" << actual.style;
    EXPECT_EQ(actual.exStyle, want.exStyle) << at;
}

TEST_P(Vasquill, ToolDialogs) {
    for (const ex::Dialog& want : ex::ToolDialogs()) {
        std::string at = "dialog " + std::to_string(want.number);
        auto dialog = vasquill_test::ReadDialog(Data(resources::kTypeDialog, want.number));
        ASSERT_TRUE(dialog) << at;
        EXPECT_EQ(dialog->extended, want.extended) << at;
        EXPECT_EQ(dialog->style, want.style) << at << std::hex << " style 0x" << dialog->style;
        EXPECT_EQ(dialog->exStyle, 0u) << at;
        EXPECT_EQ(dialog->x, 0) << at;
        EXPECT_EQ(dialog->y, 0) << at;
        EXPECT_EQ(dialog->cx, want.cx) << at;
        EXPECT_EQ(dialog->cy, want.cy) << at;
        EXPECT_EQ(dialog->caption, want.caption) << at;
        EXPECT_EQ(dialog->pointSize, want.pointSize) << at;
        EXPECT_EQ(dialog->face, want.face) << at;
        if (want.extended) {
            EXPECT_EQ(dialog->weight, 0) << at;
            EXPECT_EQ(dialog->italic, 0) << at;
            EXPECT_EQ(dialog->charset, want.charset) << at;
        }
        ASSERT_EQ(dialog->controls.size(), want.controls.size()) << at;
        for (size_t i = 0; i < want.controls.size(); ++i)
            ExpectControl(dialog->controls[i], want.controls[i],
                          at + " control " + std::to_string(i));
    }
}

TEST_P(Vasquill, NoToolDialogHasADefaultButton) {
    for (const ex::Dialog& want : ex::ToolDialogs()) {
        auto dialog = vasquill_test::ReadDialog(Data(resources::kTypeDialog, want.number));
        ASSERT_TRUE(dialog);
        for (const auto& control : dialog->controls) {
            if (ClassKey(control.cls) == "button") {
                EXPECT_NE(control.style & 0xF, ex::BS_DEFPUSHBUTTON)
                    << want.number << " " << control.text;
            }
        }
    }
}

TEST_P(Vasquill, FrameworkDialogs) {
    for (const ex::FrameworkDialog& want : ex::FrameworkDialogs()) {
        std::string at = "dialog " + std::to_string(want.number);
        auto dialog = vasquill_test::ReadDialog(Data(resources::kTypeDialog, want.number));
        ASSERT_TRUE(dialog) << at;
        EXPECT_EQ(dialog->cx, want.cx) << at;
        EXPECT_EQ(dialog->cy, want.cy) << at;
        EXPECT_EQ(dialog->caption, want.caption) << at;
        EXPECT_EQ(dialog->face, "MS Shell Dlg") << at;
        EXPECT_EQ(dialog->pointSize, 8) << at;
        EXPECT_EQ(dialog->style & want.requiredStyle, want.requiredStyle) << at;
        ASSERT_EQ(dialog->controls.size(), want.controls.size()) << at;
        for (size_t i = 0; i < want.controls.size(); ++i) {
            EXPECT_EQ(dialog->controls[i].id, want.controls[i].id) << at << " #" << i;
            EXPECT_EQ(ClassKey(dialog->controls[i].cls), ClassKey(want.controls[i].cls))
                << at << " #" << i;
            EXPECT_EQ(dialog->controls[i].text, want.controls[i].text) << at << " #" << i;
        }
    }
}

// ------------------------------------------------------------------------------------------------
// Strings

TEST_P(Vasquill, StringTableHoldsExactlyTheListedNumbers) {
    std::map<int, std::string> strings = vasquill_test::ReadStrings(Set());
    std::vector<int> present;
    for (const auto& [id, text] : strings)
        present.push_back(id);
    std::vector<int> expected = ex::AllStringNumbers();
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(present, expected);
    for (const auto& [id, text] : strings)
        EXPECT_FALSE(text.empty()) << id;
}

TEST_P(Vasquill, FixedStringsReadExactly) {
    std::map<int, std::string> strings = vasquill_test::ReadStrings(Set());
    for (const ex::Text& want : ex::FixedStrings())
        EXPECT_EQ(strings[want.id], want.text) << want.id;
    EXPECT_EQ(std::count(strings[61271].begin(), strings[61271].end(), '\n'), 1);
}

TEST_P(Vasquill, ToolStringsHaveNoOuterBlanksAndModuleCodesAreShortCapitals) {
    std::map<int, std::string> strings = vasquill_test::ReadStrings(Set());
    for (const auto& [id, text] : strings) {
        if (!ex::IsToolString(id) || text.empty())
            continue;
        EXPECT_NE(text.front(), ' ') << id;
        EXPECT_NE(text.back(), ' ') << id;
    }
    for (int id = 61242; id <= 61249; ++id) {
        const std::string& code = strings[id];
        EXPECT_GE(code.size(), 3u) << id;
        EXPECT_LE(code.size(), 5u) << id;
        EXPECT_TRUE(
            std::all_of(code.begin(), code.end(), [](char c) { return c >= 'A' && c <= 'Z'; }))
            << id << " " << code;
    }
}

// ------------------------------------------------------------------------------------------------
// Pictures and pointers

TEST_P(Vasquill, Bitmaps) {
    std::set<int> expected;
    for (const ex::Picture& want : ex::Bitmaps()) {
        expected.insert(want.number);
        auto info = vasquill_test::ReadBitmapSize(Data(resources::kTypeBitmap, want.number));
        ASSERT_TRUE(info) << want.number;
        EXPECT_EQ(info->width, want.width) << want.number;
        EXPECT_EQ(info->height, want.height) << want.number;
        EXPECT_EQ(info->bits, want.bits) << want.number;
    }
    expected.insert({30994, 30996});
    std::set<int> present;
    for (const auto* entry : Set().OfType(resources::kTypeBitmap)) {
        present.insert(entry->name.number);
        EXPECT_TRUE(vasquill_test::ReadBitmapSize(entry->data)) << entry->name.number;
    }
    EXPECT_EQ(present, expected);
}

TEST_P(Vasquill, CursorGroupsUseTheEighteenCursors) {
    std::set<int> groups, used, images;
    for (const auto* entry : Set().OfType(resources::kTypeGroupCursor)) {
        groups.insert(entry->name.number);
        auto members = vasquill_test::ReadCursorGroup(Set(), entry->name.number);
        ASSERT_TRUE(members) << entry->name.number;
        EXPECT_FALSE(members->empty()) << entry->name.number;
        used.insert(members->begin(), members->end());
    }
    for (const auto* entry : Set().OfType(resources::kTypeCursor))
        images.insert(entry->name.number);
    std::vector<int> expectedGroups = ex::CursorGroups();
    EXPECT_EQ(groups, std::set<int>(expectedGroups.begin(), expectedGroups.end()));
    std::set<int> oneToEighteen;
    for (int id = 1; id <= 18; ++id)
        oneToEighteen.insert(id);
    EXPECT_EQ(images, oneToEighteen);
    EXPECT_EQ(used, oneToEighteen) << "every cursor image belongs to a group";
}

// ------------------------------------------------------------------------------------------------
// Help page, version and manifest

std::string Text(const std::vector<uint8_t>& data) {
    return std::string(data.begin(), data.end());
}

size_t Count(const std::string& text, const std::string& part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

TEST_P(Vasquill, HelpPageIsPlainAsciiWithCrLfLines) {
    std::string page = Text(Data(resources::kTypeHtml, 145));
    ASSERT_FALSE(page.empty());
    for (size_t i = 0; i < page.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(page[i]);
        ASSERT_LT(c, 0x80) << "at " << i;
        if (c == '\n') {
            ASSERT_TRUE(i > 0 && page[i - 1] == '\r') << "bare line feed at " << i;
        }
        if (c == '\r') {
            ASSERT_TRUE(i + 1 < page.size() && page[i + 1] == '\n') << "bare return at " << i;
        }
    }
}

TEST_P(Vasquill, HelpPageStructure) {
    std::string page = Text(Data(resources::kTypeHtml, 145));
    EXPECT_EQ(page.rfind("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">", 0),
              0u);
    EXPECT_EQ(Count(page, "<title>VasQuill Help</title>"), 1u);
    for (const char* rule :
         {"#SPL { font-family: Arial; font-size: 12; font-weight: bold; }",
          "#UEB { font-family: Arial; font-size: 18; font-weight: bold; }",
          "#ZUEB { font-family: Arial; font-size: 16; font-weight: bold; color: #0000A0; }",
          "body,table { font-family: Arial; font-size: 12; }"})
        EXPECT_EQ(Count(page, rule), 1u) << rule;
    EXPECT_EQ(Count(page, "<body bgcolor=\"#FFFFE0\">"), 1u);
    EXPECT_EQ(Count(page, "<img src=\"/#2/#148\""), 1u);
    EXPECT_EQ(Count(page, "<div id=\"UEB\">Vasquill Help</div>"), 1u);
    EXPECT_EQ(Count(page, "<a href=\"javascript:window.print()\">Print help</a>"), 1u);
    EXPECT_EQ(Count(page, "javascript:"), 1u) << "no script but the print link";
    EXPECT_EQ(Count(page, "<script"), 0u);
    EXPECT_EQ(Count(page, "<hr noshade size=\"3\">"), 1u);

    // The sections and sub-headings, in this order.
    size_t at = 0;
    for (const char* heading :
         {"<div id=\"ZUEB\">System info</div>", "<div id=\"ZUEB\">Program info</div>",
          "<div id=\"ZUEB\">Configuration files</div>", "<div id=\"ZUEB\">Support request</div>",
          "<li>Teamline (\"Select the teamline\")</li>",
          "<li>Customer details (\"Enter your contact information\")</li>",
          "<li>Support request (\"Enter your support request\")</li>",
          "<div id=\"SPL\">Teamline</div>", "<div id=\"SPL\">Customer details</div>",
          "<div id=\"SPL\">Support request</div>", "<td valign=\"top\">Print preview</td>",
          "<td valign=\"top\">Print</td>", "<td valign=\"top\">HTML file</td>",
          "<td valign=\"top\">Email</td>", "<td valign=\"top\">Copy</td>"}) {
        size_t found = page.find(heading, at);
        ASSERT_NE(found, std::string::npos) << heading;
        at = found + 1;
    }
    EXPECT_EQ(Count(page, "<li>"), 3u);
    EXPECT_EQ(Count(page, "<td width=\"20\">&nbsp;</td>"), 6u) << "head spacer and five rows";
    EXPECT_EQ(Count(page, "\"not available\" or \"unknown\""), 1u);
}

TEST_P(Vasquill, VersionBlock) {
    const std::vector<uint8_t>& block = Data(resources::kTypeVersion, 1);
    auto fixed = resources::ReadFixedFileInfo(block.data(), block.size());
    ASSERT_TRUE(fixed);
    EXPECT_EQ(fixed->fileVersionMs, 0x000F0000u);
    EXPECT_EQ(fixed->fileVersionLs, 0x00010000u);
    EXPECT_EQ(fixed->productVersionMs, 0x000F0000u);
    EXPECT_EQ(fixed->productVersionLs, 0x00010000u);
    EXPECT_EQ(fixed->flags, 0u);
    EXPECT_EQ(fixed->os, 4u);
    EXPECT_EQ(fixed->fileType, 1u) << "the library declares itself an application";
    EXPECT_EQ(fixed->fileSubtype, 0u);
    auto translations = resources::ReadTranslations(block.data(), block.size());
    ASSERT_EQ(translations.size(), 1u);
    EXPECT_EQ(translations[0].language, 0x0409);
    EXPECT_EQ(translations[0].codePage, 0x04B0);
    const std::pair<const char*, const char*> strings[] = {
        {"FileDescription", "Quarnel ZTR Vasquill"},
        {"FileVersion", "15.0.1.0"},
        {"InternalName", "Vasquill"},
        {"OriginalFilename", "Vasquill.EXE"},
        {"ProductName", "Quarnel 2013 ZTR - Vasquill"},
        {"ProductVersion", "15.0.1"},
    };
    for (const auto& [key, text] : strings) {
        auto value = resources::ReadVersionString(
            block.data(), block.size(), std::string("\\StringFileInfo\\040904b0\\") + key);
        EXPECT_EQ(value, std::optional<std::string>(text)) << key;
    }
}

TEST_P(Vasquill, ManifestAsksForNothingButTheCallersRights) {
    std::string manifest = Text(Data(resources::kTypeManifest, 2));
    EXPECT_NE(manifest.find("level=\"asInvoker\""), std::string::npos);
    EXPECT_NE(manifest.find("uiAccess=\"false\""), std::string::npos);
    EXPECT_EQ(manifest.find("<dependency"), std::string::npos);
    EXPECT_EQ(Set().OfType(resources::kTypeManifest).size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Builds, Vasquill,
                         ::testing::Values("QUARNEL_VASQUILL_X86", "QUARNEL_VASQUILL_X64"),
                         [](const auto& info) {
                             return std::string(info.param).substr(17); // X86, X64
                         });

} // namespace
