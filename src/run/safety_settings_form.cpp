// SPDX-License-Identifier: GPL-3.0-or-later
#include "run/safety_settings_form.h"

#include "common/text.h"

namespace corvanel {

void Safety_Settings_Form::Form_Load(const Safety_Settings& in_force) {
    Settings = in_force;
    Messages.clear();
    Texts.clear();
    for (const auto& row : Safety_Setting_Rows()) Texts.push_back(Safety_Value_Text(Settings, row));
}

bool Safety_Settings_Form::OK_Click() {
    Messages.clear();
    const auto& rows = Safety_Setting_Rows();
    Texts.resize(rows.size());
    bool all_taken = true;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        std::string message = Set_Safety_Value(Settings, rows[i], Texts[i]);
        if (message.empty()) continue;
        all_taken = false;
        Append_Message(Messages, message);
        Texts[i] = Safety_Value_Text(Settings, rows[i]);
    }
    return all_taken;
}

}  // namespace corvanel
