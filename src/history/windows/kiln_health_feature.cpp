// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/windows/kiln_health_feature.h"

#include "history/windows/kiln_health_window.h"

namespace corvanel {

Kiln_Health_Feature::Kiln_Health_Feature(Program_Paths paths, Settings_Store& settings, Clock& time,
                                         Message_Area& notices, Message_Area& messages,
                                         File_Dialog& profile_dialog)
    : Paths_(paths),
      Settings_(settings),
      Time_(time),
      Profile_Dialog_(profile_dialog),
      Pace_Check_(paths, settings, notices, messages) {}

Kiln_Health_Feature::~Kiln_Health_Feature() = default;

std::vector<Menu_Entry> Kiln_Health_Feature::Menu_Entries() {
    return {{"File", "Kiln Health", "mnuKilnHealth", [this] { Window().Open(); }},
            {"Editor", "Check Profile Against Kiln", "mnuCheckProfilePace", [this] {
                 File_Dialog_Request request;
                 request.Initial_Folder = Paths_.Profiles_Folder();
                 request.Filter = "Text files (*.txt) | *.txt|All files (*.*) | *.*";
                 const File_Dialog_Result chosen = Profile_Dialog_.Show_Open(request);
                 if (chosen.Result != File_Dialog_Result::Outcome::Chosen) return;
                 Pace_Check_.Check_Profile_File(chosen.Path, Time_.Now());
             }}};
}

void Kiln_Health_Feature::Apply_Language() {
    if (Window_) Window_->Apply_Language();
}

Kiln_Health_Window& Kiln_Health_Feature::Window() {
    if (!Window_) Window_ = std::make_unique<Kiln_Health_Window>(Paths_, Settings_);
    return *Window_;
}

}  // namespace corvanel
