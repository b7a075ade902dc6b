// SPDX-License-Identifier: GPL-3.0-or-later
#include "profiles/scale_conversion.h"

#include "common/numeric.h"
#include "common/text.h"
#include "language/translate.h"
#include "profiles/profile_editor_model.h"

namespace corvanel {

std::optional<std::int16_t> Converted_Temperature(double degrees, bool to_fahrenheit) {
    return Round_To_Int16(to_fahrenheit ? degrees * 9 / 5 + 32 : (degrees - 32) * 5 / 9);
}

std::optional<std::int16_t> Converted_Difference(double degrees, bool to_fahrenheit) {
    return Round_To_Int16(to_fahrenheit ? degrees * 9 / 5 : degrees * 5 / 9);
}

double Converted_Rate(double degrees_per_unit, bool to_fahrenheit) {
    return to_fahrenheit ? degrees_per_unit * 9 / 5 : degrees_per_unit * 5 / 9;
}

std::string Convert_Scale_Caption(bool to_fahrenheit) {
    return to_fahrenheit ? TranslateText("Convert Sheet to Fahrenheit")
                         : TranslateText("Convert Sheet to Celsius");
}

std::string Convert_Scale_Advice(bool to_fahrenheit) {
    // Built from the menus' captions, so it names them as the operator sees them.
    auto path = [](const std::string& menu, const std::string& item) {
        return menu + " > " + item;
    };
    return TranslateText("To convert it") + ": " +
           path(TranslateText("Editor"), TranslateText("Edit / Create Profile")) + ", " +
           path(TranslateText("File"), TranslateText("Open")) + ", " +
           path(TranslateText("Scales"), Convert_Scale_Caption(to_fahrenheit)) + ", " +
           path(TranslateText("File"), TranslateText("SaveAs"));
}

bool Profile_Editor::Convert_Sheet_Scale(bool to_fahrenheit) {
    // Everything is converted into a copy first: a cell that cannot be converted leaves
    // the sheet whole, never half in one scale and half in the other.
    Profile_Sheet converted = WorkSheet;
    for (int row = 1; row <= Last_Segment_Row; ++row) {
        auto& cells = converted[row];
        for (int col : {Col_Start_Temp, Col_End_Temp, Col_Error_Limits, Col_Ramp_Rate}) {
            std::string& cell = cells[col];
            if (cell.empty()) continue;
            const std::optional<double> value = Convert_To_Double(cell).Value;
            std::optional<std::int16_t> whole;
            if (value && col == Col_Ramp_Rate) {
                // A hold's literal 0 stays as typed.
                if (*value != 0) cell = Format_00(Converted_Rate(*value, to_fahrenheit));
                continue;
            }
            if (value) {
                whole = col == Col_Error_Limits ? Converted_Difference(*value, to_fahrenheit)
                                                : Converted_Temperature(*value, to_fahrenheit);
            }
            if (!whole) {
                Display(TranslateText("Sheet not converted: a value cannot be converted at") +
                        std::string(CRLF) + TranslateText("segment") + "=" + std::to_string(row));
                return false;
            }
            cell = std::to_string(*whole);
        }
    }
    WorkSheet = converted;
    // A ramp's rate follows from its converted temperatures over the kept duration.
    for (int row = 1; row <= Last_Segment_Row; ++row) {
        if (WorkSheet[row][Col_Action] != "e") Action_From_Temps(row);
    }
    return true;
}

}  // namespace corvanel
