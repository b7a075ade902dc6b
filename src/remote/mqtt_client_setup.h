// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "remote/mqtt_settings.h"

struct mosquitto;

namespace corvanel {

// A new libmosquitto client made ready to connect as the settings say: the protocol, TLS
// with the chosen certificate authorities, then the user name and password. The program's
// client and the guard's both use it. "" when ready; otherwise why not, in the operator's
// words, and the client must not connect: a TLS set-up that failed never falls back to a
// connection in the clear with the password in it.
std::string Set_Up_Mqtt_Client(mosquitto* client, const Mqtt_Settings& settings);

}  // namespace corvanel
