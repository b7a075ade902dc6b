// SPDX-License-Identifier: GPL-3.0-or-later
// The editor's grid: the key filter, committing an entry, the cell checks and the
// cells worked out from the committed one.

#include "common/numeric.h"
#include "common/text.h"
#include "language/translate.h"
#include "profiles/profile_editor_model.h"

namespace corvanel {

namespace {

bool Is_Digit_Key(char key) {
    return key >= '0' && key <= '9';
}
constexpr char Backspace = '\b';

}  // namespace

Profile_Editor::Profile_Editor(Program_Paths paths, Settings_Store& settings, File_Dialog& dialog,
                               Message_Box& box, Beeper& beeper)
    : Paths_(std::move(paths)), Settings_(settings), Dialog_(dialog), Box_(box), Beeper_(beeper) {}

std::string& Profile_Editor::Cell(int row, int col) {
    if (row < 0 || row >= Sheet_Rows || col < 0 || col >= Sheet_Columns) {
        throw Run_Time_Error(Error_Number::Subscript_Out_Of_Range);
    }
    return WorkSheet[row][col];
}

void Profile_Editor::Set_User_Prompt(std::string text) {
    Set_Message_Text(User_Prompt, std::move(text), User_Prompt_Limit);
}

void Profile_Editor::Display(const std::string& text) {
    Append_Message(User_Prompt, text, User_Prompt_Limit);
}

void Profile_Editor::WorkSheet_to_FlexGrid() {
    for (int row = 1; row <= Last_Segment_Row; ++row) Profile_FlexGrid[row] = WorkSheet[row];
    Segment_Rows = static_cast<std::int16_t>(Last_Used_Row(WorkSheet));
    EditChart_Points.clear();
    for (int row = 1; row <= Segment_Rows; ++row) {
        // An empty or odd cell plots as 0 rather than stopping the redraw.
        double x = Convert_To_Double(WorkSheet[row][Col_Start_Time]).Value.value_or(0);
        double y = Convert_To_Double(WorkSheet[row][Col_Start_Temp]).Value.value_or(0);
        EditChart_Points.emplace_back(x, y);
    }
}

void Profile_Editor::ClearRows(int row_index) {
    for (int row = std::max(row_index, 1); row <= Last_Segment_Row; ++row) {
        for (int col = 1; col < Sheet_Columns; ++col) WorkSheet[row][col].clear();
    }
}

void Profile_Editor::ClearProfile() {
    ClearRows(1);
    WorkSheet[1][Col_Start_Time] = "0";
    WorkSheet[1][Col_Start_Temp] = "70";
    WorkSheet_to_FlexGrid();
}

void Profile_Editor::Place_Text_Box() {
    Current_Row = static_cast<std::int16_t>(Grid_Row);
    Current_Col = static_cast<std::int16_t>(Grid_Col);
    FloatingTextBox_Visible = true;
    FloatingTextBox_Text = Profile_FlexGrid[Grid_Row][Grid_Col];
}

bool Profile_Editor::FloatingTextBox_KeyPress(char key) {
    const int row = Grid_Row;
    const int col = Grid_Col;
    auto refuse = [this] {
        Beeper_.Beep();
        return false;
    };
    auto accept = [this] {
        Clear_User_Prompt();
        return true;
    };

    if (row >= 1 && col == Col_Seg) {
        Display(TranslateText("This entry is a constant") + std::string(CRLF) +
                "You can not edit this column");
        return refuse();
    }
    if (row >= 1 && col == Col_Start_Time) {
        Display(TranslateText("This entry is calculate from the other entries") +
                std::string(CRLF) + "You can not manually edit this column");
        return refuse();
    }
    if (row >= 2 && col == Col_Start_Temp) {
        Display(Join_Lines({TranslateText("This entry derived from your previous segment end time"),
                            TranslateText("You can not manually edit this column")}));
        return refuse();
    }
    if (row == 0) {
        Display(TranslateText("You can not edit header title"));
        return refuse();
    }
    if (col == Col_Action) {
        FloatingTextBox_Text.clear();
        if (key == 'e' || key == 'h' || key == 'r') return accept();
        FloatingTextBox_Text = Profile_FlexGrid[row][col];
        return refuse();
    }
    const bool numeric_column = col == Col_Duration || col == Col_Start_Temp ||
                                col == Col_End_Temp || col == Col_Ramp_Rate ||
                                col == Col_Error_Limits || col == Col_Command;
    if (numeric_column) {
        const bool signed_column =
            col == Col_Start_Temp || col == Col_End_Temp || col == Col_Ramp_Rate;
        if (Is_Digit_Key(key) || key == Backspace || key == '.' || (signed_column && key == '-')) {
            return accept();
        }
        Beeper_.Beep();
        // The command column still takes the letters, so "wait" can be typed.
        if (col == Col_Command) return accept();
        return false;
    }
    return refuse();  // the Notify column and anything else
}

void Profile_Editor::Type_Key(char key) {
    if (!FloatingTextBox_KeyPress(key)) return;
    if (key == Backspace) {
        if (!FloatingTextBox_Text.empty()) FloatingTextBox_Text.pop_back();
    } else {
        FloatingTextBox_Text += key;
    }
}

void Profile_Editor::Type_Text(const std::string& text) {
    for (char key : text) Type_Key(key);
}

void Profile_Editor::Profile_FlexGrid_Click(int row, int col) {
    Edit_Row = Current_Row;
    Edit_Col = Current_Col;
    if (row >= 0 && row < Sheet_Rows && col >= 0 && col < Sheet_Columns) {
        Grid_Row = row;
        Grid_Col = col;
    }
    Current_Row = static_cast<std::int16_t>(Grid_Row);
    Current_Col = static_cast<std::int16_t>(Grid_Col);
    if (Edit_Row != 0 && Edit_Col >= 2) {
        try {
            Entry_OK = Check_Cell_Entry();
            if (!Entry_OK) {
                Cell(Edit_Row, Edit_Col).clear();
                WorkSheet_to_FlexGrid();
            } else {
                Cell(Edit_Row, Edit_Col) = FloatingTextBox_Text;
                Recalculate();
                WorkSheet_to_FlexGrid();
            }
        } catch (const Run_Time_Error&) {
            // A failed step abandons the rest of this commit; what was stored stays,
            // and the grid shows it.
            WorkSheet_to_FlexGrid();
        }
    }
    Place_Text_Box();
}

bool Profile_Editor::Check_Cell_Entry() {
    const std::string& text = FloatingTextBox_Text;
    if (text.empty()) return true;
    auto format_error = [this] {
        Display(TranslateText("Table entry format error"));
        return false;
    };
    switch (Edit_Col) {
        case Col_Duration:
        case Col_Ramp_Rate:
            return Convert_To_Double(text).Value ? true : format_error();
        case Col_Start_Temp:
        case Col_End_Temp:
        case Col_Error_Limits:
            return Convert_To_Int16(text).Value ? true : format_error();
        case Col_Action:
            if (text == "e" || text == "h" || text == "r") {
                Cell(Edit_Row, Col_Action) = text;
                return true;
            }
            Display(TranslateText("Action syntax error"));
            return false;
        case Col_Command:
            return text == "wait";
        default:
            return false;  // the Notify column takes nothing but the empty text
    }
}

void Profile_Editor::Action_From_Temps(int r) {
    if (Cell(r, Col_End_Temp).empty() || Cell(r, Col_Start_Temp).empty()) return;
    if (Number_Of(Cell(r, Col_End_Temp)) != Number_Of(Cell(r, Col_Start_Temp))) {
        Cell(r, Col_Action) = "r";
        Rate_From_Duration(r);
    } else {
        Cell(r, Col_Action) = "h";
        Cell(r, Col_Ramp_Rate) = "0";
    }
}

void Profile_Editor::Rate_From_Duration(int r) {
    if (Cell(r, Col_Start_Temp).empty() || Cell(r, Col_End_Temp).empty() ||
        Cell(r, Col_Duration).empty()) {
        return;
    }
    double duration = Number_Of(Cell(r, Col_Duration));
    if (duration == 0) return;
    double rise = Number_Of(Cell(r, Col_End_Temp)) - Number_Of(Cell(r, Col_Start_Temp));
    Cell(r, Col_Ramp_Rate) = Format_00(rise / duration);
}

void Profile_Editor::Duration_From_Rate(int r) {
    if (Cell(r, Col_Start_Temp).empty() || Cell(r, Col_End_Temp).empty() ||
        Cell(r, Col_Ramp_Rate).empty()) {
        return;
    }
    double rate = Number_Of(Cell(r, Col_Ramp_Rate));
    if (rate == 0) return;
    double rise = Number_Of(Cell(r, Col_End_Temp)) - Number_Of(Cell(r, Col_Start_Temp));
    Cell(r, Col_Duration) = Format_00(rise / rate);
}

void Profile_Editor::Propagate_Start_Times(int r) {
    for (int k = r; k < Last_Segment_Row; ++k) {
        if (Cell(k, Col_Duration).empty() || Cell(k, Col_Start_Time).empty()) return;
        Cell(k + 1, Col_Start_Time) =
            Format_00(Number_Of(Cell(k, Col_Start_Time)) + Number_Of(Cell(k, Col_Duration)));
    }
}

void Profile_Editor::Recalculate() {
    const int r = Edit_Row;
    switch (Edit_Col) {
        case Col_Duration:
            Rate_From_Duration(r);
            Propagate_Start_Times(r);
            break;
        case Col_Action: {
            const std::string& action = Cell(r, Col_Action);
            if (action == "h") {
                Cell(r, Col_Ramp_Rate) = "0";
                if (!Cell(r, Col_Start_Temp).empty()) {
                    Cell(r, Col_End_Temp) = Cell(r, Col_Start_Temp);
                    Cell(r + 1, Col_Start_Temp) = Cell(r, Col_Start_Temp);
                    Action_From_Temps(r + 1);
                }
            } else if (action == "e") {
                Cell(r, Col_Duration).clear();
                Cell(r, Col_End_Temp).clear();
                Cell(r, Col_Ramp_Rate).clear();
                ClearRows(r + 1);
            }
            break;
        }
        case Col_End_Temp: {
            Cell(r + 1, Col_Start_Temp) = Cell(r, Col_End_Temp);
            Action_From_Temps(r);
            Action_From_Temps(r + 1);
            if (!Cell(r, Col_End_Temp).empty() && !Cell(r, Col_Start_Temp).empty() &&
                !Cell(r, Col_Ramp_Rate).empty()) {
                double rise = Number_Of(Cell(r, Col_End_Temp)) - Number_Of(Cell(r, Col_Start_Temp));
                double rate = Number_Of(Cell(r, Col_Ramp_Rate));
                if (Sign_Of(rise) != Sign_Of(rate)) {
                    Cell(r, Col_Ramp_Rate).clear();
                } else if (rise != 0) {
                    Cell(r, Col_Action) = "r";
                    Duration_From_Rate(r);
                } else {
                    Cell(r, Col_Action) = "h";
                    Cell(r, Col_Ramp_Rate) = "0";
                }
            }
            Propagate_Start_Times(r);
            break;
        }
        case Col_Ramp_Rate: {
            if (!Cell(r, Col_Ramp_Rate).empty()) {
                double rate = Number_Of(Cell(r, Col_Ramp_Rate));
                if (rate == 0) {
                    Cell(r, Col_Action) = "h";
                } else {
                    Cell(r, Col_Action) = "r";
                    if (!Cell(r, Col_End_Temp).empty() && !Cell(r, Col_Start_Temp).empty()) {
                        double rise =
                            Number_Of(Cell(r, Col_End_Temp)) - Number_Of(Cell(r, Col_Start_Temp));
                        if (Sign_Of(rise) == Sign_Of(rate)) {
                            Duration_From_Rate(r);
                        } else {
                            Display(Join_Lines(
                                {TranslateText("Sign of ramp conflicts with End Temperature"),
                                 TranslateText("If End Temp > Start Temp Ramp Rate = +"),
                                 TranslateText("If End Temp < Start Temp Ramp Rate = -")}));
                            Cell(r, Col_End_Temp).clear();
                            Cell(r + 1, Col_Start_Temp).clear();
                        }
                    }
                }
            }
            Propagate_Start_Times(r);
            break;
        }
        default:
            break;  // Start Temp, Error Limits and Command change nothing else
    }
}

}  // namespace corvanel
