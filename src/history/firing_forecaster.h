// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <optional>

#include "history/kiln_thermal_model.h"
#include "run/feature.h"
#include "run/firing_forecast.h"
#include "setup/program_paths.h"
#include "setup/settings_store.h"

namespace corvanel {

// Foresees the firing from the kiln's own records: before the start and while the run
// goes, the measured temperature ahead and the likely finish; after it, when the cooling
// kiln is likely below the temperature the watch ends at. It adds the forecast to the
// firing status, so the run window, the page and Start later take it from there.
class Firing_Forecaster : public Annotating_Feature {
  public:
    Firing_Forecaster(Program_Paths paths, Settings_Store& settings);

    void Annotate(Firing_Status& status, Firing_Event event) override;

  private:
    // Worked out anew once a minute, or at once when the plan or the state changes.
    bool Stale(const Firing_Status& status, Firing_Event event) const;
    std::shared_ptr<const Firing_Forecast> Foresee(const Firing_Status& status);

    Program_Paths Paths_;
    Settings_Store& Settings_;
    std::optional<Kiln_Thermal_Model> Model_;
    std::shared_ptr<const Firing_Forecast> Last_;
    long long Last_Made_ = 0;  // the status clock's seconds
    const Plan_Points* Last_Plan_ = nullptr;
    Firing_State Last_State_ = Firing_State::Monitor;
};

}  // namespace corvanel
