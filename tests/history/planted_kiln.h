// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <algorithm>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "run/firing_record.h"
#include "support/temp_folder.h"

namespace corvanel {

// A kiln whose nature is planted: how fast it climbs at full output (straight lines between
// the points of the curve, flat beyond), how far it trails a ramp it follows, and Newton's
// cooling with the power off. Its firings are written as the record writer writes them.
struct Planted_Kiln {
    std::vector<std::pair<double, double>> Rate_Curve = {
        {0, 640}, {1000, 540}, {1600, 420}, {2400, 180}};  // F, F/h
    double Lag_F = 14;
    double Cooling_Per_Hour = 0.28, Room_F = 68;

    double Rate(double f) const {
        if (f <= Rate_Curve.front().first) return Rate_Curve.front().second;
        for (std::size_t i = 1; i < Rate_Curve.size(); ++i) {
            const auto [x0, r0] = Rate_Curve[i - 1];
            const auto [x1, r1] = Rate_Curve[i];
            if (f <= x1) return r0 + (r1 - r0) * (f - x0) / (x1 - x0);
        }
        return Rate_Curve.back().second;
    }

    // One second of the kiln under its controller: the temperature it reaches and the
    // output the controller gives.
    std::pair<double, double> Second(double t, double set, bool rising) const {
        const double target = rising ? set - Lag_F : set;
        if (target > t) {
            const double rise = Rate(t) / 3600;
            return t + rise >= target ? std::pair{target, 60.0} : std::pair{t + rise, 100.0};
        }
        if (rising && t <= set) return {t, 35};
        const double cooled = Room_F + (t - Room_F) * std::exp(-Cooling_Per_Hour / 3600);
        const double lowest = rising ? set : target;
        return cooled <= lowest ? std::pair{lowest, 20.0} : std::pair{cooled, 0.0};
    }
};

// A plan in Fahrenheit and minutes from corners (minute, F), with the chart's origin before.
inline Plan_Points Planted_Plan(std::vector<std::pair<double, double>> corners) {
    corners.insert(corners.begin(), {0, 0});
    return corners;
}

// The set value of the plan at a minute, and whether the plan climbs there.
inline double Plan_Set_At(const Plan_Points& plan, double minute, bool& rising) {
    rising = false;
    for (std::size_t k = 1; k + 1 < plan.size(); ++k) {
        const auto [x0, t0] = plan[k];
        const auto [x1, t1] = plan[k + 1];
        if (minute < x1 || k + 2 == plan.size()) {
            rising = t1 > t0 && minute < x1;
            if (x1 <= x0 || minute >= x1) return t1;
            return t0 + (t1 - t0) * std::max(0.0, minute - x0) / (x1 - x0);
        }
    }
    return plan.back().second;
}

// The planted kiln's temperature, a reading a second, fired by the clock along the plan
// (Fahrenheit, minutes) from its first temperature.
inline std::vector<double> Planted_Course(const Planted_Kiln& kiln, const Plan_Points& plan) {
    std::vector<double> course{plan[1].second};
    const auto seconds = static_cast<long>(plan.back().first * 60);
    for (long s = 1; s <= seconds; ++s) {
        bool rising = false;
        const double set = Plan_Set_At(plan, static_cast<double>(s) / 60, rising);
        course.push_back(kiln.Second(course.back(), set, rising).first);
    }
    return course;
}

// A firing of the planted kiln as its record: a tick every `tick_seconds` while the plan
// (Fahrenheit, minutes) runs, then the readings after the run a minute apart until the
// kiln is below 150 F. `scale` "C" keeps the record, its plan and its numbers in Celsius.
inline std::string Planted_Record(const Planted_Kiln& kiln, const Plan_Points& plan,
                                  const Date_Time& start, const std::string& scale = "F",
                                  double tick_seconds = 30) {
    auto in_scale = [&](double f) {
        return scale == "C" ? std::round((f - 32) * 5 / 9 * 10) / 10 : std::round(f * 10) / 10;
    };
    Firing_Record_Header header;
    header.Program = "Corvanel 0.1.0";
    header.Profile_Name = "planted.txt";
    header.Temp_Scale = scale;
    header.Tick_Length = tick_seconds;
    header.Started = Format_Clock(start, 0);
    header.Plan = plan;
    for (std::size_t k = 1; k < plan.size(); ++k) header.Plan[k].second = in_scale(plan[k].second);
    std::string text = Firing_Record_Header_Text(header);
    Firing_Record_Line line;
    auto write = [&](double seconds, double set, double t, double output, const char* event) {
        line.Clock = Date_Time_Of_Seconds(Seconds_Of(start) + std::lround(seconds));
        line.Elapsed = seconds / 60;
        line.Set_Value = in_scale(set);
        line.Measured = in_scale(t);
        line.Output_Percent = output;
        line.Event = event;
        text += Firing_Record_Line_Text(line);
    };
    double t = plan[1].second, output = 0, set = t;
    write(0, t, t, 0, "start");
    const double end = plan.back().first * 60;
    for (double s = 0; s <= end; s += 1) {
        bool rising = false;
        set = Plan_Set_At(plan, s / 60, rising);
        if (s > 0) std::tie(t, output) = kiln.Second(t, set, rising);
        if (std::fmod(s, tick_seconds) == 0) write(s, set, t, output, "");
    }
    write(end, set, t, output, "profile finished");
    write(end, 70, t, 0, "soft off");
    double s = end;
    while (t >= 150) {
        for (int i = 0; i < 60; ++i) t = kiln.Second(t, 70, false).first;
        s += 60;
        write(s, 70, t, 0, t < 150 ? "after run ended" : "after run");
    }
    return text;
}

// The firings the model learns from: a ramp it follows to 400 F, a climb at full output
// to 2,250 F held until the kiln is there, and a fall the kiln follows until it cools
// slower than asked, then the watch after the run.
inline const Plan_Points Learning_Plan =
    Planted_Plan({{0, 70}, {132, 400}, {270.75, 2250}, {420.75, 2250}, {510.75, 1500}});

// A glaze firing of 300 F/h to 1,000 F, a hold, 400 F/h to 2,200 F (more than the planted
// kiln has above about 1,670 F), a hold of 15 minutes.
inline const Plan_Points Fast_Top =
    Planted_Plan({{0, 70}, {186, 1000}, {206, 1000}, {386, 2200}, {401, 2200}});

// `text` written to `path` and left as a record that has settled: last written `age` ago.
inline void Write_Settled(const std::string& path, const std::string& text,
                          std::chrono::minutes age = std::chrono::minutes(60)) {
    Write_Whole_File(path, text);
    std::filesystem::last_write_time(path, std::filesystem::file_time_type::clock::now() - age);
}

// Settled records glaze_<day>.firing.csv in `folder` of the planted kiln fired along the
// plan on 4, 11 and 18 January 2027.
inline void Write_Planted_Glazes(const std::string& folder, const Planted_Kiln& kiln = {},
                                 const Plan_Points& plan = Learning_Plan) {
    for (int day : {4, 11, 18})
        Write_Settled(
            std::filesystem::path(folder) / ("glaze_" + std::to_string(day) + ".firing.csv"),
            Planted_Record(kiln, plan, {2027, 1, day, 8, 0, 0}));
}

}  // namespace corvanel
