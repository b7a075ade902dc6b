// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/settings_dialog.h"

namespace corvanel {

// The "Safety Settings" dialog, laid out from its model (Safety_Settings_Form): a check
// box for each switch and a text box for each number. OK saves the good entries and
// closes only when every entry was taken; otherwise a bad entry shows the value in force
// again and the message says what was kept.
class Safety_Settings_Window : public Settings_Dialog {
    Q_OBJECT
  public:
    Safety_Settings_Window(Settings_Form& form, QWidget* parent = nullptr);
};

}  // namespace corvanel
