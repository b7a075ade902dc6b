// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

#include "history/cone_heat_work.h"
#include "run/feature.h"
#include "setup/program_paths.h"
#include "setup/settings_store.h"

namespace corvanel {

// Reads the cone the firing running has reached by heat-work from its readings so far,
// and, once the kiln has left its peak, puts it on the firing status ("cone 6, about a
// quarter bent") for the page and MQTT. A restart with recall reads the readings before
// it from the firing record.
class Cone_Watch : public Annotating_Feature {
  public:
    Cone_Watch(Program_Paths paths, Settings_Store& settings);

    void Annotate(Firing_Status& status, Firing_Event event) override;

  private:
    void Read_Record(const Firing_Status& status);

    Program_Paths Paths_;
    Settings_Store& Settings_;
    std::vector<Kiln_Reading> Readings_;
    long long Last_Read_ = 0;  // the status clock's seconds when the cone was last read
    Operator_Text Reached_;
};

}  // namespace corvanel
