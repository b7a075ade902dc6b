// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "ui/profile_chart_view.h"

class QScatterSeries;

namespace corvanel {

class Live_Firing_View;

// The run window's chart: the planned profile, and over it the firing as the live view
// keeps it: the measured and set-value traces, the now marker, a legend and axis titles
// with their units. Each call adds only what is new since the last one.
class Run_Chart_View : public Profile_Chart_View {
  public:
    Run_Chart_View(const char* object_name, QWidget* parent);

    // `original`: the profile's own plan once the operator changed the firing, else null.
    void Show_Firing(const std::vector<std::pair<double, double>>& plan,
                     const std::vector<std::pair<double, double>>* original,
                     const Live_Firing_View& view);

    QLineSeries* Plan() const { return Series_; }
    // The measured trace since its last gap; the parts before gaps, each its own line.
    QLineSeries* Measured() const { return Measured_; }
    const std::vector<QLineSeries*>& Measured_Before_Gaps() const { return Measured_Parts_; }
    QLineSeries* Set_Value() const { return Set_Value_; }
    QLineSeries* Now_Line() const { return Now_Line_; }
    QLineSeries* Original_Plan() const { return Original_; }
    QScatterSeries* Changes() const { return Changes_; }
    QLineSeries* Forecast() const { return Forecast_; }

    // The legend's names in the interface language; the caption pass calls it.
    void Show_Names();
    // The chart's title above it; with a hint, nothing is drawn yet and the hint says what
    // to do instead of empty axes.
    void Show_Title(const std::string& title, const std::string& hint);

  private:
    void Draw_Measured(const std::pair<double, double>& point, double span);
    void Close_Measured_Part();
    void Clear_Measured_Parts();

    QLineSeries *Measured_, *Set_Value_, *Now_Line_, *Original_, *Forecast_;
    QScatterSeries* Changes_;
    std::vector<std::pair<double, double>> Shown_Original_;
    std::size_t Shown_Changes_ = 0;
    std::vector<std::pair<double, double>> Shown_Forecast_;
    double Forecast_X_Max_ = 0;
    std::vector<QLineSeries*> Measured_Parts_;
    // What the two trace series hold: the traces as Drawn_Points draws them, over spans
    // of Span_ (a minute, wider once a long firing would draw too many points).
    std::vector<std::pair<double, double>> Drawn_Measured_, Drawn_Set_Value_;
    double Span_ = 1;
    std::uint64_t Shown_Generation_ = ~std::uint64_t{0};
    std::size_t Shown_Points_ = 0;
    double Trace_X_Max_ = 0, Trace_Y_Min_ = 0, Trace_Y_Max_ = 0;
    double Plan_X_Min_ = 0, Plan_X_Max_ = 1, Plan_Y_Max_ = 1;
    bool Now_Shown_ = false, Hint_Shown_ = false;
    double Now_X_ = 0;
};

}  // namespace corvanel
