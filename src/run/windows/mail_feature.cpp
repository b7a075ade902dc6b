// SPDX-License-Identifier: GPL-3.0-or-later
#include "run/windows/mail_feature.h"

#include "run/mail_setup.h"
#include "run/windows/mail_settings_window.h"

namespace corvanel {

Mail_Feature::Mail_Feature(Settings_Store& settings, Kiln_Access& kiln, QWidget* dialog_parent)
    : Form_(Mail_Setup_Form(settings)), Kiln_(kiln), Dialog_Parent_(dialog_parent) {}

Mail_Feature::~Mail_Feature() = default;

std::vector<Menu_Entry> Mail_Feature::Menu_Entries() {
    return {{"Email", "Mail Settings", "mnuMailSettings", [this] { Open_Dialog(); }}};
}

void Mail_Feature::Open_Dialog() {
    if (!Window_) {
        Window_ = std::make_unique<Mail_Settings_Window>(
            Form_, [this] { return Kiln_.Notification_List(); }, Dialog_Parent_);
    }
    Window_->Open();
}

}  // namespace corvanel
