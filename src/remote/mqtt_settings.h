// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "common/problem.h"
#include "setup/setting.h"
#include "setup/settings_store.h"

namespace corvanel {

// Where the firing is published, each setting in a file of its own in the Setup folder:
// off until the operator turns it on; then the broker on this computer, port 1883, no
// user, no TLS, the topics under "corvanel/<kiln>" and Home Assistant's discovery on.
namespace Mqtt_Setting {
extern const Setting Enabled;       // Mqtt.txt
extern const Setting Host;          // MqttHost.txt: a name or an address without spaces
extern const Setting Port;          // MqttPort.txt: 1 to 65535
extern const Setting User_Name;     // MqttUserName.txt
extern const Setting Password;      // MqttPassword.txt: owner only
extern const Setting Tls;           // MqttTls.txt
extern const Setting Ca_File;       // MqttCaFile.txt: empty, the system's authorities
extern const Setting Topic_Prefix;  // MqttTopicPrefix.txt: empty, the kiln's default
extern const Setting Discovery;     // MqttDiscovery.txt
}  // namespace Mqtt_Setting

const Setting_List& Mqtt_Setting_List();  // the "MQTT" dialog's, in order

// The settings as the client takes them.
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

// Reads the files now; a value not taken keeps the one the store had, which is said in
// `problems`. A missing file is its default.
Mqtt_Settings Read_Mqtt_Settings(Settings_Store& store, std::vector<Problem>& problems);

}  // namespace corvanel
