// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/windows/firing_history_feature.h"

#include "history/windows/firing_history_window.h"

namespace corvanel {

Firing_History_Feature::Firing_History_Feature(Program_Paths paths, File_Dialog& export_dialog,
                                               Settings_Store& settings)
    : Paths_(std::move(paths)), Export_Dialog_(export_dialog), Settings_(settings) {}

Firing_History_Feature::~Firing_History_Feature() = default;

std::vector<Menu_Entry> Firing_History_Feature::Menu_Entries() {
    return {{"File", "Firing History", "mnuFiringHistory", [this] { Window().Open(); }}};
}

void Firing_History_Feature::Apply_Language() {
    if (Window_) Window_->Apply_Language();
}

Firing_History_Window& Firing_History_Feature::Window() {
    if (!Window_)
        Window_ = std::make_unique<Firing_History_Window>(Paths_, Export_Dialog_, Settings_);
    return *Window_;
}

}  // namespace corvanel
