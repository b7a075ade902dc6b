// SPDX-License-Identifier: GPL-3.0-or-later
#include "run/safety_supervisor.h"

namespace corvanel {

const char* Safety_Alarm_Name(Safety_Alarm alarm) {
    return alarm.Rule().Name();
}

const char* Safety_Alarm_Advice(Safety_Alarm alarm) {
    return alarm.Rule().Advice();
}

bool Safety_Alarm_Ends_Run(Safety_Alarm alarm) {
    return alarm.Rule().Ends_Run();
}

Safety_Supervisor::Safety_Supervisor(const Safety_Settings& settings)
    : Rules_(Make_Alarm_Rules()), Active_(Rules_.size(), false) {
    Use_Settings(settings);
}

void Safety_Supervisor::Use_Settings(const Safety_Settings& settings) {
    for (const auto& rule : Rules_) rule->Use_Settings(settings);
}

Safety_Changes Safety_Supervisor::Check(const Firing_Status& tick) {
    // Readings of different scales never meet in one window.
    if (tick.Temp_Scale != Scale_) {
        for (const auto& rule : Rules_) rule->Forget_Readings();
        Scale_ = tick.Temp_Scale;
    }
    // Neither a run nor its watch: only the kiln heating or held hot by itself is ours to
    // raise (over-temperature's stuck relay is heating with the output off, said plainer).
    const bool ours = tick.State != Firing_State::Monitor;
    const long long now = Seconds_Of(tick.Clock);
    Safety_Changes changes;
    for (std::size_t i = 0; i < Rules_.size(); ++i) {
        Alarm_Rule& rule = *Rules_[i];
        bool on = Active_[i];
        if (tick.Exchange_Failed && !rule.Checks_Failed_Exchanges()) {
            rule.Forget_Readings();
        } else {
            on = rule.Check(tick, {now, ours, on});
        }
        if (on == Active_[i]) continue;
        Active_[i] = on;
        (on ? changes.Raised : changes.Cleared).push_back(Safety_Alarm(i));
    }
    return changes;
}

Safety_Changes Safety_Supervisor::Reset() {
    Safety_Changes changes;
    for (std::size_t i = 0; i < Rules_.size(); ++i) {
        if (Active_[i]) changes.Cleared.push_back(Safety_Alarm(i));
        Active_[i] = false;
        Rules_[i]->Reset();
    }
    return changes;
}

std::vector<std::string> Safety_Supervisor::Active_Names() const {
    std::vector<std::string> names;
    for (std::size_t i = 0; i < Rules_.size(); ++i) {
        if (Active_[i]) names.emplace_back(Rules_[i]->Name());
    }
    return names;
}

}  // namespace corvanel
