#include "framework/Messages.h"

#include "framework_probe_ids.h"

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
    EXPECT_EQ(LoadMessage(IDS_PROBE_APP_TITLE), "Probe");
    EXPECT_EQ(LoadMessage(57345), "");
    EXPECT_EQ(LoadMessage(1), "");
}

// Long texts come back whole and in code page 1252.
TEST(LoadMessage, LongGermanTextIsLoadedWhole) {
    std::string text = LoadMessage(IDS_PROBE_LONG);
    EXPECT_EQ(text.size(), 296u);
    EXPECT_EQ(text.substr(0, 20), "Ein langer Text \xFC"
                                  "ber");
    EXPECT_EQ(text.substr(text.size() - 15), "aufh\xF6ren w\xFCrde.");
    EXPECT_EQ(FormatMessageText(IDS_PROBE_TWO_ARGS, {"A", "B"}), "Von:\r\nA\r\n\r\nnach:\r\nB");
    EXPECT_EQ(FormatMessageText(IDS_PROBE_ONE_ARG, {}),
              "Der Ordner '?' fehlt.\r\nEs geht nicht weiter.");
}

} // namespace
