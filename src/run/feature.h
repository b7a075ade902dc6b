// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "run/firing_change.h"
#include "run/firing_status.h"

namespace corvanel {

// One menu entry a feature adds, as data: the program makes the action, puts it at the
// end of the named menu and sets its text from the English caption in the operator's
// language.
struct Menu_Entry {
    std::string Menu;         // the window's menu by its name: "SetUp", "File", "Editor"
    std::string Caption;      // English; translated when the language is applied
    std::string Object_Name;  // the action's objectName
    std::function<void()> Chosen;
};

// The program's hands on the kiln, as a feature may use them: which device the
// controller's port has open, a request to end the firing and one to change it, and who
// hears of its alarms.
class Kiln_Access {
  public:
    virtual ~Kiln_Access() = default;
    // The device the port has open, by its stable name; "" when none is open.
    virtual std::string Opened_Device() const = 0;
    // Ends the firing with a soft off as soon as the program can (not from inside a tick).
    virtual void Stop_Firing() = 0;
    // Who the alarms are mailed to: the notification list as the run window holds it now.
    virtual std::string Notification_List() const { return ""; }
    // Changes the running firing after this tick; a kiln that cannot be changed ignores it.
    virtual void Ask_Change(const Asked_Change&) {}
};

// What the program knows of a feature (the status page, MQTT, ...): it attaches it to
// the firing status, adds its menu entries, applies its settings once the run window has
// loaded and its language after the start-up caption pass. A feature uses no other one.
class Feature {
  public:
    virtual ~Feature() = default;

    // Listens to the run from now on; the seam outlives the feature.
    virtual void Attach(Firing_Status_Seam& firing) = 0;
    // Reads the settings and starts, restarts or stops what they turn on.
    virtual void Apply_Settings() = 0;
    virtual std::vector<Menu_Entry> Menu_Entries() = 0;
    // For what the feature shows beyond its menu entries (the program sets those).
    virtual void Apply_Language() {}
    // The program's event loop is turning: once a minute, ticks or not (the front panel
    // and Comm Port Config hold the ticks while they are open).
    virtual void Program_Alive() {}
};

// A feature that only adds what it knows to the firing status (firing_status.h), with no
// settings of its own and no menu entries.
class Annotating_Feature : public Feature, public Firing_Annotator {
  public:
    void Attach(Firing_Status_Seam& firing) override { firing.Attach(*this); }
    void Apply_Settings() override {}
    std::vector<Menu_Entry> Menu_Entries() override { return {}; }
};

}  // namespace corvanel
