// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/firing_change_dialog.h"

class QWidget;

namespace corvanel {

// The question before a change of the running firing, as a small modal dialog: the
// question, the entries the change needs, OK and Cancel. Numbers are typed as the
// desktop writes them.
class Firing_Change_Window : public Firing_Change_Dialog {
  public:
    explicit Firing_Change_Window(QWidget* parent) : Parent_(parent) {}
    std::optional<Firing_Change> Ask(const Firing_Change& proposed, const std::string& question,
                                     const std::string& scale) override;

  private:
    QWidget* Parent_;
};

}  // namespace corvanel
