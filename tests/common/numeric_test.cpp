// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/numeric.h"

#include <gtest/gtest.h>

namespace corvanel {
namespace {

struct Double_Case {
    const char* Name;
    const char* Text;
    std::optional<double> Value;
    Error_Number Error = Error_Number::None;
};

class Text_To_Double : public ::testing::TestWithParam<Double_Case> {};

TEST_P(Text_To_Double, ConvertsOrNamesTheFailure) {
    Double_Conversion result = Convert_To_Double(GetParam().Text);
    EXPECT_EQ(result.Value, GetParam().Value);
    EXPECT_EQ(result.Error, GetParam().Error);
}

constexpr Error_Number Mismatch = Error_Number::Type_Mismatch;

INSTANTIATE_TEST_SUITE_P(
    CellsAsTheEditorAndTheFileHoldThem, Text_To_Double,
    ::testing::Values(Double_Case{"padded", "  15.50", 15.5}, Double_Case{"minus", "-10", -10.0},
                      Double_Case{"plus", "+7", 7.0}, Double_Case{"no_units", ".5", 0.5},
                      Double_Case{"trailing_blank", "60 ", 60.0},
                      Double_Case{"exponent", "1e3", 1000.0},
                      Double_Case{"empty", "", std::nullopt, Mismatch},
                      Double_Case{"blanks", "   ", std::nullopt, Mismatch},
                      Double_Case{"two_points", "1.2.3", std::nullopt, Mismatch},
                      Double_Case{"word", "wait", std::nullopt, Mismatch},
                      Double_Case{"inf", "inf", std::nullopt, Mismatch},
                      Double_Case{"two_signs", "--5", std::nullopt, Mismatch},
                      Double_Case{"comma", "1,5", std::nullopt, Mismatch},
                      Double_Case{"overflow", "1e999", std::nullopt, Error_Number::Overflow}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(Text_To_Int16, RoundsHalvesToEvenAndRefusesWhatDoesNotFit) {
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
