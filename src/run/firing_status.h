// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "common/clock.h"
#include "common/problem.h"
#include "common/quantity_text.h"

namespace corvanel {

// Where the run is, as everything outside the run model sees it. Cooling: the run has
// ended (finished, soft off, an alarm) while the kiln was hot, and the kiln is still watched
// on every monitoring tick until it is cold.
enum class Firing_State { Monitor, Running, Suspended, Cooling };

// What just happened. Every control tick of a run publishes Tick, every monitoring tick
// Monitor_Tick; the others are the run's events.
enum class Firing_Event {
    Tick,
    Monitor_Tick,
    Start,
    Suspend,
    Resume,
    Soft_Off,             // by the operator, or after an alarm
    Finished,             // "Profile Finished": the run's own soft off follows
    Elapsed_Edited,       // detail "old -> new"
    Communication_Error,  // detail: the message shown
    Recall_Resume,        // the program started again with recall
    Profile_Loaded,
    Log_Changed,   // a log file chosen or a reset
    Alarm_Raised,  // detail: the alarm's name
    Alarm_Cleared,
    Cooling_Ended,  // detail: why ("below 150 F", "48 hours", "new firing")
    // The controller answers again after an outage of its link; detail: how long it was
    // silent, in the operator's words.
    Link_Restored,
    Interrupted,  // a start with recall found the firing cut off; detail: when and how long
    // A limit held the set value back from what the profile asked; detail: which and how far.
    Set_Value_Held,
    // The operator changed the firing while it ran; detail: old -> new (firing_change.h).
    Segment_Skipped,
    Hold_Extended,
    Segment_Changed,
    // The loaded profile waits to start at a clock time (detail "2026-12-08 02:00"), or
    // the wait was cancelled.
    Start_Waiting,
    Start_Cancelled,
};

// The event's name in records and messages: "tick", "start", "soft off", ...
const char* Firing_Event_Name(Firing_Event event);

// The planned profile's corner points (elapsed, temperature), shared by every status.
using Plan_Points = std::vector<std::pair<double, double>>;
// Where a drawing of the plan starts: at the profile's first row, not at the origin the
// run chart puts before it (a vertical line at 0 otherwise).
std::size_t First_Drawn_Plan_Point(const Plan_Points& plan);

struct Firing_Forecast;

// A snapshot of the firing after a tick or an event. Temperatures are in degrees of the
// profile's scale (a platinum sensor's tenths already divided).
struct Firing_Status {
    Firing_State State = Firing_State::Monitor;
    Date_Time Clock;  // when the snapshot was taken
    std::string Kiln_Name, Profile_Name, Log_File;
    std::string Sensor_Type, Temp_Scale = "F", Time_Unit = "M";  // "F"/"C", "M"/"H"
    int Segment = 0;                                             // 0 without a loaded profile
    double Elapsed = 0;                                          // in the profile's time unit
    double Total_Time = 0;   // the profile's end, in the same unit
    double Tick_Length = 3;  // seconds between control ticks
    double Set_Value = 0, Measured = 0, Output_Percent = 0;
    double Error_Limit = 0;  // the current segment's, 0 for none
    // The controller's high set limit in degrees of the profile's scale, once it is known
    // and the controller works in that scale.
    std::optional<double> Set_Limit_High;
    bool Exchange_Failed = false;             // this tick's set-value write or measured read failed
    bool Input_Error = false;                 // the controller reports its input-error status
    std::vector<std::string> Alarms;          // the alarms active now
    std::shared_ptr<const Plan_Points> Plan;  // never null: the plan followed
    // The profile's own plan once the operator has changed the firing; null before.
    std::shared_ptr<const Plan_Points> Original_Plan;
    // The clock time the loaded profile waits to start at; none when it does not wait.
    std::optional<Date_Time> Starts_At;
    // The operator's last change of this firing, in words; empty before any.
    Operator_Text Last_Change;
    // The cone the firing's heat-work reached, once the kiln has left its peak; empty
    // before and without a feature that reads it.
    Operator_Text Cone;
    // What a feature that foresees the firing says of the way ahead; null without one.
    std::shared_ptr<const Firing_Forecast> Forecast;
    // After the run (State Cooling): seconds since it ended.
    double Seconds_After_Run = 0;
    // An alarm outside a firing (State Monitor) keeps a record of its own while it lasts:
    // its name, as a log's ("kiln_alarm_05_12_2026_09_03_27.txt"), and the seconds since it
    // began; "" when there is none.
    std::string Alarm_Record;
    double Seconds_Of_Alarm_Record = 0;

    // ---- how old the measured value is, and where a tick goes on the time axis ----
    // A good reading is one the controller answered without an input error.
    bool Has_Reading = false;  // a good reading since the program started
    Date_Time Last_Reading;    // when the last good reading came
    double Read_Interval = 3;  // seconds between the ticks that read the kiln now
    // The tick's real time since the firing started, in the profile's time unit: where
    // the chart draws it (Elapsed counts whole minute boundaries).
    double Real_Elapsed = 0;
    enum class Reading { Live, Stale, Absent };
    // At `now`: absent during an input error or before any good reading; stale when the
    // last good one is older than two ticks.
    Reading Reading_At(const Date_Time& now) const;
    double Reading_Age(const Date_Time& now) const;  // seconds since the last good reading

    bool Run_Active() const {
        return State == Firing_State::Running || State == Firing_State::Suspended;
    }
    // Where a reading after the run goes on a time axis: the run's end plus the time
    // since, in the profile's unit.
    double Elapsed_After_Run() const {
        return Elapsed + Seconds_After_Run / Seconds_Per_Time_Unit(Time_Unit);
    }
    double Time_Left() const { return Total_Time > Elapsed ? Total_Time - Elapsed : 0; }
    // The time left in seconds, and the clock time the profile ends at this pace; the run
    // window and the status page both show these.
    double Seconds_Left() const { return Time_Left() * Seconds_Per_Time_Unit(Time_Unit); }
    Date_Time Finish_Clock() const;
};

// The profile's names and units, which a status, the guard's heartbeat and a firing
// record's header each carry under the same names: one copies them to the other.
template <class To, class From>
void Copy_Profile_Fields(To& to, const From& from) {
    to.Profile_Name = from.Profile_Name;
    to.Sensor_Type = from.Sensor_Type;
    to.Temp_Scale = from.Temp_Scale;
    to.Time_Unit = from.Time_Unit;
}

// A chart's title: the profile, the day and time the firing started (once it has) and the
// kiln, "glaze.txt · 9 Mar 2027, 13:00 · Studio kiln"; parts not known are left out.
std::string Firing_Title(const Firing_Status& status, const Number_Style& style);

// What the kiln is doing, in one English word for the large read-outs: "Alarm" while any
// alarm is on; in a run "Heating", "Holding" or "Cooling" after the plan's slope where it
// is now ("Holding" when suspended: the set value stays); after the profile's end
// "Finished"; a hot kiln after a run ended early "Cooling"; otherwise "Waiting".
const char* Firing_State_Word(const Firing_Status& status);

// What the live view, the firing record, the status page and the publisher implement.
class Firing_Observer {
  public:
    virtual ~Firing_Observer() = default;
    virtual void Firing_Changed(const Firing_Status& status, Firing_Event event,
                                const std::string& detail) = 0;
};

// A feature that adds what it knows to the status before anyone hears it (the forecast
// of the way ahead): the others take it from the status, not from the feature.
class Firing_Annotator {
  public:
    virtual ~Firing_Annotator() = default;
    virtual void Annotate(Firing_Status& status, Firing_Event event) = 0;
};

// The run model's one way out: it publishes, the annotators add to the status, and the
// observers registered here hear it in the order they came. An observer may detach itself
// while it is being told.
class Firing_Status_Seam {
  public:
    Firing_Status_Seam() { Latest_.Plan = std::make_shared<const Plan_Points>(); }
    void Attach(Firing_Observer& observer);
    void Detach(Firing_Observer& observer);
    void Attach(Firing_Annotator& annotator) { Annotators_.push_back(&annotator); }
    void Publish(const Firing_Status& status, Firing_Event event, const std::string& detail = "");
    // The last status published, as its observers heard it.
    const Firing_Status& Latest() const { return Latest_; }

  private:
    std::vector<Firing_Observer*> Observers_;
    std::vector<Firing_Annotator*> Annotators_;
    Firing_Status Latest_;
    int Depth_ = 0;  // publishing inside an observer's call
};

}  // namespace corvanel
