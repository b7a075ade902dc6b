// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

#include "app/traj_form_model.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace corvanel {

// The device-name dialog: one text box and OK / Cancel. It is hidden rather than
// destroyed, so the name typed last is still there next time.
class dlgGetName : public QDialog, public Name_Dialog {
    Q_OBJECT
  public:
    explicit dlgGetName(QWidget* parent = nullptr);

    int GetName() override;  // 1 for OK, 2 for Cancel
    std::string DeviceName() override;

    QLineEdit* txtDeviceName;
    QLabel* lblDeviceName;
    QPushButton* cmdOk;
    QPushButton* cmdCancel;

  private:
    bool Cancelled_ = true;
};

}  // namespace corvanel
