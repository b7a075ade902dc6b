// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/energy_settings.h"

#include <limits>

#include "common/text.h"
#include "language/show_problem.h"
#include "setup/setting_binding.h"

namespace corvanel {

namespace {

Setting Energy_Setting(const char* file, const char* label, const char* name) {
    Setting setting;
    setting.File = file;
    setting.Type = Setting_Type::Decimal;
    setting.Label = label;
    setting.Low = 0;
    setting.High = std::numeric_limits<double>::infinity();
    setting.Empty_Allowed = true;
    setting.Object_Name = name;
    return setting;
}

}  // namespace

const Setting Kiln_Power_Setting = Energy_Setting("KilnPower.txt", "Kiln Power (kW)", "KilnPower");
const Setting Energy_Price_Setting =
    Energy_Setting("EnergyPrice.txt", "Price per kWh", "PricePerKWh");

const Setting_List& Energy_Setting_List() {
    static const Setting_List list = {&Kiln_Power_Setting, &Energy_Price_Setting};
    return list;
}

Energy_Settings Read_Energy_Settings(Settings_Store& store, std::vector<Problem>* problems) {
    static const Setting_Bindings<Energy_Settings> bindings = {
        {&Kiln_Power_Setting, &Energy_Settings::Kiln_Power_kW},
        {&Energy_Price_Setting, &Energy_Settings::Price_Per_kWh}};
    Energy_Settings settings;
    std::vector<Problem> said;
    Read_Into(store, bindings, settings, said);
    if (problems) problems->insert(problems->end(), said.begin(), said.end());
    return settings;
}

}  // namespace corvanel
