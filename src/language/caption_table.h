// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace corvanel {

// The windows whose design texts the language pass sets.
enum class Caption_Window {
    FrontPanel,
    Profile_Editor,
    Serial_Port,
    Traj_form,
    dlgGetName,
    CommSetUp
};

// Which text of the control is set: the window title, a caption, or a tool tip.
enum class Caption_Property { Window_Caption, Caption, ToolTipText };

// One assignment of the pass: the English design text of one control's property.
// Control is the control's name (its objectName); for a window title, the window's name.
struct Caption_Entry {
    Caption_Window Window;
    std::string_view Control;
    Caption_Property Property;
    std::string_view English;
};

std::string_view Window_Name(Caption_Window window);

// The 137 entries, in the order the pass sets them.
std::span<const Caption_Entry> Caption_Table();

// What the pass needs from the windows: set one text. The registry reaches the window's
// shared instance, creating it hidden if it does not exist yet; it may throw when the
// control cannot be reached or the property cannot be set.
class Window_Registry {
  public:
    virtual ~Window_Registry() = default;
    virtual void Set_Text(const Caption_Entry& entry, const std::string& text) = 0;
};

// Sets every entry of the table, in order, to its text in the current language. Each
// entry stands alone: one that fails is skipped and the pass goes on, reporting nothing.
void InitObjectLanguage(Window_Registry& windows);

}  // namespace corvanel
