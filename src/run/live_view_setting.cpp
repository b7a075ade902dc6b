// SPDX-License-Identifier: GPL-3.0-or-later
#include "run/live_view_setting.h"

#include "language/translate.h"
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

}  // namespace corvanel
