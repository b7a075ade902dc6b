// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QChartView>
#include <cstdint>
#include <utility>
#include <vector>

class QLineSeries;
class QValueAxis;

namespace corvanel {

class Live_Firing_View;

// A profile drawn as one line through its points (time across, temperature up), as the
// run window and the editor show it. Redraws only when the points change.
class Profile_Chart_View : public QChartView {
  public:
    Profile_Chart_View(const char* object_name, QWidget* parent);

    // Plots the points, the axes fitted to them (the temperature axis from 0).
    void Show_Points(const std::vector<std::pair<double, double>>& points);

  protected:
    // Both axes over at least the given ranges, on round ticks (steps of 1, 2 or 5 times
    // a power of ten, never 52.5 or 157.5).
    void Fit_Axes(double x_min, double x_max, double y_min, double y_max);

    QLineSeries* Series_;
    QValueAxis *X_Axis_, *Y_Axis_;
    std::vector<std::pair<double, double>> Shown_;
    bool Shown_Once_ = false;
};

// The run window's chart: the planned profile, and over it the firing as the live view
// keeps it: the measured and set-value traces, the now marker, a legend and axis titles
// with their units. Each call adds only what is new since the last one.
class Run_Chart_View : public Profile_Chart_View {
  public:
    Run_Chart_View(const char* object_name, QWidget* parent);

    void Show_Firing(const std::vector<std::pair<double, double>>& plan,
                     const Live_Firing_View& view);

    QLineSeries* Plan() const { return Series_; }
    QLineSeries* Measured() const { return Measured_; }
    QLineSeries* Set_Value() const { return Set_Value_; }
    QLineSeries* Now_Line() const { return Now_Line_; }

    // The legend's names in the interface language; the caption pass calls it.
    void Show_Names();

  private:
    QLineSeries *Measured_, *Set_Value_, *Now_Line_;
    // What the two trace series hold: the traces as Drawn_Points draws them.
    std::vector<std::pair<double, double>> Drawn_Measured_, Drawn_Set_Value_;
    std::uint64_t Shown_Generation_ = ~std::uint64_t{0};
    std::size_t Shown_Points_ = 0;
    double Trace_X_Max_ = 0, Trace_Y_Min_ = 0, Trace_Y_Max_ = 0;
    double Plan_X_Min_ = 0, Plan_X_Max_ = 1, Plan_Y_Max_ = 1;
    bool Now_Shown_ = false;
    double Now_X_ = 0;
};

}  // namespace corvanel
