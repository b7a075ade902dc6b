// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "remote/status_snapshot.h"

namespace corvanel {

// One message for the broker, as the publisher hands it to the client library.
struct Mqtt_Message {
    std::string Topic, Payload;
    int Qos = 0;
    bool Retain = false;
};

// A kiln name as one topic level: lower-case letters and digits, "_" for the rest, never
// empty ("kiln").
std::string Topic_Slug(std::string_view name);

// "corvanel/<slug of the kiln name>".
std::string Default_Topic_Prefix(const std::string& kiln_name);

// What the program publishes about its firing, worked out from the status snapshot: the
// state (retained, every tick and event), availability, each alarm raised or cleared, the
// start and end of each firing, and Home Assistant's discovery configs. Attach it after
// the snapshot, so the snapshot is up to date when it is told. It only ever publishes:
// nothing it is given can reach the run.
class Mqtt_Telemetry : public Firing_Observer {
  public:
    Mqtt_Telemetry(const Status_Snapshot& snapshot, std::string prefix, bool discovery,
                   std::function<void(const Mqtt_Message&)> publish);

    void Firing_Changed(const Firing_Status& status, Firing_Event event,
                        const std::string& detail) override;

    // On every (re)connection: "online", the discovery configs and the current state.
    void Connected();
    Mqtt_Message Last_Will() const;  // "offline", retained: the broker says it for us
    Mqtt_Message Going_Offline() const { return Last_Will(); }

    // The retained discovery configs for the measured temperature, set value, output,
    // segment, time left and state.
    std::vector<Mqtt_Message> Discovery_Configs() const;

  private:
    Mqtt_Message State() const;
    void Firing_Message(const std::string& event, const std::string& outcome,
                        const std::string& detail = "");

    const Status_Snapshot& Snapshot_;
    std::string Prefix_;
    bool Discovery_;
    std::function<void(const Mqtt_Message&)> Publish_;
    bool In_Firing_ = false;
    std::string Scale_;  // the scale the discovery configs were last sent with
};

}  // namespace corvanel
