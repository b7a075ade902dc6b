// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/text.h"

#include <gtest/gtest.h>

#include "common/problem.h"
#include "common/quantity_text.h"

namespace corvanel {
namespace {

TEST(Format_00, WritesTwoDecimalsRoundedAsAPersonWould) {
    // 1.005 is binary 1.00499999... but written 1.005; halves go away from zero; a carry
    // makes a new digit; a small negative value is never "-0.00".
    const std::pair<double, const char*> cases[] = {
        {15.5, "15.50"},       {60, "60.00"},    {0, "0.00"},     {0.5, "0.50"},
        {-132.857, "-132.86"}, {1.005, "1.01"},  {0.125, "0.13"}, {-0.125, "-0.13"},
        {9.995, "10.00"},      {-0.001, "0.00"}, {0.004, "0.00"}, {123456.789, "123456.79"},
        {0.05, "0.05"},        {0.006, "0.01"}};
    for (auto [value, text] : cases) EXPECT_EQ(Format_00(value), text) << value;
    EXPECT_EQ(Format_00(1e20), "100000000000000000000.00");
}

// Message lines are joined with CR LF and nothing after the last; a cell is padded on the
// left or cut to its first characters; a phrase fills its parts by number, up to the
// ninth, and leaves a lone percent sign.
TEST(Text_Pieces, LinesJoinCellsAlignAndPhrasesFillTheirParts) {
    EXPECT_EQ(Join_Lines({"one", "", "three"}), "one\r\n\r\nthree");
    EXPECT_EQ(Join_Lines(std::vector<std::string>{"alone"}), "alone");
    EXPECT_EQ(Right_Align("r", 7), "      r");
    EXPECT_EQ(Right_Align("", 7), "       ");
    EXPECT_EQ(Right_Align("1234.5678", 7), "1234.56");
    std::vector<Operator_Text> parts;
    for (char c = '1'; c <= '9'; ++c) parts.push_back(Operator_Text::Value(std::string(1, c)));
    EXPECT_EQ(Operator_Text::Phrase("%9%8 %1 100%", parts).English(), "98 1 100%");
}

// A small key file (the heartbeat, the kept health figures) is read whole or not at all:
// a line cut short, a line without "=", or a missing end line makes it no file.
TEST(Key_Value_Lines, AreReadWholeOrNotAtAll) {
    const struct {
        const char* Text;
        const char* Last;
        std::size_t Lines;  // 0: no file
    } cases[] = {{"a=1\nb=x=y\n", "", 2}, {"a=1\nb=2", "", 0},       {"a=1\nb\n", "", 0},
                 {"a=1\nend", "end", 1},  {"a=1\nend\nz", "end", 1}, {"a=1\n", "end", 0}};
    for (const auto& c : cases) {
        const auto lines = Key_Value_Lines(c.Text, c.Last);
        EXPECT_EQ(lines ? lines->size() : 0, c.Lines) << c.Text;
    }
    EXPECT_EQ(Key_Value_Lines("b=x=y\n")->front(), Key_Value_Line("b", "x=y"));
}

// What the operator reads in English, German and Spanish, and what they may type.
TEST(Quantity_Text, IsWrittenAndTypedAsTheOperatorsLanguageWritesNumbers) {
    const Number_Style english, german{".", ",", Number_Style::Days::German},
        spanish{".", ",", Number_Style::Days::Spanish};
    EXPECT_EQ(Temperature_Shown(1832.4, "F", english), "1,832 °F");
    EXPECT_EQ(Temperature_Shown(1832.5, "F", german), "1.833 °F");
    EXPECT_EQ(Temperature_Shown(-12, "C", english), "-12 °C");
    EXPECT_EQ(Number_Shown(1234567.891, 2, spanish), "1.234.567,89");
    EXPECT_EQ(Number_Shown(0.005, 2, english), "0.01");
    EXPECT_EQ(Number_Shown(-0.001, 2, english), "0.00");
    const std::pair<double, const char*> durations[] = {
        {45, "45 s"},         {125, "2 min 5 s"},     {420, "7 min"}, {725, "12 min"},
        {7500, "2 h 05 min"}, {49560, "13 h 46 min"}, {-3, "0 s"}};
    for (auto [seconds, shown] : durations) EXPECT_EQ(Duration_Shown(seconds), shown);
    const Date_Time now{2027, 4, 3, 18, 0, 0}, today{2027, 4, 3, 14, 5, 0},
        before{2027, 3, 9, 7, 30, 0};
    EXPECT_EQ(Clock_Shown(today, now, german), "14:05");
    EXPECT_EQ(Clock_Shown(before, now, english), "9 Mar 2027, 07:30");
    EXPECT_EQ(Clock_Shown(before, now, german), "09.03.2027, 07:30");
    EXPECT_EQ(Clock_Shown(before, now, spanish), "09/03/2027, 07:30");
    EXPECT_EQ(Decimal_Typed("0,32", german), 0.32);
    EXPECT_EQ(Decimal_Typed("0.32", german), 0.32);
    EXPECT_EQ(Decimal_Typed("1.000,5", german), std::nullopt);
    EXPECT_EQ(Decimal_Typed("0,32", english), std::nullopt);
}

}  // namespace
}  // namespace corvanel
