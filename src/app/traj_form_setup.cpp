// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's settings in the setup folder, and loading a profile for a run.

#include "app/traj_form_model.h"
#include "common/numeric.h"
#include "common/text.h"
#include "language/operator_style.h"
#include "language/translate.h"
#include "run/firing_record.h"
#include "run/kept_setup.h"
#include "run/live_firing_view.h"
#include "run/log_file.h"
#include "setup/setup_files.h"

namespace corvanel {

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
    Save_Setup();
}

void Traj_form::Set_LogFile(const std::string& text) {
    if (text == LogFile) return;
    LogFile = text;
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

    // The run goes on where its log ends; a run is never restarted by itself.
    Engine_.Recall(LogFile.empty() ? 0
                                   : Last_Logged_Elapsed_Time(Services_.Paths.Logfile(LogFile)));
    Elapsed_Time = Format_Number(Engine_.Elapsed());
    Publish_Firing(Firing_Event::Recall_Resume);
}

namespace {

std::string Degrees_Text(double value, const std::string& scale) {
    return Temperature_Shown(value, scale, Operator_Style());
}

}  // namespace

std::string Traj_form::Continue_Or_Start_Afresh() const {
    std::string run_button = TranslateText(" RUN PROFILE");
    run_button.erase(0, run_button.find_first_not_of(' '));
    return run_button + " " + TranslateText("continues the firing") + "; " +
           TranslateText("LogFile") + " -> \"" + TranslateText("Reset Logfile and Time") + "\" " +
           TranslateText("starts from 0");
}

void Traj_form::Tell_Interrupted_Firing() {
    if (!mnuRecallSetup || LogFile.empty()) return;
    const std::optional<Interrupted_Firing> cut =
        Interrupted_Firing_In(Services_.Paths.Logfile(Firing_Record_Name(LogFile)));
    if (!cut) return;
    const Firing_Status now = Firing_Status_Now();
    const long long gap = cut->Seconds_Stopped(now.Clock, Local_Offset_Minutes(now.Clock));
    const std::string gap_text = Duration_Shown(static_cast<double>(gap));
    const bool read_now = now.Reading_At(now.Clock) == Firing_Status::Reading::Live;
    Safety_Notice(Join_Lines(
        {TranslateText("The firing was interrupted") + ": " +
             (cut->Profile_Name.empty() ? Profile_Name : cut->Profile_Name),
         TranslateText("It stopped at") + " " +
             Clock_Shown(cut->Stopped, now.Clock, Operator_Style()) + ", " +
             TranslateText("elapsed time") + " " + Format_00(cut->Elapsed) +
             (cut->Time_Unit == "H" ? " h, " : " min, ") +
             Degrees_Text(cut->Measured, cut->Temp_Scale),
         TranslateText("Stopped for") + " " + gap_text + ", " +
             (read_now ? TranslateText("the kiln is now at") + " " +
                             Degrees_Text(now.Measured, now.Temp_Scale)
                       : TranslateText("the kiln's temperature cannot be read now")),
         Continue_Or_Start_Afresh()}));
    Publish_Firing(
        Firing_Event::Interrupted,
        "stopped " + Format_Clock(cut->Stopped, cut->Offset_Minutes) + ", gap " + gap_text);
    Offer_Continuation(*cut, gap);
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

    // A rejected or broken file leaves the profile loaded before in force, whole.
    const bool had_profile = Profile_.Valid();
    const Loaded_Profile::Load_Result loaded =
        Profile_.Load(Services_.Paths.Profile_File(file_name));
    if (loaded.What == Loaded_Profile::Load_Result::Outcome::Format_Not_Valid) {
        Display(Join_Lines({TranslateText("File found: Format not valid:") + " ",
                            TranslateText("Profile Syntax must be precise"),
                            TranslateText("Use profile editor to create profiles")}));
        return;
    }
    Display(TranslateText("Profile syntax is is valid"));
    if (loaded.What == Loaded_Profile::Load_Result::Outcome::Load_Error) {
        Display(TranslateText("Profile Load Error") +
                ": System error number=" + std::to_string(To_Int(loaded.Error)));
        return;
    }

    Set_Profile_Name(file_name);
    RunWorkSheet_to_FlexGrid();
    SetPointReadOut = TranslateText(Profile_.Fahrenheit() ? "SetTemp(F)" : "SetTemp(C)");
    if (had_profile) Carry_Elapsed_Into(Profile_.Minutes());
    Use_Time_Unit(Profile_.Minutes(), Control_Interval);
    Learn_Controller_Scale();
    Display(TranslateText("Profile Loaded"));
    Publish_Firing(Firing_Event::Profile_Loaded);
    Notice_Carried_Over_Time();
}

void Traj_form::mnuPrintProfile_Click() {
    Statement([this] {
        std::string file =
            Services_.Windows.Print_Profile(Build_Printout(Profile_.Sheet(), Profile_Name));
        if (!file.empty()) Display(TranslateText("Profile printed to") + " " + file);
    });
}

void Traj_form::RunWorkSheet_to_FlexGrid() {
    for (int row = 1; row <= Last_Segment_Row; ++row)
        RunProfile_FlexGrid[row] = Profile_.Sheet()[row];
}

}  // namespace corvanel
