// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <string>
#include <vector>

#include "profiles/cone_firing.h"
#include "profiles/profile_editor_model.h"

namespace corvanel {

// The editor's "New From Cone" dialog without its widgets: the choices, a preview of
// the rows they make and OK, which types the firing into the editor's sheet.
class New_From_Cone {
  public:
    // Opens on cone 6 at medium speed with the editor's sensor, in the controller's scale
    // when it is known, else in the editor's.
    void Form_Load(const Profile_Editor& editor);
    // Any choice changed: the preview and the message follow.
    void Choice_Changed();
    // Fills the editor's sheet (which the operator can still edit) and suggests the file
    // name for Save As. False, with the reason in Message, when the choice is refused.
    bool OK_Click(Profile_Editor& editor);

    Cone_Firing_Choice Choice;
    std::vector<std::string> Cone_List;  // the chart's cones, coolest first
    int Cone_Index = 0;

    // Columns Seg to Ramp Rate of the rows the choice makes, as the sheet will hold them.
    static constexpr int Preview_Columns = 7;
    std::vector<std::array<std::string, Preview_Columns>> Preview;
    // The preview's column titles with their units, and what each entry box takes, as the
    // choice stands: "Ramp Rate (°F/h)", "1 – 999 °F/h".
    std::array<std::string, Preview_Columns> Preview_Titles;
    struct Entry_Limits {
        std::string Preheat, Hold, Cool_Rate, Cool_Temp, Error_Limit;
    } Limits;
    std::string Message;  // the peak temperature and file name, or why it is refused
    bool OK_Enabled = false;

  private:
    void Show_Units(const Cone_Firing_Plan& plan);
};

}  // namespace corvanel
