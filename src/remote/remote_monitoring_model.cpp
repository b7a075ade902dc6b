// SPDX-License-Identifier: GPL-3.0-or-later
#include "remote/remote_monitoring_model.h"

#include <vector>

#include "common/text.h"
#include "language/translate.h"

namespace corvanel {

Remote_Monitoring_Model::Remote_Monitoring_Model(Program_Paths paths, std::string host)
    : Paths_(std::move(paths)), Host_(std::move(host)) {}

void Remote_Monitoring_Model::Form_Load() {
    std::vector<std::string> complaints;
    Remote_Settings settings = Read_Remote_Settings(Paths_, complaints);
    Enabled = settings.Enabled;
    Port_Text = std::to_string(settings.Port);
    On_Network = settings.On_Network;
    Token = settings.Token;
    Message = Join_Lines(complaints);
    if (On_Network && Token.empty()) Token = New_Access_Token();
}

void Remote_Monitoring_Model::Listen_Changed(bool on_network) {
    On_Network = on_network;
    if (On_Network && Token.empty()) Token = New_Access_Token();
}

void Remote_Monitoring_Model::New_Token_Click() {
    Token = New_Access_Token();
}

std::string Remote_Monitoring_Model::Address() const {
    Remote_Settings shown;
    shown.Port = Port_Of_Text(Port_Text).value_or(0);
    shown.On_Network = On_Network;
    shown.Token = Token;
    return Page_Address(shown, On_Network ? Host_ : "127.0.0.1");
}

bool Remote_Monitoring_Model::OK_Click() {
    std::optional<int> port = Port_Of_Text(Port_Text);
    if (!port) {
        Message = TranslateText("The port must be a whole number from 1 to 65535");
        return false;
    }
    if (!Token.empty() && !Token_Is_Valid(Token)) {
        Message = TranslateText("The access token must be 8 to 64 letters, digits, - or _");
        return false;
    }
    if (On_Network && Token.empty()) Token = New_Access_Token();
    Save_Remote_Settings(Paths_, {Enabled, *port, On_Network, Token});
    Message.clear();
    return true;
}

}  // namespace corvanel
