// SPDX-License-Identifier: GPL-3.0-or-later
// The editor's menus: New, Open, Save As, the scales, the sensor types, Exit Editor,
// and the small settings files the editor keeps between openings.

#include "common/text.h"
#include "language/show_problem.h"
#include "language/translate.h"
#include "profiles/heat_work_end_file.h"
#include "profiles/profile_editor_model.h"
#include "profiles/scale_conversion.h"
#include "profiles/sensor_table.h"
#include "setup/program_settings.h"
#include "setup/settings_store.h"
#include "setup/setup_files.h"

namespace corvanel {

namespace {

constexpr int K_Type_Index = 2;

// A profile that could not be saved, as the editor has always said it.
Problem Save_Failed(Error_Number number) {
    return Problem::Fixed(TranslateText("Undefined file save error: System error number=") +
                          std::to_string(To_Int(number)));
}

}  // namespace

void Profile_Editor::Form_Load() {
    EditChart_Points.clear();
    for (int i = 1; i <= 10; ++i) EditChart_Points.emplace_back(i, 0);
    CommonDialog_Editor.Filter = TranslateText("Text files") + " (*.txt) | *.txt" + "|" +
                                 TranslateText("All files") + " (*.*) | *.*";
    CommonDialog_Editor.Initial_Folder = Paths_.Profiles_Folder();
    FloatingTextBox_Visible = false;
    for (int col = 0; col < Sheet_Columns; ++col)
        Profile_FlexGrid[0][col] = Sheet_Column_Titles[col];
    WorkSheet = {};
    for (int row = 1; row <= Last_Segment_Row; ++row) WorkSheet[row][Col_Seg] = std::to_string(row);
    ClearProfile();
    WorkSheet_to_FlexGrid();
    Current_Row = Current_Col = Edit_Row = Edit_Col = 0;
    Read_Editor_Settings();
    Show_Profile_Settings();
}

void Profile_Editor::Form_Activate() {
    for (int col = 0; col < Sheet_Columns; ++col) {
        Profile_FlexGrid[0][col] = TranslateText(Sheet_Column_Titles[col]);
    }
}

void Profile_Editor::Form_Unload() {
    Save_Editor_Settings();
}

void Profile_Editor::Read_Editor_Settings() {
    // Read now, as the files are; anything but a check mark means off, as it always has.
    auto on = [this](const Setting& setting) {
        return Settings_.Read(setting).Value == setting.On_Word;
    };
    if (on(Program_Setting::TempScale)) {
        mnuFahrenheit_Click();
    } else {
        mnuCelcius_Click();
    }
    if (on(Program_Setting::TimeScale)) {
        mnuMinutes_Click();
    } else {
        mnuHours_Click();
    }
    Sensor_Code = Settings_.Read(Program_Setting::SensorType).Value;
}

void Profile_Editor::Save_Editor_Settings() {
    Settings_.Set_On(Program_Setting::TempScale, mnuFahrenheit);
    Settings_.Set_On(Program_Setting::TimeScale, mnuMinutes);
    Settings_.Write(Program_Setting::SensorType, Sensor_Code);
}

void Profile_Editor::mnuFahrenheit_Click() {
    mnuFahrenheit = true;
    mnuCelcius = false;
    TempScale = TranslateText("Deg-F");
}

void Profile_Editor::mnuCelcius_Click() {
    mnuCelcius = true;
    mnuFahrenheit = false;
    TempScale = TranslateText("Deg-C");
}

void Profile_Editor::mnuConvertScale_Click() {
    Profile_FlexGrid_Click(Grid_Row, Grid_Col);  // an entry being typed is in the old scale
    const bool to_fahrenheit = !mnuFahrenheit;
    Clear_User_Prompt();
    if (!Convert_Sheet_Scale(to_fahrenheit)) return;
    if (to_fahrenheit) {
        mnuFahrenheit_Click();
        Display(TranslateText("Sheet converted to Fahrenheit"));
    } else {
        mnuCelcius_Click();
        Display(TranslateText("Sheet converted to Celsius"));
    }
    Display(
        TranslateText("Temperatures and error limits in whole degrees, ramp rates worked out "
                      "again, times unchanged: check the profile, then save it"));
    WorkSheet_to_FlexGrid();
    FloatingTextBox_Text = Profile_FlexGrid[Grid_Row][Grid_Col];
    TempRangeCheck();  // the sensor's limits in the new scale
}

void Profile_Editor::mnuMinutes_Click() {
    mnuMinutes = true;
    mnuHours = false;
    TimeScale = TranslateText("Minutes");
}

void Profile_Editor::mnuHours_Click() {
    mnuHours = true;
    mnuMinutes = false;
    TimeScale = TranslateText("Hours");
}

void Profile_Editor::Check_Sensor_Menu(int index) {
    mnuSensor_Checked.fill(false);
    if (index >= 0 && index < Sensor_Type_Count) mnuSensor_Checked[index] = true;
}

void Profile_Editor::Sensor_Menu_Click(int index) {
    if (index < 0 || index >= Sensor_Type_Count) return;
    const Sensor_Type& type = Sensor_Types[index];
    Check_Sensor_Menu(index);
    Display(" =>" + TranslateText(type.Set_Phrase));
    Sensor_Code = type.Code;
    TempRangeCheck();
}

void Profile_Editor::Show_Profile_Settings() {
    std::optional<int> index = Sensor_Index_Of_Code(Sensor_Code);
    if (index) {
        Sensor_Menu_Click(*index);
    } else {
        Display(TranslateText("Profile sensor defaulted to type= K"));
        Sensor_Menu_Click(K_Type_Index);
    }
    Display(mnuFahrenheit ? TranslateText("Profile temp scale=Fahrenheit")
                          : TranslateText("Profile temp scale=Celcius"));
    Display(mnuMinutes ? TranslateText("Profile time scale=Minutes")
                       : TranslateText("Profile time scale=Hours"));
    Display(TranslateText("Use drop down menus to select alternate settings "));
}

void Profile_Editor::mnuNew_Click() {
    Grid_Row = 1;
    Grid_Col = Col_End_Temp;
    Place_Text_Box();
    FloatingTextBox_Text.clear();
    FloatingTextBox_Visible = false;
    Segment_Rows = 0;
    Profile_Error = false;
    Edit_Profile_Name.clear();
    Heat_Work_Cone.reset();
    ClearProfile();
}

Profile_Settings Profile_Editor::Current_Settings() const {
    return {Sensor_Code, mnuFahrenheit, mnuMinutes};
}

void Profile_Editor::Load_Profile_Text(const std::string& text, const std::string& file_name) {
    Display(TranslateText("Profile is valid"));
    Edit_Profile_Name = file_name;
    WorkSheet = Parse_Profile_Text(text);
    WorkSheet_to_FlexGrid();
    Profile_Settings settings = Profile_Settings_Of_Text(text);
    Sensor_Code = settings.Sensor_Code;
    if (settings.Fahrenheit) {
        mnuFahrenheit_Click();
    } else {
        mnuCelcius_Click();
    }
    if (settings.Minutes) {
        mnuMinutes_Click();
    } else {
        mnuHours_Click();
    }
    Show_Profile_Settings();
    FloatingTextBox_Text = Profile_FlexGrid[Grid_Row][Grid_Col];
    Segment_Rows = static_cast<std::int16_t>(Last_Used_Row(WorkSheet));
}

void Profile_Editor::mnuFileOpen_Click() {
    Clear_User_Prompt();
    CommonDialog_Editor.Initial_Folder = Paths_.Profiles_Folder();
    File_Dialog_Result chosen = Dialog_.Show_Open(CommonDialog_Editor);
    if (chosen.Result == File_Dialog_Result::Outcome::Cancelled) {
        Display(TranslateText("File open cancelled"));
        return;
    }
    if (chosen.Result == File_Dialog_Result::Outcome::Failed) {
        Display(TranslateText("Undefined open file error system error number") + "=" +
                std::to_string(To_Int(chosen.Error)));
        return;
    }
    if (!chosen.Path.empty()) {
        Profile_File_Name = File_Name_Of_Path(chosen.Path);
        CommonDialog_Editor.File_Name = Profile_File_Name;
    }
    // Profiles are always read from the Profiles folder, whichever folder was browsed.
    Profile_Text = Read_Profile_File(Paths_.Profile_File(Profile_File_Name));
    if (!Profile_Text.empty()) {
        Load_Profile_Text(Profile_Text, Profile_File_Name);
        Heat_Work_Cone = Read_Heat_Work_End(Paths_.Profile_File(Profile_File_Name));
        return;
    }
    Display(Profile_Format_Message());
}

std::string Profile_Format_Message() {
    return Join_Lines({TranslateText("File found: Format not valid:") + " ",
                       TranslateText("Profile Syntax must be precise"),
                       TranslateText("Use profile editor to create profiles"),
                       TranslateText("If you are not fully aware of format conventions")});
}

void Profile_Editor::mnuSaveFileAs_Click() {
    Profile_FlexGrid_Click(Grid_Row, Grid_Col);  // commits the pending entry, as a click does
    Previous_File_Name = File_Name_Of_Path(Profile_File_Name);
    Profile_File_Name.clear();
    Save_Profile();
}

bool Profile_Editor::Build_Profile_Text() {
    Clear_User_Prompt();
    try {
        Profile_Text = corvanel::Build_Profile_Text(WorkSheet, Current_Settings());
        return true;
    } catch (const std::bad_alloc&) {
        Display(TranslateText("Profile generation error, cannot make file string") +
                std::string(CRLF) + TranslateText("system error number=") +
                std::to_string(To_Int(Error_Number::Out_Of_Memory)));
        return false;
    }
}

void Profile_Editor::Save_Profile() {
    Clear_User_Prompt();
    Check_Profile();
    if (Profile_Error) {
        Display(TranslateText("Profile Error - FILE NOT SAVED"));
        return;
    }
    if (!Build_Profile_Text()) return;

    CommonDialog_Editor.Initial_Folder = Paths_.Profiles_Folder();
    std::string target;
    if (Profile_File_Name.empty()) {
        File_Dialog_Result chosen = Dialog_.Show_Save(CommonDialog_Editor);
        if (chosen.Result == File_Dialog_Result::Outcome::Cancelled) {
            Clear_User_Prompt();
            Display(TranslateText("File save cancelled"));
            return;
        }
        if (chosen.Result == File_Dialog_Result::Outcome::Failed) {
            Display(Problem_Text(Save_Failed(chosen.Error)));
            return;
        }
        Profile_File_Name = File_Name_Of_Path(chosen.Path);
        CommonDialog_Editor.File_Name = Profile_File_Name;
        if (Profile_File_Name.empty()) {
            Profile_File_Name = Previous_File_Name;
            return;
        }
        Edit_Profile_Name = Profile_File_Name;
        target = chosen.Path;
    } else {
        target = Paths_.Profile_File(Profile_File_Name);
    }
    // The file is replaced whole: a failed save leaves the previous file as it was.
    if (!Replace_File_Contents(target, Profile_Text + std::string(CRLF)) ||
        !Keep_Heat_Work_End(target, Heat_Work_Cone)) {
        Display(Problem_Text(Save_Failed(Error_Number::Path_File_Access_Error)));
        return;
    }
    Clear_User_Prompt();
    Display(TranslateText("PROFILE SAVED"));
}

bool Profile_Editor::mnuExitEditor_Click() {
    if (!Box_.Ask_OK_Cancel(TranslateText("Verify profile saved?"))) return false;
    Form_Unload();
    Window_Closed = true;
    return true;
}

}  // namespace corvanel
