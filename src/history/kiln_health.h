// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "history/energy_settings.h"
#include "history/firing_summary.h"
#include "run/firing_record.h"

namespace corvanel {

// What a firing says of the kiln's health: how fast it heats when the controller gives
// it all it has, and how well it keeps up with the plan. Temperatures and rates are kept
// in degrees Fahrenheit whatever the record's scale, so firings in either scale stand on
// one trend.

// The bands the heating rate at full output is taken in, in degrees Fahrenheit; a
// Celsius record uses the same bands, rounded to 5 degrees Celsius for the operator.
inline constexpr std::size_t Health_Band_Count = 3;
struct Health_Band {
    double Low_F, High_F;  // the rate is read between these
    int Low_C, High_C;     // how a Celsius operator reads them
};
inline constexpr std::array<Health_Band, Health_Band_Count> Health_Bands = {{
    {600, 1000, 315, 540},
    {1000, 1500, 540, 815},
    {1500, 2000, 815, 1095},
}};

// Changes to the way the figures are worked out raise it: kept figures of an older method
// are worked out again.
inline constexpr int Health_Method = 1;

// Output at or above this is full output.
inline constexpr double Full_Output_Percent = 99;

// A figure with the reason it is missing when it is.
struct Health_Figure {
    std::optional<double> Value;
    std::string Omitted;  // why there is no value, in the operator's words (English)
};

struct Firing_Health {
    bool Has_Start = false;
    Date_Time Start;
    std::string Profile_Name;
    std::string Temp_Scale = "F";  // the record's
    // Degrees Fahrenheit per hour the kiln rose at full output in each band.
    std::array<Health_Figure, Health_Band_Count> Full_Power_Rate;
    Health_Figure Full_Output_Share;  // share of the run's ticks at full output, 0..1
    Health_Figure Ramp_Lag;           // mean degrees F measured was below the set value in ramps
    Health_Figure Last_200_Minutes;   // minutes the kiln took for its last 200 F to the peak
    // Hours the elements ran at full power in all: energy is this times the kiln's power.
    double Full_Power_Hours = 0;
    Firing_Outcome Outcome = Firing_Outcome::Unfinished;
};

// The figures of one record, worked out from its ticks.
Firing_Health Work_Out_Health(const Firing_Record& record);

// Energy and cost of a firing with the kiln's power and price; unset without them.
std::optional<double> Health_Energy_kWh(const Firing_Health& health, const Energy_Settings& energy);
std::optional<double> Health_Cost(const Firing_Health& health, const Energy_Settings& energy);

// The kept figures: "<record name>.health" beside the record, written whole and renamed
// into place. They stand for the record while its size and time of change are those they
// were worked out from and the method has not changed.
std::string Health_File_Of_Record(const std::string& record_path);
std::string Health_File_Text(const Firing_Health& health, unsigned long long record_size,
                             long long record_time);
// The figures in the text, when it was written for a record of this size and time by the
// method of now.
std::optional<Firing_Health> Parse_Health_File(const std::string& text,
                                               unsigned long long record_size,
                                               long long record_time);

// The record's figures: the kept ones while they stand, otherwise worked out and kept.
// Nothing when the record cannot be read.
std::optional<Firing_Health> Kept_Health(const std::string& record_path);

// Every record's figures in the folder, oldest first, read on the machine's cores.
std::vector<Firing_Health> Health_Of_Folder(const std::string& folder);

}  // namespace corvanel
