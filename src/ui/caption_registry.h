// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

#include "language/caption_table.h"

class QWidget;

namespace corvanel {

// A window that keeps some of its design texts in its model rather than in widgets.
class Caption_Owner {
  public:
    virtual ~Caption_Owner() = default;
    // True when the window took the text itself.
    virtual bool Set_Own_Text(const Caption_Entry& entry, const std::string& text) = 0;
};

// Sets one design text on a window's control found by objectName: the window title,
// a button, label, check box, frame, menu or menu item caption, or a tool tip. Throws
// Run_Time_Error when the control is not there or has no such text.
void Set_Design_Text(QWidget& window, const Caption_Entry& entry, const std::string& text);

// The language pass's view of the program's windows. `Window_Of` gives the shared
// instance of a window, or nullptr for one this program does not have yet; its
// entries then fail and the pass skips them.
class Qt_Window_Registry : public Window_Registry {
  public:
    explicit Qt_Window_Registry(std::function<QWidget*(Caption_Window)> window_of)
        : Window_Of_(std::move(window_of)) {}
    void Set_Text(const Caption_Entry& entry, const std::string& text) override;

  private:
    std::function<QWidget*(Caption_Window)> Window_Of_;
};

}  // namespace corvanel
