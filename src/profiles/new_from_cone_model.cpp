// SPDX-License-Identifier: GPL-3.0-or-later
#include "profiles/new_from_cone_model.h"

#include "common/numeric.h"
#include "common/quantity_text.h"
#include "language/operator_style.h"
#include "language/translate.h"
#include "profiles/cone_table.h"
#include "profiles/detached_editor.h"
#include "profiles/sensor_table.h"

namespace corvanel {

void New_From_Cone::Form_Load(const Profile_Editor& editor) {
    Cone_List.clear();
    for (const Cone_Equivalent& cone : Cone_Table()) {
        if (cone.Cone == "6") Cone_Index = static_cast<int>(Cone_List.size());
        Cone_List.emplace_back(cone.Cone);
    }
    Choice = Cone_Firing_Choice{};
    // A firing for this kiln: in the controller's scale when the run window knows it.
    Choice.Fahrenheit =
        editor.Controller_Scale.empty() ? editor.mnuFahrenheit : editor.Controller_Scale == "F";
    Choice.Sensor = Sensor_Index_Of_Code(editor.Sensor_Code).value_or(Choice.Sensor);
    Choice_Changed();
}

void New_From_Cone::Choice_Changed() {
    if (Cone_Index >= 0 && Cone_Index < static_cast<int>(Cone_List.size())) {
        Choice.Cone = Cone_List[static_cast<std::size_t>(Cone_Index)];
    }
    Preview.clear();
    Cone_Firing_Plan plan = Plan_Cone_Firing(Choice);
    Show_Units(plan);
    OK_Enabled = plan.Refusal.empty();
    if (!OK_Enabled) {
        Message = plan.Refusal;
        return;
    }
    // The preview is the sheet the rows make when typed, so it shows what OK gives.
    Detached_Editor scratch;
    Type_Profile(scratch.Editor, plan.Profile);
    const Profile_Sheet& sheet = scratch.Editor.WorkSheet;
    for (int row = 1; row <= Last_Used_Row(sheet); ++row) {
        std::array<std::string, Preview_Columns> cells;
        for (int col = 0; col < Preview_Columns; ++col) cells[col] = sheet[row][col];
        // The sheet's hours read as a potter says them: "6 h 40 min", not "6.66".
        for (const int col : {Col_Start_Time, Col_Duration}) {
            std::string& hours = cells[static_cast<std::size_t>(col)];
            if (hours.empty()) continue;
            const double seconds = Number_Of(hours) * 3600;
            hours = seconds > 0 ? Duration_Shown(seconds) : "0 min";
        }
        Preview.push_back(cells);
    }
    Message = TranslateText("Peak temperature") + "=" +
              Temperature_Shown(plan.Peak_Temp, Choice.Fahrenheit ? "F" : "C", Operator_Style()) +
              "  " + TranslateText("File name") + "=" + plan.File_Name;
}

void New_From_Cone::Show_Units(const Cone_Firing_Plan& plan) {
    const Number_Style style = Operator_Style();
    const std::string degrees = Choice.Fahrenheit ? "°F" : "°C";
    auto from_to = [&style](double low, double high, int decimals, const std::string& unit) {
        return Number_Shown(low, decimals, style) + " \u2013 " +
               Number_Shown(high, decimals, style) + " " + unit;
    };
    // A cone firing is written in hours; its times are shown in hours and minutes.
    const std::array<std::string, Preview_Columns> units = {
        "", "", "", "", degrees, degrees, degrees + "/h"};
    for (std::size_t col = 0; col < units.size(); ++col) {
        Preview_Titles[col] = TranslateText(Sheet_Column_Titles[col]) +
                              (units[col].empty() ? "" : " (" + units[col] + ")");
    }
    const Range_Limits sensor = Set_Range_Limits(
        Sensor_Types.at(static_cast<std::size_t>(Choice.Sensor)).Code, Choice.Fahrenheit);
    Limits.Preheat = from_to(0.01, 100, 2, "h");
    Limits.Hold = from_to(1, 6000, 0, "min");
    Limits.Cool_Rate = from_to(1, 999, 0, degrees + "/h");
    Limits.Cool_Temp = from_to(
        sensor.Min_Temp, plan.Peak_Temp > sensor.Min_Temp ? plan.Peak_Temp - 1 : sensor.Max_Temp, 0,
        degrees);
    Limits.Error_Limit = from_to(1, 9999, 0, degrees);
}

bool New_From_Cone::OK_Click(Profile_Editor& editor) {
    Choice_Changed();
    if (!OK_Enabled) return false;
    Cone_Firing_Plan plan = Plan_Cone_Firing(Choice);
    Type_Profile(editor, plan.Profile);
    editor.CommonDialog_Editor.File_Name = plan.File_Name;
    editor.Display(TranslateText("Profile made from the cone chart: check it, then save it"));
    return true;
}

}  // namespace corvanel
