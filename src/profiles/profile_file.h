// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "profiles/profile_sheet.h"

namespace corvanel {

// The fixed layout of a profile file: 255 segment lines of ten 7-character fields,
// the sensor code, the scale letter, the time unit letter and the checksum, every
// line ended by CR LF.
namespace Profile_Layout {
inline constexpr std::size_t Field_Width = 7;
inline constexpr std::size_t Segment_Line_Length = 70;
inline constexpr std::size_t Line_Stride = 72;         // a segment line and its CR LF
inline constexpr std::size_t Sensor_Position = 18361;  // positions count from 1
inline constexpr std::size_t Sensor_Length = 5;
inline constexpr std::size_t Scale_Position = 18368;
inline constexpr std::size_t Unit_Position = 18371;
inline constexpr std::size_t Checksum_Position = 18374;
inline constexpr std::size_t Checksum_Length = 10;
inline constexpr std::size_t Summed_Length = 18371;  // characters the checksum covers
inline constexpr std::size_t Significant_Lines = 259;
inline constexpr std::size_t Written_File_Length = 18387;
}  // namespace Profile_Layout

struct Profile_Settings {
    std::string Sensor_Code;  // 5 characters, "K    ", "PtJIS", ...
    bool Fahrenheit = true;   // scale letter "F"; any other letter means Celsius
    bool Minutes = true;      // unit letter "M"; any other letter means hours
};

// Lines 1 to 259 of a profile file, each ended by CR LF. The sensor code is written
// in a field of exactly 5 characters so the layout can never shift.
std::string Build_Profile_Text(const Profile_Sheet& sheet, const Profile_Settings& settings);

// The 10-character checksum field over the first 18371 characters of text, or "0"
// when the text is shorter.
std::string Profile_Checksum(const std::string& text);

// The file's first 259 lines rebuilt with CR LF line ends when its checksum holds;
// "" when the file cannot be read, is too short or too long to be a profile, or the
// checksum does not match.
std::string Read_Profile_File(const std::string& path);

// The segment lines of a checked text cut into a new sheet. Fields of blanks become
// empty cells, "      e"/"r"/"h" become the bare letter, anything else is kept with
// its padding. A text too short to hold 255 segment lines gives an empty sheet.
Profile_Sheet Parse_Profile_Text(const std::string& text);

// The sensor code, scale and unit of a checked text.
Profile_Settings Profile_Settings_Of_Text(const std::string& text);

// The highest row with a non-empty cell in columns 1 to 6; 0 when there is none.
int Last_Used_Row(const Profile_Sheet& sheet);

}  // namespace corvanel
