// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/numeric.h"

#include <cctype>
#include <charconv>
#include <cmath>

namespace corvanel {

namespace {

bool Is_Blank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view Trim_Blanks(std::string_view text) {
    while (!text.empty() && Is_Blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && Is_Blank(text.back())) text.remove_suffix(1);
    return text;
}

bool Is_Digit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

Double_Conversion Convert_To_Double(std::string_view text) {
    std::string_view body = Trim_Blanks(text);
    bool negative = false;
    if (!body.empty() && (body.front() == '+' || body.front() == '-')) {
        negative = body.front() == '-';
        body.remove_prefix(1);
    }
    // from_chars alone would take "inf", "nan" and a second sign; demand a digit or a
    // point followed by a digit.
    bool starts_like_number =
        !body.empty() &&
        (Is_Digit(body.front()) || (body.front() == '.' && body.size() > 1 && Is_Digit(body[1])));
    if (!starts_like_number) return {std::nullopt, Error_Number::Type_Mismatch};

    double value = 0;
    auto [end, error] =
        std::from_chars(body.data(), body.data() + body.size(), value, std::chars_format::general);
    if (end != body.data() + body.size()) return {std::nullopt, Error_Number::Type_Mismatch};
    if (error == std::errc::result_out_of_range || !std::isfinite(value)) {
        return {std::nullopt, Error_Number::Overflow};
    }
    if (error != std::errc()) return {std::nullopt, Error_Number::Type_Mismatch};
    return {negative ? -value : value, Error_Number::None};
}

std::optional<std::int16_t> Round_To_Int16(double value) {
    if (!std::isfinite(value)) return std::nullopt;
    double rounded = std::nearbyint(value);  // default rounding mode: half to even
    if (rounded < -32768.0 || rounded > 32767.0) return std::nullopt;
    return static_cast<std::int16_t>(rounded);
}

Int16_Conversion Convert_To_Int16(std::string_view text) {
    Double_Conversion number = Convert_To_Double(text);
    if (!number.Value) return {std::nullopt, number.Error};
    std::optional<std::int16_t> whole = Round_To_Int16(*number.Value);
    if (!whole) return {std::nullopt, Error_Number::Overflow};
    return {whole, Error_Number::None};
}

double Number_Of(std::string_view text) {
    Double_Conversion number = Convert_To_Double(text);
    if (!number.Value) throw Run_Time_Error(number.Error);
    return *number.Value;
}

std::int16_t Int16_Of(std::string_view text) {
    Int16_Conversion number = Convert_To_Int16(text);
    if (!number.Value) throw Run_Time_Error(number.Error);
    return *number.Value;
}

int Sign_Of(double value) {
    return (value > 0) - (value < 0);
}

}  // namespace corvanel
