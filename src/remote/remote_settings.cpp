// SPDX-License-Identifier: GPL-3.0-or-later
#include "remote/remote_settings.h"

#include <random>

#include "setup/setting_binding.h"

namespace corvanel {

namespace Remote_Setting {

const Setting Enabled{.File = "RemoteMonitoring.txt",
                      .Type = Setting_Type::On_Off,
                      .Default = "unchecked",
                      .Label = "Show the status page",
                      .Object_Name = "Enable_Page"};
const Setting Port = Port_Setting("RemoteMonitoringPort.txt", "8080");
const Setting Listen{.File = "RemoteMonitoringListen.txt",
                     .Type = Setting_Type::Choice,
                     .Default = "local",
                     .Label = "Who can open the status page",
                     .On_Word = "network",  // bound to On_Network
                     .Off_Word = "local",
                     .Choices = {"local", "network"},
                     .Choice_Labels = {"Listen on this computer only",
                                       "Listen on the network (needs the access token)"},
                     .Object_Name = "Listen",
                     .Choice_Names = {"Listen_Local", "Listen_Network"}};
const Setting Token{.File = "RemoteMonitoringToken.txt",
                    .Type = Setting_Type::Secret,
                    .Label = "Access token",
                    .Check = [](std::string_view token) -> std::optional<Operator_Text> {
                        // Empty: none made yet.
                        if (token.empty() || Token_Is_Valid(std::string(token)))
                            return std::nullopt;
                        return Operator_Text::Phrase("8 to 64 letters, digits, - or _");
                    },
                    .Object_Name = "Token",
                    .Refusal = "The access token must be 8 to 64 letters, digits, - or _"};

}  // namespace Remote_Setting

const Setting_List& Remote_Setting_List() {
    static const Setting_List list = {&Remote_Setting::Enabled, &Remote_Setting::Port,
                                      &Remote_Setting::Listen, &Remote_Setting::Token};
    return list;
}

bool Token_Is_Valid(const std::string& token) {
    if (token.size() < 8 || token.size() > 64) return false;
    for (char c : token) {
        bool fits = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                    c == '-' || c == '_';
        if (!fits) return false;
    }
    return true;
}

bool Token_Is_Strong(const std::string& token) {
    const bool only_hex = token.find_first_not_of("0123456789abcdefABCDEF") == std::string::npos;
    // 4 bits a hex digit, 6 a character of the whole set.
    return token.size() * (only_hex ? 4 : 6) >= 128;
}

std::string New_Access_Token() {
    std::random_device source;
    const char* digits = "0123456789abcdef";
    std::string token;
    for (int i = 0; i < 32; ++i) token += digits[source() % 16];
    return token;
}

namespace {

const Setting_Bindings<Remote_Settings>& Bindings() {
    using S = Remote_Settings;
    static const Setting_Bindings<S> bindings = {{&Remote_Setting::Enabled, &S::Enabled},
                                                 {&Remote_Setting::Port, &S::Port},
                                                 {&Remote_Setting::Listen, &S::On_Network},
                                                 {&Remote_Setting::Token, &S::Token}};
    return bindings;
}

}  // namespace

Remote_Settings Read_Remote_Settings(Settings_Store& store, std::vector<Problem>& problems) {
    Remote_Settings settings;
    Read_Into(store, Bindings(), settings, problems);
    return settings;
}

Maybe_Problem Save_Remote_Settings(Settings_Store& store, const Remote_Settings& settings) {
    return Write_From(store, Bindings(), settings);
}

std::string Page_Address(const Remote_Settings& settings, const std::string& host) {
    std::string address = "http://" + host + ":" + std::to_string(settings.Port) + "/";
    if (settings.On_Network && !settings.Token.empty()) address += "?token=" + settings.Token;
    return address;
}

}  // namespace corvanel
