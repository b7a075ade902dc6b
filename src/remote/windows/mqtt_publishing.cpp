// SPDX-License-Identifier: GPL-3.0-or-later
#include "remote/windows/mqtt_publishing.h"

#include "remote/mqtt_telemetry.h"
#include "remote/windows/mqtt_client.h"
#include "remote/windows/mqtt_setup_window.h"
#include "setup/program_settings.h"
#include "setup/settings_store.h"

namespace corvanel {

Mqtt_Publishing::Mqtt_Publishing(const Program_Paths& paths, const Status_Snapshot& snapshot,
                                 Message_Area& messages, QWidget* dialog_parent)
    : Paths_(paths),
      Snapshot_(snapshot),
      Display_([&messages](const std::string& text) { messages.Display(text); }),
      Dialog_Parent_(dialog_parent),
      Model_(paths) {}

void Mqtt_Publishing::Attach(Firing_Status_Seam& firing) {
    Firing_ = &firing;
}

std::vector<Menu_Entry> Mqtt_Publishing::Menu_Entries() {
    return {{"SetUp", "MQTT", "mnuMqtt", [this] { Open_Dialog(); }}};
}

Mqtt_Publishing::~Mqtt_Publishing() {
    Window_.reset();
    Stop();
}

void Mqtt_Publishing::Stop() {
    if (!Client_) return;
    Firing_->Detach(Client_->Telemetry());
    Client_.reset();
}

std::string Mqtt_Publishing::Default_Prefix() const {
    std::string kiln = Snapshot_.Status().Kiln_Name;
    // Only read here, so a store of its own over the program folder serves.
    if (kiln.empty()) kiln = Settings_Store(Paths_).Value(Program_Setting::ThermalDeviceName);
    return Default_Topic_Prefix(kiln);
}

void Mqtt_Publishing::Apply_Settings() {
    Stop();
    std::vector<std::string> complaints;
    Mqtt_Settings settings = Read_Mqtt_Settings(Paths_, complaints);
    for (const std::string& complaint : complaints) Display_(complaint);
    if (!settings.Enabled || !Firing_) return;
    std::string prefix = settings.Topic_Prefix.empty() ? Default_Prefix() : settings.Topic_Prefix;
    Client_ = std::make_unique<Mqtt_Client>(settings, Snapshot_, prefix, Display_);
    Firing_->Attach(Client_->Telemetry());
}

void Mqtt_Publishing::Open_Dialog() {
    if (!Window_) {
        Window_ = std::make_unique<Mqtt_Setup_Window>(Model_, Dialog_Parent_);
        Window_->Saved = [this] { Apply_Settings(); };
    }
    Window_->Open(Default_Prefix());
}

}  // namespace corvanel
