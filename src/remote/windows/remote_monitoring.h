// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "remote/remote_monitoring_model.h"
#include "remote/status_snapshot.h"

class QWidget;

namespace corvanel {

class Status_Server;
class Remote_Monitoring_Window;

// The program's status page: the snapshot always listens to the run; the server runs
// only while the settings turn it on.
class Remote_Monitoring {
  public:
    Remote_Monitoring(const Program_Paths& paths, Firing_Status_Seam& firing,
                      std::function<void(const std::string&)> display);
    ~Remote_Monitoring();

    // Reads the settings and starts, restarts or stops the server; what happened goes to
    // the message area. A port that cannot be opened is said once; the firing goes on.
    void Apply_Settings();
    void Open_Dialog(QWidget* parent);

    const Status_Snapshot& Snapshot() const { return Snapshot_; }
    Status_Server* Server() { return Server_.get(); }

  private:
    Program_Paths Paths_;
    Firing_Status_Seam& Firing_;
    std::function<void(const std::string&)> Display_;
    Status_Snapshot Snapshot_;
    std::unique_ptr<Status_Server> Server_;
    Remote_Monitoring_Model Model_;
    std::unique_ptr<Remote_Monitoring_Window> Window_;
};

// This computer's address on the network (the first IPv4 address that is not loopback).
std::string Network_Host_Name();

}  // namespace corvanel
