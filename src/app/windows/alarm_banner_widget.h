// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFrame>
#include <functional>
#include <string>

class QLabel;
class QPushButton;

namespace corvanel {

class Alarm_Banner;

// The alarm banner across the run window, bound to the run model's banner: red with
// the alarms while any is on and not acknowledged, amber once acknowledged, pale once
// they have ended, hidden when there is nothing to show. Each button tells the model, then
// the window refreshes. "Acknowledge" shows only while there is something to acknowledge;
// "Continue now" and "Do not continue" while an interrupted firing counts down to going on.
class Alarm_Banner_Widget : public QFrame {
    Q_OBJECT
  public:
    struct Actions {
        std::function<void()> Acknowledge, Continue_Now, Do_Not_Continue;
    };
    Alarm_Banner_Widget(const Alarm_Banner& banner, Actions actions, QWidget* parent = nullptr);
    void Refresh();

    QLabel* Alarm_Text;
    QPushButton *Acknowledge, *Continue_Now, *Do_Not_Continue;

  private:
    const Alarm_Banner& Banner_;
    std::string Shown_Language_ = "?";
};

}  // namespace corvanel
