// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "setup/program_paths.h"
#include "setup/setting.h"

namespace corvanel {

// The one-line settings of the run window, the editor, the languages and the mail, each
// in a file of its own in the Setup folder.
namespace Program_Setting {
extern const Setting Check_Flag;    // recall the last profile and log at start
extern const Setting Profile_Name;  // written only when a profile is named
extern const Setting Logfile_Name;  // written only when a log file is named
extern const Setting Email_List;
extern const Setting CommPortNumber;  // any 16-bit number, rounded half to even
extern const Setting EnableEmailNotification;
extern const Setting ThermalDeviceName;
extern const Setting InterfaceLanguage;  // the language file's name: "German.mdb"
extern const Setting TempScale;          // checked: the editor shows Fahrenheit
extern const Setting TimeScale;          // checked: the editor shows minutes
extern const Setting SensorType;         // the sensor code, blanks included
extern const Setting LiveFiringView;
extern const Setting WarnWithoutLogFile;
extern const Setting SerialPortDetails;
extern const Setting MailServer;
extern const Setting MailFrom;
}  // namespace Program_Setting

const Setting_List& Program_Settings();

// The first line of a setting's file exactly as found (empty when there is none), for
// the messages that quote a value the setting may not have in full.
std::string Setting_Line_Found(const Program_Paths& paths, const Setting& setting);

}  // namespace corvanel
