// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "common/clock.h"
#include "run/firing_record.h"

namespace corvanel {

// The kiln as its latest firings since the last marked event show it, in three plain
// parts, all in degrees Fahrenheit whatever the records' scale:
// - how fast it heats at full output, read in bins of 100 F from the ticks the
//   controller gave full output, between the bins drawn as straight lines, beyond the
//   outermost bins flat;
// - how far the measured temperature trails the set value in ramps the kiln follows;
// - how it cools with the power off: Newton's cooling, dT/dt = -k (T - T_room), fitted to
//   the falling temperatures of the ticks and the readings after the run at output 0.

inline constexpr double Model_Bin_F = 100;
// The firings the model is learned from, the latest first.
inline constexpr std::size_t Model_Firings = 5;
// Changes to the way the model is learned raise it: a kept model of an older way is
// learned again.
inline constexpr int Kiln_Model_Method = 1;

struct Heating_Bin {
    double Low_F = 0;            // the bin runs from here to Low_F + Model_Bin_F
    double Rate_F_Per_Hour = 0;  // at full output
    std::size_t Ticks = 0;       // the full-output ticks read there; 0: the health band's rate
};

struct Kiln_Thermal_Model {
    // What it was learned from.
    int Firings = 0;
    std::optional<Date_Time> Oldest_Firing, Newest_Firing;  // their starts
    // Bins with a rate, lowest first.
    std::vector<Heating_Bin> Heating;
    std::optional<double> Ramp_Lag_F;  // measured below the set value in ramps followed
    std::size_t Lag_Ticks = 0;
    std::optional<double> Cooling_Per_Hour;  // Newton's k
    double Room_F = 70;
    std::size_t Cooling_Steps = 0;      // the falling stretches' steps it was fitted to
    double Cooling_Rms_F_Per_Hour = 0;  // how far their rates lie from the fit

    bool Has_Heating() const { return !Heating.empty(); }
    // Degrees Fahrenheit an hour the kiln climbs at full output at this temperature; 0
    // without heating bins.
    double Full_Output_Rate(double fahrenheit) const;
    // Degrees Fahrenheit an hour it falls with the power off; none without a fit.
    std::optional<double> Cooling_Rate(double fahrenheit) const;
    // The temperature after `hours` of cooling with the power off; none without a fit.
    std::optional<double> Cooled(double fahrenheit, double hours) const;
    double Lag_F() const { return Ramp_Lag_F.value_or(0); }
};

// The model of these records, the latest first: the first Model_Firings that hold
// readings of a run (or after one) are used, the others left.
Kiln_Thermal_Model Learn_Kiln_Model(const std::vector<Firing_Record>& latest_first);

// The model is kept beside the records, in the Logfiles folder, in this file: written
// whole and renamed into place, its numbers in plain decimal points whatever the locale.
inline constexpr const char* Kiln_Model_File = "kiln.model";

// What a kept model was learned from: the records settled then (how many and the newest
// change among them) and the marked events.
struct Kiln_Model_Source {
    std::size_t Records = 0;
    long long Newest_Change = 0;   // the file clock's count
    long long Events_Change = -1;  // -1: no events file
    bool operator==(const Kiln_Model_Source&) const = default;
};

std::string Kiln_Model_Text(const Kiln_Thermal_Model& model, const Kiln_Model_Source& source);
// The model in the text when it was kept for this source by the method of now.
std::optional<Kiln_Thermal_Model> Parse_Kiln_Model(const std::string& text,
                                                   const Kiln_Model_Source& source);

// A record still written to (a firing, the watch after it) is left until it has not
// changed for this long: a model learned at every tick would stand for no firing.
inline constexpr std::chrono::seconds Record_Settle_Time{600};

// The kiln's model from the records of the folder: the kept one while no record has
// settled or changed since and the events are the same, otherwise learned again and kept.
// Without firings to learn from, a model without heating bins.
Kiln_Thermal_Model Kept_Kiln_Model(
    const std::string& folder,
    std::filesystem::file_time_type now = std::filesystem::file_time_type::clock::now());

}  // namespace corvanel
