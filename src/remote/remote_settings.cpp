// SPDX-License-Identifier: GPL-3.0-or-later
#include "remote/remote_settings.h"

#include <filesystem>
#include <random>

#include "common/numeric.h"
#include "language/translate.h"
#include "setup/setup_files.h"

namespace corvanel {

namespace {

bool File_Exists(const std::string& path) {
    std::error_code ignored;
    return std::filesystem::exists(path, ignored);
}

}  // namespace

std::optional<int> Port_Of_Text(const std::string& text) {
    Double_Conversion number = Convert_To_Double(text);
    if (!number.Value || *number.Value < 1 || *number.Value > 65535) return std::nullopt;
    int port = static_cast<int>(*number.Value);
    if (port != *number.Value) return std::nullopt;
    return port;
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

std::string New_Access_Token() {
    std::random_device source;
    const char* digits = "0123456789abcdef";
    std::string token;
    for (int i = 0; i < 32; ++i) token += digits[source() % 16];
    return token;
}

Remote_Settings Read_Remote_Settings(const Program_Paths& paths,
                                     std::vector<std::string>& complaints) {
    Remote_Settings settings;
    auto complain = [&](const char* file) {
        complaints.push_back(
            TranslateText("Remote Monitoring setting not understood, default kept:") + " " + file);
    };
    auto read = [&](const char* file, auto&& take) {
        std::string path = paths.Setup_File(file);
        if (!File_Exists(path)) return;
        if (!take(Read_First_Line(path))) complain(file);
    };
    read(Remote_Enabled_File, [&](const std::string& line) {
        settings.Enabled = line == "checked";
        return line == "checked" || line == "unchecked";
    });
    read(Remote_Port_File, [&](const std::string& line) {
        std::optional<int> port = Port_Of_Text(line);
        if (port) settings.Port = *port;
        return port.has_value();
    });
    read(Remote_Listen_File, [&](const std::string& line) {
        settings.On_Network = line == "network";
        return line == "network" || line == "local";
    });
    read(Remote_Token_File, [&](const std::string& line) {
        if (Token_Is_Valid(line)) settings.Token = line;
        return line.empty() || Token_Is_Valid(line);  // empty: none made yet
    });
    return settings;
}

void Save_Remote_Settings(const Program_Paths& paths, const Remote_Settings& settings) {
    Write_Text_File(paths.Setup_File(Remote_Enabled_File),
                    settings.Enabled ? "checked" : "unchecked");
    Write_Text_File(paths.Setup_File(Remote_Port_File), std::to_string(settings.Port));
    Write_Text_File(paths.Setup_File(Remote_Listen_File),
                    settings.On_Network ? "network" : "local");
    Write_Private_Text_File(paths.Setup_File(Remote_Token_File), settings.Token);
}

std::string Page_Address(const Remote_Settings& settings, const std::string& host) {
    std::string address = "http://" + host + ":" + std::to_string(settings.Port) + "/";
    if (settings.On_Network && !settings.Token.empty()) address += "?token=" + settings.Token;
    return address;
}

}  // namespace corvanel
