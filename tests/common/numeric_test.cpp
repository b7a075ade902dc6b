// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/numeric.h"

#include <gtest/gtest.h>

namespace corvanel {
namespace {

// Cells as the editor and the file hold them, as numbers and as 16-bit whole numbers.
TEST(Cell_Numbers, ConvertOrNameTheFailureAndWholeNumbersRoundHalvesToEven) {
    const std::pair<const char*, double> numbers[] = {
        {"  15.50", 15.5}, {"-10", -10}, {"+7", 7}, {".5", 0.5}, {"60 ", 60}, {"1e3", 1000}};
    for (auto [text, value] : numbers) {
        EXPECT_EQ(Convert_To_Double(text).Value, value) << text;
        EXPECT_EQ(Convert_To_Double(text).Error, Error_Number::None) << text;
    }
    for (const char* text : {"", "   ", "1.2.3", "wait", "inf", "--5", "1,5"}) {
        EXPECT_FALSE(Convert_To_Double(text).Value) << text;
        EXPECT_EQ(Convert_To_Double(text).Error, Error_Number::Type_Mismatch) << text;
    }
    EXPECT_FALSE(Convert_To_Double("1e999").Value);
    EXPECT_EQ(Convert_To_Double("1e999").Error, Error_Number::Overflow);

    // A whole number rounds halves to even and refuses what does not fit 16 bits.
    const std::pair<const char*, int> fitting[] = {
        {"2.5", 2},        {"3.5", 4},       {"-2.5", -2},
        {" 1000.4", 1000}, {"32767", 32767}, {"-32768.5", -32768}};  // half to even stays in range
    for (auto [text, value] : fitting) EXPECT_EQ(Convert_To_Int16(text).Value, value) << text;
    for (const char* text : {"32767.5", "40000", "-32769"})
        EXPECT_EQ(Convert_To_Int16(text).Error, Error_Number::Overflow) << text;
    EXPECT_EQ(Convert_To_Int16("abc").Error, Error_Number::Type_Mismatch);
    EXPECT_DOUBLE_EQ(Number_Of("  90.00"), 90.0);
    EXPECT_THROW(Number_Of("r"), Run_Time_Error);
    EXPECT_EQ(Int16_Of(" 12.5"), 12);
    EXPECT_THROW(Int16_Of("99999"), Run_Time_Error);
}

}  // namespace
}  // namespace corvanel
