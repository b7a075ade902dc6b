#include "common/text.h"

#include <gtest/gtest.h>

namespace corvanel {
namespace {

TEST(Format_00, WritesTwoDecimalsRoundedAsAPersonWould) {
    EXPECT_EQ(Format_00(15.5), "15.50");
    EXPECT_EQ(Format_00(60), "60.00");
    EXPECT_EQ(Format_00(0), "0.00");
    EXPECT_EQ(Format_00(0.5), "0.50");
    EXPECT_EQ(Format_00(-930.0 / 7.0), "-132.86");
    EXPECT_EQ(Format_00(1.005), "1.01");  // binary 1.00499999..., written 1.005
    EXPECT_EQ(Format_00(0.125), "0.13");  // halves go away from zero
    EXPECT_EQ(Format_00(-0.125), "-0.13");
    EXPECT_EQ(Format_00(9.995), "10.00");  // carry into a new digit
    EXPECT_EQ(Format_00(-0.001), "0.00");  // never "-0.00"
    EXPECT_EQ(Format_00(0.004), "0.00");
    EXPECT_EQ(Format_00(123456.789), "123456.79");
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
