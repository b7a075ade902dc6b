// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/kiln_health_reading.h"

#include <algorithm>
#include <cmath>

#include "common/text.h"

namespace corvanel {

namespace {

using Phrase = Operator_Text;

double Degrees_In_Scale(double fahrenheit, const std::string& scale) {
    return scale == "C" ? (fahrenheit - 32) * 5 / 9 : fahrenheit;
}
double Difference_In_Scale(double fahrenheit, const std::string& scale) {
    return scale == "C" ? fahrenheit * 5 / 9 : fahrenheit;
}

Operator_Text Temperature(double fahrenheit, const std::string& scale) {
    return Phrase::Value(Temperature_Text(Degrees_In_Scale(fahrenheit, scale), scale));
}
// A band's edge as the operator reads it: the Celsius edges are rounded to 5 degrees.
Operator_Text Band_Edge(std::size_t band, bool high, const std::string& scale) {
    const Health_Band& b = Health_Bands[band];
    if (scale == "C") return Phrase::Value(Temperature_Text(high ? b.High_C : b.Low_C, "C"));
    return Phrase::Value(Temperature_Text(high ? b.High_F : b.Low_F, "F"));
}
Operator_Text Rate(double fahrenheit_per_hour, const std::string& scale) {
    return Phrase::Value(Temperature_Text(Difference_In_Scale(fahrenheit_per_hour, scale), scale) +
                         "/h");
}
Operator_Text Percent(double percent) {
    return Phrase::Value(Format_Whole(std::llround(percent)));
}

// What the baseline was: "with the elements fitted on 12 March 2027", "in its first
// firings from 4 January 2027".
Operator_Text Baseline_Words(const Health_Baseline& baseline,
                             const std::vector<Firing_Health>& firings) {
    if (baseline.Event) {
        const Operator_Text day = Day_Text(baseline.Event->Date);
        switch (baseline.Event->Kind) {
            case Kiln_Event_Kind::Thermocouple_Replaced:
                return Phrase::Phrase("after the thermocouple was replaced on %1", {day});
            case Kiln_Event_Kind::Relay_Replaced:
                return Phrase::Phrase("after the relay was replaced on %1", {day});
            case Kiln_Event_Kind::Kiln_Relined:
                return Phrase::Phrase("after the kiln was relined on %1", {day});
            case Kiln_Event_Kind::Elements_Replaced:
                break;
        }
        return Phrase::Phrase("with the elements fitted on %1", {day});
    }
    return Phrase::Phrase("in its first firings from %1",
                          {Day_Text(firings[baseline.Base.front()].Start)});
}

bool Is_Rate(Health_Measure measure) {
    return measure == Health_Measure::Rate_Band_1 || measure == Health_Measure::Rate_Band_2 ||
           measure == Health_Measure::Rate_Band_3;
}

// The latest event on or before the day of this firing.
std::optional<Kiln_Event> Event_Before(const std::vector<Kiln_Event>& events,
                                       const Date_Time& when) {
    std::optional<Kiln_Event> latest;
    Date_Time day = when;
    day.Hour = day.Minute = day.Second = 0;
    for (const Kiln_Event& event : events) {
        if (Seconds_Of(event.Date) <= Seconds_Of(day)) latest = event;
    }
    return latest;
}

// The firings since the event (all without one), oldest first.
std::vector<std::size_t> Since(const std::vector<Firing_Health>& firings,
                               const std::optional<Kiln_Event>& event) {
    std::vector<std::size_t> chosen;
    for (std::size_t i = 0; i < firings.size(); ++i) {
        if (!event || Seconds_Of(firings[i].Start) >= Seconds_Of(event->Date)) chosen.push_back(i);
    }
    return chosen;
}

}  // namespace

Operator_Text Day_Text(const Date_Time& day) {
    static const char* const Months[] = {"January",   "February", "March",    "April",
                                         "May",       "June",     "July",     "August",
                                         "September", "October",  "November", "December"};
    const int month = std::clamp(day.Month, 1, 12);
    return Phrase::Phrase("%1 %2 %3",
                          {Phrase::Value(Format_Whole(day.Day)), Phrase::Phrase(Months[month - 1]),
                           Phrase::Value(Format_Whole(day.Year))});
}

std::optional<double> Measure_Of(const Firing_Health& firing, Health_Measure measure) {
    switch (measure) {
        case Health_Measure::Rate_Band_1:
        case Health_Measure::Rate_Band_2:
        case Health_Measure::Rate_Band_3:
            return firing.Full_Power_Rate[static_cast<std::size_t>(measure)].Value;
        case Health_Measure::Full_Output_Share:
            return firing.Full_Output_Share.Value;
        case Health_Measure::Ramp_Lag:
            return firing.Ramp_Lag.Value;
        case Health_Measure::Last_Climb:
            break;
    }
    return firing.Last_200_Minutes.Value;
}

Operator_Text Measure_Name(Health_Measure measure, const std::string& scale) {
    const Operator_Text degrees = Phrase::Value(scale == "C" ? "°C" : "°F");
    if (Is_Rate(measure)) {
        const std::size_t band = static_cast<std::size_t>(measure);
        return Phrase::Phrase(
            "Heating at full power, %1 to %2 (%3/h)",
            {Band_Edge(band, false, scale), Band_Edge(band, true, scale), degrees});
    }
    switch (measure) {
        case Health_Measure::Full_Output_Share:
            return Phrase::Phrase("Time at full power (%)");
        case Health_Measure::Ramp_Lag:
            return Phrase::Phrase("Behind the set value in ramps (%1)", {degrees});
        default:
            break;
    }
    return Phrase::Phrase("Last climb to the peak (minutes)");
}

double Measure_In_Scale(Health_Measure measure, double value, const std::string& scale) {
    if (measure == Health_Measure::Full_Output_Share) return value * 100;
    if (measure == Health_Measure::Last_Climb) return value;
    return Difference_In_Scale(value, scale);
}

Health_Baseline Baseline_Of(const std::vector<Firing_Health>& firings,
                            const std::vector<Kiln_Event>& events,
                            const Kiln_Health_Settings& settings) {
    Health_Baseline baseline;
    if (firings.empty()) return baseline;
    baseline.Event = Event_Before(events, firings.back().Start);
    const std::vector<std::size_t> since = Since(firings, baseline.Event);
    const auto base = static_cast<std::size_t>(settings.Baseline_Firings);
    const auto recent = static_cast<std::size_t>(settings.Recent_Firings);
    for (std::size_t k = 0; k < since.size(); ++k) {
        if (k < base) {
            baseline.Base.push_back(since[k]);
        } else if (k + recent >= since.size()) {
            baseline.Recent.push_back(since[k]);
        }
    }
    return baseline;
}

std::optional<double> Mean_Of(const std::vector<Firing_Health>& firings,
                              const std::vector<std::size_t>& chosen, Health_Measure measure) {
    double sum = 0;
    int count = 0;
    for (std::size_t i : chosen) {
        if (std::optional<double> value = Measure_Of(firings[i], measure)) {
            sum += *value;
            ++count;
        }
    }
    if (count == 0) return std::nullopt;
    return sum / count;
}

std::vector<Health_Reading> Read_Kiln_Health(const std::vector<Firing_Health>& firings,
                                             const std::vector<Kiln_Event>& events,
                                             const Kiln_Health_Settings& settings,
                                             const std::string& scale) {
    const Health_Baseline baseline = Baseline_Of(firings, events, settings);
    using Level = Health_Reading::Level;
    // The band the kiln slowed down most in, among those both groups crossed.
    std::optional<std::size_t> worst;
    double worst_slower = 0;
    for (std::size_t band = Health_Band_Count; band-- > 0;) {
        const auto measure = static_cast<Health_Measure>(band);
        const std::optional<double> base = Mean_Of(firings, baseline.Base, measure);
        const std::optional<double> now = Mean_Of(firings, baseline.Recent, measure);
        if (!base || !now || *base <= 0) continue;
        const double slower = (*base - *now) / *base * 100;
        if (!worst || slower > worst_slower) worst = band, worst_slower = slower;
    }
    if (!worst) {
        return {{Level::Too_Few,
                 Phrase::Phrase("Too few firings at full power to read the kiln's health yet: "
                                "it is read once later firings can be compared with the first.")}};
    }
    std::vector<Health_Reading> readings;
    const Operator_Text than = Baseline_Words(baseline, firings);
    const Operator_Text low = Band_Edge(*worst, false, scale),
                        high = Band_Edge(*worst, true, scale);
    const auto band = static_cast<Health_Measure>(*worst);
    if (worst_slower >= settings.Replace_Percent) {
        readings.push_back({Level::Replace,
                            Phrase::Phrase("At full power the kiln now heats %1% slower between %2 "
                                           "and %3 than %4: plan to replace the elements before "
                                           "glaze firings stall.",
                                           {Percent(worst_slower), low, high, than}),
                            band});
    } else if (worst_slower >= settings.Watch_Percent) {
        readings.push_back({Level::Watch,
                            Phrase::Phrase("At full power the kiln now heats %1% slower between %2 "
                                           "and %3 than %4: the elements are wearing; watch the "
                                           "next firings.",
                                           {Percent(worst_slower), low, high, than}),
                            band});
        // The pace: the slowing so far over the firings from the baseline's to the latest.
        auto middle = [](const std::vector<std::size_t>& chosen) {
            double sum = 0;
            for (std::size_t i : chosen) sum += static_cast<double>(i);
            return sum / static_cast<double>(chosen.size());
        };
        const double firings_apart = middle(baseline.Recent) - middle(baseline.Base);
        if (firings_apart > 0) {
            const double per_firing = worst_slower / firings_apart;
            const long long left =
                std::max(1LL, std::llround((settings.Replace_Percent - worst_slower) / per_firing));
            readings.push_back(
                {Level::Watch,
                 Phrase::Phrase(
                     "At this pace it is %1% slower, where new elements are due, in "
                     "about %2 firings.",
                     {Percent(settings.Replace_Percent), Phrase::Value(Format_Whole(left))}),
                 band});
        }
    } else {
        readings.push_back(
            {Level::Steady,
             Phrase::Phrase("At full power the kiln heats about as fast as %1.", {than}), band});
    }
    const std::optional<double> base_climb =
        Mean_Of(firings, baseline.Base, Health_Measure::Last_Climb);
    const std::optional<double> now_climb =
        Mean_Of(firings, baseline.Recent, Health_Measure::Last_Climb);
    if (base_climb && now_climb && *base_climb > 0) {
        const double longer = (*now_climb - *base_climb) / *base_climb * 100;
        if (longer >= settings.Watch_Percent) {
            readings.push_back(
                {longer >= settings.Replace_Percent ? Level::Replace : Level::Watch,
                 Phrase::Phrase("The last climb to the peak now takes %1% longer than %2.",
                                {Percent(longer), than}),
                 Health_Measure::Last_Climb});
        }
    }
    return readings;
}

std::vector<Operator_Text> Check_Profile_Pace(const Plan_Points& plan, const std::string& scale,
                                              const std::string& time_unit,
                                              const std::vector<Firing_Health>& firings,
                                              const std::vector<Kiln_Event>& events,
                                              const Kiln_Health_Settings& settings,
                                              const Date_Time& now) {
    // What the kiln managed in each band in its latest firings since the last event.
    const std::vector<std::size_t> since = Since(firings, Event_Before(events, now));
    std::array<std::optional<double>, Health_Band_Count> managed;
    bool last_month = true;
    for (std::size_t band = 0; band < Health_Band_Count; ++band) {
        std::vector<std::size_t> latest;
        for (auto i = since.rbegin(); i != since.rend(); ++i) {
            if (latest.size() >= static_cast<std::size_t>(settings.Recent_Firings)) break;
            if (firings[*i].Full_Power_Rate[band].Value) latest.push_back(*i);
        }
        managed[band] = Mean_Of(firings, latest, static_cast<Health_Measure>(band));
        for (std::size_t i : latest) {
            last_month =
                last_month && Seconds_Of(now) - Seconds_Of(firings[i].Start) <= 31 * 86400LL;
        }
    }
    auto fahrenheit = [&](double t) { return scale == "C" ? t * 9 / 5 + 32 : t; };
    const double hours_per_unit = time_unit == "H" ? 1 : 1.0 / 60;
    std::vector<Operator_Text> said;
    // The plan's first piece runs from the chart's origin to the first row.
    for (std::size_t k = 1; k + 1 < plan.size(); ++k) {
        const double from = fahrenheit(plan[k].second), to = fahrenheit(plan[k + 1].second);
        const double hours = (plan[k + 1].first - plan[k].first) * hours_per_unit;
        if (to <= from || hours <= 0) continue;
        const double asked = (to - from) / hours;
        double behind_hours = 0, slowest = 0, above = 0;
        bool short_of = false;
        for (std::size_t band = 0; band < Health_Band_Count; ++band) {
            // The top band's rate stands for the heat above it too, where the kiln is
            // slower still: the lag said is the least to expect.
            const double low = Health_Bands[band].Low_F;
            const double high = band + 1 == Health_Band_Count ? to : Health_Bands[band].High_F;
            const double span = std::min(to, high) - std::max(from, low);
            if (span <= 0 || !managed[band] || *managed[band] >= asked || *managed[band] <= 0)
                continue;
            behind_hours += span / *managed[band] - span / asked;
            if (!short_of || *managed[band] < slowest) slowest = *managed[band];
            if (!short_of) above = std::max(from, low);
            short_of = true;
        }
        const long long minutes = std::llround(behind_hours * 60);
        if (!short_of || minutes < 1) continue;
        said.push_back(Phrase::Phrase(
            "Segment %1 asks %2 above %3; your kiln managed %4 there %5: expect about %6 behind "
            "the plan.",
            {Phrase::Value(Format_Whole(static_cast<long long>(k))), Rate(asked, scale),
             Temperature(above, scale), Rate(slowest, scale),
             last_month ? Phrase::Phrase("last month") : Phrase::Phrase("in its last firings"),
             Phrase::Value(Duration_Text(minutes * 60))}));
    }
    return said;
}

}  // namespace corvanel
