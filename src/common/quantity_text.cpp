// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/quantity_text.h"

#include <cmath>
#include <cstdio>

#include "common/text.h"

#include "common/numeric.h"

namespace corvanel {

std::string Number_Shown(double value, int decimals, const Number_Style& style) {
    const double scale = std::pow(10.0, decimals);
    const long long units = std::llround(std::abs(value) * scale);
    std::string whole = std::to_string(units / static_cast<long long>(scale));
    for (std::size_t at = whole.size(); at > 3; at -= 3) whole.insert(at - 3, style.Thousands);
    std::string text = (value < 0 && units != 0 ? "-" : "") + whole;
    if (decimals > 0) {
        std::string fraction = std::to_string(units % static_cast<long long>(scale));
        text += style.Decimal +
                std::string(static_cast<std::size_t>(decimals) - fraction.size(), '0') + fraction;
    }
    return text;
}

std::string Temperature_Shown(double degrees, const std::string& scale, const Number_Style& style) {
    return Number_Shown(degrees, 0, style) + " °" + scale;
}

std::string Duration_Shown(double seconds) {
    const long long s = std::llround(std::max(0.0, seconds));
    if (s < 60) return Formatted("%lld s", s);
    // Under ten minutes the seconds still matter (a link silent, a gap).
    if (s < 600 && s % 60 != 0) return Formatted("%lld min %lld s", s / 60, s % 60);
    if (s < 3600) return Formatted("%lld min", s / 60);
    return Formatted("%lld h %02lld min", s / 3600, s % 3600 / 60);
}

std::string Clock_Shown(const Date_Time& time, const Date_Time& now, const Number_Style& style) {
    if (time.Year == now.Year && time.Month == now.Month && time.Day == now.Day) {
        return Formatted("%02d:%02d", time.Hour, time.Minute);
    }
    static const char* const Months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    switch (style.Day_Order) {
        case Number_Style::Days::German:
            return Formatted("%02d.%02d.%04d, %02d:%02d", time.Day, time.Month, time.Year,
                             time.Hour, time.Minute);
        case Number_Style::Days::Spanish:
            return Formatted("%02d/%02d/%04d, %02d:%02d", time.Day, time.Month, time.Year,
                             time.Hour, time.Minute);
        case Number_Style::Days::English:
            break;
    }
    const std::string month = Months[(time.Month + 11) % 12];
    return Formatted("%d %s %04d, %02d:%02d", time.Day,
                     (style.Month ? style.Month(month) : month).c_str(), time.Year, time.Hour,
                     time.Minute);
}

std::string Decimal_Point_Text(std::string_view text, const Number_Style& style) {
    std::string typed(text);
    if (style.Decimal == "." || typed.find('.') != std::string::npos) return typed;
    for (std::size_t at = typed.find(style.Decimal); at != std::string::npos;
         at = typed.find(style.Decimal, at + 1)) {
        typed.replace(at, style.Decimal.size(), ".");
    }
    return typed;
}

std::optional<double> Decimal_Typed(std::string_view text, const Number_Style& style) {
    return Convert_To_Double(Decimal_Point_Text(text, style)).Value;
}

}  // namespace corvanel
