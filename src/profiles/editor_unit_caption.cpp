// SPDX-License-Identifier: GPL-3.0-or-later
#include "profiles/editor_unit_caption.h"

#include "language/translate.h"
#include "profiles/profile_editor_model.h"

namespace corvanel {

std::string Editor_Unit_Caption(const Profile_Editor& editor, std::string_view control) {
    if (control == "TempScale") return TranslateText(editor.mnuFahrenheit ? "Deg-F" : "Deg-C");
    if (control == "TimeScale") return TranslateText(editor.mnuMinutes ? "Minutes" : "Hours");
    return "";
}

}  // namespace corvanel
