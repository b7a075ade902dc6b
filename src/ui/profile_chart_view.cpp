// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/profile_chart_view.h"

#include <QChart>
#include <QLineSeries>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

#include "language/translate.h"
#include "run/firing_chart.h"
#include "ui/widgets.h"

namespace corvanel {

namespace {

// The axis widened from low and high to whole round steps, with a label at each step.
void Round_Axis(QValueAxis& axis, double low, double high, int most_ticks) {
    if (!(high > low)) high = low + 1;
    const double step = Round_Step(high - low, most_ticks);
    if (step == 0) return;
    low = std::floor(low / step + 1e-9) * step;
    high = std::ceil(high / step - 1e-9) * step;
    axis.setRange(low, high);
    axis.setTickCount(static_cast<int>(std::lround((high - low) / step)) + 1);
    axis.setLabelFormat(step >= 1 ? "%.0f" : step >= 0.1 ? "%.1f" : "%.2f");
}

}  // namespace

QList<QPointF> Profile_Chart_View::Points_Of(const std::vector<std::pair<double, double>>& points,
                                             std::size_t from) {
    QList<QPointF> shown;
    shown.reserve(static_cast<qsizetype>(points.size() - std::min(from, points.size())));
    for (std::size_t i = from; i < points.size(); ++i) {
        shown.append(QPointF(points[i].first, points[i].second));
    }
    return shown;
}

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

void Profile_Chart_View::Fit_Axes(double x_min, double x_max, double y_min, double y_max) {
    Round_Axis(*X_Axis_, x_min, x_max, 10);
    // A little headroom, so a hold at the top does not run along the frame.
    Round_Axis(*Y_Axis_, std::min(0.0, y_min), y_max + 0.02 * (y_max - std::min(0.0, y_min)), 8);
}

void Profile_Chart_View::Title_Axes(const std::string& time_unit, const std::string& temp_scale) {
    const QString time = Q(TranslateText(Time_Axis_Title(time_unit)));
    const QString temperature = Q(TranslateText(Temperature_Axis_Title(temp_scale)));
    if (X_Axis_->titleText() != time) X_Axis_->setTitleText(time);
    if (Y_Axis_->titleText() != temperature) Y_Axis_->setTitleText(temperature);
}

void Profile_Chart_View::Show_Points(const std::vector<std::pair<double, double>>& points) {
    if (Shown_Once_ && points == Shown_) return;
    Shown_ = points;
    Shown_Once_ = true;
    double x_min = 0, x_max = 1, y_min = 0, y_max = 1;
    bool first = true;
    for (const auto& [x, y] : points) {
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
    Series_->replace(Points_Of(points, 0));
    Fit_Axes(x_min, x_max, y_min, y_max);
}

}  // namespace corvanel
