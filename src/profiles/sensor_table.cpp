// SPDX-License-Identifier: GPL-3.0-or-later
#include "profiles/sensor_table.h"

#include "common/numeric.h"
#include "common/text.h"
#include "language/translate.h"

namespace corvanel {

// The platinum sensors' minimum is -99.9 degrees, kept as the nearest whole number.
const std::array<Sensor_Type, Sensor_Type_Count> Sensor_Types = {{
    {"R    ", "R", "R", 0, 3000, 0, 1700, false, "Profile sensor type set to R Thermocouple",
     "Error setting R type TC"},
    {"S    ", "S", "S", 0, 3000, 0, 1700, false, "Profile sensor type set to S Thermocouple",
     "Error setting S type TC"},
    {"K    ", "K", "K", -300, 2300, -200, 1300, false, "Profile sensor type set to K Thermocouple",
     "Error setting K type TC"},
    {"J    ", "J", "J", -100, 1600, -100, 900, false, "Profile sensor type set to J Thermocouple",
     "Error setting J type TC"},
    {"T    ", "T", "T", -300, 700, -200, 400, false, "Profile sensor type set to T Thermocouple",
     "Error setting T type TC"},
    {"E    ", "E", "E", 0, 1100, 0, 600, false, "Profile sensor type set to E Thermocouple",
     "Error setting E type TC"},
    {"PtJIS", "PtJIS", "Pt_JIS_RTD", -100, 800, -100, 450, true,
     "Profile sensor type set to Pt_JIS_RTD Thermocouple", "Error setting Pt_JIS_RTD type TC"},
    {"PtDIN", "PtDIN", "Pt_DIN_RTD", -100, 800, -100, 450, true,
     "Profile sensor type set to Pt_DIN_RTD Thermocouple", "Error setting Pt_DIN_RTD type TC"},
    {"L    ", "L", "L", -100, 1500, -100, 850, false, "Profile sensor type set to L Thermocouple",
     "Error setting L type TC"},
    {"U    ", "U", "U", -300, 700, -200, 400, false, "Profile sensor type set to U Thermocouple",
     "Error setting U type TC"},
}};

std::optional<int> Sensor_Index_Of_Code(std::string_view code) {
    for (int i = 0; i < Sensor_Type_Count; ++i) {
        if (code == Sensor_Types[i].Code) return i;
    }
    return std::nullopt;
}

std::optional<int> Sensor_Index_Of_Caption(std::string_view caption) {
    for (int i = 0; i < Sensor_Type_Count; ++i) {
        if (caption == Sensor_Types[i].Caption) return i;
    }
    return std::nullopt;
}

Range_Limits Set_Range_Limits(std::string_view code, bool fahrenheit) {
    std::optional<int> index = Sensor_Index_Of_Code(code);
    if (!index) return {};
    const Sensor_Type& type = Sensor_Types[*index];
    if (fahrenheit) return {type.Fahrenheit_Min, type.Fahrenheit_Max};
    return {type.Celsius_Min, type.Celsius_Max};
}

std::string Sensor_Code_To_Name(const std::string& code) {
    if (code.empty()) {
        return Join_Lines({TranslateText("Could not read sensor type"),
                           TranslateText("Probably communications error")});
    }
    Int16_Conversion number = Convert_To_Int16(code);
    if (!number.Value) return Sensor_Types[Sensor_Type_Count - 1].Code;
    if (*number.Value < 0 || *number.Value >= Sensor_Type_Count) return "";
    return Sensor_Types[*number.Value].Code;
}

}  // namespace corvanel
