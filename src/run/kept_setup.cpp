// SPDX-License-Identifier: GPL-3.0-or-later
#include "run/kept_setup.h"

#include "setup/program_settings.h"

namespace corvanel {

namespace {

namespace Setting_Of = Program_Setting;

std::optional<std::string> Recalled(Settings_Store& settings, const Setting& setting) {
    if (!settings.File_Exists(setting.File)) return std::nullopt;
    Settings_Store::Reading reading = settings.Read(setting);
    if (reading.Problem) return std::nullopt;
    return reading.Value;
}

bool Recalled_On(Settings_Store& settings, const Setting& setting) {
    return Recalled(settings, setting) == setting.On_Word;
}

}  // namespace

void Save_Kept_Setup(Settings_Store& settings, const Kept_Setup& kept) {
    settings.Set_On(Setting_Of::Check_Flag, kept.Recall);
    settings.Write(Setting_Of::Profile_Name, kept.Profile_Name);
    settings.Write(Setting_Of::Logfile_Name, kept.Log_Name);
    settings.Write(Setting_Of::Email_List, kept.Email_List);
    settings.Write(Setting_Of::CommPortNumber, std::to_string(kept.Port));
    settings.Set_On(Setting_Of::EnableEmailNotification, kept.Email_On);
}

Recalled_Setup Read_Kept_Setup(Settings_Store& settings) {
    Recalled_Setup found;
    found.Email_On = Recalled_On(settings, Setting_Of::EnableEmailNotification);
    found.Email_List = Recalled(settings, Setting_Of::Email_List).value_or("");
    found.Port = Recalled(settings, Setting_Of::CommPortNumber);
    found.Device_Name = Recalled(settings, Setting_Of::ThermalDeviceName).value_or("");
    found.Recall = Recalled_On(settings, Setting_Of::Check_Flag);
    found.Profile_Name = Recalled(settings, Setting_Of::Profile_Name).value_or("");
    found.Log_Name = Recalled(settings, Setting_Of::Logfile_Name).value_or("");
    return found;
}

}  // namespace corvanel
