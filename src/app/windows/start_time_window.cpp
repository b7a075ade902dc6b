// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/windows/start_time_window.h"

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QTimeEdit>
#include <QVBoxLayout>

#include "language/translate.h"
#include "ui/widgets.h"

namespace corvanel {

std::optional<Start_Time_Answer> Start_Time_Window::Ask_Start_Time(const std::string& question,
                                                                   std::pair<int, int> proposed) {
    QDialog dialog(Parent_);
    dialog.setObjectName("Start_Later");
    dialog.setWindowTitle(Q(TranslateText("Start later")));
    auto* layout = new QVBoxLayout(&dialog);
    auto* asked = new QLabel(Q(question), &dialog);
    asked->setWordWrap(true);
    layout->addWidget(asked);
    auto* time = new QTimeEdit(QTime(proposed.first, proposed.second), &dialog);
    time->setObjectName("Start_Time");
    time->setDisplayFormat("HH:mm");
    asked->setBuddy(time);
    layout->addWidget(time);
    // What the time is: the start, or when the kiln should be ready (the start worked out).
    auto* meaning = new QComboBox(&dialog);
    meaning->setObjectName("Start_Time_Meaning");
    meaning->addItem(Q(TranslateText("The firing starts at this time")));
    meaning->addItem(Q(TranslateText("The kiln reaches its top temperature by this time")));
    meaning->addItem(Q(TranslateText("The firing is done by this time")));
    layout->addWidget(meaning);
    layout->addWidget(Ok_Cancel_Buttons(
        dialog, [] { return true; }, [] {}));
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return Start_Time_Answer{time->time().hour(), time->time().minute(),
                             static_cast<Start_Time_Meaning>(meaning->currentIndex())};
}

}  // namespace corvanel
