// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/windows/alarm_banner_widget.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

#include "language/translate.h"
#include "run/alarm_banner.h"
#include "ui/widgets.h"

namespace corvanel {

Alarm_Banner_Widget::Alarm_Banner_Widget(const Alarm_Banner& banner,
                                         std::function<void()> acknowledge, QWidget* parent)
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
    Acknowledge = Button(this, "Acknowledge", "Acknowledge");
    auto* row = new QHBoxLayout(this);
    row->addWidget(Alarm_Text, 1);
    row->addWidget(Acknowledge);
    connect(Acknowledge, &QPushButton::clicked, this, [acknowledge] { acknowledge(); });
    hide();
}

void Alarm_Banner_Widget::Refresh() {
    if (Shown_Language_ != CurrentLanguage) {
        Shown_Language_ = CurrentLanguage;
        Acknowledge->setText(Q(TranslateText("Acknowledge")));
    }
    QString text = Q(Banner_.Text());
    text.replace("\r\n", "\n");
    if (Alarm_Text->text() != text) Alarm_Text->setText(text);
    // A style sheet costs a re-polish: it is set only when the look changes.
    const Banner_Look look = Banner_.Look();
    if (Shown_Look_ != static_cast<int>(look)) {
        Shown_Look_ = static_cast<int>(look);
        setStyleSheet(look == Banner_Look::Alarm ? "#Alarm_Banner { background-color: #d00000; } "
                                                   "#Alarm_Text { color: white; }"
                      : look == Banner_Look::Acknowledged
                          ? "#Alarm_Banner { background-color: #f0a020; } "
                            "#Alarm_Text { color: black; }"
                          : "#Alarm_Banner { background-color: #fff3c4; }");
    }
    Acknowledge->setVisible(Banner_.Acknowledge_Offered());
    setVisible(Banner_.Visible());
}

}  // namespace corvanel
