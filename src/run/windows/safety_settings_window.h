// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <functional>
#include <vector>

class QCheckBox;
class QLineEdit;
class QPlainTextEdit;

namespace corvanel {

class Safety_Settings_Form;

// The "Safety Settings" dialog: a check box for each switch and a text box for each
// number, bound to the dialog's model. OK hands the texts to `ok` (the run model takes
// what is valid and saves it) and closes only when every value was taken; otherwise
// the model's messages say what was kept.
class Safety_Settings_Window : public QDialog {
    Q_OBJECT
  public:
    Safety_Settings_Window(Safety_Settings_Form& form, std::function<bool()> ok,
                           QWidget* parent = nullptr);

    std::vector<QCheckBox*> Switches;  // per row; null for a number
    std::vector<QLineEdit*> Numbers;   // per row; null for a switch
    QPlainTextEdit* Safety_Messages;

  private:
    void Show_Form();
    bool Take_Entries();  // hands the texts to `ok`

    Safety_Settings_Form& Form_;
    std::function<bool()> OK_;
};

}  // namespace corvanel
