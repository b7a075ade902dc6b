// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>

#include "run/feature.h"
#include "setup/settings_form.h"

class QWidget;

namespace corvanel {

class Mail_Settings_Window;

// Email -> "Mail Settings": the dialog over the mail server the alarm mails go out
// through, and its test mail to the run window's notification list. The mail itself is
// the run's: the sender reads the settings at every mail.
class Mail_Feature : public Feature {
  public:
    Mail_Feature(Settings_Store& settings, Kiln_Access& kiln, QWidget* dialog_parent);
    ~Mail_Feature() override;

    void Attach(Firing_Status_Seam&) override {}
    void Apply_Settings() override {}
    std::vector<Menu_Entry> Menu_Entries() override;
    void Open_Dialog();

  private:
    Settings_Form Form_;
    Kiln_Access& Kiln_;
    QWidget* Dialog_Parent_;
    std::unique_ptr<Mail_Settings_Window> Window_;  // made on first use
};

}  // namespace corvanel
