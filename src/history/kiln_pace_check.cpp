// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/kiln_pace_check.h"

#include <cmath>

#include "common/text.h"
#include "history/kiln_events.h"
#include "history/kiln_forecast.h"
#include "history/kiln_health.h"
#include "history/kiln_health_reading.h"
#include "language/show_problem.h"
#include "language/translate.h"
#include "run/firing_record.h"
#include "setup/setup_files.h"

namespace corvanel {

namespace {

using Phrase = Operator_Text;

Operator_Text Rate_Value(double fahrenheit_per_hour, const std::string& scale) {
    const double rate = scale == "C" ? fahrenheit_per_hour * 5 / 9 : fahrenheit_per_hour;
    return Phrase::Value(Temperature_Text(rate, scale) + "/h");
}

// Where the kiln falls behind, to ten degrees.
Operator_Text Where_Value(double fahrenheit, const std::string& scale) {
    const double degrees = scale == "C" ? (fahrenheit - 32) * 5 / 9 : fahrenheit;
    return Phrase::Value(Temperature_Text(std::round(degrees / 10) * 10, scale));
}

}  // namespace

std::vector<Operator_Text> Check_Profile_Pace_With_Model(const Kiln_Thermal_Model& model,
                                                         const Plan_Points& plan,
                                                         const std::string& scale,
                                                         const std::string& time_unit,
                                                         const Date_Time& now) {
    const bool last_month =
        model.Oldest_Firing && Seconds_Of(now) - Seconds_Of(*model.Oldest_Firing) <= 31 * 86400LL;
    std::vector<Operator_Text> said;
    for (const Segment_Pace& pace : Segment_Paces(model, plan, scale, time_unit)) {
        const Operator_Text segment = Phrase::Value(Format_Whole(pace.Segment));
        const Operator_Text behind =
            Phrase::Value(Duration_Text(std::llround(pace.Lost_Hours * 60) * 60));
        if (pace.Falling) {
            said.push_back(Phrase::Phrase(
                "Segment %1 asks the kiln to cool %2 below %3; with the power off it cools "
                "about %4 there: expect about %5 behind the plan.",
                {segment, Rate_Value(pace.Asked_F_Per_Hour, scale),
                 Where_Value(pace.Behind_From_F, scale), Rate_Value(pace.Managed_F_Per_Hour, scale),
                 behind}));
            continue;
        }
        said.push_back(Phrase::Phrase(
            "Segment %1 asks %2 above %3; your kiln managed %4 there %5: expect about %6 behind "
            "the plan.",
            {segment, Rate_Value(pace.Asked_F_Per_Hour, scale),
             Where_Value(pace.Behind_From_F, scale), Rate_Value(pace.Managed_F_Per_Hour, scale),
             last_month ? Phrase::Phrase("last month") : Phrase::Phrase("in its last firings"),
             behind}));
    }
    return said;
}

Kiln_Pace_Check::Kiln_Pace_Check(Program_Paths paths, Settings_Store& settings,
                                 Message_Area& at_start, Message_Area& asked)
    : Paths_(std::move(paths)), Settings_(settings), At_Start_(at_start), Asked_(asked) {}

void Kiln_Pace_Check::Firing_Changed(const Firing_Status& status, Firing_Event event,
                                     const std::string&) {
    if (event != Firing_Event::Start) return;
    if (!Read_Kiln_Health_Settings(Settings_).Check_At_Start) return;
    Say(At_Start_, *status.Plan, status.Temp_Scale, status.Time_Unit, status.Clock);
}

std::size_t Kiln_Pace_Check::Say(Message_Area& area, const Plan_Points& plan,
                                 const std::string& scale, const std::string& time_unit,
                                 const Date_Time& now) {
    const std::string folder = Paths_.Logfiles_Folder();
    const Kiln_Thermal_Model model = Kept_Kiln_Model(folder);
    const std::vector<Operator_Text> said =
        model.Has_Heating() ? Check_Profile_Pace_With_Model(model, plan, scale, time_unit, now)
                            : Check_Profile_Pace(plan, scale, time_unit, Health_Of_Folder(folder),
                                                 Read_Kiln_Events(folder),
                                                 Read_Kiln_Health_Settings(Settings_), now);
    for (const Operator_Text& line : said) area.Display(Operator_Text_Shown(line));
    return said.size();
}

void Kiln_Pace_Check::Check_Profile_File(const std::string& path, const Date_Time& now) {
    Firing_Record_Header profile;
    if (!Header_Of_Profile_File(path, profile)) {
        Show_Problem(Asked_,
                     {Operator_Text::Phrase("%1 is not a profile that can be checked",
                                            {Operator_Text::Value(File_Name_Of_Path(path))}),
                      Operator_Text::Phrase("Choose a profile written by the profile editor")});
        return;
    }
    if (Say(Asked_, profile.Plan, profile.Temp_Scale, profile.Time_Unit, now) == 0) {
        Asked_.Display(Operator_Text_Shown(Operator_Text::Phrase(
            "The kiln can follow every segment of %1, as far as its recent firings show.",
            {Operator_Text::Value(File_Name_Of_Path(path))})));
    }
}

}  // namespace corvanel
