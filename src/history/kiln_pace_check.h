// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "common/platform.h"
#include "history/kiln_thermal_model.h"
#include "run/firing_status.h"
#include "setup/program_paths.h"
#include "setup/settings_store.h"

namespace corvanel {

// Before a firing, from the kiln's model: each segment of the plan (corner points in the
// profile's scale and time unit) the kiln will fall behind in by a minute or more, with how
// fast it goes there and about how far behind. Nothing when it can follow every segment.
std::vector<Operator_Text> Check_Profile_Pace_With_Model(const Kiln_Thermal_Model& model,
                                                         const Plan_Points& plan,
                                                         const std::string& scale,
                                                         const std::string& time_unit,
                                                         const Date_Time& now);

// Before a firing, the profile against what the kiln managed in its recent firings (its
// model when it has one, else the health bands' rates): at
// RUN PROFILE (unless the setting turns it off) and on request for a profile file, the
// segments it cannot follow are said in the message area. The firing starts either way.
class Kiln_Pace_Check : public Firing_Observer {
  public:
    // `at_start` hears what RUN PROFILE says (it must outlast the run's ticks), `asked`
    // the answer to a request.
    Kiln_Pace_Check(Program_Paths paths, Settings_Store& settings, Message_Area& at_start,
                    Message_Area& asked);

    void Firing_Changed(const Firing_Status& status, Firing_Event event,
                        const std::string& detail) override;

    // The operator asked for a profile file to be checked; says the result either way.
    void Check_Profile_File(const std::string& path, const Date_Time& now);

  private:
    // The lines said; how many.
    std::size_t Say(Message_Area& area, const Plan_Points& plan, const std::string& scale,
                    const std::string& time_unit, const Date_Time& now);

    Program_Paths Paths_;
    Settings_Store& Settings_;
    Message_Area &At_Start_, &Asked_;
};

}  // namespace corvanel
