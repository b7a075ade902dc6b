// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace corvanel {

// A profile converted between Fahrenheit and Celsius is the sheet a potter would type in
// the other scale:
// - a temperature, and an error limit (a difference of temperatures), becomes the nearest
//   whole degree, as temperatures are typed; an exact half, which only a typed fraction can
//   give, goes to the even degree as every whole number in the program does;
// - Start Time and Duration are kept, so the firing takes as long as before;
// - a ramp's rate is worked out again from its converted temperatures and its duration,
//   exactly as the editor works it out when a duration is typed (two decimals), and a
//   ramp whose two temperatures become the same degree turns into a hold; a rate with no
//   duration to work from is converted on its own, to two decimals.
// Empty when the result leaves the range of a whole number the sheet can hold.
std::optional<std::int16_t> Converted_Temperature(double degrees, bool to_fahrenheit);
std::optional<std::int16_t> Converted_Difference(double degrees, bool to_fahrenheit);
double Converted_Rate(double degrees_per_unit, bool to_fahrenheit);

// The editor's menu item that converts the sheet into the given scale, translated.
std::string Convert_Scale_Caption(bool to_fahrenheit);
// Where that item is, from the run window on, in the menus' own (translated) words.
std::string Convert_Scale_Advice(bool to_fahrenheit);

}  // namespace corvanel
