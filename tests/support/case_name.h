// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cctype>
#include <string>
#include <string_view>

// A parameterised case's name from a text that describes it: its letters and digits,
// the other characters as word breaks ("line 3: duration \"x\"" -> line_3_duration_x).
inline std::string Case_Name_Of(std::string_view text) {
    std::string name;
    for (char c : text) {
        if (std::isalnum(static_cast<unsigned char>(c)))
            name += c;
        else if (!name.empty() && name.back() != '_')
            name += '_';
    }
    while (!name.empty() && name.back() == '_') name.pop_back();
    return name.empty() ? "empty" : name;
}
