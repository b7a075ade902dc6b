// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "setup/settings_store.h"

namespace corvanel {

// Setup/LiveFiringView.txt: "checked" (the default) or "unchecked". Checked, the run
// window's Process Temp keeps its last reading through a tick instead of going blank, and
// the unit labels of the run window and the editor show the profile's units through the
// caption pass. A missing file is written with the default; a bad one is left alone and
// the default used. `message` then says which (it is empty when the file was read).
bool Read_Live_View_Setting(Settings_Store& settings, std::string& message);

}  // namespace corvanel
