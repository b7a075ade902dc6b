// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

#include "setup/program_paths.h"

namespace corvanel {

// What a firing's electricity cost: the kiln's power and the price of a kWh, kept in
// Setup/KilnPower.txt and Setup/EnergyPrice.txt. Either may be unset.
struct Energy_Settings {
    std::optional<double> Kiln_Power_kW;
    std::optional<double> Price_Per_kWh;
};

// The settings in the Setup folder. A value that is there but not a number of 0 or more
// stays unset, and `problems` gets a line naming the file.
Energy_Settings Read_Energy_Settings(const Program_Paths& paths, std::string* problems = nullptr);

// Writes both files (an unset value as an empty file).
void Save_Energy_Settings(const Program_Paths& paths, const Energy_Settings& settings);

// The text typed for a setting: empty is unset; false for anything but a number of 0 or more.
bool Energy_Value_Of_Text(const std::string& text, std::optional<double>& value);

// The small dialog that sets them: two text boxes, OK and Cancel.
class Energy_Settings_Dialog {
  public:
    explicit Energy_Settings_Dialog(Program_Paths paths) : Paths_(std::move(paths)) {}

    // The boxes show the stored values; a stored value that is not usable is named.
    void Form_Load();
    // Saves both when both are empty or a number of 0 or more; otherwise nothing is
    // saved, the message names the box and false comes back.
    bool OK_Click();

    std::string Kiln_Power, Price_Per_kWh, Message;

  private:
    Program_Paths Paths_;
};

}  // namespace corvanel
