// SPDX-License-Identifier: GPL-3.0-or-later
#include "profiles/new_from_cone_model.h"

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
    Choice.Fahrenheit = editor.mnuFahrenheit;
    Choice.Sensor = Sensor_Index_Of_Code(editor.Sensor_Code).value_or(Choice.Sensor);
    Choice_Changed();
}

void New_From_Cone::Choice_Changed() {
    if (Cone_Index >= 0 && Cone_Index < static_cast<int>(Cone_List.size())) {
        Choice.Cone = Cone_List[static_cast<std::size_t>(Cone_Index)];
    }
    Preview.clear();
    Cone_Firing_Plan plan = Plan_Cone_Firing(Choice);
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
        Preview.push_back(cells);
    }
    Message = TranslateText("Peak temperature") + "=" + std::to_string(plan.Peak_Temp) + "  " +
              TranslateText("File name") + "=" + plan.File_Name;
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
