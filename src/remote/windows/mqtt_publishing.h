// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "common/platform.h"
#include "remote/status_snapshot.h"
#include "run/feature.h"
#include "setup/settings_form.h"

class QWidget;

namespace corvanel {

class Mqtt_Client;
class Mqtt_Setup_Window;

// The program's MQTT publisher: off until the settings turn it on; then a client that
// hears the firing (after its own status snapshot, which it reads) and publishes it. Its
// dialog opens over the given window.
class Mqtt_Publishing : public Feature {
  public:
    Mqtt_Publishing(Settings_Store& settings, Message_Area& messages, QWidget* dialog_parent);
    ~Mqtt_Publishing() override;

    void Attach(Firing_Status_Seam& firing) override;
    // Reads the settings and starts, restarts or stops the client; complaints about the
    // settings and the connection's troubles go to the message area.
    void Apply_Settings() override;
    // SetUp -> "MQTT".
    std::vector<Menu_Entry> Menu_Entries() override;
    void Open_Dialog();

    // The prefix an empty setting stands for: "corvanel/<slug of the kiln name>".
    std::string Default_Prefix();
    Mqtt_Client* Client() { return Client_.get(); }

  private:
    void Stop();

    Settings_Store& Settings_;
    Firing_Status_Seam* Firing_ = nullptr;
    Status_Snapshot Snapshot_;
    Message_Area& Messages_;
    std::function<void(const std::string&)> Display_;
    QWidget* Dialog_Parent_;
    std::unique_ptr<Mqtt_Client> Client_;
    Settings_Form Form_;
    std::unique_ptr<Mqtt_Setup_Window> Window_;
};

}  // namespace corvanel
