// SPDX-License-Identifier: GPL-3.0-or-later
#include "setup/program_settings.h"

#include "setup/setup_files.h"

namespace corvanel {

namespace {

Setting Check_Mark(const char* file, bool on, const char* label) {
    return {.File = file,
            .Type = Setting_Type::On_Off,
            .Default = on ? "checked" : "unchecked",
            .Label = label};
}

Setting Line(const char* file, const char* label, bool write_empty = true) {
    return {.File = file, .Type = Setting_Type::Text, .Label = label, .Write_Empty = write_empty};
}

}  // namespace

namespace Program_Setting {
const Setting Check_Flag = Check_Mark("Check_Flag.txt", false, "Recall the last setup at start");
const Setting Profile_Name = Line("Profile_Name.txt", "Profile", false);
const Setting Logfile_Name = Line("Logfile_Name.txt", "Log file", false);
const Setting Email_List = Line("Email_List.txt", "E-mail addresses");
const Setting CommPortNumber = {.File = "CommPortNumber.txt",
                                .Type = Setting_Type::Whole,
                                .Default = "1",
                                .Label = "Serial port number",
                                .Low = -32768,
                                .High = 32767,
                                .Round = true};
const Setting EnableEmailNotification =
    Check_Mark("EnableEmailNotification.txt", false, "E-mail notification");
const Setting ThermalDeviceName = Line("ThermalDeviceName.txt", "Kiln name");
const Setting InterfaceLanguage = Line("InterfaceLanguage.txt", "Interface language");
const Setting TempScale = Check_Mark("TempScale.txt", false, "Temperatures in Fahrenheit");
const Setting TimeScale = Check_Mark("TimeScale.txt", false, "Times in minutes");
const Setting SensorType = Line("SensorType.txt", "Sensor type");
const Setting LiveFiringView = Check_Mark("LiveFiringView.txt", true, "Live firing view");
const Setting WarnWithoutLogFile =
    Check_Mark("WarnWithoutLogFile.txt", true, "Warn when a firing is not logged");
const Setting SerialPortDetails = Check_Mark("SerialPortDetails.txt", true, "Serial port details");
// Its address may carry the password: kept from the computer's other users.
const Setting MailServer = {
    .File = "MailServer.txt", .Type = Setting_Type::Secret, .Label = "Mail server"};
const Setting MailFrom = Line("MailFrom.txt", "Sender's e-mail address");
}  // namespace Program_Setting

const Setting_List& Program_Settings() {
    using namespace Program_Setting;
    static const Setting_List List = {&Check_Flag,         &Profile_Name,
                                      &Logfile_Name,       &Email_List,
                                      &CommPortNumber,     &EnableEmailNotification,
                                      &ThermalDeviceName,  &InterfaceLanguage,
                                      &TempScale,          &TimeScale,
                                      &SensorType,         &LiveFiringView,
                                      &WarnWithoutLogFile, &SerialPortDetails,
                                      &MailServer,         &MailFrom};
    return List;
}

std::string Setting_Line_Found(const Program_Paths& paths, const Setting& setting) {
    return Read_First_Line(paths.Setup_File(setting.File));
}

}  // namespace corvanel
