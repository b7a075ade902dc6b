// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/text.h"

#include "common/quantity_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>

namespace corvanel {

std::string Formatted(const char* format, ...) {
    va_list arguments, measuring;
    va_start(arguments, format);
    va_copy(measuring, arguments);
    const int length = std::vsnprintf(nullptr, 0, format, measuring);
    va_end(measuring);
    std::string text(static_cast<std::size_t>(std::max(length, 0)), '\0');
    std::vsnprintf(text.data(), text.size() + 1, format, arguments);
    va_end(arguments);
    return text;
}

namespace {

template <typename Lines>
std::string Join_All(const Lines& lines) {
    std::string joined;
    bool first = true;
    for (const auto& line : lines) {
        if (!first) joined += CRLF;
        joined += line;
        first = false;
    }
    return joined;
}

// printf's %.<precision>e or %.<precision>g, always with a decimal point: the program's
// own Qt start-up sets the C library's locale from the desktop, under which printf writes
// a decimal comma (German, Spanish) that no reader of a record or heartbeat takes.
std::string Without_Locale(double value, std::chars_format format, int precision) {
    char text[64];
    const std::to_chars_result written =
        std::to_chars(text, text + sizeof text, value, format, precision);
    return std::string(text, written.ptr);
}

}  // namespace

std::string Join_Lines(std::initializer_list<std::string_view> lines) {
    return Join_All(lines);
}

std::string Join_Lines(const std::vector<std::string>& lines) {
    return Join_All(lines);
}

void Set_Message_Text(std::string& box, std::string text, std::size_t limit) {
    if (text.size() > limit) text.clear();
    box = std::move(text);
}

void Append_Message(std::string& box, std::string_view text, std::size_t limit) {
    std::string appended = box;
    appended += text;
    appended += CRLF;
    Set_Message_Text(box, std::move(appended), limit);
}

std::string Format_00(double value) {
    if (!std::isfinite(value)) return "0.00";
    // Decimal digits as the value is written with 15 significant digits, then
    // rounded half away from zero at the second decimal.
    const std::string written = Without_Locale(std::fabs(value), std::chars_format::scientific, 14);
    // written: d.dddddddddddddde[+-]XX
    std::string digits;
    digits += written[0];
    digits.append(written, 2, 14);
    int exponent = std::atoi(written.c_str() + 17);
    // digits represent 0.ddd... * 10^(exponent + 1); shift so that the units digit
    // and two decimals are integral: value*100 = digits * 10^(exponent + 2 - 14).
    int shift = exponent + 2 - 14;
    std::string hundredths;  // the value times 100 as a decimal integer, rounded
    if (shift >= 0) {
        hundredths = digits + std::string(static_cast<std::size_t>(shift), '0');
    } else {
        int keep = static_cast<int>(digits.size()) + shift;  // digits left of the cut
        if (keep < 0) {
            hundredths = "0";
        } else {
            hundredths = keep == 0 ? "0" : digits.substr(0, static_cast<std::size_t>(keep));
            char first_dropped = digits[static_cast<std::size_t>(keep)];
            if (first_dropped >= '5') {
                int i = static_cast<int>(hundredths.size()) - 1;
                while (i >= 0 && hundredths[static_cast<std::size_t>(i)] == '9') {
                    hundredths[static_cast<std::size_t>(i)] = '0';
                    --i;
                }
                if (i < 0) {
                    hundredths.insert(hundredths.begin(), '1');
                } else {
                    ++hundredths[static_cast<std::size_t>(i)];
                }
            }
        }
    }
    std::size_t nonzero = hundredths.find_first_not_of('0');
    if (nonzero == std::string::npos) return "0.00";
    hundredths.erase(0, nonzero);
    while (hundredths.size() < 3) hundredths.insert(hundredths.begin(), '0');
    std::string text = value < 0 ? "-" : "";
    text += hundredths.substr(0, hundredths.size() - 2);
    text += '.';
    text += hundredths.substr(hundredths.size() - 2);
    return text;
}

std::string Format_Number(double value) {
    if (!std::isfinite(value)) return "0";
    const std::string text = Without_Locale(value, std::chars_format::general, 15);
    return text == "-0" ? "0" : text;
}

std::string Format_Whole(long long value) {
    return std::to_string(value);
}

std::string Temperature_Text(double degrees, const std::string& scale) {
    return Temperature_Shown(degrees, scale, Number_Style{});
}

std::string Right_Align(std::string_view text, std::size_t width) {
    if (text.size() >= width) return std::string(text.substr(0, width));
    return std::string(width - text.size(), ' ') + std::string(text);
}

std::string Duration_Text(long long seconds) {
    return Duration_Shown(static_cast<double>(seconds));
}

std::optional<std::vector<Key_Value_Line>> Key_Value_Lines(std::string_view text,
                                                           std::string_view last) {
    std::vector<Key_Value_Line> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (!last.empty() && line == last) return lines;
        if (end == std::string_view::npos) return std::nullopt;  // cut short
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) return std::nullopt;
        lines.emplace_back(line.substr(0, equals), line.substr(equals + 1));
    }
    if (!last.empty()) return std::nullopt;
    return lines;
}

}  // namespace corvanel
