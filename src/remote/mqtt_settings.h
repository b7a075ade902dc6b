// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "setup/program_paths.h"

namespace corvanel {

// Where the firing is published, each setting in a file of its own in Setup/: off until
// the operator turns it on; then the broker on this computer, port 1883, no user, no TLS,
// the topics under "corvanel/<kiln>" and Home Assistant's discovery on.
struct Mqtt_Settings {
    bool Enabled = false;
    std::string Host = "localhost";
    int Port = 1883;
    std::string User_Name, Password;
    bool Tls = false;
    std::string Ca_File;       // empty: the system's certificate authorities
    std::string Topic_Prefix;  // empty: Default_Topic_Prefix of the kiln name
    bool Discovery = true;
};

inline constexpr const char* Mqtt_Enabled_File = "Mqtt.txt";
inline constexpr const char* Mqtt_Host_File = "MqttHost.txt";
inline constexpr const char* Mqtt_Port_File = "MqttPort.txt";
inline constexpr const char* Mqtt_User_File = "MqttUserName.txt";
inline constexpr const char* Mqtt_Password_File = "MqttPassword.txt";  // owner only
inline constexpr const char* Mqtt_Tls_File = "MqttTls.txt";
inline constexpr const char* Mqtt_Ca_File = "MqttCaFile.txt";
inline constexpr const char* Mqtt_Prefix_File = "MqttTopicPrefix.txt";
inline constexpr const char* Mqtt_Discovery_File = "MqttDiscovery.txt";

// Reads the settings; a bad value keeps its default and adds a message (translated)
// naming the file to `complaints`. A missing file is its default.
Mqtt_Settings Read_Mqtt_Settings(const Program_Paths& paths, std::vector<std::string>& complaints);

// Writes every file; the password's is readable by its owner only.
void Save_Mqtt_Settings(const Program_Paths& paths, const Mqtt_Settings& settings);

// What is wrong with a value as typed (translated), or "" when it is good.
std::string Mqtt_Host_Problem(const std::string& host);
std::string Mqtt_Prefix_Problem(const std::string& prefix);

}  // namespace corvanel
