// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <functional>
#include <string>

#include "remote/mqtt_setup_model.h"

class QCheckBox;
class QLabel;
class QLineEdit;

namespace corvanel {

// SetUp -> "MQTT": a thin window over Mqtt_Setup_Model.
class Mqtt_Setup_Window : public QDialog {
  public:
    explicit Mqtt_Setup_Window(Mqtt_Setup_Model& model, QWidget* parent = nullptr);

    // Loads the settings and shows the dialog (modal); Saved runs after a good OK.
    void Open(const std::string& default_prefix);
    std::function<void()> Saved;

    QCheckBox* Enable_Publishing;
    QLineEdit *Host, *Port, *User_Name, *Password;
    QCheckBox* Use_Tls;
    QLineEdit *Ca_File, *Topic_Prefix;
    QCheckBox* Discovery;
    QLabel* Message;

  private:
    void Refresh();
    Mqtt_Setup_Model& Model_;
};

}  // namespace corvanel
