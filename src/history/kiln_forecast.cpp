// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/kiln_forecast.h"

#include <algorithm>
#include <cmath>

#include "common/text.h"

namespace corvanel {

namespace {

using Phrase = Operator_Text;

constexpr double Step_Hours = 30.0 / 3600;
constexpr double Curve_Every_Hours = 10.0 / 60;
// The kiln has reached a temperature when it is this close.
constexpr double Arrival_Tolerance_F = 2;
// A kiln still waiting for a temperature this long will not get there: the forecast ends.
constexpr double Longest_Wait_Hours = 72;
constexpr double Least_Late_Hours = 1.0 / 60;

double In_F(double degrees, const std::string& scale) {
    return scale == "C" ? degrees * 9 / 5 + 32 : degrees;
}
double In_Scale(double fahrenheit, const std::string& scale) {
    return scale == "C" ? (fahrenheit - 32) * 5 / 9 : fahrenheit;
}
double Difference_In_Scale(double fahrenheit, const std::string& scale) {
    return scale == "C" ? fahrenheit * 5 / 9 : fahrenheit;
}

struct Plan_Segment {
    double X0, X1, T0, T1;  // hours, Fahrenheit
    int Number;             // as the sheet numbers it
    bool Rising() const { return T1 > T0; }
    bool Falling() const { return T1 < T0; }
    double Set_At(double x) const {
        if (X1 <= X0) return T1;
        return T0 + (T1 - T0) * (std::clamp(x, X0, X1) - X0) / (X1 - X0);
    }
    // Degrees an hour the segment asks for; none for a step.
    std::optional<double> Asked() const {
        if (X1 <= X0) return std::nullopt;
        return std::abs(T1 - T0) / (X1 - X0);
    }
};

struct Plan_In_F {
    std::vector<Plan_Segment> Segments;
    double Start = 0, End = 0;               // hours
    std::optional<std::size_t> Top_Segment;  // the first that ends at the profile's top
};

Plan_In_F Plan_Of(const Plan_Points& plan, const std::string& scale, const std::string& time_unit) {
    Plan_In_F converted;
    if (plan.empty()) return converted;
    const double hours = Seconds_Per_Time_Unit(time_unit) / 3600;
    const std::size_t first = First_Drawn_Plan_Point(plan);
    converted.Start = plan[first].first * hours;
    converted.End = plan.back().first * hours;
    double top = In_F(plan[first].second, scale);
    for (std::size_t k = first; k + 1 < plan.size(); ++k) {
        converted.Segments.push_back({plan[k].first * hours, plan[k + 1].first * hours,
                                      In_F(plan[k].second, scale), In_F(plan[k + 1].second, scale),
                                      static_cast<int>(k - first + 1)});
        if (converted.Segments.back().T1 > top) {
            top = converted.Segments.back().T1;
            converted.Top_Segment = converted.Segments.size() - 1;
        }
    }
    return converted;
}

// How a segment went in the forecast.
struct Segment_Run {
    double Lost = 0;            // hours waited for the kiln at its end
    bool Behind = false;        // the kiln fell behind the set value in it
    double Behind_From = 0;     // where
    double Behind_Hours = 0;    // and for how long
    double Behind_Degrees = 0;  // the degrees it moved meanwhile
};

struct Simulation {
    std::vector<std::pair<double, double>> Curve;  // hours since now, Fahrenheit
    std::vector<Segment_Run> Runs;
    double Rewound = 0;  // hours the kiln is behind the plan now
    std::size_t First_Segment = 0;
    double Lost = 0;  // hours waited in all
    std::optional<double> Peak;
};

class Kiln_Simulator {
  public:
    Kiln_Simulator(const Kiln_Thermal_Model& model, const Plan_In_F& plan)
        : Model_(model), Plan_(plan), Lag_(model.Lag_F()) {}

    Simulation Run(double now, double measured) {
        Simulation run;
        run.Runs.resize(Plan_.Segments.size());
        double p = std::max(now, Plan_.Start);
        std::size_t k = Segment_After(p);
        if (k < Plan_.Segments.size()) {
            const double from = Where_The_Kiln_Is(k, p, measured);
            run.Rewound = p - from;
            p = from;
            k = Segment_After(p);
        }
        run.First_Segment = k;
        double m = measured, t = 0, next_point = Curve_Every_Hours;
        bool waiting = false;
        run.Curve.emplace_back(0, m);
        while (k < Plan_.Segments.size()) {
            const Plan_Segment& s = Plan_.Segments[k];
            double step = Step_Hours, p_next = s.X1;
            if (!waiting && s.X1 - p > Step_Hours) {
                p_next = p + Step_Hours;
            } else if (!waiting) {
                step = s.X1 - p;
            }
            const double set = s.Set_At(p_next);
            m = Move(m, s.Rising() ? set - Lag_ : set, set, s.Rising(), step, run.Runs[k]);
            t += step;
            if (waiting) run.Runs[k].Lost += step, run.Lost += step;
            p = p_next;
            if (p >= s.X1) {
                if (Arrived(s, m)) {
                    if (Plan_.Top_Segment == k) run.Peak = t;
                    ++k;
                    waiting = false;
                    run.Curve.emplace_back(t, m);
                    next_point = t + Curve_Every_Hours;
                    continue;
                }
                waiting = true;
                if (run.Runs[k].Lost > Longest_Wait_Hours) break;
            }
            if (t >= next_point - 1e-9) {
                run.Curve.emplace_back(t, m);
                next_point += Curve_Every_Hours;
            }
        }
        if (run.Curve.back().first < t) run.Curve.emplace_back(t, m);
        return run;
    }

  private:
    // The first segment that ends after this time; past the plan's end, their count.
    std::size_t Segment_After(double p) const {
        for (std::size_t k = 0; k < Plan_.Segments.size(); ++k) {
            if (Plan_.Segments[k].X1 > p) return k;
        }
        return Plan_.Segments.size();
    }

    // Where in the plan a kiln at `measured` stands, at `now` or before: in a climb, the
    // time the set value (less the lag) was where the kiln is; in a fall, where the set
    // value was. A kiln ahead of the plan waits for it.
    double Where_The_Kiln_Is(std::size_t k, double now, double measured) const {
        const bool climbing = !Plan_.Segments[k].Falling();
        for (std::size_t j = k + 1; j-- > 0;) {
            const Plan_Segment& s = Plan_.Segments[j];
            const double until = j == k ? now : s.X1;
            if (climbing ? s.Falling() : s.Rising()) return s.X1;
            if (climbing) {
                const double lag = s.Rising() ? Lag_ : 0;
                const double wanted = measured + Arrival_Tolerance_F + lag;
                if (s.Set_At(until) <= wanted) return until;
                if (s.Rising() && s.T0 <= wanted) {
                    return std::min(until, s.X0 + (wanted - s.T0) / (s.T1 - s.T0) * (s.X1 - s.X0));
                }
            } else {
                if (!s.Falling()) return s.X1;
                const double wanted = measured - Arrival_Tolerance_F;
                if (s.Set_At(until) >= wanted) return until;
                if (s.T0 >= wanted) {
                    return std::min(until, s.X0 + (s.T0 - wanted) / (s.T0 - s.T1) * (s.X1 - s.X0));
                }
            }
            if (j == 0) return s.X0;
        }
        return now;
    }

    // The kiln one step on toward `target`: up at most at its full-output rate, down at
    // most as it cools with the power off; in a climb it never cools to trail the set value.
    double Move(double m, double target, double set, bool rising, double step, Segment_Run& run) {
        if (target > m) {
            const double rate = Model_.Full_Output_Rate(m);
            const double climb = Model_.Full_Output_Rate(m + rate * step / 2) * step;
            if (m + climb >= target) return target;
            Note_Behind(run, m, step, climb);
            return m + climb;
        }
        const double lowest = rising ? set : target;
        if (m <= lowest) return m;
        const std::optional<double> cooled = Model_.Cooled(m, step);
        if (!cooled || *cooled <= lowest) return lowest;
        if (!rising) Note_Behind(run, m, step, m - *cooled);
        return *cooled;
    }

    static void Note_Behind(Segment_Run& run, double m, double step, double degrees) {
        if (!run.Behind) run.Behind = true, run.Behind_From = m;
        run.Behind_Hours += step;
        run.Behind_Degrees += degrees;
    }

    bool Arrived(const Plan_Segment& s, double m) const {
        if (s.Falling()) return m <= s.T1 + Arrival_Tolerance_F;
        if (s.Rising()) return m >= s.T1 - Lag_ - Arrival_Tolerance_F;
        return m >= s.T1 - Arrival_Tolerance_F && m <= s.T1 + Arrival_Tolerance_F;
    }

    const Kiln_Thermal_Model& Model_;
    const Plan_In_F& Plan_;
    double Lag_;
};

Operator_Text Rate_Value(double fahrenheit_per_hour, const std::string& scale) {
    return Phrase::Value(Temperature_Text(Difference_In_Scale(fahrenheit_per_hour, scale), scale) +
                         "/h");
}
// Where the kiln falls behind, to ten degrees: a forecast is no closer than that.
Operator_Text Rounded_Temperature(double fahrenheit, const std::string& scale) {
    return Phrase::Value(
        Temperature_Text(std::round(In_Scale(fahrenheit, scale) / 10) * 10, scale));
}

// Why the kiln will be late: the segment it loses most in.
Operator_Text Why_Late(const Plan_In_F& plan, const Simulation& run, const std::string& scale) {
    std::optional<std::size_t> worst;
    double worst_lost = 0;
    for (std::size_t k = run.First_Segment; k < run.Runs.size(); ++k) {
        const double lost = run.Runs[k].Lost + (k == run.First_Segment ? run.Rewound : 0);
        if (!worst || lost > worst_lost) worst = k, worst_lost = lost;
    }
    if (!worst) return Phrase::Phrase("the kiln is behind the plan");
    const Plan_Segment& s = plan.Segments[*worst];
    const Segment_Run& r = run.Runs[*worst];
    const std::optional<double> asked = s.Asked();
    if (!r.Behind || r.Behind_Hours <= 0 || !asked) {
        return Phrase::Phrase("the kiln is taking longer than planned to reach %1",
                              {Phrase::Value(Temperature_Text(In_Scale(s.T1, scale), scale))});
    }
    const double managed = r.Behind_Degrees / r.Behind_Hours;
    return Phrase::Phrase(s.Falling() ? "the kiln is cooling %1 slower than asked below %2"
                                      : "the kiln is climbing %1 slower than asked above %2",
                          {Rate_Value(std::max(0.0, *asked - managed), scale),
                           Rounded_Temperature(r.Behind_From, scale)});
}

// The plan's own times: the forecast before the kiln has a history.
Firing_Forecast Plan_Forecast(const Plan_Points& plan, const std::string& scale,
                              const std::string& time_unit, double now_elapsed,
                              double measured_now) {
    Firing_Forecast forecast;
    forecast.Why = Phrase::Phrase(
        "there are no firings of this kiln to learn from yet: the times are the plan's");
    if (plan.empty()) return forecast;
    forecast.Plan_End = forecast.Likely_End = plan.back().first;
    forecast.Curve.emplace_back(now_elapsed, measured_now);
    for (std::size_t k = First_Drawn_Plan_Point(plan); k < plan.size(); ++k) {
        if (plan[k].first > now_elapsed) forecast.Curve.push_back(plan[k]);
    }
    const Plan_In_F in_f = Plan_Of(plan, scale, time_unit);
    if (in_f.Top_Segment) {
        const double hours = Seconds_Per_Time_Unit(time_unit) / 3600;
        const double top_at = in_f.Segments[*in_f.Top_Segment].X1 / hours;
        if (top_at >= now_elapsed) forecast.Peak_Reached = top_at;
    }
    return forecast;
}

}  // namespace

Firing_Forecast Forecast_Firing(const Kiln_Thermal_Model* model, const Plan_Points& plan,
                                const std::string& scale, const std::string& time_unit,
                                double now_elapsed, double measured_now) {
    if (!model || !model->Has_Heating()) {
        return Plan_Forecast(plan, scale, time_unit, now_elapsed, measured_now);
    }
    Firing_Forecast forecast;
    forecast.From_History = true;
    if (plan.empty()) return forecast;
    const double hours = Seconds_Per_Time_Unit(time_unit) / 3600;
    const Plan_In_F in_f = Plan_Of(plan, scale, time_unit);
    const Simulation run =
        Kiln_Simulator(*model, in_f).Run(now_elapsed * hours, In_F(measured_now, scale));
    forecast.Plan_End = plan.back().first;
    // The plan's own end and the time lost, so a kiln that keeps to the plan ends on it.
    forecast.Likely_End = forecast.Plan_End + (run.Rewound + run.Lost) / hours;
    for (const auto& [t, f] : run.Curve) {
        forecast.Curve.emplace_back(now_elapsed + t / hours, In_Scale(f, scale));
    }
    if (run.Peak) forecast.Peak_Reached = now_elapsed + *run.Peak / hours;
    if (run.Rewound + run.Lost >= Least_Late_Hours) forecast.Why = Why_Late(in_f, run, scale);
    return forecast;
}

std::optional<double> Predicted_Minutes_To_Cool(const Kiln_Thermal_Model& model, double from_f,
                                                double to_f) {
    if (!model.Cooling_Per_Hour) return std::nullopt;
    if (from_f <= to_f) return 0.0;
    if (to_f <= model.Room_F) return std::nullopt;  // Newton's kiln never gets there
    return std::log((from_f - model.Room_F) / (to_f - model.Room_F)) / *model.Cooling_Per_Hour * 60;
}

double Seconds_To_Ready(const Kiln_Thermal_Model* model, const Plan_Points& plan,
                        const std::string& scale, const std::string& time_unit, double kiln_now,
                        Ready_Point point) {
    if (plan.empty()) return 0;
    const double start = plan[First_Drawn_Plan_Point(plan)].first;
    const Firing_Forecast forecast =
        Forecast_Firing(model, plan, scale, time_unit, start, kiln_now);
    const double at =
        point == Ready_Point::Peak ? forecast.Peak_Reached.value_or(start) : forecast.Likely_End;
    return std::max(0.0, at - start) * Seconds_Per_Time_Unit(time_unit);
}

std::vector<Segment_Pace> Segment_Paces(const Kiln_Thermal_Model& model, const Plan_Points& plan,
                                        const std::string& scale, const std::string& time_unit) {
    std::vector<Segment_Pace> paces;
    const Plan_In_F in_f = Plan_Of(plan, scale, time_unit);
    if (!model.Has_Heating() || in_f.Segments.empty()) return paces;
    const Simulation run = Kiln_Simulator(model, in_f).Run(in_f.Start, in_f.Segments.front().T0);
    for (std::size_t k = 0; k < in_f.Segments.size(); ++k) {
        const Plan_Segment& s = in_f.Segments[k];
        const Segment_Run& r = run.Runs[k];
        if (r.Lost < Least_Late_Hours || !r.Behind || r.Behind_Hours <= 0 || !s.Asked()) continue;
        paces.push_back({s.Number, s.Falling(), *s.Asked(), r.Behind_Degrees / r.Behind_Hours,
                         r.Behind_From, r.Lost});
    }
    return paces;
}

}  // namespace corvanel
