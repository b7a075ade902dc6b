// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QChartView>
#include <utility>
#include <vector>

class QLineSeries;
class QValueAxis;

namespace corvanel {

// A profile drawn as one line through its points (time across, temperature up), as the
// run window and the editor show it. Redraws only when the points change.
class Profile_Chart_View : public QChartView {
  public:
    Profile_Chart_View(const char* object_name, QWidget* parent);

    // Plots the points, the axes fitted to them (the temperature axis from 0).
    void Show_Points(const std::vector<std::pair<double, double>>& points);
    // Titles both axes in the operator's language for the profile's time unit ("M", "H")
    // and scale ("F", "C").
    void Title_Axes(const std::string& time_unit, const std::string& temp_scale);

  protected:
    // Both axes over at least the given ranges, on round ticks (steps of 1, 2 or 5 times
    // a power of ten, never 52.5 or 157.5).
    void Fit_Axes(double x_min, double x_max, double y_min, double y_max);

    static QList<QPointF> Points_Of(const std::vector<std::pair<double, double>>& points,
                                    std::size_t from);

    QLineSeries* Series_;
    QValueAxis *X_Axis_, *Y_Axis_;
    std::vector<std::pair<double, double>> Shown_;
    bool Shown_Once_ = false;
};

}  // namespace corvanel
