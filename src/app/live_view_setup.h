// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

#include "setup/program_paths.h"

namespace corvanel {

class Profile_Editor;
class Traj_form;

// Setup/LiveFiringView.txt: "checked" (the default) or "unchecked". Checked, the run
// window's Process Temp keeps its last reading through a tick instead of going blank, and
// the unit labels of the run window and the editor show the profile's units through the
// caption pass. A missing file is written with the default; a bad one is left alone and
// the default used. `message` then says which (it is empty when the file was read).
bool Read_Live_View_Setting(const Program_Paths& paths, std::string& message);

// What a unit label shows instead of its design text, translated: the run window's
// "TimeReadOut" and "SetPointReadOut" follow the loaded profile (empty before a profile
// or a monitoring tick has set the unit, so the design text stands), the editor's
// "TempScale" and "TimeScale" the scales of the profile being edited.
std::string Run_Unit_Caption(const Traj_form& form, std::string_view control);
std::string Editor_Unit_Caption(const Profile_Editor& editor, std::string_view control);

}  // namespace corvanel
