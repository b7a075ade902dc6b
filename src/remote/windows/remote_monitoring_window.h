// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <functional>

#include "remote/remote_monitoring_model.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace corvanel {

// SetUp -> "Remote Monitoring": a thin window over Remote_Monitoring_Model.
class Remote_Monitoring_Window : public QDialog {
  public:
    explicit Remote_Monitoring_Window(Remote_Monitoring_Model& model, QWidget* parent = nullptr);

    // Loads the settings and shows the dialog (modal); Saved runs after a good OK.
    void Open();
    std::function<void()> Saved;

    QCheckBox* Enable_Page;
    QLineEdit* Port;
    QRadioButton *Listen_Local, *Listen_Network;
    QLineEdit* Token;
    QLineEdit* Address;
    QLabel* Message;

  private:
    void Refresh();
    Remote_Monitoring_Model& Model_;
};

}  // namespace corvanel
