// SPDX-License-Identifier: GPL-3.0-or-later
#include "language/caption_table.h"

#include <array>

#include "language/translate.h"

namespace corvanel {

namespace {

using W = Caption_Window;
constexpr auto Title = Caption_Property::Window_Caption;
constexpr auto Caption = Caption_Property::Caption;
constexpr auto Tip = Caption_Property::ToolTipText;

// Window title first, then the controls, then the menus from the first title to the
// last item; a text that occurs twice in a window belongs to two controls.
constexpr std::array<Caption_Entry, 137> Entries = {{
    // Front panel: title, buttons, status indicators and labels.
    {W::FrontPanel, "FrontPanel", Title, "Controller Front Panel"},
    {W::FrontPanel, "SV_Read_Command", Caption, "Read Set Value"},
    {W::FrontPanel, "Exit_FrontPanel", Caption, "EXIT"},
    {W::FrontPanel, "NV_AllSave", Caption, "NVSave"},
    {W::FrontPanel, "Ram_Only", Caption, "RamOnly"},
    {W::FrontPanel, "NV_Ram", Caption, "NV Ram"},
    {W::FrontPanel, "OverFlow", Caption, "OverFlow"},
    {W::FrontPanel, "Underflow", Caption, "UnderFlow"},
    {W::FrontPanel, "InputError", Caption, "Input Error"},
    {W::FrontPanel, "AD_Fail", Caption, "A/D Converter Failure"},
    {W::FrontPanel, "HeaterBurnout", Caption, "Heater Burnout Detection"},
    {W::FrontPanel, "RamDataError", Caption, "Ram Data Error"},
    {W::FrontPanel, "MemDiff", Caption, "MemDiff  /  *MemSame"},
    {W::FrontPanel, "ShiftOn", Caption, "Input Shift On"},
    {W::FrontPanel, "Alarm_1", Caption, "Alarm 1 On "},
    {W::FrontPanel, "Alarm_2", Caption, "Alarm 2 On"},
    {W::FrontPanel, "AutoTuning", Caption, "AutoTuning"},
    {W::FrontPanel, "RamWrite", Caption, "RamWriteOnly / *BackUp"},
    {W::FrontPanel, "Manual", Caption, "Manual / *AutoOutput"},
    {W::FrontPanel, "Remote", Caption, "Remote/ *Local"},
    {W::FrontPanel, "Stop_Tune", Caption, "StopTune"},
    {W::FrontPanel, "AutoTune", Caption, "AutoTune"},
    {W::FrontPanel, "Read_Set_Limits", Caption, "Read Set Limits"},
    {W::FrontPanel, "ReadOutputValue", Caption, "Read Output Value"},
    {W::FrontPanel, "Unit_Scanning_Indicator", Caption, "Scanning Unit Addresses"},
    {W::FrontPanel, "Decrement_Unit_Addr", Caption, "<"},
    {W::FrontPanel, "Increment_Unit_Addr", Caption, ">"},
    {W::FrontPanel, "Display_Status", Caption, "Read Status"},
    {W::FrontPanel, "Unit_Addr_Scan", Caption, "Unit Addr Scan"},
    {W::FrontPanel, "Command_Executed", Caption, "Command Executed"},
    {W::FrontPanel, "Communication_Status", Caption, "Comm Status"},
    {W::FrontPanel, "SV_Command", Caption, "Write Set Value"},
    {W::FrontPanel, "RV_Command", Caption, "Read Process Value"},
    {W::FrontPanel, "Unit_Status_Label", Caption, "Unit Status Display"},
    {W::FrontPanel, "Low_Limit_Label", Caption, "Low Set Limit"},
    {W::FrontPanel, "High_Limit_Label", Caption, "High Set Limit"},
    {W::FrontPanel, "Output_Label", Caption, "Output Value"},
    {W::FrontPanel, "Unit_Address_Label", Caption, "Unit Address"},
    {W::FrontPanel, "Process_Value_Label", Caption, "Process Value Display"},
    {W::FrontPanel, "Set_Point_Label", Caption, "Set Point Display"},
    {W::FrontPanel, "Response_Label", Caption, "Unit Response String"},

    // Profile editor.
    {W::Profile_Editor, "Profile_Editor", Title, "PROFILE EDITOR"},
    {W::Profile_Editor, "Edit_Profile_Frame", Caption, "Edit Profile"},
    {W::Profile_Editor, "Edit_Profile_Name", Tip,
     "Profile Name Display:  Enter name via dialog box brought up through the Flie Menu -> open, "
     "save or saveas functions"},
    {W::Profile_Editor, "User_Prompt", Tip,
     "Watch for messages that guide you when creating profiles"},
    {W::Profile_Editor, "TimeScale", Caption, "TimeScale"},
    {W::Profile_Editor, "TempScale", Caption, "TempScale"},
    {W::Profile_Editor, "File_Name_Prompter", Caption, "File Name Display"},
    {W::Profile_Editor, "File_Name_Prompter", Tip,
     "This readout only displays the name of the profile being edited"},
    {W::Profile_Editor, "Message_Center", Caption, "User Prompt Window"},
    {W::Profile_Editor, "mnuFile", Caption, "File"},
    {W::Profile_Editor, "mnuFileOpen", Caption, "Open"},
    {W::Profile_Editor, "mnuSaveFileAs", Caption, "SaveAs"},
    {W::Profile_Editor, "mnuNew", Caption, "New"},
    {W::Profile_Editor, "mnuSensorType", Caption, "SensorType"},
    {W::Profile_Editor, "mnuR_Type", Caption, "R"},
    {W::Profile_Editor, "mnuS_Type", Caption, "S"},
    {W::Profile_Editor, "mnuK_Type", Caption, "K"},
    {W::Profile_Editor, "mnuJ_Type", Caption, "J"},
    {W::Profile_Editor, "mnuT_Type", Caption, "T"},
    {W::Profile_Editor, "mnuE_Type", Caption, "E"},
    {W::Profile_Editor, "mnuPt_JIS_RTD", Caption, "PtJIS"},
    {W::Profile_Editor, "mnuPt_DIN_RTD", Caption, "PtDIN"},
    {W::Profile_Editor, "mnuL_Type", Caption, "L"},
    {W::Profile_Editor, "mnuU_Type", Caption, "U"},
    {W::Profile_Editor, "mnuScales", Caption, "Scales"},
    {W::Profile_Editor, "mnuTemp", Caption, "Temp"},
    {W::Profile_Editor, "mnuFahrenheit", Caption, "Fahrenheit"},
    {W::Profile_Editor, "mnuCelcius", Caption, "Celcius"},
    {W::Profile_Editor, "mnuTime", Caption, "Time"},
    {W::Profile_Editor, "mnuMinutes", Caption, "Minutes"},
    {W::Profile_Editor, "mnuHours", Caption, "Hours"},
    {W::Profile_Editor, "mnuExit", Caption, "Exit"},
    {W::Profile_Editor, "mnuExitEditor", Caption, "Exit Editor"},

    // The hidden serial window.
    {W::Serial_Port, "Serial_Port", Title, "Form1"},
    {W::Serial_Port, "Port_Label", Caption, "Serial_Port.frx"},

    // Main window: title, frames, buttons, tool tips, labels, then the menus.
    {W::Traj_form, "Traj_form", Title, "Run Temperature Profile "},
    {W::Traj_form, "Load_Profile_Frame", Caption, "Load Profile"},
    {W::Traj_form, "Log_File_Frame", Caption, "Specify Log File"},
    {W::Traj_form, "SoftOff", Caption, "SOFT OFF"},
    {W::Traj_form, "Email_Notification", Tip,
     "email addresses to receive notifications, Set with:  Email Menu -> EditNotificationList"},
    {W::Traj_form, "User_Message_Box", Tip,
     "Watch this display for messages that inform you about the state of operation "},
    {W::Traj_form, "Elapsed_Time", Tip,
     "Elapsed Time Display: Shows the current ellapsed time that has passed in the run state"},
    {W::Traj_form, "Real_Temp_Display_1", Tip,
     "Oven Temperature Display: Shows the current actual temperature of the oven"},
    {W::Traj_form, "Profile_Temperature", Tip,
     "Setpoint Display: Shows the current setpoint temperature corresponding to the current "
     "elapsed time as calculated from the profile"},
    {W::Traj_form, "Segment_Executing", Tip,
     "Segment Running Display: Shows the segment from the profile that is currently running"},
    {W::Traj_form, "LogFile", Tip,
     "Log File Name Display:  Set with LogFile Menu -> Specify Logfiile"},
    {W::Traj_form, "Profile_Name", Tip,
     "Profile Name Display:  Enter name via dialog box brought up through the File Menu -> "
     "OpenFile function"},
    {W::Traj_form, "Start_Profile", Caption, " RUN PROFILE"},
    {W::Traj_form, "Power_Label", Caption, "% Power"},
    {W::Traj_form, "Email_Label", Caption, "Email"},
    {W::Traj_form, "Message_Label", Caption, "User Prompt Window"},
    {W::Traj_form, "Log_Label", Caption, "Log"},
    {W::Traj_form, "Profile_Label", Caption, "Profile"},
    {W::Traj_form, "Process_Temp_Label", Caption, "Process Temp"},
    {W::Traj_form, "TimeReadOut", Caption, "Time (mins)"},
    {W::Traj_form, "SetPointReadOut", Caption, "Set Temp(F)"},
    {W::Traj_form, "Segment_Label", Caption, "Seg"},
    {W::Traj_form, "mnuFile", Caption, "File"},
    {W::Traj_form, "mnuFileOpen", Caption, "OpenProfile"},
    {W::Traj_form, "mnuPrintProfile", Caption, "Print Profile"},
    {W::Traj_form, "mnuLogFile", Caption, "LogFile"},
    {W::Traj_form, "mnuSpecifyLogFile", Caption, "Specify LogFile"},
    {W::Traj_form, "mnuReset_Logfile", Caption, "Reset Logfile and Time"},
    {W::Traj_form, "mnuSetUp", Caption, "SetUp"},
    {W::Traj_form, "mnuRecallSetup", Caption, "RecallLastStateAtRestart?"},
    {W::Traj_form, "mnuCommPortNumber", Caption, "CommPortNumber"},
    {W::Traj_form, "mnuComm1", Caption, "Comm=1"},
    {W::Traj_form, "mnuComm2", Caption, "Comm=2"},
    {W::Traj_form, "mnuComm3", Caption, "Comm=3"},
    {W::Traj_form, "frmCommPortConfig", Caption, "Comm Port Config"},
    {W::Traj_form, "mnuSetUpName", Caption, "SetDeviceName"},
    {W::Traj_form, "mnuEmail", Caption, "Email"},
    {W::Traj_form, "mnuEditNotificationList", Caption, "EditNotificationList"},
    {W::Traj_form, "mnuEnableEmailNotification", Caption, "EnableNotification"},
    {W::Traj_form, "mnuTestNotication", Caption, "TestNotification"},
    {W::Traj_form, "mnuEditor", Caption, "Editor"},
    {W::Traj_form, "mnuEdit", Caption, "Edit / Create Profile"},
    {W::Traj_form, "mnuLock", Caption, "Lock Controls"},
    {W::Traj_form, "mnuLockControls", Caption, "Lock Controls?"},
    {W::Traj_form, "mnuFrontPanelMenu", Caption, "FrontPanel"},
    {W::Traj_form, "mnuFrontPanel", Caption, "ShowFrontPanel"},
    {W::Traj_form, "mnuExit", Caption, "Exit"},
    {W::Traj_form, "mnuExitProgram", Caption, "ExitProgram"},
    {W::Traj_form, "mnuAbout", Caption, "About"},
    {W::Traj_form, "mnuVersion", Caption, "Version"},

    // Device-name dialog.
    {W::dlgGetName, "dlgGetName", Title, "Enter Device Name"},
    {W::dlgGetName, "cmdCancel", Caption, "Cancel"},
    {W::dlgGetName, "cmdOk", Caption, "Ok"},
    {W::dlgGetName, "lblDeviceName", Caption, "Device Name"},

    // Port set-up window.
    {W::CommSetUp, "CommSetUp", Title, "Communications Port Configuration"},
    {W::CommSetUp, "SavePortSettings", Caption, "Use This Setting"},
    {W::CommSetUp, "ScanPortNumber", Caption, "Scan Serial Ports"},
    {W::CommSetUp, "IncrPortNum", Caption, ">"},
    {W::CommSetUp, "DecrPortNumber", Caption, "<"},
    {W::CommSetUp, "SerialPortPromptLabel", Caption, "Port Prompt"},
    {W::CommSetUp, "CommDisplayLabel", Caption, "Comm Port Number"},
}};

}  // namespace

std::string_view Window_Name(Caption_Window window) {
    switch (window) {
        case W::FrontPanel:
            return "FrontPanel";
        case W::Profile_Editor:
            return "Profile_Editor";
        case W::Serial_Port:
            return "Serial_Port";
        case W::Traj_form:
            return "Traj_form";
        case W::dlgGetName:
            return "dlgGetName";
        case W::CommSetUp:
            return "CommSetUp";
    }
    return "";
}

std::span<const Caption_Entry> Caption_Table() {
    return Entries;
}

void InitObjectLanguage(Window_Registry& windows) {
    for (const Caption_Entry& entry : Entries) {
        try {
            windows.Set_Text(entry, TranslateText(std::string(entry.English)));
        } catch (...) {
            // Every entry stands alone; a control that cannot be reached keeps its text.
        }
    }
}

}  // namespace corvanel
