// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

#include "history/energy_settings.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace corvanel {

// The small dialog for the kiln's power and the price of a kWh.
class Energy_Settings_Window : public QDialog {
  public:
    Energy_Settings_Window(Energy_Settings_Dialog& model, QWidget* parent);
    void Open();  // modal; the model has saved when it returns accepted

    QLineEdit *KilnPower, *PricePerKWh;
    QLabel* Energy_Message;
    QPushButton *Energy_OK, *Energy_Cancel;

  private:
    Energy_Settings_Dialog& Model_;
};

}  // namespace corvanel
