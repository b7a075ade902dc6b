// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "common/platform.h"
#include "guard/guard_heartbeat.h"
#include "guard/guard_process.h"
#include "run/feature.h"
#include "setup/program_paths.h"
#include "setup/settings_store.h"

namespace corvanel {

// The program's side of the kiln guard: when a run starts (and the safety settings keep
// the guard on) it starts corvanel-guard over the program folder, gives it a heartbeat at
// every tick, and stops it when the run ends with a soft off or the profile's end. When
// the program goes without either (killed, hung, closed mid-firing) the beats stop and
// the guard acts. Each beat goes to the guard twice: in the heartbeat file, with what the
// guard needs to act, and over a line of its own that needs no disk, so that a full disk
// never makes a ticking program look hung. Its setting is in the "Safety Settings" dialog.
class Guard_Keeper : public Feature, private Firing_Observer {
  public:
    // `guard_program` and `after_seconds` (0: the safety setting's minutes) are for tests.
    // The guard acts on the device `kiln` has open; a firing it stopped while this program
    // still runs is stopped through `kiln` too, so that it does not go on by itself.
    Guard_Keeper(const Program_Paths& paths, Settings_Store& settings, Message_Area& messages,
                 Kiln_Access& kiln, std::string guard_program = "", double after_seconds = 0);
    ~Guard_Keeper() override;

    void Attach(Firing_Status_Seam& firing) override;
    void Apply_Settings() override {}  // read at each start of a run
    std::vector<Menu_Entry> Menu_Entries() override { return {}; }

    bool Guarding() const { return Process_.Running(); }
    // A beat while the ticks are held by the operator (the front panel, Comm Port Config),
    // so that the guard waits for a program that hangs or is gone, not for one whose
    // dialog stands open.
    void Program_Alive() override;

  private:
    void Firing_Changed(const Firing_Status& status, Firing_Event event,
                        const std::string& detail) override;
    void Beat(const Firing_Status& status);
    void Start_Guard();
    // A guard that ended during the run (killed, crashed) is started again.
    void Check_Guard();

    Program_Paths Paths_;
    Settings_Store& Settings_;
    Message_Area& Messages_;
    Guard_Process Process_;
    Firing_Status_Seam* Firing_ = nullptr;
    long long Beats_ = 0;
    Firing_Status Last_;  // of the last beat
    double After_Seconds_;
    Kiln_Access& Kiln_;
    bool Wanted_ = false;          // a run is on and the safety settings keep the guard on
    bool Heartbeat_Said_ = false;  // the operator knows the heartbeat cannot be saved
};

}  // namespace corvanel
