// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <string>
#include <vector>

#include "common/problem.h"
#include "setup/settings_form.h"

class QLabel;

namespace corvanel {

// A settings dialog laid out from its model: one row per field, a check box for a check
// mark, a list for a choice, a text box otherwise (hidden typing for a secret); the
// message under them, then OK and Cancel. Each control is named after its setting
// (Setting::Name()), its label "<name>Label"; the dialog is `name`, and its message, OK
// and Cancel "<name>_Message", "<name>_OK" and "<name>_Cancel". OK closes the dialog only
// when the model took and saved every entry; otherwise the message says what to correct
// and the field to correct has the focus.
class Settings_Dialog : public QDialog {
  public:
    Settings_Dialog(Settings_Form& form, const std::string& name, std::string title,
                    Translate_Function translate, QWidget* parent = nullptr);

    // Reads the settings into the fields, in the language of the moment, and shows them
    // modally. Returns QDialog::Accepted when OK saved them.
    int Open();

    // The texts in the language of the moment: title, labels, choices and the message.
    void Apply_Language();
    // The controls from the model, and the model from the controls.
    void Show_Fields();
    bool Take_Fields();

    QWidget* Control(std::size_t field) const { return Controls_[field]; }

  private:
    Settings_Form& Form_;
    std::string Title_;
    Translate_Function Translate_;
    std::vector<QWidget*> Controls_;
    std::vector<QLabel*> Labels_;  // null for a check box, which carries its own text
    QLabel* Message_ = nullptr;
    QWidget* OK_ = nullptr;
    QWidget* Cancel_ = nullptr;
};

}  // namespace corvanel
