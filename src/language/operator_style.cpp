// SPDX-License-Identifier: GPL-3.0-or-later
#include "language/operator_style.h"

#include "language/translate.h"

namespace corvanel {

Number_Style Operator_Style() {
    Number_Style style;
    if (CurrentLanguage == "german" || CurrentLanguage == "spanish") {
        style.Thousands = ".";
        style.Decimal = ",";
        style.Day_Order =
            CurrentLanguage == "german" ? Number_Style::Days::German : Number_Style::Days::Spanish;
    } else if (CurrentLanguage != "english" && !CurrentLanguage.empty()) {
        // A language the operator added writes the month in its own words.
        style.Month = [](const std::string& month) { return TranslateText(month); };
    }
    return style;
}

}  // namespace corvanel
