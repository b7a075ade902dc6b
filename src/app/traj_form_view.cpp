// SPDX-License-Identifier: GPL-3.0-or-later
// What the run shows in the run window's controls, and the operator's edit of the
// elapsed time: the box's keys, and the time handed to the run when Enter takes it.

#include "app/traj_form_model.h"
#include "common/numeric.h"
#include "common/text.h"
#include "language/translate.h"

namespace corvanel {

namespace {

constexpr char Backspace = 8;
constexpr char Enter_Key = 13;
constexpr char Escape_Key = 27;

}  // namespace

void Traj_form::Elapsed_Time_GotFocus() {
    Time_Entry.Begin();
    Display(Join_Lines({TranslateText("Hit Backspace to ready for entry"),
                        TranslateText("Enter TIME and hit return when done")}));
}

void Traj_form::Elapsed_Time_Change(const std::string& text) {
    Elapsed_Time = text;
    if (text.empty()) return;
    if (Time_Entry.Take(text)) return;
    Display(TranslateText("You must enter a valid TIME value"));
    Run_.Undo_Elapsed_Entry();
    Elapsed_Time_Change(Format_Number(Run_.Engine().Elapsed()));
}

bool Traj_form::Elapsed_Time_KeyPress(char key) {
    if ((key >= '0' && key <= '9') || key == '.') return true;
    if (key == Backspace) {
        Elapsed_Time_Change("");
        return false;
    }
    if (Time_Entry.Entered() >= Run_.Profile().Total_Time()) {
        Display(TranslateText("Profile does not include time entered"));
        Services_.Beep.Beep();
    } else if (key == Enter_Key) {
        Time_Entry.End();
        Run_.Take_Elapsed(Time_Entry.Entered());
    } else if (key == Escape_Key) {
        Time_Entry.End();
        Elapsed_Time_Change(Format_Number(Run_.Engine().Elapsed()));
        Display(TranslateText("Time change aborted, ready to run"));
    } else {
        Services_.Beep.Beep();
    }
    return false;
}

void Traj_form::Type_Elapsed_Key(char key) {
    if (Elapsed_Time_KeyPress(key)) Elapsed_Time_Change(Elapsed_Time + key);
}

void Traj_form::Show_Measured(const std::string& text, bool stale, const std::string& note) {
    Real_Temp_Display_1 = text;
    Process_Temp_Stale = stale;
    Process_Temp_Note = note;
}

void Traj_form::Show_Running(bool running) {
    Elapsed_Time_Enabled = !running;
    Start_Profile_Red = running;
}

}  // namespace corvanel
