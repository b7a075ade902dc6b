// SPDX-License-Identifier: GPL-3.0-or-later
#include "language/setting_complaint.h"

#include "language/translate.h"
#include "setup/program_settings.h"
#include "setup/settings_store.h"

namespace corvanel {

Check_Mark_Reading Read_Check_Mark(const Program_Paths& paths, const Setting& setting) {
    Settings_Store::Reading reading = Settings_Store(paths).Read(setting);
    Check_Mark_Reading read;
    read.On = reading.Value == setting.On_Word;
    if (reading.Problem) {
        read.Complaint = "Setup/" + setting.File + " = \"" + Setting_Line_Found(paths, setting) +
                         "\": " + TranslateText("not checked or unchecked, the default is used") +
                         " (" + reading.Value + ")";
    }
    return read;
}

}  // namespace corvanel
