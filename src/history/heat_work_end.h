// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "history/cone_heat_work.h"
#include "run/feature.h"
#include "setup/program_paths.h"
#include "setup/settings_store.h"

namespace corvanel {

// Ends a cone firing on heat-work when its profile says so (profiles/heat_work_end_file.h).
// During the last climb to the peak it reads the rate the kiln climbs at over its last
// 100 C (180 F), as the chart's columns are, or over the part of the last climb behind it
// once that is half as long (the ramp before runs at the speed's faster rate), and moves
// the peak to the chart's temperature of the cone for that rate (with the kiln's cone
// offset, when one was taken); at the peak it ends the hold once the readings show the
// cone reached. It steers the firing through the operator's own route for changes, so a
// set value keeps every limit it has.
//
// A moved peak stays within limits: never above the chart's hottest figure for the cone
// (its fastest column: a slower climb bends a cone at a lower temperature) by more than
// Heat_Work_Margin_C, never beyond the sensor's range or the controller's high set limit,
// never below the kiln's reading. A move smaller than Heat_Work_Dead_Band_C is not made,
// and a firing's peak moves at most Heat_Work_Most_Moves times, so the set value does not
// hunt.
inline constexpr double Heat_Work_Margin_C = 10;
inline constexpr double Heat_Work_Dead_Band_C = 2;
inline constexpr int Heat_Work_Most_Moves = 3;

// The rate (degrees an hour) the readings climbed at over their last `span` degrees up to
// the last one; none when they do not reach that far down.
std::optional<double> Recent_Climb_Rate(const std::vector<Kiln_Reading>& readings, double span);

// The chart's temperature at a place on the scale of cones (history/cone_heat_work.h:
// 0 is cone 022, fractions between two cones) for a rate; held to the chart's ends.
double Chart_Temperature_At(double position, double rate, const std::string& scale);

class Heat_Work_End : public Annotating_Feature {
  public:
    Heat_Work_End(Program_Paths paths, Settings_Store& settings, Kiln_Access& kiln);

    void Annotate(Firing_Status& status, Firing_Event event) override;

  private:
    void Begin(const Firing_Status& status);
    void Move_Peak(const Firing_Status& status, double climb_start);
    void End_Hold(const Firing_Status& status);

    Program_Paths Paths_;
    Settings_Store& Settings_;
    Kiln_Access& Kiln_;
    std::optional<std::size_t> Cone_;  // the cone aimed at, by its place in the chart
    std::string Cone_Name_;
    double Target_ = 0;  // where the program's figure must reach, offset counted
    std::vector<Kiln_Reading> Readings_;
    std::optional<double> Climb_Start_;  // the temperature the last climb began at
    int Moves_ = 0;
    bool Hold_Ended_ = false;
};

}  // namespace corvanel
