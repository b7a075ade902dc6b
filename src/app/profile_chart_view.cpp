#include "app/profile_chart_view.h"

#include <QChart>
#include <QLineSeries>
#include <QValueAxis>
#include <algorithm>

namespace corvanel {

Profile_Chart_View::Profile_Chart_View(const char* object_name, QWidget* parent)
    : QChartView(new QChart, parent) {
    setObjectName(object_name);
    setRenderHint(QPainter::Antialiasing);
    Series_ = new QLineSeries;
    chart()->addSeries(Series_);
    chart()->legend()->hide();
    X_Axis_ = new QValueAxis;
    Y_Axis_ = new QValueAxis;
    chart()->addAxis(X_Axis_, Qt::AlignBottom);
    chart()->addAxis(Y_Axis_, Qt::AlignLeft);
    Series_->attachAxis(X_Axis_);
    Series_->attachAxis(Y_Axis_);
}

void Profile_Chart_View::Show_Points(const std::vector<std::pair<double, double>>& points) {
    if (Shown_Once_ && points == Shown_) return;
    Shown_ = points;
    Shown_Once_ = true;
    QList<QPointF> shown;
    double x_min = 0, x_max = 1, y_min = 0, y_max = 1;
    bool first = true;
    for (const auto& [x, y] : points) {
        shown.append(QPointF(x, y));
        if (first) {
            x_min = x_max = x;
            y_min = y_max = y;
            first = false;
        }
        x_min = std::min(x_min, x);
        x_max = std::max(x_max, x);
        y_min = std::min(y_min, y);
        y_max = std::max(y_max, y);
    }
    Series_->replace(shown);
    if (x_max <= x_min) x_max = x_min + 1;
    if (y_max <= y_min) y_max = y_min + 1;
    X_Axis_->setRange(x_min, x_max);
    Y_Axis_->setRange(std::min(0.0, y_min), y_max * 1.05);
}

}  // namespace corvanel
