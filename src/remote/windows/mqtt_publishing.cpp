// SPDX-License-Identifier: GPL-3.0-or-later
#include "remote/windows/mqtt_publishing.h"

#include "language/show_problem.h"
#include "remote/mqtt_telemetry.h"
#include "remote/qt/mqtt_client.h"
#include "remote/windows/mqtt_setup_window.h"
#include "setup/program_settings.h"
#include "setup/settings_store.h"

namespace corvanel {

Mqtt_Publishing::Mqtt_Publishing(Settings_Store& settings, Message_Area& messages,
                                 QWidget* dialog_parent)
    : Settings_(settings),
      Messages_(messages),
      Display_([&messages](const std::string& text) { messages.Display(text); }),
      Dialog_Parent_(dialog_parent),
      Form_(settings, Mqtt_Setting_List()) {}

void Mqtt_Publishing::Attach(Firing_Status_Seam& firing) {
    Firing_ = &firing;
    firing.Attach(Snapshot_);  // before the client's telemetry, which reads it
}

std::vector<Menu_Entry> Mqtt_Publishing::Menu_Entries() {
    return {{"SetUp", "MQTT", "mnuMqtt", [this] { Open_Dialog(); }}};
}

Mqtt_Publishing::~Mqtt_Publishing() {
    Window_.reset();
    Stop();
    if (Firing_) Firing_->Detach(Snapshot_);
}

void Mqtt_Publishing::Stop() {
    if (!Client_) return;
    Firing_->Detach(Client_->Telemetry());
    Client_.reset();
}

std::string Mqtt_Publishing::Default_Prefix() {
    std::string kiln = Snapshot_.Status().Kiln_Name;
    if (kiln.empty()) kiln = Settings_.Read(Program_Setting::ThermalDeviceName).Value;
    return Default_Topic_Prefix(kiln);
}

void Mqtt_Publishing::Apply_Settings() {
    Stop();
    std::vector<Problem> problems;
    Mqtt_Settings settings = Read_Mqtt_Settings(Settings_, problems);
    for (const Problem& problem : problems) Show_Problem(Messages_, problem);
    if (!settings.Enabled || !Firing_) return;
    std::string prefix = settings.Topic_Prefix.empty() ? Default_Prefix() : settings.Topic_Prefix;
    Client_ = std::make_unique<Mqtt_Client>(settings, Snapshot_, prefix, Display_);
    Firing_->Attach(Client_->Telemetry());
}

void Mqtt_Publishing::Open_Dialog() {
    if (!Window_) Window_ = std::make_unique<Mqtt_Setup_Window>(Form_, Dialog_Parent_);
    if (Window_->Open(Default_Prefix()) == QDialog::Accepted) Apply_Settings();
}

}  // namespace corvanel
