// SPDX-License-Identifier: GPL-3.0-or-later
#include "run/safe_start.h"

#include "common/text.h"

namespace corvanel {

double Elapsed_At_Kiln_Temperature(const Run_Tables& tables, int finished_segment,
                                   double measured) {
    if (finished_segment < 2 || measured <= tables.Seg_Start_Temp[0]) return 0;
    for (std::size_t k = 0; k + 1 < static_cast<std::size_t>(finished_segment); ++k) {
        const double start = tables.Seg_Start_Temp[k], end = tables.Seg_End_Temp[k];
        const double begins = tables.Seg_Start_Time[k], ends = tables.Seg_End_Time[k];
        if (end <= start || ends <= begins) continue;
        if (measured <= start) return begins;
        if (measured >= end) return ends;
        return begins + (measured - start) / (end - start) * (ends - begins);
    }
    return 0;
}

namespace {

bool Rising(const Run_Tables& tables, std::size_t k) {
    return tables.Seg_End_Temp[k] > tables.Seg_Start_Temp[k] &&
           tables.Seg_End_Time[k] > tables.Seg_Start_Time[k];
}

double Plan_At(const Run_Tables& tables, std::size_t k, double time) {
    const double length = tables.Seg_End_Time[k] - tables.Seg_Start_Time[k];
    if (length <= 0) return tables.Seg_End_Temp[k];
    return tables.Seg_Start_Temp[k] + (time - tables.Seg_Start_Time[k]) / length *
                                          (tables.Seg_End_Temp[k] - tables.Seg_Start_Temp[k]);
}

}  // namespace

Firing_Continuation Decide_Continuation(const Run_Tables& tables, int finished_segment,
                                        const Interruption& cut) {
    const std::string scale = cut.Fahrenheit ? " °F" : " °C";
    auto degrees = [&](double units) {
        return Operator_Text::Value(Format_Number(units / cut.Per_Degree) + scale);
    };
    auto refused = [](Operator_Text why) { return Firing_Continuation{false, 0, std::move(why)}; };
    if (cut.Gap_Seconds > cut.Longest_Gap_Minutes * 60) {
        return refused(Operator_Text::Phrase(
            "the program was not running for %1, longer than the %2 a firing continues after",
            {Operator_Text::Value(Duration_Text(cut.Gap_Seconds)),
             Operator_Text::Value(
                 Duration_Text(static_cast<long long>(cut.Longest_Gap_Minutes * 60)))}));
    }
    const double hot = (cut.Fahrenheit ? 212 : 100) * cut.Per_Degree;
    if (cut.Measured_Now < hot) {
        return refused(Operator_Text::Phrase("the kiln is at %1, below %2",
                                             {degrees(cut.Measured_Now), degrees(hot)}));
    }
    const std::size_t segments = finished_segment > 1 ? finished_segment - 1 : 0;
    std::size_t k = 0;
    while (k < segments && cut.Stopped_At >= tables.Seg_End_Time[k]) ++k;
    if (k >= segments) return refused(Operator_Text::Phrase("its profile had ended"));
    std::size_t last_rising = segments;
    for (std::size_t j = 0; j < segments; ++j) {
        if (Rising(tables, j)) last_rising = j;
    }
    const double plan = Plan_At(tables, k, cut.Stopped_At);
    const bool at_the_top =
        last_rising < segments &&
        (k == last_rising || (k == last_rising + 1 && !Rising(tables, k) &&
                              tables.Seg_End_Temp[k] == tables.Seg_Start_Temp[k]));
    if (at_the_top) {
        const double drop = (cut.Fahrenheit ? 72 : 40) * cut.Per_Degree;
        if (cut.Measured_Now < plan - drop) {
            if (cut.Measured_Then > cut.Measured_Now) {
                return refused(Operator_Text::Phrase(
                    "the kiln cooled %1 while the program was not running and is %2 below the "
                    "firing's set value",
                    {degrees(cut.Measured_Then - cut.Measured_Now),
                     degrees(plan - cut.Measured_Now)}));
            }
            return refused(Operator_Text::Phrase("the kiln is %1 below the firing's set value",
                                                 {degrees(plan - cut.Measured_Now)}));
        }
        return {true, cut.Stopped_At, {}};
    }
    if (Rising(tables, k) && cut.Measured_Now < plan) {
        // Back along the rising segments to where the profile last was at the kiln's
        // temperature.
        for (std::size_t j = k + 1; j-- > 0;) {
            if (!Rising(tables, j) || cut.Measured_Now < tables.Seg_Start_Temp[j]) continue;
            const double until = j == k ? cut.Stopped_At : tables.Seg_End_Time[j];
            const double reaches =
                tables.Seg_Start_Time[j] + (cut.Measured_Now - tables.Seg_Start_Temp[j]) /
                                               (tables.Seg_End_Temp[j] - tables.Seg_Start_Temp[j]) *
                                               (tables.Seg_End_Time[j] - tables.Seg_Start_Time[j]);
            return {true, std::min(reaches, until), {}};
        }
    }
    return {true, cut.Stopped_At, {}};
}

}  // namespace corvanel
