// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/energy_settings.h"

#include <cmath>
#include <tuple>

#include "common/numeric.h"
#include "common/text.h"
#include "language/translate.h"
#include "setup/setup_files.h"

namespace corvanel {

namespace {

constexpr const char* Power_File = "KilnPower.txt";
constexpr const char* Price_File = "EnergyPrice.txt";

void Read_One(const Program_Paths& paths, const char* file, std::optional<double>& value,
              std::string* problems) {
    std::string text = Read_First_Line(paths.Setup_File(file));
    if (Energy_Value_Of_Text(text, value) || !problems) return;
    Append_Message(*problems, TranslateText("Setting not a number of 0 or more, left unset:") +
                                  " Setup/" + file);
}

}  // namespace

bool Energy_Value_Of_Text(const std::string& text, std::optional<double>& value) {
    value.reset();
    if (text.find_first_not_of(' ') == std::string::npos) return true;
    std::optional<double> number = Convert_To_Double(text).Value;
    if (!number || !std::isfinite(*number) || *number < 0) return false;
    value = number;
    return true;
}

Energy_Settings Read_Energy_Settings(const Program_Paths& paths, std::string* problems) {
    Energy_Settings settings;
    Read_One(paths, Power_File, settings.Kiln_Power_kW, problems);
    Read_One(paths, Price_File, settings.Price_Per_kWh, problems);
    return settings;
}

void Save_Energy_Settings(const Program_Paths& paths, const Energy_Settings& settings) {
    auto text = [](const std::optional<double>& value) {
        return value ? Format_Number(*value) : std::string();
    };
    Write_Text_File(paths.Setup_File(Power_File), text(settings.Kiln_Power_kW));
    Write_Text_File(paths.Setup_File(Price_File), text(settings.Price_Per_kWh));
}

void Energy_Settings_Dialog::Form_Load() {
    Message.clear();
    Energy_Settings settings = Read_Energy_Settings(Paths_, &Message);
    Kiln_Power = settings.Kiln_Power_kW ? Format_Number(*settings.Kiln_Power_kW) : "";
    Price_Per_kWh = settings.Price_Per_kWh ? Format_Number(*settings.Price_Per_kWh) : "";
}

bool Energy_Settings_Dialog::OK_Click() {
    Energy_Settings settings;
    for (auto [text, value, name] :
         {std::tuple{&Kiln_Power, &settings.Kiln_Power_kW, "Kiln Power (kW)"},
          std::tuple{&Price_Per_kWh, &settings.Price_Per_kWh, "Price per kWh"}}) {
        if (!Energy_Value_Of_Text(*text, *value)) {
            Message = TranslateText(name) + ": " + TranslateText("not a number of 0 or more");
            return false;
        }
    }
    Save_Energy_Settings(Paths_, settings);
    Message.clear();
    return true;
}

}  // namespace corvanel
