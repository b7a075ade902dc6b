// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace corvanel {

class Traj_form;

// What the run window's unit labels show instead of their design text, translated (with
// the live view setting checked): "TimeReadOut" and "SetPointReadOut" follow the loaded
// profile (empty before a profile or a monitoring tick has set the unit, so the design
// text stands).
std::string Run_Unit_Caption(const Traj_form& form, std::string_view control);

}  // namespace corvanel
