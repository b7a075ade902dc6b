// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "run/firing_status.h"
#include "setup/program_paths.h"

namespace corvanel {

// A trace of the run chart: (the tick's real time since the firing started, in the
// profile's unit, degrees) per tick. A measured value of NaN is a tick without a fresh
// reading: the line leaves a gap there.
using Trace_Points = std::vector<std::pair<double, double>>;

// The run window's live view of the firing, kept from the firing status alone: the
// measured and set-value traces, where the firing is now, how long it has to go, when
// it ends, and whether the kiln is off the profile. The window only draws what it holds.
class Live_Firing_View : public Firing_Observer {
  public:
    explicit Live_Firing_View(Program_Paths paths) : Paths_(std::move(paths)) {}

    void Firing_Changed(const Firing_Status& status, Firing_Event event,
                        const std::string& detail) override;

    // One point per control tick of this firing, or per tick line of its record (per
    // record of its log when there is none) after a restart with recall; after the run,
    // one a minute while the hot kiln is watched.
    const Trace_Points& Measured() const { return Measured_; }
    const Trace_Points& Set_Value() const { return Set_Value_; }
    // Changes whenever the traces are emptied or rebuilt; between two changes the
    // traces only grow, so a drawing can add just the new points.
    std::uint64_t Trace_Generation() const { return Generation_; }

    // Where the operator changed the firing while it ran: (real time, set value then).
    const Trace_Points& Changes() const { return Changes_; }

    // The now marker: shown at the last tick's real time while a run is active (suspended
    // too), where the traces end.
    bool Now_Shown() const { return Now_Shown_; }
    double Now_Elapsed() const { return Now_Elapsed_; }

    // "5 h 20 min" and "23:40" (with the date when it is not today); "suspended" while
    // the run is; both empty without a run.
    const std::string& Time_Left() const { return Time_Left_; }
    const std::string& Finishes_At() const { return Finishes_At_; }

    // The large read-outs: what the kiln is doing in one word, the measured temperature
    // and the set value with their unit ("1,832 °F"; "----" without a reading, the set
    // value empty outside a run and its cooling), and whether the measured one is live;
    // when it is not, why ("No reading since 14:05").
    const std::string& State_Word() const { return State_Word_; }
    const std::string& Measured_Shown() const { return Measured_Shown_; }
    const std::string& Set_Value_Shown() const { return Set_Value_Shown_; }
    bool Reading_Live() const { return Reading_Live_; }
    const std::string& Reading_Note() const { return Reading_Note_; }

    // Why the likely finish is not the plan's, or that the times are the plan's for want
    // of the kiln's history; empty when there is nothing to add.
    const std::string& Forecast_Note() const { return Forecast_Note_; }
    // The measured temperature the kiln's history foresees from now on, in the traces'
    // units; empty without a forecast.
    const Trace_Points& Forecast() const { return Forecast_; }
    // After the run: when the kiln is likely cool enough to open; empty when not known.
    const std::string& Cooling_Note() const { return Cooling_Note_; }

    // The segment whose grid row is highlighted, 0 for none.
    int Current_Segment() const { return Current_Segment_; }
    // The measured temperature is outside the current segment's error limit.
    bool Off_Profile() const { return Off_Profile_; }

    // A minute in the profile's time unit: the span a drawing keeps two points of.
    double Minute() const { return Minute_; }

    // The chart's axis titles, after the loaded profile's time unit and scale.
    const std::string& Time_Axis_Title() const { return Time_Axis_Title_; }
    const std::string& Temperature_Axis_Title() const { return Temperature_Axis_Title_; }

    // A language chosen while the program runs: the words and axis titles again, from
    // the last status heard.
    void Language_Changed(const Firing_Status& latest) {
        Follow(latest, Firing_Event::Profile_Loaded);
    }

  private:
    void Clear_Traces();
    void Rebuild_From_Log(const Firing_Status& status);
    void Follow(const Firing_Status& status, Firing_Event event);

    Program_Paths Paths_;
    Trace_Points Measured_, Set_Value_, Changes_;
    std::uint64_t Generation_ = 0;
    bool Now_Shown_ = false;
    double Now_Elapsed_ = 0;
    std::string Time_Left_, Finishes_At_, Forecast_Note_, Cooling_Note_;
    std::string State_Word_, Measured_Shown_, Set_Value_Shown_, Reading_Note_;
    bool Reading_Live_ = false;
    Trace_Points Forecast_;
    int Current_Segment_ = 0;
    bool Off_Profile_ = false;
    std::string Time_Axis_Title_, Temperature_Axis_Title_;
    double Minute_ = 1;
};

// The points a chart draws of a trace: of the ticks within one minute (`minute` in the
// trace's unit; twenty ticks in a profile in minutes) the first and the last, so a day's
// firing draws a tenth of its points along the same line. A gap (NaN) is always kept.
Trace_Points Drawn_Points(const Trace_Points& trace, double minute = 1);

// The most points a chart draws of one trace. The chart keeps a path of every point it
// draws, so past this the span of which the first and last point are drawn doubles: a
// firing of days draws about as many points as one of a day.
constexpr std::size_t Most_Drawn_Points = 1500;

// The span for Drawn_Points that keeps `trace` within Most_Drawn_Points: a minute, or a
// minute doubled as often as that needs, but never wider than the trace.
double Drawing_Span(const Trace_Points& trace, double minute = 1);

// Adds one point to a drawing made by Drawn_Points: true when it takes the place of the
// drawing's last point, false when it goes after it.
bool Replaces_Last_Drawn(const Trace_Points& drawn, const std::pair<double, double>& point,
                         double minute = 1);

}  // namespace corvanel
