// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/problem.h"
#include "setup/settings_form.h"

class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;

namespace corvanel {

// A settings dialog laid out from its model: one row per field, a check box for a check
// mark, a list for a choice (or a radio button per choice when the setting names them),
// a text box otherwise (hidden typing for a secret); then the controls the dialog adds,
// the message, OK and Cancel. Each control is named after its setting (Setting::Name()),
// its label "<name>Label"; the dialog is `name`, and its message, OK and Cancel
// "<name>_Message", "<name>_OK" and "<name>_Cancel". OK closes the dialog only when the
// model took and saved every entry; otherwise the message says what to correct and the
// field to correct has the focus.
class Settings_Dialog : public QDialog {
  public:
    Settings_Dialog(Settings_Form& form, const std::string& name, std::string title,
                    Translate_Function translate, QWidget* parent = nullptr);

    // Reads the settings into the fields, in the language of the moment, and shows them
    // modally. Returns QDialog::Accepted when OK saved them.
    int Open();

    // The texts in the language of the moment: title, labels, choices and the message.
    void Apply_Language();
    // The controls from the model, and the model from the controls: the entries only,
    // or the entries checked and saved.
    void Show_Fields();
    void Take_Entries();
    bool Take_Fields();

    // Controls under the fields, before the message, their English texts translated with
    // the rest: a button, or a read-only line with its label.
    QPushButton* Add_Button(const std::string& name, std::string text);
    QLineEdit* Add_Line(const std::string& name, std::string label);
    // A sentence across the dialog, its text set (translated) by the owner.
    QLabel* Add_Note(const std::string& name);

    // The field's control is greyed while the check mark is off, yet taken and saved as
    // it shows (where the form's Enable_When_On would leave a disabled field unsaved).
    void Grey_While_Off(const Setting& field, const Setting& check_mark);

    // Runs after the operator changed an entry; the model holds the entries by then.
    std::function<void()> Edited;

    // A rule across entries, asked when each entry keeps its own and before anything is
    // saved: the field to correct (by Setting::Name()) and what to say. It may change
    // entries in the model, which are then saved as changed.
    struct Refusal {
        std::string Field;
        Problem Said;
    };
    std::function<std::optional<Refusal>()> Check;

    QWidget* Control(std::size_t field) const { return Controls_[field]; }
    QWidget* Control(std::string_view name) const;  // by Setting::Name(); null if none
    QLabel* Message() const { return Message_; }

  private:
    void Update_Enabled();
    void Entry_Changed();
    int Next_Row();

    Settings_Form& Form_;
    std::string Title_;
    Translate_Function Translate_;
    std::vector<QWidget*> Controls_;
    std::vector<QLabel*> Labels_;  // null for a check box or radio buttons, which carry their own
    std::vector<std::pair<const Setting*, const Setting*>> Greyed_;  // field, check mark
    std::vector<std::pair<QWidget*, std::string>> Added_Texts_;      // label or button
    QGridLayout* Grid_ = nullptr;
    int Rows_ = 0;
    QLabel* Message_ = nullptr;
    QWidget* OK_ = nullptr;
    QWidget* Cancel_ = nullptr;
};

}  // namespace corvanel
