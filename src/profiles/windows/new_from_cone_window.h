// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <functional>

#include "profiles/new_from_cone_model.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace corvanel {

// The editor's "New From Cone" dialog over its model: the choices, the preview of the
// rows and OK, which hands the model to the editor to fill its sheet.
class New_From_Cone_Window : public QDialog {
    Q_OBJECT
  public:
    explicit New_From_Cone_Window(QWidget* parent);

    // Opens on the editor's sensor and the kiln's scale (see New_From_Cone::Form_Load), in
    // the current interface language.
    void Form_Load(const Profile_Editor& editor);
    void Refresh();
    New_From_Cone& Model() { return Model_; }

    // Called on OK with a choice that makes a profile; the dialog closes after it.
    std::function<void(New_From_Cone&)> On_OK;

    QComboBox *cboCone, *cboSpeed, *cboScale, *cboSensor;
    QLineEdit *txtPreheat, *txtHold, *txtCoolRate, *txtCoolTemp, *txtErrorLimit;
    QCheckBox* chkHeatWork;
    QTableWidget* grdPreview;
    QLabel* lblMessage;
    QPushButton *cmdOk, *cmdCancel;

  private:
    void Translate_Captions();
    void Changed(const std::function<void(Cone_Firing_Choice&)>& change);

    New_From_Cone Model_;
    std::vector<std::pair<QLabel*, const char*>> Labels_;
};

}  // namespace corvanel
