// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "run/feature.h"
#include "setup/settings_form.h"

namespace corvanel {

// A feature that is one settings dialog under one menu entry and nothing more: the
// settings' form, and the dialog made the first time the entry is chosen. What the
// settings govern reads them itself (the run at every tick or mail), so the feature
// attaches to nothing.
template <class Dialog>
class Settings_Dialog_Feature : public Feature {
  public:
    using Make_Dialog = std::function<std::unique_ptr<Dialog>(Settings_Form&)>;

    // `entry` without its Chosen: choosing it opens the dialog.
    Settings_Dialog_Feature(Menu_Entry entry, Settings_Form form, Make_Dialog make)
        : Entry_(std::move(entry)), Form_(std::move(form)), Make_(std::move(make)) {}

    void Attach(Firing_Status_Seam&) override {}
    void Apply_Settings() override {}
    std::vector<Menu_Entry> Menu_Entries() override {
        Menu_Entry entry = Entry_;
        entry.Chosen = [this] { Open_Dialog(); };
        return {entry};
    }
    void Open_Dialog() {
        if (!Dialog_) Dialog_ = Make_(Form_);
        Dialog_->Open();
    }

  private:
    Menu_Entry Entry_;
    Settings_Form Form_;
    Make_Dialog Make_;
    std::unique_ptr<Dialog> Dialog_;
};

}  // namespace corvanel
