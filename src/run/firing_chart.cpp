// SPDX-License-Identifier: GPL-3.0-or-later
#include "run/firing_chart.h"

#include "run/firing_change.h"

#include <algorithm>
#include <cmath>

namespace corvanel {

namespace {

double Temperature_In(double value, const std::string& from, const std::string& to) {
    if (from == to) return value;
    return to == "C" ? (value - 32) * 5 / 9 : value * 9 / 5 + 32;
}

double Time_In(double value, const std::string& from, const std::string& to) {
    if (from == to) return value;
    return to == "H" ? value / 60 : value * 60;
}

}  // namespace

const char* Time_Axis_Title(const std::string& time_unit) {
    return time_unit == "H" ? "Time (hours)" : "Time (minutes)";
}

const char* Temperature_Axis_Title(const std::string& temp_scale) {
    return temp_scale == "C" ? "Temperature (°C)" : "Temperature (°F)";
}

double Round_Step(double span, int most) {
    if (!(span > 0) || most < 1 || !std::isfinite(span)) return 0;
    const double rough = span / most;
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    for (double factor : {1.0, 2.0, 5.0}) {
        // A hair over a step is on it: 0.1 + 0.2 in three parts is cut at 0.1, not 0.2.
        if (factor * power >= rough * (1 - 1e-9)) return factor * power;
    }
    return 10 * power;
}

std::vector<double> Axis_Ticks(double min, double max, int most) {
    std::vector<double> ticks;
    const double step = Round_Step(max - min, most);
    if (step == 0) return ticks;
    // Counted in whole steps from the first, never by adding a step to a tick: far from
    // zero a step can be below the values' precision, and the sum would never grow.
    const double first = std::ceil(min / step);
    const double last = std::floor(max / step + 1e-9);
    if (!std::isfinite(first) || !std::isfinite(last) || last - first > 4.0 * most) return ticks;
    for (int k = 0; k <= static_cast<int>(last - first); ++k) {
        const double tick = (first + k) * step;
        if (!ticks.empty() && tick <= ticks.back()) continue;
        ticks.push_back(std::abs(tick) < step * 1e-9 ? 0 : tick);
    }
    return ticks;
}

Firing_Chart Build_Firing_Chart(const std::vector<const Firing_Record*>& records) {
    Firing_Chart chart;
    if (!records.empty()) {
        chart.Time_Unit = records.front()->Header.Time_Unit;
        chart.Temp_Scale = records.front()->Header.Temp_Scale;
    }
    bool any = false;
    auto add = [&](Chart_Series& series, double time, double temp, const Firing_Record_Header& h) {
        const double x = Time_In(time, h.Time_Unit, chart.Time_Unit);
        const double y = Temperature_In(temp, h.Temp_Scale, chart.Temp_Scale);
        series.Points.emplace_back(x, y);
        chart.X_Min = any ? std::min(chart.X_Min, x) : x;
        chart.X_Max = any ? std::max(chart.X_Max, x) : x;
        chart.Y_Min = any ? std::min(chart.Y_Min, y) : y;
        chart.Y_Max = any ? std::max(chart.Y_Max, y) : y;
        any = true;
    };
    for (std::size_t r = 0; r < records.size(); ++r) {
        const Firing_Record& record = *records[r];
        const std::string name =
            record.Header.Profile_Name.empty() ? "log" : record.Header.Profile_Name;
        const std::string label =
            records.size() > 1 ? name + " (" + std::to_string(r + 1) + ")" : name;
        chart.Record_Labels.push_back(name);
        Chart_Series plan{Chart_Series::Kind::Plan, r, label + " plan", {}};
        Chart_Series set{Chart_Series::Kind::Set_Value, r, label + " set value", {}};
        Chart_Series measured{Chart_Series::Kind::Measured, r, label + " measured", {}};
        const Plan_Points& points = record.Header.Plan;
        for (std::size_t p = First_Drawn_Plan_Point(points); p < points.size(); ++p)
            add(plan, points[p].first, points[p].second, record.Header);
        // Each tick at its real time: the elapsed time moves by whole minutes. After the
        // run only the kiln's temperature goes on; its set value is not the plan's.
        const std::vector<double> times = Real_Elapsed_Times(record);
        for (std::size_t i = 0; i < record.Lines.size(); ++i) {
            const Firing_Record_Line& line = record.Lines[i];
            if (line.Is_Tick()) add(set, times[i], line.Set_Value, record.Header);
            if (Firing_Change_Of_Line(line.Event, line.Detail, line.Elapsed, line.Segment)) {
                chart.Marks.push_back(
                    {Time_In(times[i], record.Header.Time_Unit, chart.Time_Unit),
                     Temperature_In(line.Set_Value, record.Header.Temp_Scale, chart.Temp_Scale), r,
                     line.Event});
            }
            if (line.Is_Reading()) add(measured, times[i], line.Measured, record.Header);
        }
        for (Chart_Series* series : {&plan, &set, &measured}) {
            if (!series->Points.empty()) chart.Series.push_back(std::move(*series));
        }
    }
    chart.X_Title = chart.Time_Unit == "H" ? "Elapsed (hours)" : "Elapsed (minutes)";
    chart.Y_Title = Temperature_Axis_Title(chart.Temp_Scale);
    chart.Y_Min = std::min(0.0, chart.Y_Min);
    if (chart.X_Max <= chart.X_Min) chart.X_Max = chart.X_Min + 1;
    if (chart.Y_Max <= chart.Y_Min) chart.Y_Max = chart.Y_Min + 1;
    chart.Y_Max += (chart.Y_Max - chart.Y_Min) * 0.05;
    chart.X_Ticks = Axis_Ticks(chart.X_Min, chart.X_Max, 10);
    chart.Y_Ticks = Axis_Ticks(chart.Y_Min, chart.Y_Max, 8);
    return chart;
}

}  // namespace corvanel
