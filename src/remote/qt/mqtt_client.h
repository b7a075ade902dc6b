// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>

#include "remote/mqtt_link.h"
#include "remote/mqtt_settings.h"
#include "remote/mqtt_telemetry.h"

class QHostInfo;
class QSocketNotifier;
struct mosquitto;

namespace corvanel {

// The connection to the broker through libmosquitto, driven by the program's event loop:
// the name is looked up and the connection begun on a thread, never waiting here, the
// socket is watched by notifiers and a short timer keeps the connection alive, so a slow
// or absent broker never holds up a control tick. Mqtt_Link decides when to try again and
// what to tell the operator; this class only moves bytes.
class Mqtt_Client : public QObject {
  public:
    Mqtt_Client(const Mqtt_Settings& settings, const Status_Snapshot& snapshot,
                const std::string& prefix, std::function<void(const std::string&)> display);
    // Says "offline" and disconnects, waiting at most a quarter of a second for the
    // bytes to leave; a broker too slow for that hears of it by the last will.
    ~Mqtt_Client() override;

    // The publisher to attach to the firing's seam.
    Mqtt_Telemetry& Telemetry() { return Telemetry_; }
    bool Is_Connected() const { return Link_.Is_Connected(); }

  private:
    void Publish(const Mqtt_Message& message);
    void Start_Attempt();
    void Name_Found(const QHostInfo& found);
    void Connect_To(const std::string& target);
    void Connect_Returned(int attempt, mosquitto* client, int code, int system_error);
    void Connack(int code);
    void Ended(int code, int system_error);
    void Trouble(Mqtt_Trouble trouble, const std::string& reason);
    void Drop_Client();
    void Watch_Socket();
    void Loop_Result(int code);
    void Housekeeping();
    void Say(const std::string& text);

    void Collect_Connect();

    struct Pending_Connect;
    std::shared_ptr<Pending_Connect> Pending_;  // a connection being begun, if any
    Mqtt_Settings Settings_;
    std::function<void(const std::string&)> Display_;
    Mqtt_Link Link_;
    Mqtt_Telemetry Telemetry_;
    mosquitto* Client_ = nullptr;
    QSocketNotifier* Read_ = nullptr;
    QSocketNotifier* Write_ = nullptr;
    QTimer Misc_, Retry_;
    QElapsedTimer Attempt_;
    bool Attempting_ = false;
    int Attempts_ = 0;
    bool Closing_ = false;
    // A refusal the broker gave in its answer, reported when the connection ends.
    bool Refused_ = false;
    Mqtt_Trouble Refusal_ = Mqtt_Trouble::Refused;
    std::string Refusal_Reason_;
};

}  // namespace corvanel
