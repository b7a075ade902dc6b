// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/kiln_health.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>

#include "common/numeric.h"
#include "common/on_cores.h"
#include "common/text.h"
#include "history/beside_record.h"
#include "setup/setup_files.h"

namespace corvanel {

namespace {

// Ticks further apart than this are a gap in the firing (the program was stopped, the
// computer slept): no rate is read across one.
double Gap_Seconds(const Firing_Record_Header& header) {
    return std::max(60.0, 5 * header.Tick_Length);
}

// A band counts only when the kiln climbed at least this share of it at full output.
constexpr double Least_Share_Of_Band = 0.25;

constexpr double Last_Climb_F = 200;

// A tick of the run with its time in seconds and its temperatures in Fahrenheit.
struct Health_Tick {
    double Seconds;
    double Elapsed;
    double Set_F, Measured_F, Output;
};

// What the figures are worked out from, gathered one line of the record at a time so that
// a record need not be held whole: its summary, and its ticks as read (the scale and time
// unit are the header's, known only at the end when the record is scanned).
class Health_Lines {
  public:
    explicit Health_Lines(std::size_t expected_ticks = 0) { Ticks_.reserve(expected_ticks); }

    void Add(const Firing_Record_Line& line) {
        Summary_.Add(line);
        if (!line.Is_Tick()) return;
        const double clock_seconds = line.Has_Clock ? static_cast<double>(line.Utc_Seconds()) : 0;
        Ticks_.push_back(
            {clock_seconds, line.Elapsed, line.Set_Value, line.Measured, line.Output_Percent});
        Clocked_.push_back(line.Has_Clock);
    }

    Firing_Summary Summary(const Firing_Record_Header& header) const {
        return Summary_.Result(header, Energy_Settings{});
    }

    // The ticks in seconds and degrees Fahrenheit.
    const std::vector<Health_Tick>& Ticks(const Firing_Record_Header& header) {
        if (Converted_) return Ticks_;
        Converted_ = true;
        const bool celsius = header.Temp_Scale == "C";
        const double unit = Seconds_Per_Time_Unit(header.Time_Unit);
        for (std::size_t i = 0; i < Ticks_.size(); ++i) {
            Health_Tick& tick = Ticks_[i];
            if (!Clocked_[i]) tick.Seconds = tick.Elapsed * unit;
            if (celsius) {
                tick.Set_F = tick.Set_F * 9 / 5 + 32;
                tick.Measured_F = tick.Measured_F * 9 / 5 + 32;
            }
        }
        return Ticks_;
    }

  private:
    Firing_Summary_Builder Summary_;
    std::vector<Health_Tick> Ticks_;
    std::vector<bool> Clocked_;
    bool Converted_ = false;
};

// Whether the plan rises at this elapsed time. The plan's first piece runs from the
// chart's origin to the first row and is no part of the profile.
bool Plan_Rises_At(const Plan_Points& plan, double elapsed) {
    for (std::size_t k = 1; k + 1 < plan.size(); ++k) {
        if (plan[k].first <= elapsed && elapsed < plan[k + 1].first) {
            return plan[k + 1].second > plan[k].second;
        }
    }
    return false;
}

void Work_Out_Rates(const std::vector<Health_Tick>& ticks, double gap, double peak_f,
                    Firing_Health& health) {
    std::array<double, Health_Band_Count> climb{}, seconds{};
    for (std::size_t i = 1; i < ticks.size(); ++i) {
        const Health_Tick& from = ticks[i - 1];
        const Health_Tick& to = ticks[i];
        const double dt = to.Seconds - from.Seconds;
        if (dt <= 0 || dt > gap || from.Output < Full_Output_Percent) continue;
        const double middle = (from.Measured_F + to.Measured_F) / 2;
        for (std::size_t b = 0; b < Health_Band_Count; ++b) {
            if (Health_Bands[b].Low_F <= middle && middle < Health_Bands[b].High_F) {
                climb[b] += to.Measured_F - from.Measured_F;
                seconds[b] += dt;
            }
        }
    }
    for (std::size_t b = 0; b < Health_Band_Count; ++b) {
        const Health_Band& band = Health_Bands[b];
        const double least = (band.High_F - band.Low_F) * Least_Share_Of_Band;
        Health_Figure& rate = health.Full_Power_Rate[b];
        if (climb[b] >= least && seconds[b] > 0) {
            rate.Value = climb[b] / seconds[b] * 3600;
        } else if (peak_f < band.Low_F + least) {
            rate.Omitted = "the firing did not reach this band";
        } else {
            rate.Omitted = "the kiln did not heat through this band at full power";
        }
    }
}

void Work_Out_Last_Climb(const std::vector<Health_Tick>& ticks, double gap, Firing_Health& health) {
    std::size_t peak = 0;
    for (std::size_t i = 1; i < ticks.size(); ++i) {
        if (ticks[i].Measured_F > ticks[peak].Measured_F) peak = i;
    }
    const double below = ticks[peak].Measured_F - Last_Climb_F;
    std::size_t from = peak;
    while (from > 0 && ticks[from].Measured_F >= below) --from;
    if (ticks[from].Measured_F >= below) {
        health.Last_200_Minutes.Omitted = "the firing started too close to its peak";
        return;
    }
    for (std::size_t i = from + 1; i <= peak; ++i) {
        if (ticks[i].Seconds - ticks[i - 1].Seconds > gap) {
            health.Last_200_Minutes.Omitted = "the firing was cut off during its last climb";
            return;
        }
    }
    health.Last_200_Minutes.Value = (ticks[peak].Seconds - ticks[from].Seconds) / 60;
}

Firing_Health Health_Of_Lines(Health_Lines& lines, const Firing_Record_Header& header) {
    Firing_Health health;
    health.Profile_Name = header.Profile_Name;
    health.Temp_Scale = header.Temp_Scale == "C" ? "C" : "F";
    const Firing_Summary s = lines.Summary(header);
    health.Has_Start = s.Has_Start;
    health.Start = s.Start;
    health.Outcome = s.Outcome;

    const std::vector<Health_Tick>& ticks = lines.Ticks(header);
    if (ticks.empty()) {
        const char* none = "the record holds no readings of a run";
        for (Health_Figure& rate : health.Full_Power_Rate) rate.Omitted = none;
        health.Full_Output_Share.Omitted = health.Ramp_Lag.Omitted = none;
        health.Last_200_Minutes.Omitted = none;
        return health;
    }
    const double gap = Gap_Seconds(header);
    double peak_f = ticks.front().Measured_F, lag = 0, output = 0;
    std::size_t full = 0, ramp_ticks = 0;
    for (const Health_Tick& tick : ticks) {
        peak_f = std::max(peak_f, tick.Measured_F);
        output += tick.Output;
        if (tick.Output >= Full_Output_Percent) ++full;
        if (Plan_Rises_At(header.Plan, tick.Elapsed)) {
            lag += tick.Set_F - tick.Measured_F;
            ++ramp_ticks;
        }
    }
    health.Full_Power_Hours = output / 100 * header.Tick_Length / 3600;
    health.Full_Output_Share.Value = static_cast<double>(full) / static_cast<double>(ticks.size());
    if (ramp_ticks > 0) {
        health.Ramp_Lag.Value = lag / static_cast<double>(ramp_ticks);
    } else {
        health.Ramp_Lag.Omitted = "the firing ran no rising ramp";
    }
    Work_Out_Rates(ticks, gap, peak_f, health);
    Work_Out_Last_Climb(ticks, gap, health);
    return health;
}

}  // namespace

Firing_Health Work_Out_Health(const Firing_Record& record) {
    Health_Lines lines(record.Lines.size());
    for (const Firing_Record_Line& line : record.Lines) lines.Add(line);
    return Health_Of_Lines(lines, record.Header);
}

std::optional<double> Health_Energy_kWh(const Firing_Health& health,
                                        const Energy_Settings& energy) {
    if (!energy.Kiln_Power_kW) return std::nullopt;
    return health.Full_Power_Hours * *energy.Kiln_Power_kW;
}

std::optional<double> Health_Cost(const Firing_Health& health, const Energy_Settings& energy) {
    const std::optional<double> kwh = Health_Energy_kWh(health, energy);
    if (!kwh || !energy.Price_Per_kWh) return std::nullopt;
    return *kwh * *energy.Price_Per_kWh;
}

// ---- the kept figures ----

namespace {

// A figure as kept: its number, or "?" and why it is missing.
std::string Figure_Text(const Health_Figure& figure) {
    return figure.Value ? Format_Number(*figure.Value) : "?" + figure.Omitted;
}

bool Read_Figure(const std::string& text, Health_Figure& figure) {
    if (!text.empty() && text[0] == '?') {
        figure.Omitted = text.substr(1);
        return !figure.Omitted.empty();
    }
    const Double_Conversion converted = Convert_To_Double(text);
    if (!converted.Value || text.empty()) return false;
    figure.Value = *converted.Value;
    return true;
}

const std::array<Firing_Outcome, 4> Outcomes = {Firing_Outcome::Unfinished,
                                                Firing_Outcome::Finished, Firing_Outcome::Soft_Off,
                                                Firing_Outcome::Alarm};

}  // namespace

std::string Health_File_Of_Record(const std::string& record_path) {
    return File_Beside_Record(record_path, ".health");
}

std::string Health_File_Text(const Firing_Health& health, unsigned long long record_size,
                             long long record_time) {
    std::string text = "method=" + std::to_string(Health_Method) + "\n";
    text += "record_size=" + std::to_string(record_size) + "\n";
    text += "record_time=" + std::to_string(record_time) + "\n";
    text += "start=" + (health.Has_Start ? Format_Clock(health.Start, 0) : std::string()) + "\n";
    text += "profile=" + health.Profile_Name + "\n";
    text += "scale=" + health.Temp_Scale + "\n";
    for (std::size_t b = 0; b < Health_Band_Count; ++b) {
        text +=
            "rate_" + std::to_string(b + 1) + "=" + Figure_Text(health.Full_Power_Rate[b]) + "\n";
    }
    text += "full_output_share=" + Figure_Text(health.Full_Output_Share) + "\n";
    text += "ramp_lag=" + Figure_Text(health.Ramp_Lag) + "\n";
    text += "last_200_minutes=" + Figure_Text(health.Last_200_Minutes) + "\n";
    text += "full_power_hours=" + Format_Number(health.Full_Power_Hours) + "\n";
    text += std::string("outcome=") + Firing_Outcome_Name(health.Outcome) + "\n";
    return text;
}

std::optional<Firing_Health> Parse_Health_File(const std::string& text,
                                               unsigned long long record_size,
                                               long long record_time) {
    const std::optional<std::vector<Key_Value_Line>> lines = Key_Value_Lines(text);
    if (!lines) return std::nullopt;  // torn: work it out again
    std::map<std::string, std::string> values;
    for (const auto& [key, value] : *lines) values[std::string(key)] = value;
    if (values["method"] != std::to_string(Health_Method) ||
        values["record_size"] != std::to_string(record_size) ||
        values["record_time"] != std::to_string(record_time)) {
        return std::nullopt;
    }
    Firing_Health health;
    int offset = 0;
    health.Has_Start = !values["start"].empty();
    if (health.Has_Start && !Parse_Clock(values["start"], health.Start, offset))
        return std::nullopt;
    health.Profile_Name = values["profile"];
    health.Temp_Scale = values["scale"] == "C" ? "C" : "F";
    bool good = true;
    for (std::size_t b = 0; b < Health_Band_Count; ++b) {
        good &= Read_Figure(values["rate_" + std::to_string(b + 1)], health.Full_Power_Rate[b]);
    }
    good &= Read_Figure(values["full_output_share"], health.Full_Output_Share);
    good &= Read_Figure(values["ramp_lag"], health.Ramp_Lag);
    good &= Read_Figure(values["last_200_minutes"], health.Last_200_Minutes);
    Health_Figure hours;
    good &= Read_Figure(values["full_power_hours"], hours) && hours.Value.has_value();
    if (!good) return std::nullopt;
    health.Full_Power_Hours = *hours.Value;
    const auto outcome = std::find_if(Outcomes.begin(), Outcomes.end(), [&](Firing_Outcome o) {
        return values["outcome"] == Firing_Outcome_Name(o);
    });
    if (outcome == Outcomes.end()) return std::nullopt;
    health.Outcome = *outcome;
    return health;
}

std::optional<Firing_Health> Kept_Health(const std::string& record_path) {
    namespace fs = std::filesystem;
    std::error_code error;
    const unsigned long long size = fs::file_size(record_path, error);
    if (error) return std::nullopt;
    const long long time =
        static_cast<long long>(fs::last_write_time(record_path, error).time_since_epoch().count());
    if (error) return std::nullopt;
    const std::string kept_path = Health_File_Of_Record(record_path);
    std::string kept_text;
    if (fs::exists(kept_path, error) && !Read_Record_File(kept_path, kept_text)) {
        if (auto kept = Parse_Health_File(kept_text, size, time)) return kept;
    }
    // The record is scanned line by line, not held whole: the figures of a long firing are
    // worked out in one pass over its text.
    std::string text;
    if (Read_Record_File(record_path, text)) return std::nullopt;
    Firing_Health health;
    if ((!text.empty() && text.front() == '#') || record_path.ends_with(Firing_Record_Suffix)) {
        Health_Lines lines(text.size() / 48);
        Firing_Record_Header header;
        std::vector<Record_Problem> skipped;
        Scan_Firing_Record(
            text, header, [&](Firing_Record_Line&& line) { lines.Add(line); }, skipped);
        health = Health_Of_Lines(lines, header);
    } else {
        Firing_Record record;
        if (Read_Firing_Record(record_path, {}, record)) return std::nullopt;
        health = Work_Out_Health(record);
    }
    // Not kept (a read-only folder) is no loss: the figures are worked out again next time.
    Replace_File_Contents(kept_path, Health_File_Text(health, size, time));
    return health;
}

std::vector<Firing_Health> Health_Of_Folder(const std::string& folder) {
    std::vector<std::string> paths;
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error)) {
        if (it->path().filename().string().ends_with(Firing_Record_Suffix)) {
            paths.push_back(it->path().string());
        }
    }
    std::vector<std::optional<Firing_Health>> found(paths.size());
    On_Cores(paths.size(), [&](std::size_t i) { found[i] = Kept_Health(paths[i]); });
    std::vector<Firing_Health> all;
    for (auto& health : found) {
        if (health && health->Has_Start) all.push_back(std::move(*health));
    }
    std::sort(all.begin(), all.end(), [](const Firing_Health& a, const Firing_Health& b) {
        if (Seconds_Of(a.Start) != Seconds_Of(b.Start)) {
            return Seconds_Of(a.Start) < Seconds_Of(b.Start);
        }
        return a.Profile_Name < b.Profile_Name;
    });
    return all;
}

}  // namespace corvanel
