// SPDX-License-Identifier: GPL-3.0-or-later
#include "profiles/profile_file.h"

#include <cstdint>
#include <fstream>

#include "common/text.h"

namespace corvanel {

using namespace Profile_Layout;

namespace {

std::string Sensor_Field(const std::string& code) {
    std::string field = code.substr(0, Sensor_Length);
    field.resize(Sensor_Length, ' ');
    return field;
}

// A profile's 259 lines take 18385 characters; anything much longer before its
// 259th line end is not a profile, and is not read to its end.
constexpr std::size_t Longest_Accepted_Read = 1024 * 1024;

}  // namespace

std::string Build_Profile_Text(const Profile_Sheet& sheet, const Profile_Settings& settings) {
    std::string text;
    text.reserve(Written_File_Length);
    for (int row = 1; row <= Last_Segment_Row; ++row) {
        for (int col = 0; col < Sheet_Columns; ++col)
            text += Right_Align(sheet[row][col], Field_Width);
        text += CRLF;
    }
    text += Sensor_Field(settings.Sensor_Code);
    text += CRLF;
    text += settings.Fahrenheit ? "F" : "C";
    text += CRLF;
    text += settings.Minutes ? "M" : "H";
    text += CRLF;
    text += Profile_Checksum(text);
    text += CRLF;
    return text;
}

std::string Profile_Checksum(const std::string& text) {
    if (text.size() < Summed_Length) return "0";
    std::int64_t sum = 0;
    for (std::size_t i = 0; i < Summed_Length; ++i) sum += static_cast<unsigned char>(text[i]);
    if (sum > INT32_MAX) return "0";  // cannot happen with 8-bit codes; kept as the rule says
    return Right_Align(std::to_string(sum), Checksum_Length);
}

std::string Read_Profile_File(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return "";
    std::string text;
    std::string line;
    std::size_t lines = 0;
    std::size_t consumed = 0;
    char c;
    bool at_end = false;
    while (lines < Significant_Lines) {
        line.clear();
        bool ended = false;
        while (in.get(c)) {
            if (++consumed > Longest_Accepted_Read) return "";
            if (c == '\r') {
                if (in.peek() == '\n') {
                    in.get(c);
                    ++consumed;
                }
                ended = true;
                break;
            }
            line += c;
        }
        if (!ended) {
            at_end = true;
            if (in.bad()) return "";
            if (line.empty()) break;  // no more lines
        }
        text += line;
        text += CRLF;
        ++lines;
        if (at_end) break;
    }
    if (lines < Significant_Lines) return "";
    if (text.size() < Checksum_Position - 1 + Checksum_Length) return "";
    std::string stored = text.substr(Checksum_Position - 1, Checksum_Length);
    if (stored != Profile_Checksum(text)) return "";
    return text;
}

Profile_Sheet Parse_Profile_Text(const std::string& text) {
    Profile_Sheet sheet;
    constexpr std::size_t Needed = (Last_Segment_Row - 1) * Line_Stride + Segment_Line_Length;
    if (text.size() < Needed) return sheet;
    for (int i = 0; i < Last_Segment_Row; ++i) {
        for (int j = 0; j < Sheet_Columns; ++j) {
            std::string field = text.substr(static_cast<std::size_t>(i) * Line_Stride +
                                                static_cast<std::size_t>(j) * Field_Width,
                                            Field_Width);
            std::string& cell = sheet[i + 1][j];
            if (field == "       ") {
                cell.clear();
            } else if (field == "      e" || field == "      r" || field == "      h") {
                cell = field.substr(6);
            } else {
                cell = field;
            }
        }
    }
    return sheet;
}

Profile_Settings Profile_Settings_Of_Text(const std::string& text) {
    Profile_Settings settings;
    if (text.size() < Unit_Position) return settings;
    settings.Sensor_Code = text.substr(Sensor_Position - 1, Sensor_Length);
    settings.Fahrenheit = text[Scale_Position - 1] == 'F';
    settings.Minutes = text[Unit_Position - 1] == 'M';
    return settings;
}

int Last_Used_Row(const Profile_Sheet& sheet) {
    for (int row = Last_Segment_Row; row >= 1; --row) {
        for (int col = Col_Start_Time; col <= Col_Ramp_Rate; ++col) {
            if (!sheet[row][col].empty()) return row;
        }
    }
    return 0;
}

}  // namespace corvanel
