// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "common/platform.h"
#include "profiles/profile_file.h"
#include "profiles/profile_sheet.h"
#include "setup/program_paths.h"
#include "setup/settings_store.h"

namespace corvanel {

// The profile editor without its widgets: the sheet being edited, the state of the
// window's controls and one routine per event. The Qt window shows this state and
// forwards its events here.
class Profile_Editor {
  public:
    // The editor's scales and sensor are settings of the program's store, kept at each close.
    Profile_Editor(Program_Paths paths, Settings_Store& settings, File_Dialog& dialog,
                   Message_Box& box, Beeper& beeper);

    // ---- window events ----
    void Form_Load();
    void Form_Activate();  // the grid titles follow the interface language
    void Form_Unload();    // the editor's settings are written at every close

    // A key typed into the floating text box. Returns whether the key reaches the box;
    // a refused key has beeped. The window lets an accepted key through to its widget.
    bool FloatingTextBox_KeyPress(char key);
    // The window reports the text box's text after its widget changed it.
    void FloatingTextBox_Change(const std::string& text) { FloatingTextBox_Text = text; }
    // The operator clicked a grid cell: the pending entry is committed, then the text
    // box moves to the clicked cell.
    void Profile_FlexGrid_Click(int row, int col);
    void Profile_FlexGrid_Scroll() { FloatingTextBox_Visible = false; }

    // Types one key as the operator would: the key filter, then the box's own editing
    // (backspace removes the last character). Used by tests and the profile tool.
    void Type_Key(char key);
    void Type_Text(const std::string& text);

    // ---- menu commands ----
    void mnuNew_Click();
    void mnuFileOpen_Click();
    void mnuSaveFileAs_Click();
    bool mnuExitEditor_Click();  // true when the operator confirmed and the window closes
    void mnuFahrenheit_Click();
    void mnuCelcius_Click();
    void mnuMinutes_Click();
    void mnuHours_Click();
    // Converts the sheet to the other temperature scale and switches the declared scale:
    // unlike the two scale commands above, which only relabel.
    void mnuConvertScale_Click();
    void Sensor_Menu_Click(int index);  // the ten items mnuR_Type .. mnuU_Type, R is 0

    // ---- routines ----
    void Display(const std::string& text);
    void WorkSheet_to_FlexGrid();
    void ClearProfile();
    void ClearRows(int row_index);
    void Place_Text_Box();
    bool Check_Cell_Entry();
    void Recalculate();
    void Action_From_Temps(int r);
    void Rate_From_Duration(int r);
    void Duration_From_Rate(int r);
    void Propagate_Start_Times(int r);
    void Check_Profile();
    void TempRangeCheck();
    void Set_Range_Limits(const std::string& code);
    void Check_Sensor_Menu(int index);
    void Show_Profile_Settings();
    void Read_Editor_Settings();
    void Save_Editor_Settings();
    void Save_Profile();
    bool Build_Profile_Text();  // into Profile_Text; false (and a message) when it fails
    // Shows a checked profile text in the editor, as Open does once the file is read.
    void Load_Profile_Text(const std::string& text, const std::string& file_name);
    // The sheet's temperatures, error limits and rates in the other scale. False, with the
    // segment named, when a cell cannot be converted; the sheet is then left as it was.
    bool Convert_Sheet_Scale(bool to_fahrenheit);

    // ---- state ----
    Profile_Sheet WorkSheet{};
    std::array<std::array<std::string, Sheet_Columns>, Sheet_Rows> Profile_FlexGrid{};
    int Grid_Row = 1, Grid_Col = 1;  // the grid's current cell
    std::int16_t Current_Row = 0, Current_Col = 0;
    std::int16_t Edit_Row = 0, Edit_Col = 0;
    bool Entry_OK = false;
    std::int16_t Segment_Rows = 0;
    bool Profile_Error = false;
    std::string Sensor_Code;
    std::int16_t Min_Temp = 0, Max_Temp = 0;

    std::string FloatingTextBox_Text;
    bool FloatingTextBox_Visible = false;
    std::string User_Prompt;
    std::string Edit_Profile_Name;
    std::string TempScale, TimeScale;  // the two labels
    std::vector<std::pair<double, double>> EditChart_Points;

    bool mnuFahrenheit = false, mnuCelcius = true;
    bool mnuMinutes = false, mnuHours = true;
    std::array<bool, 10> mnuSensor_Checked{};

    std::string Profile_File_Name, Previous_File_Name, Profile_Text;
    File_Dialog_Request CommonDialog_Editor;
    bool Window_Closed = false;
    // The controller's scale, "F" or "C", when the run window knows it; "" unknown. Only
    // New From Cone starts from it: the editor's own scale stays the remembered one.
    std::string Controller_Scale;
    // The cone the sheet's firing ends on by heat-work (New From Cone, or read beside the
    // file opened); kept beside the file at each save. None: it ends at its own peak.
    std::optional<std::string> Heat_Work_Cone;

  private:
    static constexpr std::size_t User_Prompt_Limit = 1000;
    void Set_User_Prompt(std::string text);
    void Clear_User_Prompt() { Set_User_Prompt(""); }
    std::string& Cell(int row, int col);  // throws a subscript error outside the sheet
    Profile_Settings Current_Settings() const;

    Program_Paths Paths_;
    Settings_Store& Settings_;
    File_Dialog& Dialog_;
    Message_Box& Box_;
    Beeper& Beeper_;
};

// The four lines the editor shows for a file that cannot be read or fails its checksum.
std::string Profile_Format_Message();

}  // namespace corvanel
