// SPDX-License-Identifier: GPL-3.0-or-later
#include "remote/mqtt_settings.h"

#include "setup/setting_binding.h"

namespace corvanel {

namespace {

std::optional<Operator_Text> Host_Problem(std::string_view host) {
    bool fits = !host.empty() && host.size() <= 253;
    for (char c : host) fits = fits && c > ' ' && c != '/' && c != '@' && c != 0x7f;
    if (fits) return std::nullopt;
    return Operator_Text::Phrase("a name or an address without spaces");
}

std::optional<Operator_Text> Prefix_Problem(std::string_view prefix) {
    // The prefix is used as is in every topic: no wildcards, no empty first or last level.
    // Empty is the default prefix.
    if (prefix.empty()) return std::nullopt;
    bool fits = prefix.size() <= 200 && prefix.front() != '/' && prefix.back() != '/' &&
                prefix.find_first_of("+#") == std::string::npos;
    for (char c : prefix) fits = fits && static_cast<unsigned char>(c) >= ' ';
    if (fits) return std::nullopt;
    return Operator_Text::Phrase("a prefix that neither starts nor ends with / nor holds + or #");
}

Setting Check_Mark(const char* file, const char* label, const char* name, const char* fallback) {
    return {.File = file,
            .Type = Setting_Type::On_Off,
            .Default = fallback,
            .Label = label,
            .Object_Name = name};
}

Setting Text(const char* file, Setting_Type type, const char* label, const char* name) {
    return {.File = file, .Type = type, .Label = label, .Object_Name = name};
}

}  // namespace

namespace Mqtt_Setting {

const Setting Enabled = Check_Mark("Mqtt.txt", "Publish the firing to an MQTT broker",
                                   "Enable_Publishing", "unchecked");
const Setting Host{.File = "MqttHost.txt",
                   .Type = Setting_Type::Text,
                   .Default = "localhost",
                   .Label = "Broker host",
                   .Check = Host_Problem,
                   .Object_Name = "Host",
                   .Refusal = "The broker's host must be a name or an address without spaces"};
const Setting Port = Port_Setting("MqttPort.txt", "1883");
const Setting User_Name = Text("MqttUserName.txt", Setting_Type::Text, "User name", "User_Name");
const Setting Password = Text("MqttPassword.txt", Setting_Type::Secret, "Password", "Password");
const Setting Tls = Check_Mark("MqttTls.txt", "Use TLS", "Use_Tls", "unchecked");
const Setting Ca_File{.File = "MqttCaFile.txt",
                      .Type = Setting_Type::Text,
                      .Label = "CA file",
                      .Object_Name = "Ca_File",
                      .Placeholder = "the system's certificates"};
const Setting Topic_Prefix{
    .File = "MqttTopicPrefix.txt",
    .Type = Setting_Type::Text,
    .Label = "Topic prefix",
    .Check = Prefix_Problem,
    .Object_Name = "Topic_Prefix",
    .Refusal = "The topic prefix must not start or end with / nor hold + or #"};
const Setting Discovery =
    Check_Mark("MqttDiscovery.txt", "Home Assistant discovery", "Discovery", "checked");

}  // namespace Mqtt_Setting

const Setting_List& Mqtt_Setting_List() {
    using namespace Mqtt_Setting;
    static const Setting_List list = {&Enabled, &Host,    &Port,         &User_Name, &Password,
                                      &Tls,     &Ca_File, &Topic_Prefix, &Discovery};
    return list;
}

Mqtt_Settings Read_Mqtt_Settings(Settings_Store& store, std::vector<Problem>& problems) {
    using namespace Mqtt_Setting;
    using S = Mqtt_Settings;
    static const Setting_Bindings<S> bindings = {
        {&Enabled, &S::Enabled},    {&Host, &S::Host},
        {&Port, &S::Port},          {&User_Name, &S::User_Name},
        {&Password, &S::Password},  {&Tls, &S::Tls},
        {&Ca_File, &S::Ca_File},    {&Topic_Prefix, &S::Topic_Prefix},
        {&Discovery, &S::Discovery}};
    Mqtt_Settings settings;
    Read_Into(store, bindings, settings, problems);
    return settings;
}

}  // namespace corvanel
