// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/settings_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "ui/widgets.h"

namespace corvanel {

Settings_Dialog::Settings_Dialog(Settings_Form& form, const std::string& name, std::string title,
                                 Translate_Function translate, QWidget* parent)
    : QDialog(parent), Form_(form), Title_(std::move(title)), Translate_(std::move(translate)) {
    setObjectName(Q(name));
    auto* layout = new QGridLayout(this);
    int row = 0;
    for (Settings_Field& field : Form_.Fields()) {
        const Setting& setting = *field.Of;
        QWidget* control = nullptr;
        QLabel* label = nullptr;
        if (setting.Type == Setting_Type::On_Off) {
            auto* box = new QCheckBox(this);
            connect(box, &QCheckBox::toggled, this, [this, &field](bool on) {
                Form_.Set_On(field, on);
                for (std::size_t i = 0; i < Controls_.size(); ++i)
                    Controls_[i]->setEnabled(Form_.Fields()[i].Enabled);
            });
            control = box;
            layout->addWidget(box, row, 0, 1, 2);
        } else {
            if (setting.Type == Setting_Type::Choice) {
                auto* list = new QComboBox(this);
                for (std::size_t i = 0; i < setting.Choices.size(); ++i) list->addItem(QString());
                control = list;
            } else {
                auto* box = new QLineEdit(this);
                if (setting.Type == Setting_Type::Secret) box->setEchoMode(QLineEdit::Password);
                control = box;
            }
            label = new QLabel(this);
            label->setBuddy(control);
            label->setObjectName(Q(setting.Name() + "Label"));
            layout->addWidget(label, row, 0);
            layout->addWidget(control, row, 1);
        }
        control->setObjectName(Q(setting.Name()));
        Controls_.push_back(control);
        Labels_.push_back(label);
        ++row;
    }
    Message_ = new QLabel(this);
    Message_->setObjectName(Q(name + "_Message"));
    Message_->setWordWrap(true);
    layout->addWidget(Message_, row++, 0, 1, 2);
    QDialogButtonBox* buttons = Ok_Cancel_Buttons(
        *this, [this] { return Take_Fields(); },
        [this] {
            Apply_Language();
            if (Form_.Bad_Field < Controls_.size()) Controls_[Form_.Bad_Field]->setFocus();
        });
    OK_ = buttons->button(QDialogButtonBox::Ok);
    Cancel_ = buttons->button(QDialogButtonBox::Cancel);
    OK_->setObjectName(Q(name + "_OK"));
    Cancel_->setObjectName(Q(name + "_Cancel"));
    layout->addWidget(buttons, row, 0, 1, 2);
}

void Settings_Dialog::Apply_Language() {
    auto tr = [this](const Operator_Text& text) { return Q(text.Text(Translate_)); };
    setWindowTitle(tr(Operator_Text::Phrase(Title_)));
    for (std::size_t i = 0; i < Controls_.size(); ++i) {
        const Setting& setting = *Form_.Fields()[i].Of;
        if (auto* box = qobject_cast<QCheckBox*>(Controls_[i]))
            box->setText(tr(Setting_Name(setting)));
        if (Labels_[i]) Labels_[i]->setText(tr(Setting_Name(setting)));
        if (auto* list = qobject_cast<QComboBox*>(Controls_[i])) {
            for (std::size_t c = 0; c < setting.Choices.size(); ++c) {
                list->setItemText(static_cast<int>(c),
                                  tr(Setting_Value_Shown(setting, setting.Choices[c])));
            }
        }
    }
    static_cast<QPushButton*>(OK_)->setText(tr(Operator_Text::Phrase("OK")));
    static_cast<QPushButton*>(Cancel_)->setText(tr(Operator_Text::Phrase("Cancel")));
    Message_->setText(Form_.Message ? Q(Form_.Message->Text(Translate_)) : QString());
}

void Settings_Dialog::Show_Fields() {
    for (std::size_t i = 0; i < Controls_.size(); ++i) {
        const Settings_Field& field = Form_.Fields()[i];
        QWidget* control = Controls_[i];
        if (auto* box = qobject_cast<QCheckBox*>(control)) {
            const QSignalBlocker quiet(box);
            box->setChecked(field.On());
        } else if (auto* list = qobject_cast<QComboBox*>(control)) {
            const auto& choices = field.Of->Choices;
            auto at = std::find(choices.begin(), choices.end(), field.Text);
            list->setCurrentIndex(at == choices.end() ? -1
                                                      : static_cast<int>(at - choices.begin()));
        } else if (auto* text = qobject_cast<QLineEdit*>(control)) {
            Show_Text(*text, field.Text);
        }
        control->setEnabled(field.Enabled);
    }
}

bool Settings_Dialog::Take_Fields() {
    for (std::size_t i = 0; i < Controls_.size(); ++i) {
        Settings_Field& field = Form_.Fields()[i];
        QWidget* control = Controls_[i];
        if (auto* box = qobject_cast<QCheckBox*>(control)) {
            Form_.Set_On(field, box->isChecked());
        } else if (auto* list = qobject_cast<QComboBox*>(control)) {
            const int at = list->currentIndex();
            Form_.Set_Text(
                field, at < 0 ? std::string() : field.Of->Choices[static_cast<std::size_t>(at)]);
        } else if (auto* text = qobject_cast<QLineEdit*>(control)) {
            Form_.Set_Text(field, text->text().toStdString());
        }
    }
    return Form_.OK();
}

int Settings_Dialog::Open() {
    Form_.Load();
    Show_Fields();
    Apply_Language();
    return exec();
}

}  // namespace corvanel
