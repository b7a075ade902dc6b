// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>

#include "common/clock.h"
#include "common/platform.h"
#include "history/kiln_pace_check.h"
#include "run/feature.h"
#include "setup/program_paths.h"
#include "setup/settings_store.h"

namespace corvanel {

class Kiln_Health_Window;

// File -> "Kiln Health": the kiln's health read from its firing records. At RUN PROFILE
// it says which segments the kiln cannot follow; Editor -> "Check Profile Against Kiln"
// does the same for a profile file.
class Kiln_Health_Feature : public Feature {
  public:
    Kiln_Health_Feature(Program_Paths paths, Settings_Store& settings, Clock& time,
                        Message_Area& notices, Message_Area& messages, File_Dialog& profile_dialog);
    ~Kiln_Health_Feature() override;

    void Attach(Firing_Status_Seam& firing) override { firing.Attach(Pace_Check_); }
    void Apply_Settings() override {}
    std::vector<Menu_Entry> Menu_Entries() override;
    void Apply_Language() override;

    Kiln_Health_Window& Window();
    Kiln_Pace_Check& Pace_Check() { return Pace_Check_; }

  private:
    Program_Paths Paths_;
    Settings_Store& Settings_;
    Clock& Time_;
    File_Dialog& Profile_Dialog_;
    Kiln_Pace_Check Pace_Check_;
    std::unique_ptr<Kiln_Health_Window> Window_;
};

}  // namespace corvanel
