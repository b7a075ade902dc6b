// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "remote/mqtt_settings.h"
#include "remote/mqtt_telemetry.h"
#include "remote/status_snapshot.h"

struct mosquitto;

namespace corvanel {

// The kiln guard's MQTT: the program's own topics and messages (its telemetry over a
// snapshot), sent by libmosquitto's own thread, so that a broker that hangs never holds
// the guard up. Messages go once connected; what is not sent when the guard ends is lost.
class Guard_Mqtt : public Firing_Observer {
  public:
    Guard_Mqtt(const Mqtt_Settings& settings, const std::string& kiln_name);
    ~Guard_Mqtt() override;
    Guard_Mqtt(const Guard_Mqtt&) = delete;
    Guard_Mqtt& operator=(const Guard_Mqtt&) = delete;

    void Firing_Changed(const Firing_Status& status, Firing_Event event,
                        const std::string& detail) override;
    // Why it does not connect at all (a TLS set-up that failed); "" when it does.
    const std::string& Refused() const { return Refused_; }

  private:
    void Send(const Mqtt_Message& message);
    void Connected();  // on libmosquitto's thread

    // The guard's thread tells, libmosquitto's connects: one at a time.
    std::mutex Lock_;
    bool Connected_ = false;
    std::vector<Mqtt_Message> Pending_;  // told before the connection was there
    Status_Snapshot Snapshot_;
    Mqtt_Telemetry Telemetry_;
    mosquitto* Client_ = nullptr;
    std::string Refused_;
};

}  // namespace corvanel
