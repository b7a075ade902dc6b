// SPDX-License-Identifier: GPL-3.0-or-later
#include "remote/mqtt_setup_model.h"

#include <filesystem>
#include <vector>

#include "common/text.h"
#include "language/translate.h"
#include "remote/remote_settings.h"

namespace corvanel {

Mqtt_Setup_Model::Mqtt_Setup_Model(Program_Paths paths) : Paths_(std::move(paths)) {}

void Mqtt_Setup_Model::Form_Load(const std::string& default_prefix) {
    std::vector<std::string> complaints;
    Mqtt_Settings settings = Read_Mqtt_Settings(Paths_, complaints);
    Enabled = settings.Enabled;
    Host = settings.Host;
    Port_Text = std::to_string(settings.Port);
    User_Name = settings.User_Name;
    Password = settings.Password;
    Tls = settings.Tls;
    Ca_File = settings.Ca_File;
    Topic_Prefix = settings.Topic_Prefix;
    Default_Prefix = default_prefix;
    Discovery = settings.Discovery;
    Message = Join_Lines(complaints);
}

bool Mqtt_Setup_Model::OK_Click() {
    std::optional<int> port = Port_Of_Text(Port_Text);
    std::string problem = Mqtt_Host_Problem(Host);
    if (problem.empty() && !port) {
        problem = TranslateText("The port must be a whole number from 1 to 65535");
    }
    if (problem.empty()) problem = Mqtt_Prefix_Problem(Topic_Prefix);
    std::error_code ignored;
    if (problem.empty() && Tls && !Ca_File.empty() &&
        !std::filesystem::is_regular_file(Ca_File, ignored)) {
        problem = TranslateText("The CA file does not exist:") + " " + Ca_File;
    }
    if (!problem.empty()) {
        Message = problem;
        return false;
    }
    // The default prefix is stored as empty, so it follows a new kiln name.
    std::string prefix = Topic_Prefix == Default_Prefix ? "" : Topic_Prefix;
    Save_Mqtt_Settings(
        Paths_, {Enabled, Host, *port, User_Name, Password, Tls, Ca_File, prefix, Discovery});
    Message.clear();
    return true;
}

}  // namespace corvanel
