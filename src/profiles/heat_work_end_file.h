// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace corvanel {

// A cone profile that ends on heat-work keeps the cone it aims at beside the profile, in
// a small file of its own ("cone6_medium.txt.heat-work" holding "end on heat-work: cone
// 6"): the profile file keeps its layout and checksum, and a profile without one fires at
// its own peak as ever.
inline constexpr std::string_view Heat_Work_End_Suffix = ".heat-work";

std::string Heat_Work_End_File(const std::string& profile_path);

// The cone, as the chart writes it; none without the file or when it names no cone of
// the chart.
std::optional<std::string> Read_Heat_Work_End(const std::string& profile_path);

// Keeps the cone beside the profile, written whole and renamed into place; none removes
// the file, so a profile saved over an older cone profile fires at its own peak. False
// when it could not be kept.
bool Keep_Heat_Work_End(const std::string& profile_path, const std::optional<std::string>& cone);

}  // namespace corvanel
