// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/kiln_health_settings.h"

#include "common/text.h"

namespace corvanel {

namespace {

using S = Kiln_Health_Settings;

Setting Health_Setting(const char* key, const char* label, const char* unit, double S::*member,
                       double low, double high) {
    Setting setting;
    setting.File = "KilnHealth.txt";
    setting.Key = key;
    setting.Type = Setting_Type::Whole;
    setting.Default = Format_Number(S{}.*member);
    setting.Label = label;
    setting.Unit = unit;
    setting.Low = low, setting.High = high;
    return setting;
}

const Setting Watch =
    Health_Setting("Watch_Percent", "Say the elements wear when heating is slower by", "%",
                   &S::Watch_Percent, 1, 90);
const Setting Replace = Health_Setting("Replace_Percent", "Say to replace them when slower by", "%",
                                       &S::Replace_Percent, 1, 90);
const Setting Baseline = Health_Setting("Baseline_Firings", "Firings that set the baseline", "",
                                        &S::Baseline_Firings, 1, 20);
const Setting Recent = Health_Setting("Recent_Firings", "Latest firings compared with it", "",
                                      &S::Recent_Firings, 1, 20);
const Setting Check = [] {
    Setting setting;
    setting.File = "KilnHealth.txt";
    setting.Key = "Check_At_Start";
    setting.Type = Setting_Type::On_Off;
    setting.Default = "1";
    setting.On_Word = "1", setting.Off_Word = "0";
    setting.Label = "At RUN PROFILE, say which segments the kiln cannot follow";
    return setting;
}();

}  // namespace

const Setting_List& Kiln_Health_Setting_List() {
    static const Setting_List list = {&Watch, &Replace, &Baseline, &Recent, &Check};
    return list;
}

Kiln_Health_Settings Read_Kiln_Health_Settings(Settings_Store& store,
                                               std::vector<Problem>* problems) {
    store.Declare(Kiln_Health_Setting_List());
    Kiln_Health_Settings settings;
    for (const Settings_Store::Line_Problem& problem : store.Read_File("KilnHealth.txt")) {
        // A setting without its line keeps its default quietly: the file may be older.
        if (problems && problem.What != Settings_Store::Line_Problem::Kind::Missing) {
            problems->push_back(problem.Said);
        }
    }
    const std::pair<const Setting*, double S::*> numbers[] = {{&Watch, &S::Watch_Percent},
                                                              {&Replace, &S::Replace_Percent},
                                                              {&Baseline, &S::Baseline_Firings},
                                                              {&Recent, &S::Recent_Firings}};
    for (const auto& [setting, member] : numbers) {
        if (std::optional<double> value = store.Number(*setting)) settings.*member = *value;
    }
    settings.Check_At_Start = store.On(Check);
    return settings;
}

}  // namespace corvanel
