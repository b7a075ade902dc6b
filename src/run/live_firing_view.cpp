// SPDX-License-Identifier: GPL-3.0-or-later
#include "run/live_firing_view.h"

#include <cmath>
#include <cstdio>

#include "language/translate.h"
#include "profiles/run_profile.h"
#include "run/log_file.h"

namespace corvanel {

std::string Hours_And_Minutes_Text(long long minutes) {
    if (minutes < 0) minutes = 0;
    const std::string rest = std::to_string(minutes % 60) + " min";
    return minutes < 60 ? rest : std::to_string(minutes / 60) + " h " + rest;
}

std::string Clock_Time_Text(const Date_Time& then, const Date_Time& now) {
    char text[32];
    if (then.Year == now.Year && then.Month == now.Month && then.Day == now.Day) {
        std::snprintf(text, sizeof text, "%02d:%02d", then.Hour, then.Minute);
    } else {
        std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d", then.Year, then.Month,
                      then.Day, then.Hour, then.Minute);
    }
    return text;
}

bool Replaces_Last_Drawn(const Trace_Points& drawn, const std::pair<double, double>& point) {
    const std::size_t n = drawn.size();
    return n >= 2 && drawn[n - 1].first == point.first && drawn[n - 2].first == point.first;
}

Trace_Points Drawn_Points(const Trace_Points& trace) {
    Trace_Points drawn;
    for (const auto& point : trace) {
        if (Replaces_Last_Drawn(drawn, point)) {
            drawn.back() = point;
        } else {
            drawn.push_back(point);
        }
    }
    return drawn;
}

void Live_Firing_View::Clear_Traces() {
    Measured_.clear();
    Set_Value_.clear();
    ++Generation_;
}

void Live_Firing_View::Rebuild_From_Log(const Firing_Status& status) {
    Clear_Traces();
    if (status.Log_File.empty()) return;
    // The log keeps controller units: tenths of a degree for the platinum sensors.
    const double scale = Is_Platinum_Sensor(status.Sensor_Type) ? 10.0 : 1.0;
    for (const Log_Entry& entry : Read_Log_Records(Paths_.Logfile(status.Log_File))) {
        Measured_.emplace_back(entry.Elapsed, entry.Measured / scale);
        Set_Value_.emplace_back(entry.Elapsed, entry.Set_Value / scale);
    }
}

void Live_Firing_View::Follow(const Firing_Status& status, Firing_Event event) {
    const bool minutes = status.Time_Unit == "M";
    Time_Axis_Title_ = TranslateText(minutes ? "Time (minutes)" : "Time (hours)");
    Temperature_Axis_Title_ =
        TranslateText(status.Temp_Scale == "C" ? "Temperature (°C)" : "Temperature (°F)");

    const bool active = status.Run_Active();
    Now_Shown_ = active;
    Now_Elapsed_ = status.Elapsed;
    Current_Segment_ = active ? status.Segment : 0;
    if (!active) {
        Time_Left_.clear();
        Finishes_At_.clear();
        Off_Profile_ = false;
        return;
    }
    Time_Left_ = Hours_And_Minutes_Text(std::llround(status.Seconds_Left() / 60));
    if (status.State == Firing_State::Suspended) {
        Finishes_At_ = TranslateText("suspended");
    } else {
        Finishes_At_ = Clock_Time_Text(status.Finish_Clock(), status.Clock);
    }
    // The alert's own test, shown at once: the difference beyond the segment's limit.
    if (event == Firing_Event::Tick || event == Firing_Event::Monitor_Tick) {
        Off_Profile_ = status.Error_Limit > 0 &&
                       std::abs(status.Set_Value - status.Measured) > status.Error_Limit;
    }
}

void Live_Firing_View::Firing_Changed(const Firing_Status& status, Firing_Event event,
                                      const std::string& detail) {
    switch (event) {
        case Firing_Event::Tick:
            Measured_.emplace_back(status.Elapsed, status.Measured);
            Set_Value_.emplace_back(status.Elapsed, status.Set_Value);
            break;
        case Firing_Event::Monitor_Tick:
            // After the run the traces go on, a point a minute as in the record; the set
            // value is the soft off's.
            if (status.State == Firing_State::Cooling &&
                (Measured_.empty() ||
                 status.Elapsed_After_Run() >=
                     Measured_.back().first + (status.Time_Unit == "H" ? 1.0 / 60 : 1))) {
                Measured_.emplace_back(status.Elapsed_After_Run(), status.Measured);
                Set_Value_.emplace_back(status.Elapsed_After_Run(), status.Set_Value);
            }
            break;
        case Firing_Event::Profile_Loaded:
            Clear_Traces();
            break;
        case Firing_Event::Log_Changed:
            if (detail == "reset") Clear_Traces();
            break;
        case Firing_Event::Recall_Resume:
            Rebuild_From_Log(status);
            break;
        default:
            break;
    }
    Follow(status, event);
}

}  // namespace corvanel
