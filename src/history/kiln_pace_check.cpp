// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/kiln_pace_check.h"

#include "history/kiln_events.h"
#include "history/kiln_health.h"
#include "history/kiln_health_reading.h"
#include "language/show_problem.h"
#include "language/translate.h"
#include "run/firing_record.h"
#include "setup/setup_files.h"

namespace corvanel {

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
    const std::vector<Operator_Text> said =
        Check_Profile_Pace(plan, scale, time_unit, Health_Of_Folder(folder),
                           Read_Kiln_Events(folder), Read_Kiln_Health_Settings(Settings_), now);
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
