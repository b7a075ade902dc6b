// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/text.h"

#include <gtest/gtest.h>

namespace corvanel {
namespace {

TEST(Format_00, WritesTwoDecimalsRoundedAsAPersonWould) {
    // 1.005 is binary 1.00499999... but written 1.005; halves go away from zero; a carry
    // makes a new digit; a small negative value is never "-0.00".
    const std::pair<double, const char*> cases[] = {
        {15.5, "15.50"},       {60, "60.00"},    {0, "0.00"},     {0.5, "0.50"},
        {-132.857, "-132.86"}, {1.005, "1.01"},  {0.125, "0.13"}, {-0.125, "-0.13"},
        {9.995, "10.00"},      {-0.001, "0.00"}, {0.004, "0.00"}, {123456.789, "123456.79"}, {0.05, "0.05"}, {0.006, "0.01"}};
    for (auto [value, text] : cases) EXPECT_EQ(Format_00(value), text) << value;
    EXPECT_EQ(Format_00(1e20), "100000000000000000000.00");
}

TEST(Message_Lines, AreJoinedWithCrLfAndNothingAfterTheLast) {
    EXPECT_EQ(Join_Lines({"one", "", "three"}), "one\r\n\r\nthree");
    EXPECT_EQ(Join_Lines(std::vector<std::string>{"alone"}), "alone");
}

TEST(Right_Align, PadsOnTheLeftOrCutsToTheFirstCharacters) {
    EXPECT_EQ(Right_Align("r", 7), "      r");
    EXPECT_EQ(Right_Align("", 7), "       ");
    EXPECT_EQ(Right_Align("1234.5678", 7), "1234.56");
}

}  // namespace
}  // namespace corvanel
