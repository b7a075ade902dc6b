// SPDX-License-Identifier: GPL-3.0-or-later
// The list of the safety alarms, the one place that names them all. A supervisor checks
// them in this order and says their changes in it; a new alarm goes at the end.
#include "run/alarm_rule.h"

namespace corvanel {

// Each made in its own file.
std::unique_ptr<Alarm_Rule> Controller_Lost_Alarm();
std::unique_ptr<Alarm_Rule> Failure_To_Heat_Alarm();
std::unique_ptr<Alarm_Rule> Over_Temperature_Alarm();
std::unique_ptr<Alarm_Rule> Thermocouple_Break_Alarm();
std::unique_ptr<Alarm_Rule> Heating_With_Output_Off_Alarm();
std::unique_ptr<Alarm_Rule> Hot_With_Output_Off_Alarm();
std::unique_ptr<Alarm_Rule> Never_Finishes_Alarm();

std::vector<std::unique_ptr<Alarm_Rule>> Make_Alarm_Rules() {
    std::vector<std::unique_ptr<Alarm_Rule>> rules;
    rules.push_back(Controller_Lost_Alarm());
    rules.push_back(Failure_To_Heat_Alarm());
    rules.push_back(Over_Temperature_Alarm());
    rules.push_back(Thermocouple_Break_Alarm());
    rules.push_back(Heating_With_Output_Off_Alarm());
    rules.push_back(Hot_With_Output_Off_Alarm());
    rules.push_back(Never_Finishes_Alarm());
    return rules;
}

}  // namespace corvanel
