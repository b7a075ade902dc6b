// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's log file commands and e-mail alerts.

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
    Run_.Publish_Firing(Firing_Event::Log_Changed);
}

void Traj_form::mnuReset_Logfile_Click() {
    Run_.Reset_Elapsed();
    if (!Profile_Name.empty()) Set_LogFile(Reset_Log_Name(Profile_Name, Services_.Time.Now()));
    Display(TranslateText("Elapsed time reset") + "=>0" + std::string(CRLF) +
            TranslateText("LogFile Set to") + "=>" + TranslateText("ProfileName_Date_Time") +
            ".txt");
    Run_.Log_Was_Reset();
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
