// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "common/clock.h"
#include "common/problem.h"
#include "run/loaded_profile.h"

namespace corvanel {

// The set value a soft off gives the controller: room temperature, 70 in a Fahrenheit
// profile and 20 in a Celsius one. The kiln guard gives the same.
inline std::int16_t Soft_Off_Set_Value(bool fahrenheit) {
    return fahrenheit ? 70 : 20;
}

// What the controller said of itself, for the ceiling of the set value.
struct Controller_Limits {
    std::optional<bool> Fahrenheit;              // its scale, once read
    std::optional<std::int16_t> High_Set_Limit;  // in its units, once read
};

// The limit that held a set value back from what the profile asked, the widest first:
// when two hold it at the same value, the one named is the earlier here.
enum class Set_Value_Limit { None, Controller_High, Sensor_Range, Profile_Peak, Segment_Range };

// Where the run stands on its profile: the elapsed time, counted in whole minute
// boundaries since the run started (or the operator set it), the segment that time falls
// in and the set value the profile asks for there. It knows nothing of the controller:
// the run window's tick asks it and sends what it says.
class Run_Engine {
  public:
    explicit Run_Engine(const Loaded_Profile& profile) : Profile_(profile) {}

    // ---- elapsed time, in the profile's time unit ----
    double Elapsed() const { return Elapsed_; }
    double Base() const { return Base_; }  // where the next start counts from
    void Reset();                          // the program starts: nothing has run
    void Recall(double elapsed);           // the run goes on where its log ends
    // `now` on the time of day and on the steady clock (Clock::Steady_Seconds).
    void Start(Date_Time now, double steady) {
        Run_Start_ = now;
        Run_Start_Steady_ = steady;
        Real_Elapsed_ = Base_;
    }
    // The tick's time increment: the minute boundaries passed since the start, in hours
    // for an hours profile, on top of the base. The time since the start is the steady
    // clock's, so the clocks going back an hour in autumn (or forward in spring, or set by
    // hand) move no set value; the boundaries are those of the time of day at the start.
    void Count(double steady);
    void Hold() { Base_ = Elapsed_; }  // suspended or soft off: a start goes on from here
    void Take_Entered(double elapsed) { Elapsed_ = Base_ = Real_Elapsed_ = elapsed; }
    void Undo_Entry() { Elapsed_ = Last_Tick_; }  // a time that is not one: the tick's again
    void Begin_At(double elapsed) { Elapsed_ = Base_ = Last_Tick_ = Real_Elapsed_ = elapsed; }
    // The last tick's real time since the start on top of the base, in the same unit: the
    // elapsed time without its counting in whole minute boundaries.
    double Real_Elapsed() const { return Real_Elapsed_; }
    // A time carried into a profile in the other unit: the same span in the new unit.
    void Convert_To_Unit(bool minutes);

    // The time unit the elapsed time counts in: "M" or "H" ("" before the first tick).
    const std::string& Time_Unit() const { return Time_Unit_; }
    void Use_Minutes(bool minutes) { Time_Unit_ = minutes ? "M" : "H"; }

    // ---- segment and set value ----
    // The segment (sheet row) `time` falls in; the profile's finished row at its end.
    int Determine_Current_Segment(double time) const;
    int Current_Segment() const { return Current_Segment_; }
    // Finds the segment of the elapsed time; true when the profile has ended there.
    bool Find_Segment();
    bool Profile_Ended() const { return Current_Segment_ >= Profile_.Finished_Segment(); }
    // The set value the current segment asks for at the elapsed time, whole controller
    // units rounded half to even. A value beyond them throws the overflow error and the
    // last good one stays in force. It never leaves the segment's start-end range and
    // never exceeds the profile's peak, the sensor's range (in the controller's scale
    // once known, else the profile's) or the controller's high set limit: rows that do
    // not join or a profile in the other scale cannot ask the kiln for more.
    void Follow_Profile();
    void Use_Controller_Limits(const Controller_Limits& limits) { Controller_ = limits; }
    Set_Value_Limit Held_By() const { return Held_By_; }  // by the last Follow_Profile
    std::int16_t Asked() const { return Asked_; }         // what the profile asked then
    // What the operator is told when a limit held the set value.
    Operator_Text Held_Text() const;
    void Room_Temperature();  // soft off: 70 °F or 20 °C
    std::int16_t Set_Value() const { return Set_Value_; }

    // ---- a run paused by RUN PROFILE, not ended ----
    bool Suspended() const { return Suspended_; }
    void Set_Suspended(bool suspended) { Suspended_ = suspended; }

  private:
    const Loaded_Profile& Profile_;
    double Elapsed_ = 0, Base_ = 0, Last_Tick_ = 0, Real_Elapsed_ = 0;
    Date_Time Run_Start_;
    double Run_Start_Steady_ = 0;
    std::string Time_Unit_;
    int Current_Segment_ = 1;
    std::int16_t Set_Value_ = 0, Asked_ = 0;
    Set_Value_Limit Held_By_ = Set_Value_Limit::None;
    Controller_Limits Controller_;
    bool Suspended_ = false;
};

}  // namespace corvanel
