// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "remote/mqtt_setup_model.h"
#include "remote/status_snapshot.h"

class QWidget;

namespace corvanel {

class Mqtt_Client;
class Mqtt_Setup_Window;

// The program's MQTT publisher: off until the settings turn it on; then a client that
// hears the firing (after the status snapshot it reads) and publishes it.
class Mqtt_Publishing {
  public:
    Mqtt_Publishing(const Program_Paths& paths, Firing_Status_Seam& firing,
                    const Status_Snapshot& snapshot,
                    std::function<void(const std::string&)> display);
    ~Mqtt_Publishing();

    // Reads the settings and starts, restarts or stops the client; complaints about the
    // settings and the connection's troubles go to the message area.
    void Apply_Settings();
    void Open_Dialog(QWidget* parent);

    // The prefix an empty setting stands for: "corvanel/<slug of the kiln name>".
    std::string Default_Prefix() const;
    Mqtt_Client* Client() { return Client_.get(); }

  private:
    void Stop();

    Program_Paths Paths_;
    Firing_Status_Seam& Firing_;
    const Status_Snapshot& Snapshot_;
    std::function<void(const std::string&)> Display_;
    std::unique_ptr<Mqtt_Client> Client_;
    Mqtt_Setup_Model Model_;
    std::unique_ptr<Mqtt_Setup_Window> Window_;
};

}  // namespace corvanel
