// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace corvanel {

// One sensor type. The index in Sensor_Types is the editor's menu order and the
// controller's input-type code.
struct Sensor_Type {
    const char* Code;          // 5 characters as stored in a profile file
    const char* Caption;       // the editor's menu caption
    const char* Message_Name;  // the name used in messages
    int Fahrenheit_Min, Fahrenheit_Max;
    int Celsius_Min, Celsius_Max;
    bool Platinum;  // resistance sensor: the run works in tenths of a degree
    // The editor's own phrases for this type, each a translation entry of its own.
    const char* Set_Phrase;    // "Profile sensor type set to K Thermocouple"
    const char* Error_Phrase;  // "Error setting K type TC"
};

inline constexpr int Sensor_Type_Count = 10;
extern const std::array<Sensor_Type, Sensor_Type_Count> Sensor_Types;

// The table index of a 5-character code (exact comparison), if it is one.
std::optional<int> Sensor_Index_Of_Code(std::string_view code);

// The table index of a menu caption ("K", "PtJIS"), if it is one.
std::optional<int> Sensor_Index_Of_Caption(std::string_view caption);

struct Range_Limits {
    int Min_Temp = 0;
    int Max_Temp = 0;
};

// The inclusive limits of a sensor code in the chosen scale; 0 and 0 for a code not
// in the table, so that every temperature but 0 is out of range.
Range_Limits Set_Range_Limits(std::string_view code, bool fahrenheit);

// The 5-character sensor code of a controller input-type code given as decimal text.
// An empty code is the two-line "could not read" text; a number outside 0..9 gives "";
// a text that is not a number gives the last code of the table.
std::string Sensor_Code_To_Name(const std::string& code);

}  // namespace corvanel
