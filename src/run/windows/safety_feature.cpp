// SPDX-License-Identifier: GPL-3.0-or-later
#include "run/windows/safety_feature.h"

#include "run/safety_settings.h"
#include "run/windows/safety_settings_window.h"

namespace corvanel {

Safety_Feature::Safety_Feature(Settings_Store& settings, QWidget* dialog_parent)
    : Form_(Safety_Settings_Form(settings)), Dialog_Parent_(dialog_parent) {}

Safety_Feature::~Safety_Feature() = default;

std::vector<Menu_Entry> Safety_Feature::Menu_Entries() {
    return {{"SetUp", "Safety Settings", "mnuSafetySettings", [this] { Open_Dialog(); }}};
}

void Safety_Feature::Open_Dialog() {
    if (!Window_) Window_ = std::make_unique<Safety_Settings_Window>(Form_, Dialog_Parent_);
    Window_->Open();
}

}  // namespace corvanel
