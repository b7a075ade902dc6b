// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/windows/large_readouts_view.h"

#include <QGridLayout>
#include <QLabel>

#include "language/translate.h"
#include "run/live_firing_view.h"
#include "ui/widgets.h"

namespace corvanel {

namespace {

// Large enough to read from three metres; the state word a little larger still.
constexpr int Value_Points = 30;
constexpr int Word_Points = 36;

QLabel* Large_Label(QWidget* parent, const char* name, int points) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    QFont font = label->font();
    font.setPointSize(points);
    font.setBold(true);
    label->setFont(font);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

QLabel* Caption(QWidget* parent, const char* name) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

}  // namespace

Large_Readouts_View::Large_Readouts_View(QWidget* parent) : QFrame(parent) {
    setObjectName("Large_Readouts");
    setFrameShape(QFrame::StyledPanel);
    State_Word = Large_Label(this, "Large_State_Word", Word_Points);
    Measured = Large_Label(this, "Large_Measured", Value_Points);
    Set_Value = Large_Label(this, "Large_Set_Value", Value_Points);
    Time_Left = Large_Label(this, "Large_Time_Left", Value_Points);
    Finishes_At = Large_Label(this, "Large_Finishes_At", Value_Points);
    Measured_Caption = Caption(this, "Large_Measured_Caption");
    Set_Value_Caption = Caption(this, "Large_Set_Value_Caption");
    Time_Left_Caption = Caption(this, "Large_Time_Left_Caption");
    Finishes_At_Caption = Caption(this, "Large_Finishes_At_Caption");
    Reading_Note = Caption(this, "Large_Reading_Note");
    auto* grid = new QGridLayout(this);
    grid->setVerticalSpacing(0);
    grid->addWidget(State_Word, 0, 0, 3, 1);
    int column = 1;
    for (auto [caption, value] :
         {std::pair{Measured_Caption, Measured}, std::pair{Set_Value_Caption, Set_Value},
          std::pair{Time_Left_Caption, Time_Left}, std::pair{Finishes_At_Caption, Finishes_At}}) {
        grid->addWidget(caption, 0, column);
        grid->addWidget(value, 1, column);
        grid->setColumnStretch(column, 1);
        ++column;
    }
    grid->addWidget(Reading_Note, 2, 1);
    grid->setColumnStretch(0, 1);
}

void Large_Readouts_View::Refresh(const Live_Firing_View& view) {
    if (Shown_Language_ != CurrentLanguage) {
        Shown_Language_ = CurrentLanguage;
        Measured_Caption->setText(Q(TranslateText("Kiln temperature")));
        Set_Value_Caption->setText(Q(TranslateText("Set Value")));
        Time_Left_Caption->setText(Q(TranslateText("Time Left")));
        Finishes_At_Caption->setText(Q(TranslateText("Finishes At")));
    }
    auto show = [](QLabel& label, const std::string& text) {
        const QString shown = text.empty() ? QStringLiteral("\u2013") : Q(text);
        if (label.text() != shown) label.setText(shown);
    };
    // A word shared with the history's outcomes ("finished") stands alone here: a capital.
    QString word = view.State_Word().empty() ? QStringLiteral("\u2013") : Q(view.State_Word());
    word[0] = word[0].toUpper();
    if (State_Word->text() != word) State_Word->setText(word);
    show(*Measured, view.Measured_Shown());
    show(*Set_Value, view.Set_Value_Shown());
    show(*Time_Left, view.Time_Left());
    show(*Finishes_At, view.Finishes_At());
    if (Reading_Note->text() != Q(view.Reading_Note()))
        Reading_Note->setText(Q(view.Reading_Note()));
    Reading_Note->setVisible(!view.Reading_Note().empty());
    // A number without a fresh reading behind it is greyed, as Process Temp is.
    Show_Style(*Measured, view.Reading_Live() ? "" : "color: #8a8a8a;");
}

}  // namespace corvanel
