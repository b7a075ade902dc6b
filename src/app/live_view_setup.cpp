// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/live_view_setup.h"

#include "app/traj_form_model.h"
#include "language/translate.h"
#include "profiles/profile_editor_model.h"
#include "setup/setup_files.h"

namespace corvanel {

bool Read_Live_View_Setting(const Program_Paths& paths, std::string& message) {
    const std::string file = paths.Setup_File("LiveFiringView.txt");
    const std::string value = Read_First_Line(file);
    message.clear();
    if (value == "checked") return true;
    if (value == "unchecked") return false;
    if (value.empty()) {
        Write_Text_File(file, "checked");
        message = "LiveFiringView.txt " + TranslateText("was missing; written with") + " checked";
    } else {
        message =
            "LiveFiringView.txt " + TranslateText("holds an unknown value; using") + " checked";
    }
    return true;
}

std::string Run_Unit_Caption(const Traj_form& form, std::string_view control) {
    if (control == "TimeReadOut" && !form.Time_Unit.empty()) {
        return TranslateText(form.Time_Unit == "M" ? "Time(mins)" : "Time(hours)");
    }
    if (control == "SetPointReadOut" && !form.Temp_Scale.empty()) {
        return TranslateText(form.Temp_Scale == "F" ? "SetTemp(F)" : "SetTemp(C)");
    }
    return "";
}

std::string Editor_Unit_Caption(const Profile_Editor& editor, std::string_view control) {
    if (control == "TempScale") return TranslateText(editor.mnuFahrenheit ? "Deg-F" : "Deg-C");
    if (control == "TimeScale") return TranslateText(editor.mnuMinutes ? "Minutes" : "Hours");
    return "";
}

}  // namespace corvanel
