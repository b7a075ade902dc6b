// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFrame>
#include <string>

class QLabel;

namespace corvanel {

class Live_Firing_View;

// The run window's large read-outs, read from across the studio: what the kiln is doing
// in one word, the measured temperature, the set value, the time left and the finish,
// each under its caption and with its unit. A measured value that is not live is greyed
// and says why beneath it. It only shows what the live view holds.
class Large_Readouts_View : public QFrame {
  public:
    explicit Large_Readouts_View(QWidget* parent = nullptr);

    void Refresh(const Live_Firing_View& view);

    QLabel *State_Word, *Measured, *Set_Value, *Time_Left, *Finishes_At;
    QLabel *Measured_Caption, *Set_Value_Caption, *Time_Left_Caption, *Finishes_At_Caption;
    QLabel* Reading_Note;

  private:
    std::string Shown_Language_ = "?";
};

}  // namespace corvanel
