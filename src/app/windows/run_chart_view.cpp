// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/windows/run_chart_view.h"

#include <QChart>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QScatterSeries>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

#include "language/translate.h"
#include "run/live_firing_view.h"
#include "ui/widgets.h"

namespace corvanel {

namespace {

// One new point of a trace onto its drawing, as Drawn_Points would have drawn it.
void Draw_Point(QLineSeries& series, Trace_Points& drawn, const std::pair<double, double>& point,
                double span) {
    const QPointF shown(point.first, point.second);
    if (Replaces_Last_Drawn(drawn, point, span)) {
        drawn.back() = point;
        series.replace(static_cast<int>(series.count() - 1), shown);
    } else {
        drawn.push_back(point);
        series.append(shown);
    }
}

}  // namespace

void Run_Chart_View::Close_Measured_Part() {
    if (Measured_->count() == 0) return;
    // The part before a gap becomes a line of its own, without a legend entry.
    auto* part = new QLineSeries;
    part->setPen(Measured_->pen());
    part->replace(Measured_->points());
    chart()->addSeries(part);
    part->attachAxis(X_Axis_);
    part->attachAxis(Y_Axis_);
    for (QLegendMarker* marker : chart()->legend()->markers(part)) marker->setVisible(false);
    Measured_Parts_.push_back(part);
    Measured_->clear();
}

void Run_Chart_View::Clear_Measured_Parts() {
    for (QLineSeries* part : Measured_Parts_) {
        chart()->removeSeries(part);
        delete part;
    }
    Measured_Parts_.clear();
}

void Run_Chart_View::Draw_Measured(const std::pair<double, double>& point, double span) {
    if (std::isnan(point.second)) {
        Drawn_Measured_.push_back(point);
        Close_Measured_Part();
        return;
    }
    Draw_Point(*Measured_, Drawn_Measured_, point, span);
}

Run_Chart_View::Run_Chart_View(const char* object_name, QWidget* parent)
    : Profile_Chart_View(object_name, parent) {
    Measured_ = new QLineSeries;
    Set_Value_ = new QLineSeries;
    Now_Line_ = new QLineSeries;
    Original_ = new QLineSeries;
    Forecast_ = new QLineSeries;
    Changes_ = new QScatterSeries;
    // Okabe-Ito colours, and a dash of its own for each line: apart for colour-blind eyes
    // and on a grey printout too.
    Series_->setPen(QPen(QColor(0x33, 0x33, 0x33), 2, Qt::DashLine));
    Set_Value_->setPen(QPen(QColor(230, 159, 0), 2, Qt::DashDotLine));
    Measured_->setPen(QPen(QColor(0, 114, 178), 3, Qt::SolidLine));
    Now_Line_->setPen(QPen(QColor(0x55, 0x55, 0x55), 1, Qt::DotLine));
    // The plan before the operator changed it: faint, behind the plan followed.
    Original_->setPen(QPen(QColor(0x99, 0x99, 0x99), 1, Qt::DashLine));
    // What the kiln's history foresees: the measured line's colour, dotted, thin.
    Forecast_->setPen(QPen(QColor(0, 114, 178), 2, Qt::DotLine));
    Changes_->setMarkerShape(QScatterSeries::MarkerShapeRectangle);
    Changes_->setMarkerSize(9);
    Changes_->setColor(QColor(204, 121, 167));
    for (QXYSeries* series : std::initializer_list<QXYSeries*>{Set_Value_, Measured_, Now_Line_,
                                                               Original_, Forecast_, Changes_}) {
        chart()->addSeries(series);
        series->attachAxis(X_Axis_);
        series->attachAxis(Y_Axis_);
    }
    Now_Line_->setVisible(false);
    Original_->setVisible(false);
    Forecast_->setVisible(false);
    Changes_->setVisible(false);
    chart()->legend()->show();
    chart()->legend()->setAlignment(Qt::AlignBottom);
    // Each entry drawn as its line, dash and all, not as a coloured square.
    chart()->legend()->setMarkerShape(QLegend::MarkerShapeFromSeries);
    for (QLegendMarker* marker : chart()->legend()->markers(Now_Line_)) marker->setVisible(false);
    Show_Names();
}

void Run_Chart_View::Show_Names() {
    const QString plan = Q(TranslateText("Profile")), measured = Q(TranslateText("Measured")),
                  set_value = Q(TranslateText("Set Value"));
    if (Series_->name() != plan) Series_->setName(plan);
    if (Measured_->name() != measured) Measured_->setName(measured);
    if (Set_Value_->name() != set_value) Set_Value_->setName(set_value);
    Original_->setName(Q(TranslateText("Profile before the change")));
    Changes_->setName(Q(TranslateText("Changed by the operator")));
    Forecast_->setName(Q(TranslateText("Likely, from this kiln's firings")));
}

void Run_Chart_View::Show_Title(const std::string& title, const std::string& hint) {
    const bool hint_shown = !hint.empty();
    const QString shown = Q(hint_shown ? hint : title);
    if (chart()->title() != shown) chart()->setTitle(shown);
    if (hint_shown == Hint_Shown_) return;
    Hint_Shown_ = hint_shown;
    for (QAbstractAxis* axis :
         {static_cast<QAbstractAxis*>(X_Axis_), static_cast<QAbstractAxis*>(Y_Axis_)})
        axis->setVisible(!hint_shown);
    for (QLineSeries* series : {Series_, Set_Value_, Measured_}) series->setVisible(!hint_shown);
    chart()->legend()->setVisible(!hint_shown);
}

void Run_Chart_View::Show_Firing(const std::vector<std::pair<double, double>>& plan,
                                 const std::vector<std::pair<double, double>>* original,
                                 const Live_Firing_View& view) {
    bool refit = false;
    const std::vector<std::pair<double, double>> no_original;
    const auto& before = original ? *original : no_original;
    if (before != Shown_Original_) {
        Shown_Original_ = before;
        Original_->replace(Points_Of(before, First_Drawn_Plan_Point(before)));
        Original_->setVisible(!before.empty());
        refit = true;
    }
    if (view.Forecast() != Shown_Forecast_) {
        Shown_Forecast_ = view.Forecast();
        Forecast_->replace(Points_Of(Shown_Forecast_, 0));
        Forecast_->setVisible(!Shown_Forecast_.empty());
        Forecast_X_Max_ = Shown_Forecast_.empty() ? 0 : Shown_Forecast_.back().first;
        refit = true;
    }
    if (view.Changes().size() != Shown_Changes_) {
        Shown_Changes_ = view.Changes().size();
        Changes_->replace(Points_Of(view.Changes(), 0));
        Changes_->setVisible(Shown_Changes_ > 0);
    }
    if (!Shown_Once_ || plan != Shown_) {
        Shown_ = plan;
        Shown_Once_ = true;
        const std::size_t from = First_Drawn_Plan_Point(plan);
        Series_->replace(Points_Of(plan, from));
        Plan_X_Min_ = Plan_X_Max_ = Plan_Y_Max_ = 0;
        for (std::size_t i = from; i < plan.size(); ++i) {
            Plan_X_Min_ = std::min(Plan_X_Min_, plan[i].first);
            Plan_X_Max_ = std::max(Plan_X_Max_, plan[i].first);
            Plan_Y_Max_ = std::max(Plan_Y_Max_, plan[i].second);
        }
        refit = true;
    }

    // The traces: all of them after a clear or rebuild, or once the drawing has grown past
    // its most points (then with a wider span), otherwise only the new points.
    const Trace_Points& measured = view.Measured();
    const Trace_Points& set_value = view.Set_Value();
    std::size_t from = Shown_Points_;
    // The set value, never a gap, sets the span for both.
    if (view.Trace_Generation() != Shown_Generation_ || measured.size() < Shown_Points_ ||
        Drawn_Set_Value_.size() > Most_Drawn_Points) {
        Shown_Generation_ = view.Trace_Generation();
        from = 0;
        Trace_X_Max_ = Trace_Y_Min_ = Trace_Y_Max_ = 0;
        Span_ = Drawing_Span(set_value, view.Minute());
        Drawn_Set_Value_ = Drawn_Points(set_value, Span_);
        Set_Value_->replace(Points_Of(Drawn_Set_Value_, 0));
        Clear_Measured_Parts();
        Measured_->clear();
        Drawn_Measured_.clear();
        for (const auto& point : Drawn_Points(measured, Span_)) Draw_Measured(point, Span_);
        refit = true;
    } else {
        for (std::size_t i = from; i < measured.size(); ++i) {
            Draw_Measured(measured[i], Span_);
            Draw_Point(*Set_Value_, Drawn_Set_Value_, set_value[i], Span_);
        }
    }
    for (std::size_t i = from; i < measured.size(); ++i) {
        // A gap has no measured value: the set value alone counts there.
        const double highest = std::fmax(measured[i].second, set_value[i].second);
        const double lowest = std::fmin(measured[i].second, set_value[i].second);
        if (measured[i].first > Trace_X_Max_ || highest > Trace_Y_Max_ || lowest < Trace_Y_Min_) {
            Trace_X_Max_ = std::max(Trace_X_Max_, measured[i].first);
            Trace_Y_Max_ = std::max(Trace_Y_Max_, highest);
            Trace_Y_Min_ = std::min(Trace_Y_Min_, lowest);
            refit = true;
        }
    }
    Shown_Points_ = measured.size();

    const double x_max = std::max({Plan_X_Max_, Trace_X_Max_, Forecast_X_Max_});
    const double y_max = std::max(Plan_Y_Max_, Trace_Y_Max_);
    if (refit) Fit_Axes(Plan_X_Min_, x_max, Trace_Y_Min_, y_max);

    if (view.Now_Shown() != Now_Shown_ || view.Now_Elapsed() != Now_X_ || refit) {
        Now_Shown_ = view.Now_Shown();
        Now_X_ = view.Now_Elapsed();
        Now_Line_->replace({QPointF(Now_X_, Y_Axis_->min()), QPointF(Now_X_, Y_Axis_->max())});
        Now_Line_->setVisible(Now_Shown_);
        // The marker is no series of its own to the operator: no legend entry.
        for (QLegendMarker* marker : chart()->legend()->markers(Now_Line_)) {
            marker->setVisible(false);
        }
    }

    const QString time_title = Q(view.Time_Axis_Title());
    const QString temperature_title = Q(view.Temperature_Axis_Title());
    if (X_Axis_->titleText() != time_title) X_Axis_->setTitleText(time_title);
    if (Y_Axis_->titleText() != temperature_title) Y_Axis_->setTitleText(temperature_title);
}

}  // namespace corvanel
