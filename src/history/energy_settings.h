// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "common/problem.h"

#include "setup/program_paths.h"
#include "setup/setting.h"
#include "setup/settings_store.h"

namespace corvanel {

// What a firing's electricity cost: the kiln's power and the price of a kWh, kept in
// Setup/KilnPower.txt and Setup/EnergyPrice.txt, each a number of 0 or more. Either may
// be unset (empty); a value that is not usable leaves the one the store had.
extern const Setting Kiln_Power_Setting;
extern const Setting Energy_Price_Setting;
const Setting_List& Energy_Setting_List();  // the "Energy Settings" dialog's, in order

struct Energy_Settings {
    std::optional<double> Kiln_Power_kW;
    std::optional<double> Price_Per_kWh;
};

// The settings in the Setup folder; what was not usable is added to `problems`.
Energy_Settings Read_Energy_Settings(Settings_Store& store,
                                     std::vector<Problem>* problems = nullptr);

}  // namespace corvanel
