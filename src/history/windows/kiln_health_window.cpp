// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/windows/kiln_health_window.h"

#include <QComboBox>
#include <QDate>
#include <QFontMetricsF>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "common/text.h"
#include "language/translate.h"
#include "run/firing_chart.h"
#include "ui/settings_dialog.h"
#include "ui/widgets.h"

namespace corvanel {

namespace {

QString T(const char* english) {
    return Q(TranslateText(english));
}

QString Day_Label(long long seconds) {
    const Date_Time day = Date_Time_Of_Seconds(seconds);
    return QDate(day.Year, day.Month, day.Day).toString(Qt::ISODate);
}

}  // namespace

Health_Trend_Widget::Health_Trend_Widget(const Kiln_Health_Model& model, QWidget* parent)
    : QWidget(parent), Model_(model) {
    setObjectName("Health_Trend");
    setMinimumSize(500, 260);
}

void Health_Trend_Widget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), Qt::white);
    const QRectF area = QRectF(rect()).adjusted(70, 30, -20, -40);
    painter.setPen(Qt::black);
    painter.drawText(QRectF(rect()).adjusted(8, 4, -8, 0), Qt::AlignTop | Qt::AlignHCenter,
                     Q(Model_.Measure_Title));
    if (Model_.Trend.empty()) {
        painter.drawText(area, Qt::AlignCenter | Qt::TextWordWrap,
                         T("No firing has this figure yet: it appears once a firing heats "
                           "through this range at full power."));
        return;
    }
    double low = Model_.Trend.front().Value, high = low;
    long long first = Model_.Trend.front().Day, last = Model_.Trend.back().Day;
    for (const auto& point : Model_.Trend)
        low = std::min(low, point.Value), high = std::max(high, point.Value);
    for (const auto& event : Model_.Events)
        first = std::min(first, event.Day), last = std::max(last, event.Day);
    if (Model_.Baseline)
        low = std::min(low, *Model_.Baseline), high = std::max(high, *Model_.Baseline);
    const double margin = std::max((high - low) * 0.1, std::abs(high) * 0.05 + 1);
    low -= margin, high += margin;
    const double span_days = std::max<double>(static_cast<double>(last - first), 86400);
    auto x = [&](long long day) {
        return area.left() + area.width() * static_cast<double>(day - first) / span_days;
    };
    auto y = [&](double value) {
        return area.bottom() - area.height() * (value - low) / (high - low);
    };

    painter.setPen(QPen(Qt::gray, 1));
    painter.drawRect(area);
    for (double mark : Axis_Ticks(low, high, 6)) {
        painter.drawText(QRectF(0, y(mark) - 10, area.left() - 6, 20),
                         Qt::AlignRight | Qt::AlignVCenter,
                         Q(Format_Number(std::round(mark * 10) / 10)));
    }
    painter.drawText(QRectF(area.left(), area.bottom() + 4, 120, 20), Qt::AlignLeft,
                     Day_Label(first));
    painter.drawText(QRectF(area.right() - 120, area.bottom() + 4, 120, 20), Qt::AlignRight,
                     Day_Label(last));
    // Events: a dotted upright line and what was done.
    painter.setPen(QPen(QColor(150, 60, 0), 1, Qt::DotLine));
    const QFontMetricsF metrics(painter.font());
    double row = 0;  // each label a line lower than the one before, so none covers another
    for (const auto& event : Model_.Events) {
        const double at = x(event.Day);
        painter.drawLine(QPointF(at, area.top()), QPointF(at, area.bottom()));
        // Whole: on the line's left where the right would run past the widget.
        const QString text = Q(event.Text);
        const double width = metrics.horizontalAdvance(text);
        const double left = at + 3 + width <= rect().right() - 2 ? at + 3 : at - 3 - width;
        painter.drawText(QPointF(std::max(2.0, left), area.top() + 14 + row), text);
        row = row >= 2 * metrics.height() ? 0 : row + metrics.height();
    }
    if (Model_.Baseline) {
        // From the baseline's first firing on: the firings before it are not read against it.
        double from = area.left();
        for (const auto& point : Model_.Trend) {
            if (point.In_Baseline) {
                from = x(point.Day);
                break;
            }
        }
        painter.setPen(QPen(QColor(0, 110, 0), 1.5, Qt::DashLine));
        painter.drawLine(QPointF(from, y(*Model_.Baseline)),
                         QPointF(area.right(), y(*Model_.Baseline)));
        painter.drawText(QPointF(from + 3, y(*Model_.Baseline) - 4), T("baseline"));
    }
    // The firings: joined by a line, the baseline's firings filled.
    QPainterPath line;
    for (std::size_t i = 0; i < Model_.Trend.size(); ++i) {
        const QPointF at(x(Model_.Trend[i].Day), y(Model_.Trend[i].Value));
        i == 0 ? line.moveTo(at) : line.lineTo(at);
    }
    painter.setPen(QPen(QColor(0, 70, 160), 2));
    painter.drawPath(line);
    for (const auto& point : Model_.Trend) {
        painter.setBrush(point.In_Baseline ? QBrush(QColor(0, 110, 0)) : QBrush(Qt::white));
        painter.drawEllipse(QPointF(x(point.Day), y(point.Value)), 4, 4);
    }
}

Kiln_Health_Window::Kiln_Health_Window(Program_Paths paths, Settings_Store& settings,
                                       QWidget* parent)
    : QWidget(parent, Qt::Window), Settings_Form_(settings, Kiln_Health_Setting_List()) {
    Model_ = std::make_unique<Kiln_Health_Model>(paths, settings);
    setObjectName("Kiln_Health");
    Health_Readings = Message_View(this, "Health_Readings");
    Health_Readings->setMaximumHeight(80);
    Health_Readings->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    Health_Readings->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Health_Measure_Choice = new QComboBox(this);
    Health_Measure_Choice->setObjectName("Health_Measure_Choice");
    Health_Trend = new Health_Trend_Widget(*Model_, this);
    Event_Kind = new QComboBox(this);
    Event_Kind->setObjectName("Event_Kind");
    Event_Day = Text_Box(this, "Event_Day", nullptr, false);
    Event_Day->setText(QDate::currentDate().toString(Qt::ISODate));
    Event_Note = Text_Box(this, "Event_Note", nullptr, false);
    MarkEvent = Button(this, "MarkEvent", "Mark Event");
    HealthSettings = Button(this, "HealthSettings", "Kiln Health Settings");
    Settings_Window_ = new Settings_Dialog(Settings_Form_, "KilnHealth", "Kiln Health Settings",
                                           Translate_Phrase, this);
    Settings_Window_->setObjectName("Kiln_Health_Settings");
    Health_Messages = Message_View(this, "Health_Messages");
    Health_Messages->setMaximumHeight(70);

    auto* events = new QHBoxLayout;
    events->addWidget(Event_Kind);
    events->addWidget(Event_Day);
    events->addWidget(Event_Note, 1);
    events->addWidget(MarkEvent);
    events->addWidget(HealthSettings);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Health_Readings);
    layout->addWidget(Health_Measure_Choice);
    layout->addWidget(Health_Trend, 1);
    layout->addLayout(events);
    layout->addWidget(Health_Messages);
    resize(900, 640);

    connect(Health_Measure_Choice, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index < 0) return;
        Model_->Measure_Chosen(static_cast<Health_Measure>(index));
        Refresh();
    });
    connect(MarkEvent, &QPushButton::clicked, this, [this] {
        Model_->Mark_Event_Click(
            Kiln_Event_Kinds[static_cast<std::size_t>(std::max(0, Event_Kind->currentIndex()))],
            Event_Day->text().trimmed().toStdString(), Event_Note->text().toStdString());
        Refresh();
    });
    connect(HealthSettings, &QPushButton::clicked, this, [this] {
        if (Settings_Window_->Open() == QDialog::Accepted) Open();
    });
}

Kiln_Health_Window::~Kiln_Health_Window() = default;

void Kiln_Health_Window::Set_Captions() {
    setWindowTitle(T("Kiln Health"));
    MarkEvent->setText(T("Mark Event"));
    HealthSettings->setText(T("Kiln Health Settings"));
    Event_Note->setPlaceholderText(T("Note (optional)"));
    QSignalBlocker quiet_kind(Event_Kind);
    Event_Kind->clear();
    for (Kiln_Event_Kind kind : Kiln_Event_Kinds) Event_Kind->addItem(T(Kiln_Event_Name(kind)));
}

void Kiln_Health_Window::Open() {
    Show_Model();
    show();
    raise();
    activateWindow();
}

void Kiln_Health_Window::Apply_Language() {
    if (isVisible()) Show_Model();  // opening sets them all
}

void Kiln_Health_Window::Show_Model() {
    Set_Captions();
    Model_->Form_Load();
    {
        QSignalBlocker quiet(Health_Measure_Choice);
        Health_Measure_Choice->clear();
        for (std::size_t m = 0; m < Health_Measure_Count; ++m) {
            Health_Measure_Choice->addItem(
                Q(Measure_Name(static_cast<Health_Measure>(m), Model_->Scale)
                      .Text(Translate_Phrase)));
        }
        Health_Measure_Choice->setCurrentIndex(static_cast<int>(Model_->Measure));
    }
    Refresh();
}

void Kiln_Health_Window::Refresh() {
    Show_Message_Lines(*Health_Readings, Shown_Readings_, Model_->Readings);
    Show_Message_Lines(*Health_Messages, Shown_Messages_, Model_->Messages);
    Health_Trend->update();
}

}  // namespace corvanel
