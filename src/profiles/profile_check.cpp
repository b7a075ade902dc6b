// SPDX-License-Identifier: GPL-3.0-or-later
// The content check that a profile must pass before the editor saves it.

#include "common/numeric.h"
#include "common/text.h"
#include "language/translate.h"
#include "profiles/profile_editor_model.h"
#include "profiles/segment_joins.h"
#include "profiles/sensor_table.h"

namespace corvanel {

void Profile_Editor::Set_Range_Limits(const std::string& code) {
    Range_Limits limits = corvanel::Set_Range_Limits(code, mnuFahrenheit);
    Min_Temp = static_cast<std::int16_t>(limits.Min_Temp);
    Max_Temp = static_cast<std::int16_t>(limits.Max_Temp);
}

void Profile_Editor::TempRangeCheck() {
    Set_Range_Limits(Sensor_Code);
    for (int r = 0; r < Segment_Rows && r < Sheet_Rows; ++r) {
        for (int col : {Col_Start_Temp, Col_End_Temp}) {
            const std::string& cell = WorkSheet[r][col];
            if (cell.empty()) continue;
            Double_Conversion value = Convert_To_Double(cell);
            if (!value.Value) {
                Display(TranslateText("Out of range temp entry at") + std::string(CRLF) + "Row" +
                        "=" + std::to_string(r) + std::string(CRLF) + "Column" + "=" +
                        std::to_string(col + 1));
                Profile_Error = true;
                return;
            }
            if (*value.Value < Min_Temp || *value.Value > Max_Temp) {
                Profile_Error = true;
                Display(TranslateText("Out of range temp entry at") + std::string(CRLF) +
                        TranslateText("segment") + "=" + std::to_string(r) + std::string(CRLF) +
                        "col=" + std::to_string(col + 1));
            }
        }
    }
}

void Profile_Editor::Check_Profile() {
    Clear_User_Prompt();
    Profile_Error = false;
    Segment_Rows = static_cast<std::int16_t>(Last_Used_Row(WorkSheet));
    const int n = Segment_Rows;
    if (n < 3) {
        Display(TranslateText("Error: Must have more than 2 segments in profile"));
        Profile_Error = true;
        return;
    }
    for (int r = 1; r <= n - 1; ++r) {
        for (int col :
             {Col_Start_Time, Col_Duration, Col_Start_Temp, Col_End_Temp, Col_Ramp_Rate}) {
            const std::string& cell = WorkSheet[r][col];
            if (cell.empty()) {
                Display(TranslateText("Missing entry, check profile"));
                Profile_Error = true;
                continue;
            }
            Double_Conversion value = Convert_To_Double(cell);
            if (value.Value) continue;
            Profile_Error = true;
            if (value.Error == Error_Number::Type_Mismatch) {
                Display(TranslateText(
                    "Profile entry skipped.  Look for blank line internal to profile text"));
            } else {
                Display(TranslateText("Undefined Profile error precipitated by error number=") +
                        std::to_string(To_Int(value.Error)));
            }
            return;
        }
    }
    TempRangeCheck();
    // A segment must start where the one before it ends, or the run's set value jumps.
    for (const Segment_Gap& gap : Segment_Gaps(WorkSheet)) {
        Profile_Error = true;
        Display(Segment_Gap_Problem(gap).Text(Translate_Phrase));
    }
    if (WorkSheet[n][Col_Action] != "e") {
        Profile_Error = true;
        Display("'e'" + TranslateText("end statement not found at end of profile"));
    }
    if (!Profile_Error) {
        Display(Join_Lines(
            {TranslateText(
                 "WARNING: You must check and observe ramp limitations, no ramp rate checking by this software"),
             "", TranslateText("No Errors found in profile. You may now save and run it.")}));
    }
}

}  // namespace corvanel
