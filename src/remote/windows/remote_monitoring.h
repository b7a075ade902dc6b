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

class Status_Server;
class Remote_Monitoring_Window;

// The program's status page: the snapshot always listens to the run; the server runs
// only while the settings turn it on. Its dialog opens over the given window.
class Remote_Monitoring : public Feature {
  public:
    Remote_Monitoring(Settings_Store& settings, Message_Area& messages, QWidget* dialog_parent);
    ~Remote_Monitoring() override;

    void Attach(Firing_Status_Seam& firing) override;
    // Reads the settings and starts, restarts or stops the server; what happened goes to
    // the message area. A port that cannot be opened is said once; the firing goes on.
    void Apply_Settings() override;
    // SetUp -> "Remote Monitoring".
    std::vector<Menu_Entry> Menu_Entries() override;
    void Open_Dialog();

    const Status_Snapshot& Snapshot() const { return Snapshot_; }
    Status_Server* Server() { return Server_.get(); }

  private:
    Settings_Store& Settings_;
    Firing_Status_Seam* Firing_ = nullptr;
    Message_Area& Messages_;
    QWidget* Dialog_Parent_;
    Status_Snapshot Snapshot_;
    std::unique_ptr<Status_Server> Server_;
    Settings_Form Form_;
    std::unique_ptr<Remote_Monitoring_Window> Window_;
};

// This computer's address on the network (the first IPv4 address that is not loopback).
std::string Network_Host_Name();

}  // namespace corvanel
