// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/cone_heat_work.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "common/text.h"
#include "profiles/cone_table.h"

namespace corvanel {

namespace {

bool In_Fahrenheit(const std::string& scale) {
    return scale == "F";
}

// Degrees of the scale for a difference given in Celsius.
double Degrees(double celsius, const std::string& scale) {
    return In_Fahrenheit(scale) ? celsius * 9 / 5 : celsius;
}

// The spacing of heat-work: it grows by e for every Theta degrees near the peak.
double Theta(const std::string& scale) {
    return Degrees(Heat_Work_Doubling_C, scale) / std::log(2.0);
}

// Hours of heat-work at the peak's weight while the kiln went linearly from `from` to `to`
// degrees over `seconds`: exact for a straight line between two readings.
double Heat_Work_Hours(double from, double to, double seconds, double peak, double theta) {
    const double a = std::exp((from - peak) / theta), b = std::exp((to - peak) / theta);
    const double mean = std::abs(to - from) < 1e-9 ? a : theta * (b - a) / (to - from);
    return mean * seconds / 3600;
}

}  // namespace

double Chart_Temperature(std::size_t cone, double rate, const std::string& scale) {
    const Cone_Equivalent& row = Cone_Table()[cone];
    const bool f = In_Fahrenheit(scale);
    const std::array<double, 3> rates =
        f ? std::array<double, 3>{27, 108, 270} : std::array<double, 3>{15, 60, 150};
    const double slow = f ? row.Fahrenheit_27 : row.Celsius_15;
    const double medium = f ? row.Fahrenheit_108 : row.Celsius_60;
    const double fast = f ? row.Fahrenheit_270 : row.Celsius_150;
    // Between two rates the bending temperature moves with the logarithm of the rate, as
    // heat-work that grows exponentially with temperature makes it.
    auto between = [&](double r0, double t0, double r1, double t1) {
        return t0 + (t1 - t0) * std::log(rate / r0) / std::log(r1 / r0);
    };
    if (rate >= rates[2]) return fast;
    if (rate >= rates[1]) return between(rates[1], medium, rates[2], fast);
    if (!row.Has_Slow_Rate()) return medium;
    if (rate <= rates[0]) return slow;
    return between(rates[0], slow, rates[1], medium);
}

Cone_Reached Cone_Of_Readings(std::span<const Kiln_Reading> readings, const std::string& scale) {
    Cone_Reached reached;
    if (readings.size() < 2) return reached;
    std::size_t top = 0;
    for (std::size_t i = 1; i < readings.size(); ++i) {
        if (readings[i].Temperature > readings[top].Temperature) top = i;
    }
    const double peak = readings[top].Temperature;
    const double climb = Degrees(Last_Climb_C, scale);
    const double from = peak - climb;
    // The last climb starts where the kiln was last `climb` below the peak before it.
    std::size_t low = top;
    while (low > 0 && readings[low - 1].Temperature > from) --low;
    if (low == 0) return reached;
    const Kiln_Reading& a = readings[low - 1];
    const Kiln_Reading& b = readings[low];
    const double start = a.Seconds + (from - a.Temperature) / (b.Temperature - a.Temperature) *
                                         (b.Seconds - a.Seconds);
    const double climb_hours = (readings[top].Seconds - start) / 3600;
    if (climb_hours <= 0) return reached;

    // The time near the peak lasts until the kiln first falls out of the band below it.
    const double band = peak - Degrees(Peak_Band_C, scale);
    std::size_t last = top;
    while (last + 1 < readings.size() && readings[last + 1].Temperature >= band) ++last;

    const double theta = Theta(scale);
    double work = Heat_Work_Hours(from, b.Temperature, b.Seconds - start, peak, theta);
    for (std::size_t i = low; i < last; ++i) {
        work += Heat_Work_Hours(readings[i].Temperature, readings[i + 1].Temperature,
                                readings[i + 1].Seconds - readings[i].Seconds, peak, theta);
    }
    // A plain climb at rate r gives theta (1 - e^(-climb/theta)) / r hours of heat-work.
    const double plain = theta * (1 - std::exp(-climb / theta));

    reached.Peak = peak;
    reached.Climb_Rate = climb / climb_hours;
    reached.Effective_Rate = plain / work;
    const double slowest = In_Fahrenheit(scale) ? 27 : 15,
                 fastest = In_Fahrenheit(scale) ? 270 : 150;
    reached.Chart_Rate = std::clamp(reached.Effective_Rate, slowest, fastest);
    reached.Seconds_Near_Peak = readings[last].Seconds - readings[top].Seconds;

    const std::size_t cones = Cone_Table().size();
    auto at = [&](std::size_t cone) { return Chart_Temperature(cone, reached.Chart_Rate, scale); };
    if (peak < at(0)) {
        reached.Reached = Cone_Reached::Reach::Below_Chart;
    } else if (peak > at(cones - 1)) {
        reached.Reached = Cone_Reached::Reach::Beyond_Chart;
    } else {
        std::size_t cone = 0;
        while (cone + 1 < cones && at(cone + 1) <= peak) ++cone;
        reached.Reached = Cone_Reached::Reach::On_Chart;
        reached.Position = static_cast<double>(cone);
        if (cone + 1 < cones) reached.Position += (peak - at(cone)) / (at(cone + 1) - at(cone));
    }
    return reached;
}

std::vector<Kiln_Reading> Readings_Of(const Firing_Record& record) {
    const std::vector<double> times = Real_Elapsed_Times(record);
    const double unit = Seconds_Per_Time_Unit(record.Header.Time_Unit);
    std::vector<Kiln_Reading> readings;
    for (std::size_t i = 0; i < record.Lines.size(); ++i) {
        const Firing_Record_Line& line = record.Lines[i];
        if (line.Is_Reading()) readings.push_back({times[i] * unit, line.Measured});
    }
    return readings;
}

Cone_Reached Cone_Of_Firing(const Firing_Record& record) {
    return Cone_Of_Readings(Readings_Of(record), record.Header.Temp_Scale);
}

Cone_Reached With_Cone_Offset(Cone_Reached reached, double offset_cones) {
    if (reached.Reached != Cone_Reached::Reach::On_Chart) return reached;
    reached.Position += offset_cones;
    const double hottest = static_cast<double>(Cone_Table().size() - 1);
    if (reached.Position < 0) reached.Reached = Cone_Reached::Reach::Below_Chart;
    if (reached.Position > hottest) reached.Reached = Cone_Reached::Reach::Beyond_Chart;
    return reached;
}

Operator_Text Cone_Reached_Text(const Cone_Reached& reached) {
    switch (reached.Reached) {
        case Cone_Reached::Reach::Unknown:
            return {};
        case Cone_Reached::Reach::Below_Chart:
            return Operator_Text::Phrase("below cone 022");
        case Cone_Reached::Reach::Beyond_Chart:
            return Operator_Text::Phrase("beyond cone 10");
        case Cone_Reached::Reach::On_Chart:
            break;
    }
    const double quarters = std::round(reached.Position * 4);
    const auto down = static_cast<std::size_t>(quarters / 4);
    const int bent = static_cast<int>(quarters) % 4;
    auto cone = [](std::size_t i) {
        return Operator_Text::Value(std::string(Cone_Table()[i].Cone));
    };
    static constexpr const char* Bent[] = {"cone %1", "cone %1, about a quarter bent",
                                           "cone %1, about half bent",
                                           "cone %1, about three quarters bent"};
    return Operator_Text::Phrase(Bent[bent], {cone(bent == 0 ? down : down + 1)});
}

}  // namespace corvanel
