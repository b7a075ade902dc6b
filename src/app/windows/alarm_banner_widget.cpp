// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/windows/alarm_banner_widget.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

#include "language/translate.h"
#include "run/alarm_banner.h"
#include "ui/widgets.h"

namespace corvanel {

Alarm_Banner_Widget::Alarm_Banner_Widget(const Alarm_Banner& banner, Actions actions,
                                         QWidget* parent)
    : QFrame(parent), Banner_(banner) {
    setObjectName("Alarm_Banner");
    setAccessibleName("Alarm");
    setFrameShape(QFrame::StyledPanel);
    Alarm_Text = new QLabel(this);
    Alarm_Text->setObjectName("Alarm_Text");
    QFont bold = Alarm_Text->font();
    bold.setBold(true);
    bold.setPointSize(bold.pointSize() + 3);
    Alarm_Text->setFont(bold);
    Alarm_Text->setWordWrap(true);
    Continue_Now = Button(this, "Continue_Now", "Continue now");
    Do_Not_Continue = Button(this, "Do_Not_Continue", "Do not continue");
    Acknowledge = Button(this, "Acknowledge", "Acknowledge");
    auto* row = new QHBoxLayout(this);
    row->addWidget(Alarm_Text, 1);
    for (auto [button, action] : {std::pair{Continue_Now, actions.Continue_Now},
                                  std::pair{Do_Not_Continue, actions.Do_Not_Continue},
                                  std::pair{Acknowledge, actions.Acknowledge}}) {
        row->addWidget(button);
        connect(button, &QPushButton::clicked, this, [action] { action(); });
    }
    hide();
}

void Alarm_Banner_Widget::Refresh() {
    if (Shown_Language_ != CurrentLanguage) {
        Shown_Language_ = CurrentLanguage;
        Acknowledge->setText(Q(TranslateText("Acknowledge")));
        Continue_Now->setText(Q(TranslateText("Continue now")));
        Do_Not_Continue->setText(Q(TranslateText("Do not continue")));
    }
    QString text = Q(Banner_.Text());
    text.replace("\r\n", "\n");
    if (Alarm_Text->text() != text) Alarm_Text->setText(text);
    const Banner_Look look = Banner_.Look();
    Show_Style(*this, look == Banner_Look::Alarm ? "#Alarm_Banner { background-color: #d00000; } "
                                                  "#Alarm_Text { color: white; }"
                      : look == Banner_Look::Acknowledged
                          ? "#Alarm_Banner { background-color: #f0a020; } "
                            "#Alarm_Text { color: black; }"
                          : "#Alarm_Banner { background-color: #fff3c4; }");
    Acknowledge->setVisible(Banner_.Acknowledge_Offered());
    Continue_Now->setVisible(Banner_.Continuation_Offered());
    Do_Not_Continue->setVisible(Banner_.Continuation_Offered());
    setVisible(Banner_.Visible());
}

}  // namespace corvanel
