// SPDX-License-Identifier: GPL-3.0-or-later
#include "profiles/printout.h"

#include "common/numeric.h"
#include "common/text.h"
#include "language/translate.h"
#include "profiles/profile_file.h"

namespace corvanel {

Printout Build_Printout(const Profile_Sheet& sheet, const std::string& profile_name) {
    Printout printout;
    printout.Name_Line = TranslateText("Profile Name") + "=" + profile_name;
    printout.Titles = {
        TranslateText("Seg"),       TranslateText("Start-Time"), TranslateText("Duration"),
        TranslateText("Action"),    TranslateText("Start-Temp"), TranslateText("End-Temp"),
        TranslateText("Ramp Rate"), TranslateText("ErrorLim"),   TranslateText("Notif-Time")};
    const int rows = Last_Used_Row(sheet) % 256;
    for (int r = 0; r < rows; ++r) {
        std::array<std::string, 8> values;
        for (int col = 0; col < 8; ++col) {
            const std::string& cell = sheet[r][col];
            Double_Conversion number = Convert_To_Double(cell);
            values[col] = number.Value ? Format_00(*number.Value) : cell;
        }
        printout.Rows.push_back(values);
    }
    return printout;
}

}  // namespace corvanel
