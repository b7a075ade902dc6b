// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/start_time_dialog.h"

class QWidget;

namespace corvanel {

// Start later's question as a small modal dialog: a clock time and OK / Cancel.
class Start_Time_Window : public Start_Time_Dialog {
  public:
    explicit Start_Time_Window(QWidget* parent) : Parent_(parent) {}
    std::optional<Start_Time_Answer> Ask_Start_Time(const std::string& question,
                                                    std::pair<int, int> proposed) override;

  private:
    QWidget* Parent_;
};

}  // namespace corvanel
