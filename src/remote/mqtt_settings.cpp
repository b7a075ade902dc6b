// SPDX-License-Identifier: GPL-3.0-or-later
#include "remote/mqtt_settings.h"

#include <filesystem>
#include <functional>

#include "language/translate.h"
#include "remote/remote_settings.h"
#include "setup/setup_files.h"

namespace corvanel {

namespace {

bool Check_Mark(const std::string& line, bool& value) {
    if (line != "checked" && line != "unchecked") return false;
    value = line == "checked";
    return true;
}

const char* Check_Text(bool value) {
    return value ? "checked" : "unchecked";
}

}  // namespace

std::string Mqtt_Host_Problem(const std::string& host) {
    bool fits = !host.empty() && host.size() <= 253;
    for (char c : host) fits = fits && c > ' ' && c != '/' && c != '@' && c != 0x7f;
    return fits ? ""
                : TranslateText("The broker's host must be a name or an address without spaces");
}

std::string Mqtt_Prefix_Problem(const std::string& prefix) {
    // The prefix is used as is in every topic: no wildcards, no empty first or last level.
    // Empty is the default prefix.
    if (prefix.empty()) return "";
    bool fits = prefix.size() <= 200 && prefix.front() != '/' && prefix.back() != '/' &&
                prefix.find_first_of("+#") == std::string::npos;
    for (char c : prefix) fits = fits && static_cast<unsigned char>(c) >= ' ';
    return fits ? ""
                : TranslateText("The topic prefix must not start or end with / nor hold + or #");
}

Mqtt_Settings Read_Mqtt_Settings(const Program_Paths& paths, std::vector<std::string>& complaints) {
    Mqtt_Settings settings;
    auto read = [&](const char* file, const std::function<bool(const std::string&)>& take) {
        std::string path = paths.Setup_File(file);
        std::error_code ignored;
        if (!std::filesystem::exists(path, ignored)) return;
        if (!take(Read_First_Line(path))) {
            complaints.push_back(TranslateText("MQTT setting not understood, default kept:") + " " +
                                 file);
        }
    };
    read(Mqtt_Enabled_File,
         [&](const std::string& line) { return Check_Mark(line, settings.Enabled); });
    read(Mqtt_Host_File, [&](const std::string& line) {
        if (!Mqtt_Host_Problem(line).empty()) return false;
        settings.Host = line;
        return true;
    });
    read(Mqtt_Port_File, [&](const std::string& line) {
        std::optional<int> port = Port_Of_Text(line);
        if (port) settings.Port = *port;
        return port.has_value();
    });
    read(Mqtt_User_File, [&](const std::string& line) {
        settings.User_Name = line;
        return true;
    });
    read(Mqtt_Password_File, [&](const std::string& line) {
        settings.Password = line;
        return true;
    });
    read(Mqtt_Tls_File, [&](const std::string& line) { return Check_Mark(line, settings.Tls); });
    read(Mqtt_Ca_File, [&](const std::string& line) {
        settings.Ca_File = line;
        return true;
    });
    read(Mqtt_Prefix_File, [&](const std::string& line) {
        if (!Mqtt_Prefix_Problem(line).empty()) return false;
        settings.Topic_Prefix = line;
        return true;
    });
    read(Mqtt_Discovery_File,
         [&](const std::string& line) { return Check_Mark(line, settings.Discovery); });
    return settings;
}

void Save_Mqtt_Settings(const Program_Paths& paths, const Mqtt_Settings& settings) {
    Write_Text_File(paths.Setup_File(Mqtt_Enabled_File), Check_Text(settings.Enabled));
    Write_Text_File(paths.Setup_File(Mqtt_Host_File), settings.Host);
    Write_Text_File(paths.Setup_File(Mqtt_Port_File), std::to_string(settings.Port));
    Write_Text_File(paths.Setup_File(Mqtt_User_File), settings.User_Name);
    Write_Private_Text_File(paths.Setup_File(Mqtt_Password_File), settings.Password);
    Write_Text_File(paths.Setup_File(Mqtt_Tls_File), Check_Text(settings.Tls));
    Write_Text_File(paths.Setup_File(Mqtt_Ca_File), settings.Ca_File);
    Write_Text_File(paths.Setup_File(Mqtt_Prefix_File), settings.Topic_Prefix);
    Write_Text_File(paths.Setup_File(Mqtt_Discovery_File), Check_Text(settings.Discovery));
}

}  // namespace corvanel
