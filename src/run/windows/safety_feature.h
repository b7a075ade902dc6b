// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>

#include "run/feature.h"
#include "setup/settings_form.h"

class QWidget;

namespace corvanel {

class Safety_Settings_Window;

// SetUp -> "Safety Settings": the dialog over the safety settings, opened over the given
// window. The supervision itself is the run's: it reads the settings at the run window's
// load and follows every change the dialog saves.
class Safety_Feature : public Feature {
  public:
    Safety_Feature(Settings_Store& settings, QWidget* dialog_parent);
    ~Safety_Feature() override;

    void Attach(Firing_Status_Seam&) override {}
    void Apply_Settings() override {}
    std::vector<Menu_Entry> Menu_Entries() override;
    void Open_Dialog();

  private:
    Settings_Form Form_;
    QWidget* Dialog_Parent_;
    std::unique_ptr<Safety_Settings_Window> Window_;  // made on first use
};

}  // namespace corvanel
