// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/guard_mqtt.h"

#include <mosquitto.h>

#include <chrono>
#include <thread>

#include "remote/mqtt_client_setup.h"

namespace corvanel {

namespace {

constexpr int Keep_Alive_Seconds = 30;

}  // namespace

Guard_Mqtt::Guard_Mqtt(const Mqtt_Settings& settings, const std::string& kiln_name)
    : Telemetry_(
          Snapshot_,
          settings.Topic_Prefix.empty() ? Default_Topic_Prefix(kiln_name) : settings.Topic_Prefix,
          settings.Discovery, [this](const Mqtt_Message& message) { Send(message); }) {
    mosquitto_lib_init();
    Client_ = mosquitto_new(nullptr, true, this);
    if (!Client_) return;
    Refused_ = Set_Up_Mqtt_Client(Client_, settings);
    if (!Refused_.empty()) {
        mosquitto_destroy(Client_);
        Client_ = nullptr;
        return;
    }
    const Mqtt_Message will = Telemetry_.Last_Will();
    mosquitto_will_set(Client_, will.Topic.c_str(), static_cast<int>(will.Payload.size()),
                       will.Payload.data(), will.Qos, will.Retain);
    mosquitto_connect_callback_set(Client_, [](mosquitto*, void* self, int code) {
        if (code == 0) static_cast<Guard_Mqtt*>(self)->Connected();
    });
    mosquitto_connect_async(Client_, settings.Host.c_str(), settings.Port, Keep_Alive_Seconds);
    mosquitto_loop_start(Client_);
}

Guard_Mqtt::~Guard_Mqtt() {
    if (!Client_) {
        mosquitto_lib_cleanup();
        return;
    }
    // What is queued gets a few seconds to leave.
    for (int waited = 0; waited < 60 && mosquitto_want_write(Client_); ++waited) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    mosquitto_disconnect(Client_);
    mosquitto_loop_stop(Client_, false);
    mosquitto_destroy(Client_);
    mosquitto_lib_cleanup();
}

void Guard_Mqtt::Connected() {
    const std::lock_guard<std::mutex> hold(Lock_);
    Connected_ = true;
    Telemetry_.Connected();
    for (const Mqtt_Message& message : Pending_) Send(message);
    Pending_.clear();
}

void Guard_Mqtt::Firing_Changed(const Firing_Status& status, Firing_Event event,
                                const std::string& detail) {
    const std::lock_guard<std::mutex> hold(Lock_);
    Snapshot_.Firing_Changed(status, event, detail);
    Telemetry_.Firing_Changed(status, event, detail);
}

void Guard_Mqtt::Send(const Mqtt_Message& message) {
    if (!Client_) return;
    if (!Connected_) {
        Pending_.push_back(message);
        return;
    }
    mosquitto_publish(Client_, nullptr, message.Topic.c_str(),
                      static_cast<int>(message.Payload.size()), message.Payload.data(), message.Qos,
                      message.Retain);
}

}  // namespace corvanel
