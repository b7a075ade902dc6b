// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's log file commands and e-mail alerts.

#include <filesystem>

#include "app/traj_form_model.h"
#include "common/text.h"
#include "language/translate.h"
#include "run/log_file.h"
#include "setup/setup_files.h"

namespace corvanel {

namespace {

// A log dialog that fails (rather than being cancelled) is tried this many times, each
// failure reported once; after that the log file stays as it was.
constexpr int Log_Dialog_Attempts = 3;

}  // namespace

void Traj_form::mnuSpecifyLogFile_Click() {
    CommonDialog2.Initial_Folder = Services_.Paths.Logfiles_Folder();
    CommonDialog2.File_Name = Recalled_Log_Name;
    std::string chosen = Services_.Paths.Logfile(Recalled_Log_Name);
    if (!Recall_Log_Pending) {
        File_Dialog_Result result;
        for (int attempt = 1; attempt <= Log_Dialog_Attempts; ++attempt) {
            result = Services_.Log_Dialog.Show_Open(CommonDialog2);
            if (result.Result != File_Dialog_Result::Outcome::Failed) break;
            Display(TranslateText("Unspecified File Error"));
        }
        if (result.Result == File_Dialog_Result::Outcome::Cancelled) {
            Display(TranslateText("LogFile specification cancelled"));
            return;
        }
        if (result.Result == File_Dialog_Result::Outcome::Failed) return;
        chosen = result.Path;
    }
    Recall_Log_Pending = false;
    if (chosen.empty()) return;
    Recalled_Log_Name = File_Name_Of_Path(chosen);
    Set_LogFile(File_Name_Of_Path(Recalled_Log_Name));
    Display(TranslateText("LogFile Specified"));
    Publish_Firing(Firing_Event::Log_Changed);
}

void Traj_form::mnuReset_Logfile_Click() {
    Engine_.Recall(0);
    Elapsed_Time = "0";
    if (!Profile_Name.empty()) Set_LogFile(Reset_Log_Name(Profile_Name, Services_.Time.Now()));
    Display(TranslateText("Elapsed time reset") + "=>0" + std::string(CRLF) +
            TranslateText("LogFile Set to") + "=>" + TranslateText("ProfileName_Date_Time") +
            ".txt");
    Engine_.Set_Suspended(false);
    Publish_Firing(Firing_Event::Log_Changed, "reset");
}

void Traj_form::Append_Log_Record() {
    if (LogFile.empty()) return;
    // A record the disk refuses (full) waits in memory and goes out, in order, when it
    // takes records again: the tick goes on, and the operator hears of it once.
    Held_Files.Write(Services_.Paths.Logfile(LogFile),
                     Log_Record(Elapsed_Time, Engine_.Set_Value(), Measured_Temp),
                     [](const std::string& path, const std::string& record) {
                         std::error_code ignored;
                         std::filesystem::create_directories(
                             std::filesystem::path(path).parent_path(), ignored);
                         return corvanel::Append_Log_Record(path, record);
                     });
}

void Traj_form::Send_Email_Alert() {
    Alerts.Send(Email_Notification, Engine_.Set_Value(), Measured_Temp);
}

void Traj_form::Message_Timer() {
    Alerts.Timer_Tick(Email_Notification, Engine_.Set_Value(), Measured_Temp);
}

void Traj_form::Arm_Email_Alert() {
    if (!mnuEnableEmailNotification) return;
    const auto segment = static_cast<std::size_t>(Engine_.Current_Segment() - 1);
    Alerts.Arm(Engine_.Set_Value(), Measured_Temp,
               Profile_.Tables().Seg_Error_Limit[segment % 256]);
}

void Traj_form::mnuEditNotificationList_Click() {
    mnuEditNotificationList = !mnuEditNotificationList;
    if (mnuEditNotificationList) {
        Email_Notification_Locked = false;
        Clear();
        Display(TranslateText("Enter valid Email address formats only. No checking done") +
                std::string(CRLF) + TranslateText("Format") + " = " + "AAAA@BBBB.XXX" +
                std::string(CRLF) + TranslateText("Separate addresses with single comma") +
                std::string(CRLF) +
                TranslateText("USE EMAIL TESTING FUNCTION TO VERIFY OPERATION"));
    } else {
        Email_Notification_Locked = true;
        Clear();
        Display(TranslateText("Email edit field locked"));
    }
    Services_.Windows.Focus_Email_Notification();
    Email_Notification_Enabled = mnuEditNotificationList;
}

void Traj_form::mnuEnableEmailNotification_Click() {
    mnuEnableEmailNotification = !mnuEnableEmailNotification;
    if (mnuEnableEmailNotification) {
        Display(TranslateText("Microsoft outlook must be running for this feature") +
                std::string(CRLF) +
                TranslateText("Email Alert enabled, verify connection via Email Menu") + "->" +
                TranslateText("TestNotification"));
    }
}

}  // namespace corvanel
