// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/windows/firing_change_window.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "language/translate.h"
#include "ui/widgets.h"

namespace corvanel {

namespace {

QDoubleSpinBox* Number_Box(QDialog& dialog, const char* name, double low, double high, double value,
                           int decimals) {
    auto* box = new QDoubleSpinBox(&dialog);
    box->setObjectName(name);
    box->setRange(low, high);
    box->setDecimals(decimals);
    box->setValue(value);
    return box;
}

}  // namespace

std::optional<Firing_Change> Firing_Change_Window::Ask(const Firing_Change& proposed,
                                                       const std::string& question,
                                                       const std::string& scale) {
    QDialog dialog(Parent_);
    dialog.setObjectName("Firing_Change");
    dialog.setWindowTitle(Q(TranslateText("Change the firing")));
    auto* layout = new QVBoxLayout(&dialog);
    auto* asked = new QLabel(Q(question), &dialog);
    asked->setObjectName("Question");
    asked->setWordWrap(true);
    layout->addWidget(asked);

    const QString degrees = Q(" °" + scale);
    auto* form = new QFormLayout;
    QDoubleSpinBox *minutes = nullptr, *end = nullptr, *rate = nullptr;
    switch (proposed.What) {
        case Firing_Change::Kind::Skip:
            break;
        case Firing_Change::Kind::Extend_Hold:
            minutes = Number_Box(dialog, "Minutes", 1, 1440, proposed.Minutes, 0);
            form->addRow(Q(TranslateText("Minutes to add")), minutes);
            break;
        case Firing_Change::Kind::Change_Segment:
            end = Number_Box(dialog, "End_Temperature", -999, 9999, proposed.End_Temp, 1);
            end->setSuffix(degrees);
            rate = Number_Box(dialog, "Rate", 1, 9999, proposed.Rate, 0);
            rate->setSuffix(degrees + "/h");
            form->addRow(Q(TranslateText("End temperature")), end);
            form->addRow(Q(TranslateText("Rate an hour")), rate);
            break;
    }
    layout->addLayout(form);
    layout->addWidget(Ok_Cancel_Buttons(dialog, [] { return true; }, [] {}));
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;

    Firing_Change entered = proposed;
    if (minutes) entered.Minutes = minutes->value();
    if (end) entered.End_Temp = end->value();
    if (rate) entered.Rate = rate->value();
    return entered;
}

}  // namespace corvanel
