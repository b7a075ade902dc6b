// SPDX-License-Identifier: GPL-3.0-or-later
#include "run/windows/safety_settings_window.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "language/translate.h"
#include "run/safety_settings_form.h"
#include "ui/widgets.h"

namespace corvanel {

Safety_Settings_Window::Safety_Settings_Window(Safety_Settings_Form& form, std::function<bool()> ok,
                                               QWidget* parent)
    : QDialog(parent), Form_(form), OK_(std::move(ok)) {
    setObjectName("Safety_Settings");
    setWindowTitle(Q(TranslateText("Safety Settings")));
    auto* fields = new QFormLayout;
    for (const Safety_Setting_Row& row : Safety_Setting_Rows()) {
        const QString caption = Q(TranslateText(row.Caption));
        QCheckBox* check = nullptr;
        QLineEdit* box = nullptr;
        if (row.Switch) {
            check = new QCheckBox(caption, this);
            check->setObjectName(row.Name);
            fields->addRow(check);
        } else {
            box = Text_Box(this, row.Name, nullptr, false);
            const std::string label_name = std::string(row.Name) + "_Label";
            QLabel* label = Label_For(this, label_name.c_str(), "", box);
            label->setText(caption);
            fields->addRow(label, box);
        }
        Switches.push_back(check);
        Numbers.push_back(box);
    }
    Safety_Messages = new QPlainTextEdit(this);
    Safety_Messages->setObjectName("Safety_Messages");
    Safety_Messages->setReadOnly(true);
    Safety_Messages->setMaximumHeight(90);
    auto* buttons = Ok_Cancel_Buttons(
        *this, [this] { return Take_Entries(); }, [this] { Show_Form(); });
    buttons->button(QDialogButtonBox::Ok)->setObjectName("Safety_OK");
    buttons->button(QDialogButtonBox::Cancel)->setObjectName("Safety_Cancel");
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(Safety_Messages);
    layout->addWidget(buttons);
    Show_Form();
}

void Safety_Settings_Window::Show_Form() {
    for (std::size_t i = 0; i < Form_.Texts.size() && i < Switches.size(); ++i) {
        if (Switches[i]) Switches[i]->setChecked(Form_.Texts[i] == "1");
        if (Numbers[i]) Show_Text(*Numbers[i], Form_.Texts[i]);
    }
    std::string shown;
    Show_Message_Lines(*Safety_Messages, shown, Form_.Messages);
}

bool Safety_Settings_Window::Take_Entries() {
    Form_.Texts.resize(Switches.size());
    for (std::size_t i = 0; i < Switches.size(); ++i) {
        Form_.Texts[i] =
            Switches[i] ? (Switches[i]->isChecked() ? "1" : "0") : Numbers[i]->text().toStdString();
    }
    return OK_();
}

}  // namespace corvanel
