// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/kiln_health_settings.h"

#include "setup/setting_binding.h"

namespace corvanel {

namespace {

using S = Kiln_Health_Settings;

constexpr const char* File = "KilnHealth.txt";

Setting Health_Setting(const char* key, const char* label, const char* unit, double low,
                       double high) {
    return {.File = File,
            .Key = key,
            .Type = Setting_Type::Whole,
            .Label = label,
            .Unit = unit,
            .Low = low,
            .High = high};
}

const Setting_Bindings<S>& Lines() {
    static const Setting_Bindings<S> lines = {
        {Health_Setting("Watch_Percent", "Say the elements wear when heating is slower by", "%", 1,
                        90),
         &S::Watch_Percent},
        {Health_Setting("Replace_Percent", "Say to replace them when slower by", "%", 1, 90),
         &S::Replace_Percent},
        {Health_Setting("Baseline_Firings", "Firings that set the baseline", "", 1, 20),
         &S::Baseline_Firings},
        {Health_Setting("Recent_Firings", "Latest firings compared with it", "", 1, 20),
         &S::Recent_Firings},
        {Setting{.File = File,
                 .Key = "Check_At_Start",
                 .Type = Setting_Type::On_Off,
                 .Label = "At RUN PROFILE, say which segments the kiln cannot follow",
                 .On_Word = "1",
                 .Off_Word = "0"},
         &S::Check_At_Start},
    };
    return lines;
}

}  // namespace

const Setting_List& Kiln_Health_Setting_List() {
    return Lines().Settings();
}

Kiln_Health_Settings Read_Kiln_Health_Settings(Settings_Store& store,
                                               std::vector<Problem>* problems) {
    store.Declare(Kiln_Health_Setting_List());
    for (const Settings_Store::Line_Problem& problem : store.Read_File(File)) {
        // A setting without its line keeps its default quietly: the file may be older.
        if (problems && problem.What != Settings_Store::Line_Problem::Kind::Missing) {
            problems->push_back(problem.Said);
        }
    }
    Kiln_Health_Settings settings;
    Values_Into(store, Lines(), settings);
    return settings;
}

}  // namespace corvanel
