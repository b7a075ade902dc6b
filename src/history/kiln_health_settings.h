// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

#include "common/problem.h"
#include "setup/setting.h"
#include "setup/settings_store.h"

namespace corvanel {

// When the kiln's health readings speak up, kept in Setup/KilnHealth.txt (Key=value).
struct Kiln_Health_Settings {
    double Watch_Percent = 10;    // heating this much slower than the baseline: watch it
    double Replace_Percent = 20;  // ... this much slower: plan new elements
    double Baseline_Firings = 3;  // the firings after an event (or the first) that set the baseline
    double Recent_Firings = 3;    // the latest firings compared with it
    bool Check_At_Start = true;   // RUN PROFILE says which segments the kiln cannot follow
};

const Setting_List& Kiln_Health_Setting_List();  // the "Kiln Health Settings" dialog's

// The settings in force; a value not usable keeps its default and is said in `problems`.
Kiln_Health_Settings Read_Kiln_Health_Settings(Settings_Store& store,
                                               std::vector<Problem>* problems = nullptr);

}  // namespace corvanel
