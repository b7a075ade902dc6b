// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "profiles/profile_editor_model.h"
#include "support/fake_platform.h"
#include "support/temp_folder.h"

// An editor opened in a program folder of its own, with fake dialogs and beeper.
class Editor_Test : public ::testing::Test {
  protected:
    Temp_Folder Folder;
    Fake_File_Dialog Dialog;
    Fake_Message_Box Box;
    Counting_Beeper Beeper;
    corvanel::Program_Paths Paths{Folder.Path()};
    corvanel::Profile_Editor Editor{Paths, Dialog, Box, Beeper};

    void SetUp() override { Editor.Form_Load(); }

    // Click a cell, rub out what it shows, type, and click it again to commit, as an
    // operator does. (A key in the Action cell replaces its letter by itself.)
    void Enter(int row, int col, const std::string& text) {
        Editor.Profile_FlexGrid_Click(row, col);
        if (col != corvanel::Col_Action)
            Editor.Type_Text(std::string(Editor.FloatingTextBox_Text.size(), '\b'));
        Editor.Type_Text(text);
        Editor.Profile_FlexGrid_Click(row, col);
    }

    std::string Cell(int row, int col) const { return Editor.WorkSheet[row][col]; }

    // The worked example typed in: 70 to 1000 in 60 with limit 50, a 30 hold, the end.
    void Type_Worked_Example() {
        Editor.mnuFahrenheit_Click();
        Editor.mnuMinutes_Click();
        Editor.Sensor_Menu_Click(2);
        Enter(1, corvanel::Col_End_Temp, "1000");
        Enter(1, corvanel::Col_Duration, "60");
        Enter(1, corvanel::Col_Error_Limits, "50");
        Enter(2, corvanel::Col_Duration, "30");
        Enter(2, corvanel::Col_End_Temp, "1000");
        Enter(3, corvanel::Col_Action, "e");
    }
};
