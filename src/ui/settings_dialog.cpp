// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/settings_dialog.h"

#include "language/operator_style.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/widgets.h"

namespace corvanel {

namespace {

std::vector<QRadioButton*> Radio_Buttons(QWidget* control) {
    std::vector<QRadioButton*> buttons;
    for (QRadioButton* button :
         control->findChildren<QRadioButton*>(QString(), Qt::FindDirectChildrenOnly)) {
        buttons.push_back(button);
    }
    return buttons;
}

// The fields, scrolled up and down when the dialog would be taller than the screen (a
// window opens at most two thirds of the screen high), so OK is always in reach. It asks
// for the whole form where there is room (a scroll area's own wish is a few lines) and
// never for less than the fields' width.
class Fields_Area : public QScrollArea {
  public:
    using QScrollArea::QScrollArea;
    QSize sizeHint() const override { return Around(widget() ? widget()->sizeHint() : QSize()); }
    QSize minimumSizeHint() const override {
        const QSize fields = widget() ? widget()->minimumSizeHint() : QSize();
        return {Around(fields).width(), QScrollArea::minimumSizeHint().height()};
    }

  private:
    QSize Around(const QSize& fields) const {
        const int frame = 2 * frameWidth();
        return fields + QSize(frame + verticalScrollBar()->sizeHint().width(), frame);
    }
};

}  // namespace

Settings_Dialog::Settings_Dialog(Settings_Form& form, const std::string& name, std::string title,
                                 Translate_Function translate, QWidget* parent)
    : QDialog(parent), Form_(form), Title_(std::move(title)), Translate_(std::move(translate)) {
    setObjectName(Q(name));
    auto* layout = new QVBoxLayout(this);
    auto* fields = new QWidget;
    fields->setObjectName(Q(name + "_Fields"));
    Grid_ = new QGridLayout(fields);
    Grid_->setContentsMargins(0, 0, 0, 0);
    auto* area = new Fields_Area(this);
    area->setObjectName(Q(name + "_Scroll"));
    area->setFrameShape(QFrame::NoFrame);
    area->setWidgetResizable(true);
    area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    area->setWidget(fields);
    layout->addWidget(area, 1);
    for (Settings_Field& field : Form_.Fields()) {
        const Setting& setting = *field.Of;
        const int row = Next_Row();
        QWidget* control = nullptr;
        QLabel* label = nullptr;
        if (setting.Type == Setting_Type::On_Off) {
            auto* box = new QCheckBox(this);
            connect(box, &QCheckBox::toggled, this, [this] { Entry_Changed(); });
            control = box;
        } else if (setting.Type == Setting_Type::Choice && !setting.Choice_Names.empty()) {
            control = new QWidget(this);
            auto* column = new QVBoxLayout(control);
            column->setContentsMargins(0, 0, 0, 0);
            for (const std::string& choice_name : setting.Choice_Names) {
                auto* button = new QRadioButton(control);
                button->setObjectName(Q(choice_name));
                connect(button, &QRadioButton::toggled, this, [this](bool on) {
                    if (on) Entry_Changed();
                });
                column->addWidget(button);
            }
        } else {
            if (setting.Type == Setting_Type::Choice) {
                auto* list = new QComboBox(this);
                for (std::size_t i = 0; i < setting.Choices.size(); ++i) list->addItem(QString());
                connect(list, &QComboBox::activated, this, [this] { Entry_Changed(); });
                control = list;
            } else {
                auto* box = new QLineEdit(this);
                if (setting.Type == Setting_Type::Secret) box->setEchoMode(QLineEdit::Password);
                connect(box, &QLineEdit::textEdited, this, [this] { Entry_Changed(); });
                control = box;
            }
            label = new QLabel(this);
            label->setBuddy(control);
            label->setObjectName(Q(setting.Name() + "Label"));
        }
        if (label) {
            Grid_->addWidget(label, row, 0);
            Grid_->addWidget(control, row, 1);
        } else {
            Grid_->addWidget(control, row, 0, 1, 2);
        }
        control->setObjectName(Q(setting.Name()));
        Controls_.push_back(control);
        Labels_.push_back(label);
    }
    Message_ = new QLabel(this);
    Message_->setObjectName(Q(name + "_Message"));
    Message_->setWordWrap(true);
    layout->addWidget(Message_);
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
    layout->addWidget(buttons);
}

int Settings_Dialog::Next_Row() {
    return Rows_++;
}

QPushButton* Settings_Dialog::Add_Button(const std::string& name, std::string text) {
    auto* button = new QPushButton(this);
    button->setObjectName(Q(name));
    Grid_->addWidget(button, Next_Row(), 1, Qt::AlignLeft);
    Added_Texts_.emplace_back(button, std::move(text));
    return button;
}

QLineEdit* Settings_Dialog::Add_Line(const std::string& name, std::string label_text) {
    const int row = Next_Row();
    auto* line = new QLineEdit(this);
    line->setObjectName(Q(name));
    line->setReadOnly(true);
    auto* label = new QLabel(this);
    label->setBuddy(line);
    label->setObjectName(Q(name + "Label"));
    Grid_->addWidget(label, row, 0);
    Grid_->addWidget(line, row, 1);
    Added_Texts_.emplace_back(label, std::move(label_text));
    return line;
}

QLabel* Settings_Dialog::Add_Note(const std::string& name) {
    auto* note = new QLabel(this);
    note->setObjectName(Q(name));
    note->setWordWrap(true);
    Grid_->addWidget(note, Next_Row(), 0, 1, 2);
    return note;
}

void Settings_Dialog::Grey_While_Off(const Setting& field, const Setting& check_mark) {
    Greyed_.emplace_back(&field, &check_mark);
    Update_Enabled();
}

QWidget* Settings_Dialog::Control(std::string_view name) const {
    for (std::size_t i = 0; i < Controls_.size(); ++i) {
        if (Form_.Fields()[i].Of->Name() == name) return Controls_[i];
    }
    return nullptr;
}

void Settings_Dialog::Update_Enabled() {
    for (std::size_t i = 0; i < Controls_.size(); ++i) {
        bool enabled = Form_.Fields()[i].Enabled;
        for (auto [field, check_mark] : Greyed_) {
            if (field != Form_.Fields()[i].Of) continue;
            for (const Settings_Field& other : Form_.Fields()) {
                if (other.Of == check_mark) enabled = enabled && other.On();
            }
        }
        Controls_[i]->setEnabled(enabled);
    }
}

void Settings_Dialog::Entry_Changed() {
    Take_Entries();
    Update_Enabled();
    if (Edited) Edited();
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
        std::vector<QRadioButton*> radios = Radio_Buttons(Controls_[i]);
        for (std::size_t c = 0; c < radios.size() && c < setting.Choices.size(); ++c)
            radios[c]->setText(tr(Setting_Value_Shown(setting, setting.Choices[c])));
        auto* text = qobject_cast<QLineEdit*>(Controls_[i]);
        if (text && !setting.Placeholder.empty())
            text->setPlaceholderText(tr(Operator_Text::Phrase(setting.Placeholder)));
    }
    for (auto& [widget, english] : Added_Texts_) {
        const QString shown = tr(Operator_Text::Phrase(english));
        if (auto* label = qobject_cast<QLabel*>(widget)) label->setText(shown);
        if (auto* button = qobject_cast<QPushButton*>(widget)) button->setText(shown);
    }
    static_cast<QPushButton*>(OK_)->setText(tr(Operator_Text::Phrase("OK")));
    static_cast<QPushButton*>(Cancel_)->setText(tr(Operator_Text::Phrase("Cancel")));
    Message_->setText(Form_.Message ? Q(Form_.Message->Text(Translate_)) : QString());
}

void Settings_Dialog::Show_Fields() {
    for (std::size_t i = 0; i < Controls_.size(); ++i) {
        const Settings_Field& field = Form_.Fields()[i];
        QWidget* control = Controls_[i];
        const auto& choices = field.Of->Choices;
        const auto chosen = std::find(choices.begin(), choices.end(), field.Text);
        if (auto* box = qobject_cast<QCheckBox*>(control)) {
            const QSignalBlocker quiet(box);
            box->setChecked(field.On());
        } else if (auto* list = qobject_cast<QComboBox*>(control)) {
            list->setCurrentIndex(
                chosen == choices.end() ? -1 : static_cast<int>(chosen - choices.begin()));
        } else if (auto* text = qobject_cast<QLineEdit*>(control)) {
            Show_Text(*text, field.Text);
        }
        std::vector<QRadioButton*> radios = Radio_Buttons(control);
        for (std::size_t c = 0; c < radios.size(); ++c) {
            const QSignalBlocker quiet(radios[c]);
            radios[c]->setAutoExclusive(false);
            radios[c]->setChecked(c < choices.size() && choices[c] == field.Text);
            radios[c]->setAutoExclusive(true);
        }
    }
    Update_Enabled();
}

void Settings_Dialog::Take_Entries() {
    for (std::size_t i = 0; i < Controls_.size(); ++i) {
        Settings_Field& field = Form_.Fields()[i];
        QWidget* control = Controls_[i];
        const auto& choices = field.Of->Choices;
        if (auto* box = qobject_cast<QCheckBox*>(control)) {
            Form_.Set_On(field, box->isChecked());
        } else if (auto* list = qobject_cast<QComboBox*>(control)) {
            const int at = list->currentIndex();
            Form_.Set_Text(field, at < 0 ? std::string() : choices[static_cast<std::size_t>(at)]);
        } else if (auto* text = qobject_cast<QLineEdit*>(control)) {
            Form_.Set_Text(field, text->text().toStdString());
        } else {
            std::string chosen;
            std::vector<QRadioButton*> radios = Radio_Buttons(control);
            for (std::size_t c = 0; c < radios.size() && c < choices.size(); ++c) {
                if (radios[c]->isChecked()) chosen = choices[c];
            }
            Form_.Set_Text(field, chosen);
        }
    }
}

bool Settings_Dialog::Take_Fields() {
    Take_Entries();
    if (Check) {
        bool each_keeps_its_rule = true;
        for (const Settings_Field& field : Form_.Fields()) {
            if (field.Enabled && !Setting_Value_Of_Text(*field.Of, field.Text))
                each_keeps_its_rule = false;
        }
        if (each_keeps_its_rule) {
            if (std::optional<Refusal> refusal = Check()) {
                Form_.Message = std::move(refusal->Said);
                Form_.Bad_Field = Form_.Fields().size();
                for (std::size_t i = 0; i < Form_.Fields().size(); ++i) {
                    if (Form_.Fields()[i].Of->Name() == refusal->Field) Form_.Bad_Field = i;
                }
                return false;
            }
        }
    }
    return Form_.OK();
}

int Settings_Dialog::Open() {
    Form_.Typing = Operator_Style();  // "0,32" where the language writes a decimal comma
    Form_.Load();
    Show_Fields();
    Apply_Language();
    return exec();
}

}  // namespace corvanel
