// SPDX-License-Identifier: GPL-3.0-or-later
#include "run/firing_change.h"

#include <algorithm>
#include <cmath>
#include <sstream>
#include <vector>

#include "common/numeric.h"
#include "common/quantity_text.h"
#include "common/text.h"
#include "language/operator_style.h"

namespace corvanel {

namespace {

constexpr double Longest_Extension_Minutes = 24 * 60;

std::size_t Index_Of(int segment) {
    return static_cast<std::size_t>(segment - 1);
}

bool Is_Hold(const Run_Tables& tables, std::size_t i) {
    return tables.Seg_Start_Temp[i] == tables.Seg_End_Temp[i];
}

double Span(const Run_Tables& tables, std::size_t i) {
    return tables.Seg_End_Time[i] - tables.Seg_Start_Time[i];
}

// The plan's temperature (controller units) at `time` within segment i.
double Plan_Temp_At(const Run_Tables& tables, std::size_t i, double time) {
    const double span = Span(tables, i);
    if (span <= 0) return tables.Seg_End_Temp[i];
    const double t = std::clamp(time, tables.Seg_Start_Time[i], tables.Seg_End_Time[i]);
    return tables.Seg_Start_Temp[i] + (t - tables.Seg_Start_Time[i]) *
                                          (tables.Seg_End_Temp[i] - tables.Seg_Start_Temp[i]) /
                                          span;
}

double Hours_Per_Unit(const Followed_Plan& plan) {
    return plan.Minutes ? 1.0 / 60 : 1.0;
}

// Degrees an hour of segment i, whatever its direction.
double Rate_Of(const Followed_Plan& plan, std::size_t i) {
    const double hours = Span(plan.Tables, i) * Hours_Per_Unit(plan);
    if (hours <= 0) return 0;
    return std::abs(plan.Tables.Seg_End_Temp[i] - plan.Tables.Seg_Start_Temp[i]) / plan.Per_Degree /
           hours;
}

Operator_Text Segment_Value(int segment) {
    return Operator_Text::Value(std::to_string(segment));
}

Problem Refusal(const char* what, std::vector<Operator_Text> parts, const char* to_do) {
    return {Operator_Text::Phrase(what, std::move(parts)), Operator_Text::Phrase(to_do)};
}

// Moves the segments after segment i by `shift` along the time axis. Segments that began
// where segment i ended at `old_end` begin at `new_end` instead: a hold there moves with it
// and the ramp after keeps its rate, so the kiln is not asked to jump.
void Follow_On(Followed_Plan& plan, std::size_t i, double shift, double old_end, double new_end) {
    Run_Tables& t = plan.Tables;
    bool joined = old_end != new_end;
    const std::size_t last = static_cast<std::size_t>(plan.Finished_Segment - 1);
    for (std::size_t j = i + 1; j < last; ++j) {
        const double old_end_time = t.Seg_End_Time[j];
        const double rate = Rate_Of(plan, j);
        t.Seg_Start_Time[j] += shift;
        if (joined && t.Seg_Start_Temp[j] == old_end) {
            if (Is_Hold(t, j)) {
                t.Seg_Start_Temp[j] = t.Seg_End_Temp[j] = new_end;
                t.Seg_End_Time[j] += shift;
                continue;
            }
            t.Seg_Start_Temp[j] = new_end;
            const double hours =
                rate > 0 ? std::abs(t.Seg_End_Temp[j] - new_end) / plan.Per_Degree / rate : 0;
            t.Seg_End_Time[j] = t.Seg_Start_Time[j] + hours / Hours_Per_Unit(plan);
            shift = t.Seg_End_Time[j] - old_end_time;
            joined = false;
            continue;
        }
        joined = false;
        t.Seg_End_Time[j] += shift;
    }
    plan.Total_Time += shift;
}

std::vector<std::string> Words(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> words;
    for (std::string word; in >> word;) words.push_back(word);
    return words;
}

std::optional<double> Number_In(const std::string& word) {
    std::string text = word;
    if (!text.empty() && text.back() == ':') text.pop_back();
    return Convert_To_Double(text).Value;
}

}  // namespace

std::variant<Followed_Plan, Problem> Changed_Plan(const Followed_Plan& plan,
                                                  const Firing_Change& change,
                                                  const Change_Limits& limits) {
    const int segments = plan.Finished_Segment - 1;
    if (change.Segment < 1 || change.Segment > segments) {
        return Refusal("No segment of the profile is running.", {},
                       "Start the firing first, then change it.");
    }
    Followed_Plan changed = plan;
    Run_Tables& t = changed.Tables;
    const std::size_t i = Index_Of(change.Segment);
    const double at = std::clamp(change.At, t.Seg_Start_Time[i], t.Seg_End_Time[i]);
    const double old_end_time = t.Seg_End_Time[i];
    const double old_end = t.Seg_End_Temp[i];
    switch (change.What) {
        case Firing_Change::Kind::Skip: {
            if (change.Segment == segments) {
                return Refusal("Segment %1 is the last one: there is no next segment.",
                               {Segment_Value(change.Segment)},
                               "To end the firing now, use Soft Off.");
            }
            t.Seg_End_Temp[i] = Plan_Temp_At(t, i, at);
            t.Seg_End_Time[i] = at;
            // The next segment starts as it always would have: the kiln goes on to it.
            Follow_On(changed, i, at - old_end_time, 0, 0);
            return changed;
        }
        case Firing_Change::Kind::Extend_Hold: {
            if (!Is_Hold(t, i)) {
                return Refusal("Segment %1 is not a hold: only a hold can be extended.",
                               {Segment_Value(change.Segment)},
                               "Extend the hold once it runs, or change this segment's end "
                               "temperature or rate.");
            }
            if (!(change.Minutes >= 1 && change.Minutes <= Longest_Extension_Minutes)) {
                return Refusal("A hold can be extended by 1 to 1440 minutes.", {},
                               "Enter the minutes to add again.");
            }
            const double added = change.Minutes / 60 / Hours_Per_Unit(plan);
            t.Seg_End_Time[i] += added;
            Follow_On(changed, i, added, 0, 0);
            return changed;
        }
        case Firing_Change::Kind::Change_Segment: {
            if (Is_Hold(t, i)) {
                return Refusal("Segment %1 is a hold: it has no end temperature or rate to change.",
                               {Segment_Value(change.Segment)},
                               "Extend the hold, or skip to the next segment.");
            }
            if (!(change.Rate > 0) || !std::isfinite(change.Rate)) {
                return Refusal("A rate must be more than 0 degrees an hour.", {},
                               "Enter the rate again.");
            }
            const bool beyond_sensor =
                !(change.End_Temp >= limits.Lowest && change.End_Temp <= limits.Highest);
            const bool beyond_controller =
                limits.Controller_High && change.End_Temp > *limits.Controller_High;
            if (beyond_sensor || beyond_controller) {
                auto Degrees = [&](double value) {
                    return Operator_Text::Value(
                        Temperature_Shown(value, limits.Scale, Operator_Style()));
                };
                const double high = beyond_controller ? *limits.Controller_High : limits.Highest;
                return Refusal(beyond_controller
                                   ? "%1 is above the controller's high set limit, %3."
                                   : "%1 is outside the sensor's range, %2 to %3.",
                               {Degrees(change.End_Temp), Degrees(limits.Lowest), Degrees(high)},
                               "Enter an end temperature the kiln can be asked for.");
            }
            const double from = Plan_Temp_At(t, i, at);
            const double to = std::round(change.End_Temp * plan.Per_Degree);
            const double hours = std::abs(to - from) / plan.Per_Degree / change.Rate;
            t.Seg_Start_Time[i] = at;
            t.Seg_Start_Temp[i] = from;
            t.Seg_End_Time[i] = at + hours / Hours_Per_Unit(plan);
            t.Seg_End_Temp[i] = to;
            Follow_On(changed, i, t.Seg_End_Time[i] - old_end_time, old_end, to);
            return changed;
        }
    }
    return changed;
}

double Segment_Rate(const Followed_Plan& plan, int segment) {
    return Rate_Of(plan, Index_Of(segment));
}

Plan_Points Changed_Chart(const Plan_Points& before, const Followed_Plan& after, double at) {
    Plan_Points points;
    auto add = [&](double time, double temp) {
        const std::pair<double, double> point{time, temp};
        if (!points.empty() && points.back() == point) return;
        points.push_back(point);
    };
    for (const auto& [time, temp] : before) {
        if (time < at || points.empty()) add(time, temp);
    }
    const Run_Tables& t = after.Tables;
    const std::size_t last = static_cast<std::size_t>(std::max(after.Finished_Segment - 1, 0));
    for (std::size_t k = 0; k < last; ++k) {
        for (auto [time, temp] : {std::pair{t.Seg_Start_Time[k], t.Seg_Start_Temp[k]},
                                  std::pair{t.Seg_End_Time[k], t.Seg_End_Temp[k]}}) {
            if (time >= at) add(time, temp / after.Per_Degree);
        }
    }
    return points;
}

Firing_Event Firing_Change_Event(const Firing_Change& change) {
    switch (change.What) {
        case Firing_Change::Kind::Skip:
            return Firing_Event::Segment_Skipped;
        case Firing_Change::Kind::Extend_Hold:
            return Firing_Event::Hold_Extended;
        case Firing_Change::Kind::Change_Segment:
            break;
    }
    return Firing_Event::Segment_Changed;
}

std::string Firing_Change_Detail(const Followed_Plan& plan, const Firing_Change& change,
                                 const std::string& scale) {
    const std::string segment = "segment " + std::to_string(change.Segment);
    const std::size_t i = Index_Of(change.Segment);
    switch (change.What) {
        case Firing_Change::Kind::Skip:
            return segment + " -> " + std::to_string(change.Segment + 1);
        case Firing_Change::Kind::Extend_Hold: {
            const double minutes = std::round(Span(plan.Tables, i) * 60 * Hours_Per_Unit(plan));
            return segment + ": " + Format_Number(minutes) + " -> " +
                   Format_Number(minutes + change.Minutes) + " min";
        }
        case Firing_Change::Kind::Change_Segment: {
            const double old_end = plan.Tables.Seg_End_Temp[i] / plan.Per_Degree;
            const double old_rate = std::round(Rate_Of(plan, i) * 10) / 10;
            return segment + ": " + Format_Number(old_end) + " " + scale + " at " +
                   Format_Number(old_rate) + " " + scale + "/h -> " +
                   Format_Number(change.End_Temp) + " " + scale + " at " +
                   Format_Number(change.Rate) + " " + scale + "/h";
        }
    }
    return "";
}

std::optional<Firing_Change> Firing_Change_Of_Line(const std::string& event,
                                                   const std::string& detail, double elapsed,
                                                   int segment) {
    Firing_Change change;
    change.At = elapsed;
    change.Segment = segment;
    // A change a feature asked for carries why after "; ".
    const std::vector<std::string> words = Words(detail.substr(0, detail.find(';')));
    if (event == Firing_Event_Name(Firing_Event::Segment_Skipped)) {
        change.What = Firing_Change::Kind::Skip;
        return change;
    }
    if (event == Firing_Event_Name(Firing_Event::Hold_Extended)) {
        // "segment 4: 30 -> 45 min"
        if (words.size() != 6 || words[3] != "->") return std::nullopt;
        const auto old_minutes = Number_In(words[2]), new_minutes = Number_In(words[4]);
        if (!old_minutes || !new_minutes) return std::nullopt;
        change.What = Firing_Change::Kind::Extend_Hold;
        change.Minutes = *new_minutes - *old_minutes;
        return change;
    }
    if (event == Firing_Event_Name(Firing_Event::Segment_Changed)) {
        // "segment 2: 1000 F at 200 F/h -> 950 F at 150 F/h": the new end and rate last.
        if (words.size() != 13 || words[7] != "->") return std::nullopt;
        const auto end = Number_In(words[8]), rate = Number_In(words[11]);
        if (!end || !rate) return std::nullopt;
        change.What = Firing_Change::Kind::Change_Segment;
        change.End_Temp = *end;
        change.Rate = *rate;
        return change;
    }
    return std::nullopt;
}

Operator_Text Firing_Change_Said(const Followed_Plan& plan, const Firing_Change& change,
                                 const std::string& scale) {
    const std::size_t i = Index_Of(change.Segment);
    const Operator_Text segment = Segment_Value(change.Segment);
    const Number_Style style = Operator_Style();
    switch (change.What) {
        case Firing_Change::Kind::Skip:
            return Operator_Text::Phrase("Segment %1 skipped: the firing goes on with segment %2.",
                                         {segment, Segment_Value(change.Segment + 1)});
        case Firing_Change::Kind::Extend_Hold:
            return Operator_Text::Phrase(
                "The hold of segment %1 is %2 minutes longer.",
                {segment, Operator_Text::Value(Format_Number(change.Minutes))});
        case Firing_Change::Kind::Change_Segment:
            return Operator_Text::Phrase(
                "Segment %1 now goes from %2 to %3 at %4 an hour.",
                {segment,
                 Operator_Text::Value(Temperature_Shown(
                     Plan_Temp_At(plan.Tables, i, change.At) / plan.Per_Degree, scale, style)),
                 Operator_Text::Value(Temperature_Shown(change.End_Temp, scale, style)),
                 Operator_Text::Value(Temperature_Shown(change.Rate, scale, style))});
    }
    return {};
}

}  // namespace corvanel
