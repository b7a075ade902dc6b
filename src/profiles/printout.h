// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <string>
#include <vector>

#include "profiles/profile_sheet.h"

namespace corvanel {

// What a printed profile carries below its chart: the name line, nine column titles
// and one line of eight values for each sheet row before the end row.
struct Printout {
    std::string Name_Line;
    std::array<std::string, 9> Titles;
    std::vector<std::array<std::string, 8>> Rows;
};

// Rows 0 to Last_Used_Row - 1 of the sheet (row 0 prints as a line without values);
// each value in "#0.00" when it is a number, as it stands otherwise.
Printout Build_Printout(const Profile_Sheet& sheet, const std::string& profile_name);

}  // namespace corvanel
