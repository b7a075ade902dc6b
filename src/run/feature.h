// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>
#include <vector>

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
};

}  // namespace corvanel
