// SPDX-License-Identifier: GPL-3.0-or-later
#include "profiles/editor_typing.h"

#include "common/numeric.h"

namespace corvanel {

namespace {

// Types one entry into a cell and commits it with a click on the same cell.
void Enter(Profile_Editor& editor, int row, int col, const std::string& text) {
    editor.Profile_FlexGrid_Click(row, col);
    if (col != Col_Action) editor.Type_Text(std::string(editor.FloatingTextBox_Text.size(), '\b'));
    editor.Type_Text(text);
    editor.Profile_FlexGrid_Click(row, col);
}

}  // namespace

std::vector<std::string> Type_Profile(Profile_Editor& editor, const Typed_Profile& profile) {
    editor.mnuNew_Click();
    if (profile.Fahrenheit) {
        editor.mnuFahrenheit_Click();
    } else {
        editor.mnuCelcius_Click();
    }
    if (profile.Minutes) {
        editor.mnuMinutes_Click();
    } else {
        editor.mnuHours_Click();
    }
    editor.Sensor_Menu_Click(profile.Sensor);
    Enter(editor, 1, Col_Start_Temp, profile.Start_Temp);

    // The order keeps typed values as typed: on a ramp End Temp goes first, so the
    // Duration or Ramp Rate typed after it stays and the other is worked out; on a hold
    // Duration goes first, so End Temp makes the hold with a rate of 0.
    std::vector<std::string> messages;
    double start_temp = Number_Of(profile.Start_Temp);
    int row = 1;
    for (const Typed_Segment& segment : profile.Segments) {
        editor.User_Prompt.clear();
        double end_temp = Number_Of(segment.End_Temp);
        if (end_temp == start_temp) {
            Enter(editor, row, Col_Duration, segment.Duration);
            Enter(editor, row, Col_End_Temp, segment.End_Temp);
        } else {
            Enter(editor, row, Col_End_Temp, segment.End_Temp);
            if (!segment.Duration.empty()) {
                Enter(editor, row, Col_Duration, segment.Duration);
            } else {
                Enter(editor, row, Col_Ramp_Rate, segment.Ramp_Rate);
            }
        }
        if (!segment.Error_Limit.empty()) Enter(editor, row, Col_Error_Limits, segment.Error_Limit);
        if (!segment.Command.empty()) Enter(editor, row, Col_Command, segment.Command);
        messages.push_back(editor.User_Prompt);
        start_temp = end_temp;
        ++row;
    }
    Enter(editor, row, Col_Action, "e");
    editor.Heat_Work_Cone = profile.Heat_Work_Cone;
    return messages;
}

}  // namespace corvanel
