// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>

#include "common/platform.h"
#include "run/feature.h"
#include "setup/program_paths.h"
#include "setup/settings_store.h"

namespace corvanel {

class Firing_History_Window;

// File -> "Firing History": the window of past firings, read from their records when it
// opens. It hears nothing of the run: a firing is listed once its record is written.
class Firing_History_Feature : public Feature {
  public:
    Firing_History_Feature(Program_Paths paths, File_Dialog& export_dialog,
                           Settings_Store& settings);
    ~Firing_History_Feature() override;

    void Attach(Firing_Status_Seam&) override {}
    void Apply_Settings() override {}
    std::vector<Menu_Entry> Menu_Entries() override;
    void Apply_Language() override;

    // The window, created on first use.
    Firing_History_Window& Window();

  private:
    Program_Paths Paths_;
    File_Dialog& Export_Dialog_;
    Settings_Store& Settings_;
    std::unique_ptr<Firing_History_Window> Window_;
};

}  // namespace corvanel
