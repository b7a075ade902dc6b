// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "common/problem.h"
#include "setup/setting.h"
#include "setup/settings_store.h"

namespace corvanel {

// The status page's settings, each in a file of its own in the Setup folder: off, port
// 8080, and this computer only until the operator says otherwise.
namespace Remote_Setting {
extern const Setting Enabled;  // RemoteMonitoring.txt
extern const Setting Port;     // RemoteMonitoringPort.txt: 1 to 65535
extern const Setting Listen;   // RemoteMonitoringListen.txt: local or network
extern const Setting Token;    // RemoteMonitoringToken.txt: owner only; empty until made
}  // namespace Remote_Setting

const Setting_List& Remote_Setting_List();  // the "Remote Monitoring" dialog's, in order

// The settings as the status page's server takes them.
struct Remote_Settings {
    bool Enabled = false;
    int Port = 8080;
    bool On_Network = false;  // listen on every interface, which needs the token
    std::string Token;
};

// Reads the files now; a value not taken keeps the one the store had, which is said in
// `problems`. A missing file is its default.
Remote_Settings Read_Remote_Settings(Settings_Store& store, std::vector<Problem>& problems);

// Writes the four files; the first that cannot be written is said.
Maybe_Problem Save_Remote_Settings(Settings_Store& store, const Remote_Settings& settings);

// A token is 8 to 64 letters, digits, "-" or "_", so it can sit in an address and a cookie.
bool Token_Is_Valid(const std::string& token);

// A token that takes 2^128 guesses or more: 32 characters of hex digits only, or 22 of
// letters, digits, - and _ mixed. A shorter one the operator typed stays valid.
bool Token_Is_Strong(const std::string& token);

// 32 hex digits (128 bits) from the system's random source.
std::string New_Access_Token();

// The page's full address as typed into a phone: http://host:port/ and, on the network,
// ?token=...
std::string Page_Address(const Remote_Settings& settings, const std::string& host);

}  // namespace corvanel
