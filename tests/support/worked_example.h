// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "common/text.h"

// The three-row profile everyone here knows by heart: a K thermocouple in Fahrenheit
// and minutes, 70 to 1000 degrees in 60 minutes with an error limit of 50, a 30-minute
// hold at 1000, then the end row. Written out field by field, independently of the
// code that writes profiles.
inline std::string Worked_Example_Line(const std::vector<std::string>& fields) {
    std::string line;
    for (const std::string& field : fields) line += std::string(7 - field.size(), ' ') + field;
    return line + "\r\n";
}

inline std::string Worked_Example_Text() {
    std::string text;
    text += Worked_Example_Line({"1", "0", "60", "r", "70", "1000", "15.50", "50", "", ""});
    text += Worked_Example_Line({"2", "60.00", "30", "h", "1000", "1000", "0", "", "", ""});
    text += Worked_Example_Line({"3", "90.00", "", "e", "1000", "", "", "", "", ""});
    for (int row = 4; row <= 255; ++row) {
        text += Worked_Example_Line({std::to_string(row), "", "", "", "", "", "", "", "", ""});
    }
    text += "K    \r\nF\r\nM\r\n";
    long sum = 0;  // up to and including the unit letter, not its line end
    for (std::size_t i = 0; i + 2 < text.size(); ++i) sum += static_cast<unsigned char>(text[i]);
    std::string checksum = std::to_string(sum);
    text += std::string(10 - checksum.size(), ' ') + checksum + "\r\n";
    return text;
}
