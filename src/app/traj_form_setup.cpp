// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's settings in the setup folder, and loading a profile for a run.

#include "app/traj_form_model.h"
#include "common/numeric.h"
#include "common/text.h"
#include "language/operator_style.h"
#include "language/show_problem.h"
#include "language/translate.h"
#include "run/firing_record.h"
#include "run/kept_setup.h"
#include "run/live_firing_view.h"
#include "run/log_file.h"
#include "setup/setup_files.h"

namespace corvanel {

namespace {

// A profile that could not be opened or loaded, as the run window has always said it.
Problem Profile_Load_Failed(Error_Number number) {
    return Problem::Fixed(TranslateText("Profile Load Error") +
                          ": System error number=" + std::to_string(To_Int(number)));
}

}  // namespace

void Traj_form::Save_Setup() {
    if (Loading_Form) return;
    // A problem leaves the file as it was, as a failed write always has.
    Save_Kept_Setup(Services_.Settings, {.Recall = mnuRecallSetup,
                                         .Profile_Name = Profile_Name,
                                         .Log_Name = LogFile,
                                         .Email_List = Email_Notification,
                                         .Email_On = mnuEnableEmailNotification,
                                         .Port = Comm_Port_Number});
}

void Traj_form::Set_Profile_Name(const std::string& text) {
    if (text == Profile_Name) return;  // a change event fires only on a change
    Profile_Name = text;
    Run_.Name_Profile(text);
    Save_Setup();
}

void Traj_form::Set_LogFile(const std::string& text) {
    if (text == LogFile) return;
    LogFile = text;
    Run_.Use_Log_File(text);
    Save_Setup();
}

void Traj_form::Recall_Setup() {
    const Recalled_Setup found = Read_Kept_Setup(Services_.Settings);
    mnuEnableEmailNotification = found.Email_On;
    Email_Notification = found.Email_List;
    // A port number that is not one leaves the port as it was.
    if (found.Port) Comm_Port_Number = Int16_Of(*found.Port);
    for (int n = 1; n <= 3; ++n) {
        if (Comm_Port_Number == n) mnuComm[n - 1] = true;
    }
    OvenName = found.Device_Name;
    Run_.Name_Kiln(OvenName);
    Display("Thermal Device Name set == " + found.Device_Name);
    mnuRecallSetup = found.Recall;
    if (!mnuRecallSetup) return;

    const std::string& profile_name = found.Profile_Name;
    if (!profile_name.empty()) {
        CommonDialog3.File_Name = profile_name;
        Recall_Profile_Pending = true;
        mnuFileOpen_Click();
    } else {
        Display(Join_Lines({TranslateText("No previous profile to recall"),
                            TranslateText("Try setting up with file specified and"),
                            TranslateText("exiting, then restarting")}));
    }

    const std::string& log_name = found.Log_Name;
    if (!log_name.empty()) {
        Recalled_Log_Name = log_name;
        Recall_Log_Pending = true;
        mnuSpecifyLogFile_Click();
    } else {
        Display(Join_Lines({TranslateText("No previous Logfile to recall"),
                            TranslateText("Try setting up and exiting, then restarting")}));
    }

    Run_.Recall_Elapsed();
    Run_.Recall_Start_Later();
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
            Display(Problem_Text(Profile_Load_Failed(result.Error)));
            return;
        }
        chosen = result.Path;
    }
    Recall_Profile_Pending = false;
    if (chosen.empty()) return;
    const std::string file_name = File_Name_Of_Path(chosen);
    CommonDialog3.File_Name = file_name;

    // A rejected or broken file leaves the profile loaded before in force, whole.
    const bool had_profile = Run_.Profile().Valid();
    const Loaded_Profile::Load_Result loaded =
        Run_.Load_Profile(Services_.Paths.Profile_File(file_name));
    if (loaded.What == Loaded_Profile::Load_Result::Outcome::Format_Not_Valid) {
        Display(Join_Lines({TranslateText("File found: Format not valid:") + " ",
                            TranslateText("Profile Syntax must be precise"),
                            TranslateText("Use profile editor to create profiles")}));
        return;
    }
    Display(TranslateText("Profile syntax is is valid"));
    if (loaded.What == Loaded_Profile::Load_Result::Outcome::Load_Error) {
        Display(Problem_Text(Profile_Load_Failed(loaded.Error)));
        return;
    }

    Set_Profile_Name(file_name);
    RunWorkSheet_to_FlexGrid();
    SetPointReadOut = TranslateText(Run_.Profile().Fahrenheit() ? "SetTemp(F)" : "SetTemp(C)");
    Run_.Take_Loaded_Profile(had_profile);
    Display(TranslateText("Profile Loaded"));
    Run_.Profile_Loaded();
}

void Traj_form::mnuPrintProfile_Click() {
    Statement([this] {
        std::string file =
            Services_.Windows.Print_Profile(Build_Printout(Run_.Profile().Sheet(), Profile_Name));
        if (!file.empty()) Display(TranslateText("Profile printed to") + " " + file);
    });
}

void Traj_form::RunWorkSheet_to_FlexGrid() {
    for (int row = 1; row <= Last_Segment_Row; ++row)
        RunProfile_FlexGrid[row] = Run_.Profile().Sheet()[row];
}

}  // namespace corvanel
