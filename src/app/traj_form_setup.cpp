// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's settings in the setup folder, and loading a profile for a run.

#include "app/traj_form_model.h"
#include "common/numeric.h"
#include "common/text.h"
#include "language/translate.h"
#include "profiles/profile_file.h"
#include "run/log_file.h"
#include "setup/program_settings.h"
#include "setup/settings_store.h"
#include "setup/setup_files.h"

namespace corvanel {

namespace {

namespace Setting_Of = Program_Setting;

// A setting's file as this window has always read it: whatever the file holds, or
// nothing when it is missing. A value the setting may not have counts as none, and the
// window says nothing about it.
std::optional<std::string> Recalled(Settings_Store& settings, const Setting& setting) {
    if (!settings.File_Exists(setting.File)) return std::nullopt;
    Settings_Store::Reading reading = settings.Read(setting);
    if (reading.Problem) return std::nullopt;
    return reading.Value;
}

// Only a file saying exactly "checked" turns a check mark on.
bool Recalled_On(Settings_Store& settings, const Setting& setting) {
    return Recalled(settings, setting) == setting.On_Word;
}

}  // namespace

void Traj_form::Save_Setup() {
    if (Loading_Form) return;
    Settings_Store& settings = Services_.Settings;
    // A problem leaves the file as it was, as a failed write always has.
    settings.Set_On(Setting_Of::Check_Flag, mnuRecallSetup);
    settings.Write(Setting_Of::Profile_Name, Profile_Name);  // not when none is named
    settings.Write(Setting_Of::Logfile_Name, LogFile);
    settings.Write(Setting_Of::Email_List, Email_Notification);
    settings.Write(Setting_Of::CommPortNumber, std::to_string(Comm_Port_Number));
    settings.Set_On(Setting_Of::EnableEmailNotification, mnuEnableEmailNotification);
}

void Traj_form::Set_Profile_Name(const std::string& text) {
    if (text == Profile_Name) return;  // a change event fires only on a change
    Profile_Name = text;
    Save_Setup();
}

void Traj_form::Set_LogFile(const std::string& text) {
    if (text == LogFile) return;
    LogFile = text;
    Save_Setup();
}

void Traj_form::Recall_Setup() {
    Settings_Store& settings = Services_.Settings;
    mnuEnableEmailNotification = Recalled_On(settings, Setting_Of::EnableEmailNotification);
    Email_Notification = Recalled(settings, Setting_Of::Email_List).value_or("");
    // A port number that is not one leaves the port as it was.
    if (std::optional<std::string> port = Recalled(settings, Setting_Of::CommPortNumber))
        Comm_Port_Number = Int16_Of(*port);
    for (int n = 1; n <= 3; ++n) {
        if (Comm_Port_Number == n) mnuComm[n - 1] = true;
    }
    std::string device_name = Recalled(settings, Setting_Of::ThermalDeviceName).value_or("");
    OvenName = device_name;
    Display("Thermal Device Name set == " + device_name);
    mnuRecallSetup = Recalled_On(settings, Setting_Of::Check_Flag);
    if (!mnuRecallSetup) return;

    std::string profile_name = Recalled(settings, Setting_Of::Profile_Name).value_or("");
    if (!profile_name.empty()) {
        CommonDialog3.File_Name = profile_name;
        Recall_Profile_Pending = true;
        mnuFileOpen_Click();
    } else {
        Display(Join_Lines({TranslateText("No previous profile to recall"),
                            TranslateText("Try setting up with file specified and"),
                            TranslateText("exiting, then restarting")}));
    }

    std::string log_name = Recalled(settings, Setting_Of::Logfile_Name).value_or("");
    if (!log_name.empty()) {
        Recalled_Log_Name = log_name;
        Recall_Log_Pending = true;
        mnuSpecifyLogFile_Click();
    } else {
        Display(Join_Lines({TranslateText("No previous Logfile to recall"),
                            TranslateText("Try setting up and exiting, then restarting")}));
    }

    // The run goes on where its log ends; a run is never restarted by itself.
    Run_Elapsed = LogFile.empty() ? 0 : Last_Logged_Elapsed_Time(Services_.Paths.Logfile(LogFile));
    Elapsed_Base = Run_Elapsed;
    Elapsed_Time = Format_Number(Run_Elapsed);
    Publish_Firing(Firing_Event::Recall_Resume);
}

void Traj_form::mnuFileOpen_Click() {
    CommonDialog3.Initial_Folder = Services_.Paths.Profiles_Folder();
    std::string chosen = CommonDialog3.File_Name;
    if (!Recall_Profile_Pending) {
        File_Dialog_Result result = Services_.Profile_Dialog.Show_Open(CommonDialog3);
        if (result.Result == File_Dialog_Result::Outcome::Cancelled) {
            Recall_Profile_Pending = false;
            Display(TranslateText("Profile open cancelled"));
            return;
        }
        if (result.Result == File_Dialog_Result::Outcome::Failed) {
            Recall_Profile_Pending = false;
            Display(TranslateText("Profile Load Error") +
                    ": System error number=" + std::to_string(To_Int(result.Error)));
            return;
        }
        chosen = result.Path;
    }
    Recall_Profile_Pending = false;
    if (chosen.empty()) return;
    const std::string file_name = File_Name_Of_Path(chosen);
    CommonDialog3.File_Name = file_name;

    // Everything is read and built aside first: a rejected or broken file leaves the
    // profile loaded before in force, whole.
    std::string text = Read_Profile_File(Services_.Paths.Profile_File(file_name));
    if (text.empty()) {
        Profile_Text.clear();
        Display(Join_Lines({TranslateText("File found: Format not valid:") + " ",
                            TranslateText("Profile Syntax must be precise"),
                            TranslateText("Use profile editor to create profiles")}));
        return;
    }
    Display(TranslateText("Profile syntax is is valid"));
    Profile_Sheet sheet = Parse_Profile_Text(text);
    Profile_Settings settings = Profile_Settings_Of_Text(text);
    const int finished = Last_Used_Row(sheet);
    Run_Tables tables = Tables;
    double total_time = 0;
    try {
        total_time = finished > 0 ? Number_Of(sheet[finished][Col_Start_Time]) : 0;
        corvanel::Build_Run_Tables(sheet, settings.Sensor_Code, finished, tables);
    } catch (const Run_Time_Error& error) {
        Display(TranslateText("Profile Load Error") +
                ": System error number=" + std::to_string(To_Int(error.Number)));
        return;
    }

    Profile_Text = text;
    Sensor_Type = settings.Sensor_Code;
    Set_Profile_Name(file_name);
    RunWorkSheet = sheet;
    RunWorkSheet_to_FlexGrid();
    Finished_Segment = finished;
    Profile_Total_Time = total_time;
    Tables = tables;
    Build_Run_Chart();
    if (settings.Fahrenheit) {
        SetPointReadOut = TranslateText("SetTemp(F)");
        Temp_Scale = "F";
    } else {
        SetPointReadOut = TranslateText("SetTemp(C)");
        Temp_Scale = "C";
    }
    Use_Time_Unit(settings.Minutes, Control_Interval);
    Display(TranslateText("Profile Loaded"));
    Profile_Valid = true;
    Publish_Firing(Firing_Event::Profile_Loaded);
    Notice_Carried_Over_Time();
}

void Traj_form::mnuPrintProfile_Click() {
    Statement([this] {
        std::string file =
            Services_.Windows.Print_Profile(Build_Printout(RunWorkSheet, Profile_Name));
        if (!file.empty()) Display(TranslateText("Profile printed to") + " " + file);
    });
}

void Traj_form::RunWorkSheet_to_FlexGrid() {
    for (int row = 1; row <= Last_Segment_Row; ++row) RunProfile_FlexGrid[row] = RunWorkSheet[row];
}

void Traj_form::Build_Run_Tables() {
    corvanel::Build_Run_Tables(RunWorkSheet, Sensor_Type, Finished_Segment, Tables);
}

void Traj_form::Build_Run_Chart() {
    ProfileChart_Points = corvanel::Build_Run_Chart(RunWorkSheet);
    Plan_ = std::make_shared<const Plan_Points>(ProfileChart_Points);
}

}  // namespace corvanel
