// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/energy_settings.h"

#include <limits>

#include "common/text.h"
#include "language/show_problem.h"
#include "setup/settings_store.h"

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

Energy_Settings Read_Energy_Settings(const Program_Paths& paths, std::vector<Problem>* problems) {
    Settings_Store store(paths);
    auto read = [&](const Setting& setting) {
        Settings_Store::Reading reading = store.Read(setting);
        if (reading.Problem && problems) problems->push_back(*reading.Problem);
        return store.Number(setting);
    };
    Energy_Settings settings;
    settings.Kiln_Power_kW = read(Kiln_Power_Setting);
    settings.Price_Per_kWh = read(Energy_Price_Setting);
    return settings;
}

}  // namespace corvanel
