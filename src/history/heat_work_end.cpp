// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/heat_work_end.h"

#include <algorithm>
#include <cmath>

#include "common/quantity_text.h"
#include "common/text.h"
#include "history/witness_cones.h"
#include "language/operator_style.h"
#include "profiles/cone_table.h"
#include "profiles/heat_work_end_file.h"
#include "profiles/sensor_table.h"
#include "run/firing_record.h"

namespace corvanel {

namespace {

double Degrees(double celsius, const std::string& scale) {
    return scale == "F" ? celsius * 9 / 5 : celsius;
}

// The piece of the plan the elapsed time is in, and the highest temperature from its start
// on: the peak still ahead.
struct Plan_Piece {
    double From = 0, To = 0, Peak_Ahead = 0;
};

std::optional<Plan_Piece> Piece_At(const Plan_Points& plan, double elapsed) {
    for (std::size_t k = 0; k + 1 < plan.size(); ++k) {
        if (!(plan[k].first <= elapsed && elapsed < plan[k + 1].first)) continue;
        Plan_Piece piece{plan[k].second, plan[k + 1].second, plan[k].second};
        for (std::size_t j = k; j < plan.size(); ++j)
            piece.Peak_Ahead = std::max(piece.Peak_Ahead, plan[j].second);
        return piece;
    }
    return std::nullopt;
}

Operator_Text Shown(double degrees, const std::string& scale, const std::string& unit = "") {
    return Operator_Text::Value(Temperature_Shown(degrees, scale, Operator_Style()) + unit);
}

}  // namespace

std::optional<double> Recent_Climb_Rate(const std::vector<Kiln_Reading>& readings, double span) {
    if (readings.empty() || !(span > 0)) return std::nullopt;
    const Kiln_Reading& now = readings.back();
    const double from = now.Temperature - span;
    for (std::size_t i = readings.size() - 1; i > 0; --i) {
        const Kiln_Reading &a = readings[i - 1], &b = readings[i];
        if (a.Temperature > from) continue;
        const double at = b.Temperature == a.Temperature
                              ? a.Seconds
                              : a.Seconds + (from - a.Temperature) /
                                                (b.Temperature - a.Temperature) *
                                                (b.Seconds - a.Seconds);
        if (!(now.Seconds > at)) return std::nullopt;
        return span / ((now.Seconds - at) / 3600);
    }
    return std::nullopt;
}

double Chart_Temperature_At(double position, double rate, const std::string& scale) {
    const std::size_t last = Cone_Table().size() - 1;
    position = std::clamp(position, 0.0, static_cast<double>(last));
    const auto cone = static_cast<std::size_t>(position);
    const double low = Chart_Temperature(cone, rate, scale);
    if (cone == last) return low;
    return low + (position - static_cast<double>(cone)) *
                     (Chart_Temperature(cone + 1, rate, scale) - low);
}

Heat_Work_End::Heat_Work_End(Program_Paths paths, Settings_Store& settings, Kiln_Access& kiln)
    : Paths_(std::move(paths)), Settings_(settings), Kiln_(kiln) {}

void Heat_Work_End::Begin(const Firing_Status& status) {
    Cone_.reset();
    Readings_.clear();
    Climb_Start_.reset();
    Moves_ = 0;
    Hold_Ended_ = false;
    if (status.Profile_Name.empty()) return;
    const std::optional<std::string> cone =
        Read_Heat_Work_End(Paths_.Profile_File(status.Profile_Name));
    if (!cone) return;
    const auto chart = Cone_Table();
    for (std::size_t i = 0; i < chart.size(); ++i)
        if (chart[i].Cone == *cone) Cone_ = i;
    Cone_Name_ = *cone;
    // The offset says how much more the kiln's witness cones show than the program's
    // figure: the figure need reach only the cone less the offset.
    Target_ = static_cast<double>(*Cone_) - Read_Cone_Offset(Settings_).For(status.Kiln_Name);
}

void Heat_Work_End::Annotate(Firing_Status& status, Firing_Event event) {
    // A start part-way through (a resume after a restart) keeps what it knows.
    const bool fresh_start = event == Firing_Event::Start && status.Elapsed == 0;
    if (event == Firing_Event::Profile_Loaded || fresh_start ||
        event == Firing_Event::Recall_Resume)
        Begin(status);
    if (Cone_ && event == Firing_Event::Recall_Resume && !status.Log_File.empty()) {
        Firing_Record record;
        const std::string path = Paths_.Logfile(Firing_Record_Name(status.Log_File));
        if (!Read_Firing_Record(path, {}, record) && record.Header.Temp_Scale == status.Temp_Scale)
            Readings_ = Readings_Of(record);
    }
    if (!Cone_ || event != Firing_Event::Tick || status.State != Firing_State::Running ||
        status.Reading_At(status.Clock) != Firing_Status::Reading::Live)
        return;
    Readings_.push_back(
        {status.Real_Elapsed * Seconds_Per_Time_Unit(status.Time_Unit), status.Measured});
    const std::optional<Plan_Piece> piece = Piece_At(*status.Plan, status.Elapsed);
    if (!piece) return;
    constexpr double Same = 0.5;  // degrees: the plan's corners are whole controller units
    const bool to_peak = piece->To >= piece->Peak_Ahead - Same;
    if (to_peak && piece->To > piece->From) {
        if (!Climb_Start_) Climb_Start_ = piece->From;
        Move_Peak(status, piece->To);
    } else if (to_peak && std::abs(piece->To - piece->From) < Same) {
        End_Hold(status);
    }
}

void Heat_Work_End::Move_Peak(const Firing_Status& status, double peak) {
    const std::string& scale = status.Temp_Scale;
    const double climbed = status.Measured - *Climb_Start_;
    if (Moves_ >= Heat_Work_Most_Moves || climbed < Degrees(Last_Climb_C / 2, scale)) return;
    const std::optional<double> rate =
        Recent_Climb_Rate(Readings_, std::min(climbed, Degrees(Last_Climb_C, scale)));
    if (!rate) return;
    double high = Chart_Temperature(*Cone_, scale == "F" ? 270 : 150, scale) +
                  Degrees(Heat_Work_Margin_C, scale);
    if (Sensor_Index_Of_Code(status.Sensor_Type))
        high = std::min<double>(high, Set_Range_Limits(status.Sensor_Type, scale == "F").Max_Temp);
    if (status.Set_Limit_High) high = std::min(high, *status.Set_Limit_High);
    const double wanted = Chart_Temperature_At(Target_, *rate, scale);
    const double moved = std::round(std::min(std::max(wanted, std::ceil(status.Measured)), high));
    if (std::abs(moved - peak) < Degrees(Heat_Work_Dead_Band_C, scale)) return;
    const double rate_said = std::round(*rate);
    Asked_Change ask;
    ask.What = Firing_Change::Kind::Change_Segment;
    ask.Segment = status.Segment;
    ask.End_Temp = moved;
    ask.Said = Operator_Text::Phrase(
        "Peak moved from %1 to %2: the kiln climbed at %3.",
        {Shown(peak, scale), Shown(moved, scale), Shown(rate_said, scale, "/h")});
    ask.Why = "peak moved from " + Format_Number(peak) + " " + scale + " to " +
              Format_Number(moved) + " " + scale + ": the kiln climbed at " +
              Format_Number(rate_said) + " " + scale + "/h";
    Kiln_.Ask_Change(ask);
    ++Moves_;
}

void Heat_Work_End::End_Hold(const Firing_Status& status) {
    if (Hold_Ended_) return;
    const Cone_Reached reached = Cone_Of_Readings(Readings_, status.Temp_Scale);
    // A fiftieth of a cone: the kiln that has just reached a peak of the chart's own
    // temperature has reached the cone.
    const bool done =
        reached.Reached == Cone_Reached::Reach::Beyond_Chart ||
        (reached.Reached == Cone_Reached::Reach::On_Chart && reached.Position >= Target_ - 0.02);
    if (!done) return;
    Asked_Change ask;
    ask.What = Firing_Change::Kind::Skip;
    ask.Segment = status.Segment;
    ask.Said = Operator_Text::Phrase("Cone %1 reached by heat-work: the hold at the peak ends.",
                                     {Operator_Text::Value(Cone_Name_)});
    ask.Why = "cone " + Cone_Name_ + " reached by heat-work";
    Kiln_.Ask_Change(ask);
    Hold_Ended_ = true;
}

}  // namespace corvanel
