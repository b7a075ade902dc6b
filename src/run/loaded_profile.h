// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "common/error_numbers.h"
#include "profiles/profile_sheet.h"
#include "profiles/run_profile.h"
#include "run/firing_change.h"
#include "run/firing_status.h"

namespace corvanel {

// The profile a run follows, as loaded from its file: the text, the sheet, its sensor
// and scale, and the tables and chart the run works from. A file that does not load
// leaves the profile loaded before it in force, whole (only a file that is not a profile
// at all drops the text, so the monitor tick no longer reads its time unit from it).
class Loaded_Profile {
  public:
    struct Load_Result {
        enum class Outcome { Loaded, Format_Not_Valid, Load_Error } What = Outcome::Loaded;
        Error_Number Error = Error_Number::None;  // for Load_Error: the cell that is no number
    };
    // Reads, checks and builds everything aside, then takes it.
    Load_Result Load(const std::string& path);
    // A profile built in memory: its tables, the row after its last segment and its sensor.
    void Use_Tables(const Run_Tables& tables, int finished_segment, std::string sensor_type);

    bool Valid() const { return Valid_; }  // a profile has loaded since the program started
    const std::string& Text() const { return Text_; }
    const Profile_Sheet& Sheet() const { return Sheet_; }
    const std::string& Sensor_Type() const { return Sensor_Type_; }
    const std::string& Temp_Scale() const { return Temp_Scale_; }  // "F", "C"; "" before a load
    bool Fahrenheit() const { return Temp_Scale_ == "F"; }
    bool Minutes() const { return Minutes_; }  // as the profile's settings say, at its load
    // The time unit the text names now: minutes when its time-unit letter is "M".
    bool Minutes_In_Text() const;
    int Finished_Segment() const { return Finished_Segment_; }  // the row after the last segment
    double Total_Time() const { return Total_Time_; }
    const Run_Tables& Tables() const { return Tables_; }
    // The run chart's points: the plan once a profile has loaded; before, a flat line.
    const Plan_Points& Chart_Points() const { return Chart_Points_; }
    std::shared_ptr<const Plan_Points> Plan() const { return Plan_; }  // empty before a load
    void Show_Empty_Chart();  // the flat line the run window starts with

    // ---- a firing changed while it runs ----
    // The plan the run follows now: the profile's, or the one the operator's changes made.
    Followed_Plan Followed() const;
    // Follows the plan changed at elapsed `at` from now on (tables, end and chart); the
    // profile's own plan stays as the original until the next load.
    void Follow(const Followed_Plan& plan, double at);
    // The profile's own plan once the followed one differs from it; empty before.
    std::shared_ptr<const Plan_Points> Original_Plan() const { return Original_Plan_; }
    // The window loads: no profile is in force and no row counts (the text, the sensor
    // and the tables stay until a profile replaces them).
    void Unload();
    // A controller value as the operator reads it: tenths of a degree for platinum sensors.
    std::string Controller_Units_Text(std::int16_t value) const;
    double Controller_Scale() const;  // 10 for platinum sensors, else 1

  private:
    bool Valid_ = false, Minutes_ = false;
    std::string Text_, Sensor_Type_, Temp_Scale_;
    Profile_Sheet Sheet_{};
    int Finished_Segment_ = 0;
    double Total_Time_ = 0;
    Run_Tables Tables_;
    Plan_Points Chart_Points_;
    std::shared_ptr<const Plan_Points> Plan_ = std::make_shared<const Plan_Points>();
    std::shared_ptr<const Plan_Points> Original_Plan_;
};

}  // namespace corvanel
