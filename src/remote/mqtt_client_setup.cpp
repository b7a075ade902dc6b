// SPDX-License-Identifier: GPL-3.0-or-later
#include "remote/mqtt_client_setup.h"

#include <mosquitto.h>

#include <filesystem>

#include "language/translate.h"

namespace corvanel {

std::string Set_Up_Mqtt_Client(mosquitto* client, const Mqtt_Settings& settings) {
    mosquitto_int_option(client, MOSQ_OPT_PROTOCOL_VERSION, MQTT_PROTOCOL_V311);
    if (settings.Tls) {
        std::error_code ignored;
        const bool has_ca = !settings.Ca_File.empty();
        if (has_ca && !std::filesystem::is_regular_file(settings.Ca_File, ignored)) {
            return TranslateText("The CA file does not exist:") + " " + settings.Ca_File;
        }
        const int tls =
            mosquitto_tls_set(client, has_ca ? settings.Ca_File.c_str() : nullptr,
                              has_ca ? nullptr : "/etc/ssl/certs", nullptr, nullptr, nullptr);
        if (tls != MOSQ_ERR_SUCCESS) return mosquitto_strerror(tls);
    }
    if (!settings.User_Name.empty()) {
        const int set = mosquitto_username_pw_set(
            client, settings.User_Name.c_str(),
            settings.Password.empty() ? nullptr : settings.Password.c_str());
        if (set != MOSQ_ERR_SUCCESS) return mosquitto_strerror(set);
    }
    return "";
}

}  // namespace corvanel
