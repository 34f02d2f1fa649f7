#include "framework/Messages.h"

#include <gtest/gtest.h>

namespace {

TEST(FormatPlaceholders, ReplacesNumberedArguments) {
    struct Case {
        const char* tmpl;
        std::initializer_list<std::string> args;
        const char* expected;
    };
    const Case cases[] = {
        {"von:\r\n%1\r\nnach:\r\n%2", {"C:\\a", "D:\\b"}, "von:\r\nC:\\a\r\nnach:\r\nD:\\b"},
        {"%2 vor %1", {"eins", "zwei"}, "zwei vor eins"},
        {"%1%1", {"ab"}, "abab"},
        {"%1 %2 %3", {"x"}, "x ? ?"},                // missing arguments
        {"%9", {}, "?"},                             //
        {"100%% %x %0 %a", {"z"}, "100%% %x %0 %a"}, // "%" before anything else stays
        {"Ende %", {"z"}, "Ende %"},                 // a final "%"
        {"%1", {"%2 und 50%"}, "%2 und 50%"},        // arguments are not formatted again
        {"", {"x"}, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatPlaceholders(c.tmpl, c.args), c.expected) << c.tmpl;
}

TEST(FormatPlaceholders, UsesOnlyTheFirst255Characters) {
    EXPECT_EQ(FormatPlaceholders(std::string(300, 'x'), {}), std::string(255, 'x'));
    // A placeholder cut in half by the limit is no placeholder any more.
    EXPECT_EQ(FormatPlaceholders(std::string(254, 'x') + "%1", {"arg"}),
              std::string(254, 'x') + "%");
    // Arguments may make the result longer than the limit.
    EXPECT_EQ(FormatPlaceholders(std::string(253, 'x') + "%1", {std::string(10, 'y')}).size(),
              263u);
}

TEST(LoadMessage, LoadsTheModulesStrings) {
    EXPECT_EQ(LoadMessage(57344), "Quarnel ZTR Setup");
    EXPECT_EQ(LoadMessage(57345), "");
    EXPECT_EQ(LoadMessage(1), "");
}

// The catalogue's long texts come back whole and in code page 1252.
TEST(LoadMessage, LongGermanTextIsLoadedWhole) {
    std::string intro = LoadMessage(62001);
    if (intro.empty())
        GTEST_SKIP() << "the module carries no message 62001";
    EXPECT_EQ(intro.size(), 281u);
    EXPECT_EQ(intro.substr(0, 20), "Dieses Setup f\xFCgt zu");
    EXPECT_EQ(intro.substr(intro.size() - 16), "zu installieren.");
    EXPECT_EQ(FormatMessageText(62007, {"A", "B"}), "Kopieren von:\r\nA\r\n\r\nnach:\r\nB");
    EXPECT_EQ(FormatMessageText(62006, {}),
              "Das angegebene Zielverzeichnis '?' konnte nicht gefunden werden.\r\n"
              "Das Setup kann nicht ausgef\xFChrt werden.");
}

} // namespace
