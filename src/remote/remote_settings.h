// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "setup/program_paths.h"

namespace corvanel {

// The status page's settings, each in a file of its own in Setup/: off, port 8080, and
// this computer only until the operator says otherwise.
struct Remote_Settings {
    bool Enabled = false;
    int Port = 8080;
    bool On_Network = false;  // listen on every interface, which needs the token
    std::string Token;
};

inline constexpr const char* Remote_Enabled_File = "RemoteMonitoring.txt";
inline constexpr const char* Remote_Port_File = "RemoteMonitoringPort.txt";
inline constexpr const char* Remote_Listen_File = "RemoteMonitoringListen.txt";  // local, network
inline constexpr const char* Remote_Token_File = "RemoteMonitoringToken.txt";

// Reads the settings; a bad value keeps its default and adds a message (translated) to
// `complaints`. A missing file is no complaint: it is the default.
Remote_Settings Read_Remote_Settings(const Program_Paths& paths,
                                     std::vector<std::string>& complaints);

// Writes all four files; the token's file is readable by its owner only.
void Save_Remote_Settings(const Program_Paths& paths, const Remote_Settings& settings);

// The port as typed: 1 to 65535, else empty.
std::optional<int> Port_Of_Text(const std::string& text);

// A token is 8 to 64 letters, digits, "-" or "_", so it can sit in an address and a cookie.
bool Token_Is_Valid(const std::string& token);

// 32 hex digits from the system's random source.
std::string New_Access_Token();

// The page's full address as typed into a phone: http://host:port/ and, on the network,
// ?token=...
std::string Page_Address(const Remote_Settings& settings, const std::string& host);

}  // namespace corvanel
