// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/run_unit_caption.h"

#include "app/traj_form_model.h"
#include "language/translate.h"

namespace corvanel {

std::string Run_Unit_Caption(const Traj_form& form, std::string_view control) {
    const std::string& time_unit = form.Run().Engine().Time_Unit();
    if (control == "TimeReadOut" && !time_unit.empty()) {
        return TranslateText(time_unit == "M" ? "Time(mins)" : "Time(hours)");
    }
    const std::string& scale = form.Run().Profile().Temp_Scale();
    if (control == "SetPointReadOut" && !scale.empty()) {
        return TranslateText(scale == "F" ? "SetTemp(F)" : "SetTemp(C)");
    }
    return "";
}

}  // namespace corvanel
