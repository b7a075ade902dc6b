// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace corvanel {

class Profile_Editor;

// What the editor's unit labels show instead of their design text, translated: "TempScale"
// and "TimeScale" follow the scales of the profile being edited (with the live view
// setting checked).
std::string Editor_Unit_Caption(const Profile_Editor& editor, std::string_view control);

}  // namespace corvanel
