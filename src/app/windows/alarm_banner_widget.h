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
// they have ended, hidden when there is nothing to show. "Acknowledge" tells the model,
// then the window refreshes; the button shows only while there is something to acknowledge.
class Alarm_Banner_Widget : public QFrame {
    Q_OBJECT
  public:
    Alarm_Banner_Widget(const Alarm_Banner& banner, std::function<void()> acknowledge,
                        QWidget* parent = nullptr);
    void Refresh();

    QLabel* Alarm_Text;
    QPushButton* Acknowledge;

  private:
    const Alarm_Banner& Banner_;
    std::string Shown_Language_ = "?";
    int Shown_Look_ = -1;  // none shown yet
};

}  // namespace corvanel
