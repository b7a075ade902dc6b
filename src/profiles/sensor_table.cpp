#include "profiles/sensor_table.h"

namespace corvanel {

// The platinum sensors' minimum is -99.9 degrees, kept as the nearest whole number.
const std::array<Sensor_Type, Sensor_Type_Count> Sensor_Types = {{
    {"R    ", "R", "R", 0, 3000, 0, 1700, false},
    {"S    ", "S", "S", 0, 3000, 0, 1700, false},
    {"K    ", "K", "K", -300, 2300, -200, 1300, false},
    {"J    ", "J", "J", -100, 1600, -100, 900, false},
    {"T    ", "T", "T", -300, 700, -200, 400, false},
    {"E    ", "E", "E", 0, 1100, 0, 600, false},
    {"PtJIS", "PtJIS", "Pt_JIS_RTD", -100, 800, -100, 450, true},
    {"PtDIN", "PtDIN", "Pt_DIN_RTD", -100, 800, -100, 450, true},
    {"L    ", "L", "L", -100, 1500, -100, 850, false},
    {"U    ", "U", "U", -300, 700, -200, 400, false},
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

}  // namespace corvanel
