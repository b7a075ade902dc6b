// SPDX-License-Identifier: GPL-3.0-or-later
#include "language/setting_complaint.h"

#include "language/translate.h"
#include "setup/program_settings.h"

namespace corvanel {

Check_Mark_Reading Read_Check_Mark(Settings_Store& settings, const Setting& setting) {
    Settings_Store::Reading reading = settings.Read(setting);
    // The default, not the value the store had: what these messages have always said.
    const std::string& value = reading.Problem ? setting.Default : reading.Value;
    Check_Mark_Reading read;
    read.On = value == setting.On_Word;
    if (reading.Problem) {
        read.Complaint = "Setup/" + setting.File + " = \"" +
                         Setting_Line_Found(settings.Paths(), setting) +
                         "\": " + TranslateText("not checked or unchecked, the default is used") +
                         " (" + value + ")";
    }
    return read;
}

}  // namespace corvanel
