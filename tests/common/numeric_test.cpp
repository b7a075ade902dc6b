#include "common/numeric.h"

#include <gtest/gtest.h>

#include <cctype>

namespace corvanel {
namespace {

struct Double_Case {
    const char* Text;
    std::optional<double> Value;
    Error_Number Error;
};

class Text_To_Double : public ::testing::TestWithParam<Double_Case> {};

TEST_P(Text_To_Double, ConvertsOrNamesTheFailure) {
    const Double_Case& c = GetParam();
    Double_Conversion result = Convert_To_Double(c.Text);
    EXPECT_EQ(result.Value, c.Value) << '"' << c.Text << '"';
    EXPECT_EQ(result.Error, c.Error) << '"' << c.Text << '"';
}

INSTANTIATE_TEST_SUITE_P(
    CellsAsTheEditorAndTheFileHoldThem, Text_To_Double,
    ::testing::Values(Double_Case{"   1000", 1000.0, Error_Number::None},
                      Double_Case{"  15.50", 15.5, Error_Number::None},
                      Double_Case{"-10", -10.0, Error_Number::None},
                      Double_Case{"+7", 7.0, Error_Number::None},
                      Double_Case{".5", 0.5, Error_Number::None},
                      Double_Case{"60 ", 60.0, Error_Number::None},
                      Double_Case{"1e3", 1000.0, Error_Number::None},
                      Double_Case{"", std::nullopt, Error_Number::Type_Mismatch},
                      Double_Case{"   ", std::nullopt, Error_Number::Type_Mismatch},
                      Double_Case{"1.2.3", std::nullopt, Error_Number::Type_Mismatch},
                      Double_Case{"wait", std::nullopt, Error_Number::Type_Mismatch},
                      Double_Case{"inf", std::nullopt, Error_Number::Type_Mismatch},
                      Double_Case{"nan", std::nullopt, Error_Number::Type_Mismatch},
                      Double_Case{"--5", std::nullopt, Error_Number::Type_Mismatch},
                      Double_Case{"0x10", std::nullopt, Error_Number::Type_Mismatch},
                      Double_Case{"1,5", std::nullopt, Error_Number::Type_Mismatch},
                      Double_Case{"1e999", std::nullopt, Error_Number::Overflow}),
    [](const auto& info) {
        // Every character counts here, so each is spelt out: "  15.50" is blank_blank_15dot50.
        std::string name;
        for (char c : std::string(info.param.Text)) {
            name += std::isalnum(static_cast<unsigned char>(c)) ? std::string(1, c)
                    : c == ' '                                  ? "blank_"
                    : c == '.'                                  ? "dot"
                    : c == '-'                                  ? "minus"
                    : c == '+'                                  ? "plus"
                                                                : "comma";
        }
        return name.empty() ? std::string("empty") : name;
    });

TEST(Text_To_Int16, RoundsHalvesToEvenAndRefusesWhatDoesNotFit) {
    EXPECT_EQ(Convert_To_Int16("2.5").Value, 2);
    EXPECT_EQ(Convert_To_Int16("3.5").Value, 4);
    EXPECT_EQ(Convert_To_Int16("-2.5").Value, -2);
    EXPECT_EQ(Convert_To_Int16(" 1000.4").Value, 1000);
    EXPECT_EQ(Convert_To_Int16("32767").Value, 32767);
    EXPECT_EQ(Convert_To_Int16("-32768").Value, -32768);
    EXPECT_EQ(Convert_To_Int16("-32768.5").Value, -32768);  // half to even stays in range

    EXPECT_EQ(Convert_To_Int16("32767.5").Error, Error_Number::Overflow);
    EXPECT_EQ(Convert_To_Int16("40000").Error, Error_Number::Overflow);
    EXPECT_EQ(Convert_To_Int16("-32769").Error, Error_Number::Overflow);
    EXPECT_EQ(Convert_To_Int16("abc").Error, Error_Number::Type_Mismatch);
}

TEST(Text_To_Number, ThrowingFormsCarryTheErrorNumber) {
    EXPECT_DOUBLE_EQ(Number_Of("  90.00"), 90.0);
    try {
        Int16_Of("99999");
        FAIL() << "no error";
    } catch (const Run_Time_Error& error) {
        EXPECT_EQ(error.Number, Error_Number::Overflow);
    }
    EXPECT_THROW(Number_Of("r"), Run_Time_Error);
}

}  // namespace
}  // namespace corvanel
