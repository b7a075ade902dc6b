// SPDX-License-Identifier: GPL-3.0-or-later
#include "run/live_view_setting.h"

#include "language/show_problem.h"
#include "language/translate.h"
#include "setup/program_settings.h"
#include "setup/settings_store.h"

namespace corvanel {

bool Read_Live_View_Setting(Settings_Store& settings, std::string& message) {
    const Setting& live = Program_Setting::LiveFiringView;
    Settings_Store::Reading reading = settings.Read(live);
    message.clear();
    const bool exists = settings.File_Exists(live.File);
    if (exists && !reading.Problem) return settings.On(live);
    const std::string found = exists ? Setting_Line_Found(settings.Paths(), live) : std::string();
    if (found.empty()) {
        settings.Write(live, live.Default);
        message = TranslateText("The live firing view is on: no choice had been saved yet.");
    } else {
        message = Problem_Text(Bad_Setting_Problem(live, found, live.Default));
    }
    return true;
}

}  // namespace corvanel
