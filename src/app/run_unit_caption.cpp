// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/run_unit_caption.h"

#include "app/traj_form_model.h"
#include "language/translate.h"

namespace corvanel {

std::string Run_Unit_Caption(const Traj_form& form, std::string_view control) {
    if (control == "TimeReadOut" && !form.Time_Unit.empty()) {
        return TranslateText(form.Time_Unit == "M" ? "Time(mins)" : "Time(hours)");
    }
    if (control == "SetPointReadOut" && !form.Temp_Scale.empty()) {
        return TranslateText(form.Temp_Scale == "F" ? "SetTemp(F)" : "SetTemp(C)");
    }
    return "";
}

}  // namespace corvanel
