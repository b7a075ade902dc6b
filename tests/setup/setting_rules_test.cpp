// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "setup/setting.h"

#include "setup/program_settings.h"
#include "support/test_settings.h"

namespace corvanel {
namespace {

using namespace test_settings;
using Program_Setting::CommPortNumber;

const Setting Host{.File = "H.txt",
                   .Type = Setting_Type::Text,
                   .Label = "Broker",
                   .Check = [](std::string_view text) -> std::optional<Operator_Text> {
                       if (text.find(' ') == std::string_view::npos) return std::nullopt;
                       return Operator_Text::Phrase("a name without spaces");
                   }};

// Each type's rule, once: what a line or an entry may hold and how it is written; a port
// number is rounded into the 16-bit range.
TEST(Setting_Rules, EachTypeTakesItsValuesAndWritesThemInOneForm) {
    const struct {
        const Setting* Of;
        std::vector<std::pair<const char*, const char*>> Taken;  // as typed, as written
        std::vector<const char*> Refused;
    } cases[] = {
        {&Warn, {{"checked", "checked"}}, {"checked ", ""}},
        {&Ticks, {{" 20 ", "20"}, {"1000", "1000"}}, {"1001", "0", "2.5"}},
        {&CommPortNumber, {{"2.5", "2"}, {"-32768", "-32768"}, {"32767", "32767"}}, {"40000"}},
        {&Power, {{"2.50", "2.5"}, {"  ", ""}}, {"-0.1", "1,5"}},
        {&Listen, {{"network", "network"}}, {"Network"}},
        {&Host, {{"kiln.local", "kiln.local"}}, {"kiln local"}},
        {&Token, {{"  a b  ", "  a b  "}}, {"a\rb"}}};
    for (const auto& c : cases) {
        for (auto [text, taken] : c.Taken)
            EXPECT_EQ(Setting_Value_Of_Text(*c.Of, text), taken) << c.Of->Label << " " << text;
        for (const char* text : c.Refused)
            EXPECT_FALSE(Setting_Value_Of_Text(*c.Of, text)) << c.Of->Label << " '" << text << "'";
    }
    EXPECT_FALSE(Setting_Value_Of_Text(Token, std::string_view("a\0b", 3)));
}

// The one wording: what the setting is called, the value, what it must be, what is used.
TEST(Setting_Rules, ABadValueIsSaidInTheOperatorsWordsAndTranslatedWhole) {
    EXPECT_EQ(Bad_Setting_Problem(Power, "abc", "5").English(),
              "Kiln power (kW): \"abc\" is not a number from 0 to 100, so 5 kW is used.\r\n"
              "Set Kiln power (kW) again to keep a value of your own.");
    EXPECT_EQ(Bad_Setting_Problem(Warn, "yes", "checked").What.English(),
              "Warn: \"yes\" is not on or off, so on is used.");
    EXPECT_EQ(Bad_Setting_Problem(Host, "a b", std::nullopt).English(),
              "Broker: \"a b\" is not a name without spaces.\r\nCorrect it, then press OK again.");
    // A file never written by the program: shown short and printable; a secret not at all.
    EXPECT_EQ(Bad_Setting_Problem(Ticks, std::string(50, 'x') + "\x01", "5").What.English(),
              "Failed ticks: \"" + std::string(40, 'x') +
                  "...\" is not a whole number from 1 to 1000, so 5 is used.");
    EXPECT_EQ(Bad_Setting_Problem(Ticks, std::string(40, 'x'), "5").What.English(),
              "Failed ticks: \"" + std::string(40, 'x') +
                  "\" is not a whole number from 1 to 1000, so 5 is used.");
    EXPECT_EQ(Bad_Setting_Problem(Token, "hunter2 x", "secret").What.English(),
              "Access token: \"...\" is not one line of text, so the value saved before is used.");

    // A language puts the parts in its own order; values are never translated.
    const Translate_Function german = [](std::string_view english) -> std::string {
        if (english == "%1: \"%2\" is not %3, so %4 is used.")
            return "%4 gilt, denn \"%2\" ist nicht %3 (%1).";
        if (english == "Kiln power") return "Ofenleistung";
        if (english == "%1") return "never";
        return std::string(english);
    };
    EXPECT_EQ(Bad_Setting_Problem(Power, "%1", "5").What.Text(german),
              "5 kW gilt, denn \"%1\" ist nicht a number from 0 to 100 (Ofenleistung (kW)).");
}

}  // namespace
}  // namespace corvanel
