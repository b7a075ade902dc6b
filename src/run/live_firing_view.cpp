// SPDX-License-Identifier: GPL-3.0-or-later
#include "run/live_firing_view.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "common/quantity_text.h"
#include "language/operator_style.h"
#include "language/translate.h"
#include "profiles/run_profile.h"
#include "run/firing_change.h"
#include "run/firing_chart.h"
#include "run/firing_forecast.h"
#include "run/firing_record.h"
#include "run/forecast_words.h"
#include "run/log_file.h"

namespace corvanel {

bool Replaces_Last_Drawn(const Trace_Points& drawn, const std::pair<double, double>& point,
                         double minute) {
    const std::size_t n = drawn.size();
    if (n < 2) return false;
    auto same_minute = [&](const std::pair<double, double>& other) {
        return !std::isnan(other.second) &&
               std::floor(other.first / minute) == std::floor(point.first / minute);
    };
    return !std::isnan(point.second) && same_minute(drawn[n - 1]) && same_minute(drawn[n - 2]);
}

Trace_Points Drawn_Points(const Trace_Points& trace, double minute) {
    Trace_Points drawn;
    for (const auto& point : trace) {
        if (Replaces_Last_Drawn(drawn, point, minute)) {
            drawn.back() = point;
        } else {
            drawn.push_back(point);
        }
    }
    return drawn;
}

double Drawing_Span(const Trace_Points& trace, double minute) {
    // A gap is no point on the line, and stays however wide the span.
    auto on_the_line = [](const Trace_Points& drawn) {
        return std::count_if(drawn.begin(), drawn.end(),
                             [](const auto& point) { return !std::isnan(point.second); });
    };
    double span = minute;
    const double whole = trace.empty() ? 0 : trace.back().first - trace.front().first;
    while (span < whole &&
           static_cast<std::size_t>(on_the_line(Drawn_Points(trace, span))) > Most_Drawn_Points)
        span *= 2;
    return span;
}

void Live_Firing_View::Clear_Traces() {
    Measured_.clear();
    Set_Value_.clear();
    Changes_.clear();
    ++Generation_;
}

void Live_Firing_View::Rebuild_From_Log(const Firing_Status& status) {
    Clear_Traces();
    if (status.Log_File.empty()) return;
    // The record knows each tick's clock, so the traces go on at real times. A silence of
    // more than two ticks and two minutes (the program was not running) is a gap; lines
    // kept once a minute are not.
    Firing_Record record;
    const std::string path = Paths_.Logfile(Firing_Record_Name(status.Log_File));
    if (!Read_Firing_Record(path, {}, record) && record.Header.Temp_Scale == status.Temp_Scale &&
        record.Header.Time_Unit == status.Time_Unit) {
        const std::vector<double> times = Real_Elapsed_Times(record);
        const double gap = std::max(2 * record.Header.Tick_Length, 120.0) /
                           Seconds_Per_Time_Unit(status.Time_Unit);
        for (std::size_t i = 0; i < record.Lines.size(); ++i) {
            const Firing_Record_Line& line = record.Lines[i];
            if (Firing_Change_Of_Line(line.Event, line.Detail, line.Elapsed, line.Segment))
                Changes_.emplace_back(times[i], line.Set_Value);
            if (!line.Is_Tick()) continue;
            if (!Measured_.empty() && times[i] - Measured_.back().first > gap) {
                Measured_.emplace_back(times[i], std::nan(""));
                Set_Value_.emplace_back(times[i], line.Set_Value);
            }
            Measured_.emplace_back(times[i], line.Measured);
            Set_Value_.emplace_back(times[i], line.Set_Value);
        }
        if (!Measured_.empty()) return;
    }
    // The log keeps controller units: tenths of a degree for the platinum sensors.
    const double scale = Is_Platinum_Sensor(status.Sensor_Type) ? 10.0 : 1.0;
    for (const Log_Entry& entry : Read_Log_Records(Paths_.Logfile(status.Log_File))) {
        Measured_.emplace_back(entry.Elapsed, entry.Measured / scale);
        Set_Value_.emplace_back(entry.Elapsed, entry.Set_Value / scale);
    }
}

void Live_Firing_View::Follow(const Firing_Status& status, Firing_Event event) {
    const bool minutes = status.Time_Unit == "M";
    Minute_ = minutes ? 1 : 1.0 / 60;
    Time_Axis_Title_ = TranslateText(corvanel::Time_Axis_Title(status.Time_Unit));
    Temperature_Axis_Title_ = TranslateText(corvanel::Temperature_Axis_Title(status.Temp_Scale));

    const bool active = status.Run_Active();
    Now_Shown_ = active;
    Now_Elapsed_ = status.Real_Elapsed;  // where the traces end, not the counted minutes
    Current_Segment_ = active ? status.Segment : 0;
    // A forecast without history is the plan's: the plan is drawn already.
    const bool foreseen = status.Forecast && status.Forecast->From_History;
    Forecast_ = foreseen ? status.Forecast->Curve : Trace_Points{};
    const Number_Style style = Operator_Style();
    State_Word_ = TranslateText(Firing_State_Word(status));
    const Firing_Status::Reading reading = status.Reading_At(status.Clock);
    Reading_Live_ = reading == Firing_Status::Reading::Live;
    Reading_Note_ = Reading_Words_Of(status, style);
    Measured_Shown_ = reading == Firing_Status::Reading::Absent
                          ? "----"
                          : Temperature_Shown(status.Measured, status.Temp_Scale, style);
    Set_Value_Shown_ = active || status.State == Firing_State::Cooling
                           ? Temperature_Shown(status.Set_Value, status.Temp_Scale, style)
                           : "";
    Cooling_Note_ = Cooling_Words_Of(status, Operator_Style());
    Forecast_Words words = Forecast_Words_Of(status, Operator_Style());
    Time_Left_ = std::move(words.Time_Left);
    Finishes_At_ = std::move(words.Finishes_At);
    Forecast_Note_ = std::move(words.Note);
    if (!active) {
        Off_Profile_ = false;
        return;
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
        case Firing_Event::Tick: {
            const bool fresh = status.Reading_At(status.Clock) == Firing_Status::Reading::Live;
            Measured_.emplace_back(status.Real_Elapsed, fresh ? status.Measured : std::nan(""));
            Set_Value_.emplace_back(status.Real_Elapsed, status.Set_Value);
            break;
        }
        case Firing_Event::Monitor_Tick: {
            // After the run the traces go on, a point a minute as in the record, at the
            // real time since the start; the set value is the soft off's.
            if (status.State != Firing_State::Cooling) break;
            const double after = status.Real_Elapsed +
                                 status.Seconds_After_Run / Seconds_Per_Time_Unit(status.Time_Unit);
            if (!Measured_.empty() &&
                after < Measured_.back().first + (status.Time_Unit == "H" ? 1.0 / 60 : 1)) {
                break;
            }
            const bool fresh = status.Reading_At(status.Clock) == Firing_Status::Reading::Live;
            Measured_.emplace_back(after, fresh ? status.Measured : std::nan(""));
            Set_Value_.emplace_back(after, status.Set_Value);
            break;
        }
        case Firing_Event::Profile_Loaded:
            Clear_Traces();
            break;
        case Firing_Event::Log_Changed:
            if (detail == "reset") Clear_Traces();
            break;
        case Firing_Event::Recall_Resume:
            Rebuild_From_Log(status);
            break;
        case Firing_Event::Segment_Skipped:
        case Firing_Event::Hold_Extended:
        case Firing_Event::Segment_Changed:
            Changes_.emplace_back(status.Real_Elapsed, status.Set_Value);
            break;
        default:
            break;
    }
    Follow(status, event);
}

}  // namespace corvanel
