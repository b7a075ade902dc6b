// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/kiln_thermal_model.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <fstream>
#include <map>

#include "common/numeric.h"
#include "common/text.h"
#include "history/kiln_events.h"
#include "history/kiln_health.h"
#include "setup/setup_files.h"

namespace corvanel {

// ---- the model's curves ----

double Kiln_Thermal_Model::Full_Output_Rate(double fahrenheit) const {
    if (Heating.empty()) return 0;
    auto centre = [](const Heating_Bin& bin) { return bin.Low_F + Model_Bin_F / 2; };
    if (fahrenheit <= centre(Heating.front())) return Heating.front().Rate_F_Per_Hour;
    if (fahrenheit >= centre(Heating.back())) return Heating.back().Rate_F_Per_Hour;
    const auto above =
        std::upper_bound(Heating.begin(), Heating.end(), fahrenheit,
                         [&](double t, const Heating_Bin& bin) { return t < centre(bin); });
    const Heating_Bin& high = *above;
    const Heating_Bin& low = *(above - 1);
    const double share = (fahrenheit - centre(low)) / (centre(high) - centre(low));
    return low.Rate_F_Per_Hour + share * (high.Rate_F_Per_Hour - low.Rate_F_Per_Hour);
}

std::optional<double> Kiln_Thermal_Model::Cooling_Rate(double fahrenheit) const {
    if (!Cooling_Per_Hour) return std::nullopt;
    return *Cooling_Per_Hour * std::max(0.0, fahrenheit - Room_F);
}

std::optional<double> Kiln_Thermal_Model::Cooled(double fahrenheit, double hours) const {
    if (!Cooling_Per_Hour) return std::nullopt;
    if (fahrenheit <= Room_F) return fahrenheit;
    return Room_F + (fahrenheit - Room_F) * std::exp(-*Cooling_Per_Hour * hours);
}

// ---- learning ----

namespace {

// A reading of the kiln: its time in seconds and its temperatures in Fahrenheit.
struct Model_Reading {
    double Seconds, Elapsed;
    double Set_F, Measured_F, Output;
    bool Tick;  // a control tick (not a reading after the run)
};

// A bin counts when the kiln climbed at least this much in it at full output.
constexpr double Least_Climb_F = Model_Bin_F / 4;
constexpr std::size_t Least_Lag_Ticks = 20;
// No kiln heats or cools this fast: a reading this far off its neighbour (a spike, a broken
// thermocouple) is no rate. And a kiln this far below the set value with the output short
// of full is not following a ramp.
constexpr double Fastest_F_Per_Hour = 3000;
constexpr double Farthest_Lag_F = 150;

bool Too_Fast(double from_f, double to_f, double seconds) {
    return std::abs(to_f - from_f) / seconds * 3600 > Fastest_F_Per_Hour;
}
// Cooling is read in steps of at least this long, so a reading's rounding is no rate,
// and only from stretches that fell at least this far.
constexpr double Cooling_Step_Seconds = 300;
constexpr double Least_Cooling_Fall_F = 20;
constexpr std::size_t Least_Cooling_Steps = 6;
// A fitted room temperature outside this is no room: k is fitted to the usual one.
constexpr double Coldest_Room_F = 32, Warmest_Room_F = 120, Usual_Room_F = 70;

double Fahrenheit(double degrees, const std::string& scale) {
    return scale == "C" ? degrees * 9 / 5 + 32 : degrees;
}

std::vector<Model_Reading> Readings_Of(const Firing_Record& record) {
    const Firing_Record_Header& header = record.Header;
    const double unit = Seconds_Per_Time_Unit(header.Time_Unit);
    std::vector<Model_Reading> readings;
    readings.reserve(record.Lines.size());
    for (const Firing_Record_Line& line : record.Lines) {
        if (!line.Is_Reading()) continue;
        readings.push_back(
            {line.Has_Clock ? static_cast<double>(line.Utc_Seconds()) : line.Elapsed * unit,
             line.Elapsed, Fahrenheit(line.Set_Value, header.Temp_Scale),
             Fahrenheit(line.Measured, header.Temp_Scale), line.Output_Percent, line.Is_Tick()});
    }
    return readings;
}

bool Plan_Rises_At(const Plan_Points& plan, double elapsed) {
    for (std::size_t k = First_Drawn_Plan_Point(plan); k + 1 < plan.size(); ++k) {
        if (plan[k].first <= elapsed && elapsed < plan[k + 1].first) {
            return plan[k + 1].second > plan[k].second;
        }
    }
    return false;
}

struct Climb {
    double Degrees = 0, Seconds = 0;
    std::size_t Ticks = 0;
};

// What the records say, summed over them.
class Model_Learner {
  public:
    // True when the record held anything to learn from.
    bool Add(const Firing_Record& record) {
        const std::vector<Model_Reading> readings = Readings_Of(record);
        const double gap = std::max(60.0, 5 * record.Header.Tick_Length);
        bool used = false;
        for (std::size_t i = 1; i < readings.size(); ++i) {
            const Model_Reading& from = readings[i - 1];
            const Model_Reading& to = readings[i];
            const double dt = to.Seconds - from.Seconds;
            if (!from.Tick || !to.Tick || dt <= 0 || dt > gap) continue;
            if (from.Output < Full_Output_Percent || Too_Fast(from.Measured_F, to.Measured_F, dt))
                continue;
            const double middle = (from.Measured_F + to.Measured_F) / 2;
            Climb& bin = Bins_[static_cast<long>(std::floor(middle / Model_Bin_F))];
            bin.Degrees += to.Measured_F - from.Measured_F;
            bin.Seconds += dt;
            ++bin.Ticks;
            for (std::size_t b = 0; b < Health_Band_Count; ++b) {
                if (Health_Bands[b].Low_F <= middle && middle < Health_Bands[b].High_F) {
                    Bands_[b].Degrees += to.Measured_F - from.Measured_F;
                    Bands_[b].Seconds += dt;
                }
            }
            used = true;
        }
        for (const Model_Reading& reading : readings) {
            if (!reading.Tick || reading.Output >= Full_Output_Percent ||
                std::abs(reading.Set_F - reading.Measured_F) > Farthest_Lag_F ||
                !Plan_Rises_At(record.Header.Plan, reading.Elapsed)) {
                continue;
            }
            Lag_ += reading.Set_F - reading.Measured_F;
            ++Lag_Ticks_;
            used = true;
        }
        used = Add_Cooling(readings, std::max(gap, 3 * Cooling_Step_Seconds)) || used;
        return used;
    }

    Kiln_Thermal_Model Result() const {
        Kiln_Thermal_Model model;
        for (const auto& [index, bin] : Bins_) {
            const double low = static_cast<double>(index) * Model_Bin_F;
            std::optional<double> rate;
            std::size_t ticks = bin.Ticks;
            if (bin.Degrees >= Least_Climb_F && bin.Seconds > 0) {
                rate = bin.Degrees / bin.Seconds * 3600;
            } else if (const std::optional<double> band = Band_Rate(low + Model_Bin_F / 2)) {
                rate = band, ticks = 0;
            }
            if (rate && *rate > 0) model.Heating.push_back({low, *rate, ticks});
        }
        if (Lag_Ticks_ >= Least_Lag_Ticks) {
            model.Ramp_Lag_F = Lag_ / static_cast<double>(Lag_Ticks_);
            model.Lag_Ticks = Lag_Ticks_;
        }
        Fit_Cooling(model);
        return model;
    }

  private:
    // The rate in the health band around this temperature, read as kiln health reads it.
    std::optional<double> Band_Rate(double fahrenheit) const {
        for (std::size_t b = 0; b < Health_Band_Count; ++b) {
            const Health_Band& band = Health_Bands[b];
            if (fahrenheit < band.Low_F || fahrenheit >= band.High_F) continue;
            if (Bands_[b].Degrees >= (band.High_F - band.Low_F) / 4 && Bands_[b].Seconds > 0)
                return Bands_[b].Degrees / Bands_[b].Seconds * 3600;
        }
        return std::nullopt;
    }

    // The stretches at output 0 that fell, in steps of Cooling_Step_Seconds or more.
    bool Add_Cooling(const std::vector<Model_Reading>& readings, double gap) {
        bool used = false;
        std::size_t i = 0;
        while (i < readings.size()) {
            if (readings[i].Output > 0) {
                ++i;
                continue;
            }
            std::size_t end = i + 1;
            while (end < readings.size() && readings[end].Output <= 0 &&
                   readings[end].Seconds - readings[end - 1].Seconds > 0 &&
                   readings[end].Seconds - readings[end - 1].Seconds <= gap) {
                ++end;
            }
            if (readings[i].Measured_F - readings[end - 1].Measured_F >= Least_Cooling_Fall_F) {
                std::size_t from = i, last = i;
                for (std::size_t k = i + 1; k < end; ++k) {
                    if (Too_Fast(readings[last].Measured_F, readings[k].Measured_F,
                                 readings[k].Seconds - readings[last].Seconds)) {
                        continue;  // a reading off by far: passed over
                    }
                    last = k;
                    const double dt = readings[k].Seconds - readings[from].Seconds;
                    if (dt < Cooling_Step_Seconds) continue;
                    Steps_.push_back(
                        {(readings[from].Measured_F + readings[k].Measured_F) / 2,
                         (readings[k].Measured_F - readings[from].Measured_F) / dt * 3600});
                    from = k;
                    used = true;
                }
            }
            i = end;
        }
        return used;
    }

    // Newton's cooling by least squares: the rate a + b T, k = -b and T_room = a / k.
    void Fit_Cooling(Kiln_Thermal_Model& model) const {
        if (Steps_.size() < Least_Cooling_Steps) return;
        const double n = static_cast<double>(Steps_.size());
        double sx = 0, sy = 0;
        for (const auto& [x, y] : Steps_) sx += x, sy += y;
        const double mx = sx / n, my = sy / n;
        double sxx = 0, sxy = 0;
        for (const auto& [x, y] : Steps_) sxx += (x - mx) * (x - mx), sxy += (x - mx) * (y - my);
        double k = 0, room = Usual_Room_F;
        if (sxx > 0) {
            k = -sxy / sxx;
            room = k > 0 ? mx + my / k : 0;
        }
        if (k <= 0 || room < Coldest_Room_F || room > Warmest_Room_F) {
            // Too narrow a span of temperatures to tell the room from the rate: the usual
            // room, and k alone.
            room = Usual_Room_F;
            double num = 0, den = 0;
            for (const auto& [x, y] : Steps_) num -= y * (x - room), den += (x - room) * (x - room);
            k = den > 0 ? num / den : 0;
        }
        if (k <= 0) return;
        double square = 0;
        for (const auto& [x, y] : Steps_) square += std::pow(y + k * (x - room), 2);
        model.Cooling_Per_Hour = k;
        model.Room_F = room;
        model.Cooling_Steps = Steps_.size();
        model.Cooling_Rms_F_Per_Hour = std::sqrt(square / n);
    }

    std::map<long, Climb> Bins_;
    std::array<Climb, Health_Band_Count> Bands_{};
    double Lag_ = 0;
    std::size_t Lag_Ticks_ = 0;
    std::vector<std::pair<double, double>> Steps_;  // (temperature, rate in F/h)
};

// When the firing started: the header says, or else its first line with a clock.
std::optional<Date_Time> Start_Of(const Firing_Record& record) {
    Date_Time start;
    int offset = 0;
    if (Parse_Clock(record.Header.Started, start, offset)) return start;
    for (const Firing_Record_Line& line : record.Lines) {
        if (line.Has_Clock) return line.Clock;
    }
    return std::nullopt;
}

// The firings taken, the latest first, up to Model_Firings of them.
class Model_Firings_Taken {
  public:
    bool Full() const { return static_cast<std::size_t>(Firings_) >= Model_Firings; }
    void Add(const Firing_Record& record) {
        if (Full() || !Learner_.Add(record)) return;
        ++Firings_;
        if (const std::optional<Date_Time> start = Start_Of(record)) {
            if (!Newest_) Newest_ = start;
            Oldest_ = start;
        }
    }
    Kiln_Thermal_Model Result() const {
        Kiln_Thermal_Model model = Learner_.Result();
        model.Firings = Firings_;
        model.Oldest_Firing = Oldest_;
        model.Newest_Firing = Newest_;
        return model;
    }

  private:
    Model_Learner Learner_;
    int Firings_ = 0;
    std::optional<Date_Time> Oldest_, Newest_;
};

}  // namespace

Kiln_Thermal_Model Learn_Kiln_Model(const std::vector<Firing_Record>& latest_first) {
    Model_Firings_Taken taken;
    for (const Firing_Record& record : latest_first) taken.Add(record);
    return taken.Result();
}

// ---- the kept model ----

namespace {

std::string Optional_Number(const std::optional<double>& value) {
    return value ? Format_Number(*value) : std::string();
}

bool Read_Number(std::string_view text, double& value) {
    const Double_Conversion converted = Convert_To_Double(text);
    if (text.empty() || !converted.Value || !std::isfinite(*converted.Value)) return false;
    value = *converted.Value;
    return true;
}

bool Read_Optional(std::string_view text, std::optional<double>& value) {
    if (text.empty()) return true;
    double number = 0;
    if (!Read_Number(text, number)) return false;
    value = number;
    return true;
}

bool Read_Count(std::string_view text, std::size_t& count) {
    double number = 0;
    if (!Read_Number(text, number) || number < 0 || number != std::floor(number)) return false;
    count = static_cast<std::size_t>(number);
    return true;
}

bool Read_Day(std::string_view text, std::optional<Date_Time>& day) {
    if (text.empty()) return true;
    Date_Time clock;
    int offset = 0;
    if (!Parse_Clock(text, clock, offset)) return false;
    day = clock;
    return true;
}

std::string Day_Text(const std::optional<Date_Time>& day) {
    return day ? Format_Clock(*day, 0) : std::string();
}

}  // namespace

std::string Kiln_Model_Text(const Kiln_Thermal_Model& model, const Kiln_Model_Source& source) {
    std::string text = "method=" + std::to_string(Kiln_Model_Method) + "\n";
    text += "records=" + std::to_string(source.Records) + "\n";
    text += "newest_change=" + std::to_string(source.Newest_Change) + "\n";
    text += "events_change=" + std::to_string(source.Events_Change) + "\n";
    text += "firings=" + std::to_string(model.Firings) + "\n";
    text += "oldest_firing=" + Day_Text(model.Oldest_Firing) + "\n";
    text += "newest_firing=" + Day_Text(model.Newest_Firing) + "\n";
    for (const Heating_Bin& bin : model.Heating) {
        text += "heating=" + Format_Number(bin.Low_F) + " " + Format_Number(bin.Rate_F_Per_Hour) +
                " " + std::to_string(bin.Ticks) + "\n";
    }
    text += "ramp_lag=" + Optional_Number(model.Ramp_Lag_F) + "\n";
    text += "lag_ticks=" + std::to_string(model.Lag_Ticks) + "\n";
    text += "cooling_per_hour=" + Optional_Number(model.Cooling_Per_Hour) + "\n";
    text += "room=" + Format_Number(model.Room_F) + "\n";
    text += "cooling_steps=" + std::to_string(model.Cooling_Steps) + "\n";
    text += "cooling_rms=" + Format_Number(model.Cooling_Rms_F_Per_Hour) + "\n";
    return text;
}

std::optional<Kiln_Thermal_Model> Parse_Kiln_Model(const std::string& text,
                                                   const Kiln_Model_Source& source) {
    const std::optional<std::vector<Key_Value_Line>> lines = Key_Value_Lines(text);
    if (!lines) return std::nullopt;
    std::map<std::string, std::string> values;
    Kiln_Thermal_Model model;
    bool good = true;
    for (const auto& [key, value] : *lines) {
        if (key != "heating") {
            values[std::string(key)] = value;
            continue;
        }
        const std::string fields(value);
        const std::size_t first = fields.find(' '), second = fields.find(' ', first + 1);
        Heating_Bin bin;
        good = good && first != std::string::npos && second != std::string::npos &&
               Read_Number(std::string_view(fields).substr(0, first), bin.Low_F) &&
               Read_Number(std::string_view(fields).substr(first + 1, second - first - 1),
                           bin.Rate_F_Per_Hour) &&
               Read_Count(std::string_view(fields).substr(second + 1), bin.Ticks) &&
               bin.Rate_F_Per_Hour > 0 &&
               (model.Heating.empty() || bin.Low_F > model.Heating.back().Low_F);
        model.Heating.push_back(bin);
    }
    if (!good || values["method"] != std::to_string(Kiln_Model_Method) ||
        values["records"] != std::to_string(source.Records) ||
        values["newest_change"] != std::to_string(source.Newest_Change) ||
        values["events_change"] != std::to_string(source.Events_Change)) {
        return std::nullopt;
    }
    std::size_t firings = 0;
    good = Read_Count(values["firings"], firings) &&
           Read_Day(values["oldest_firing"], model.Oldest_Firing) &&
           Read_Day(values["newest_firing"], model.Newest_Firing) &&
           Read_Optional(values["ramp_lag"], model.Ramp_Lag_F) &&
           Read_Count(values["lag_ticks"], model.Lag_Ticks) &&
           Read_Optional(values["cooling_per_hour"], model.Cooling_Per_Hour) &&
           Read_Number(values["room"], model.Room_F) &&
           Read_Count(values["cooling_steps"], model.Cooling_Steps) &&
           Read_Number(values["cooling_rms"], model.Cooling_Rms_F_Per_Hour);
    if (!good || (model.Cooling_Per_Hour && *model.Cooling_Per_Hour <= 0)) return std::nullopt;
    model.Firings = static_cast<int>(firings);
    return model;
}

namespace {

struct Record_File {
    std::string Path;
    long long Change = 0;
};

long long Change_Of(const std::filesystem::file_time_type& time) {
    return static_cast<long long>(time.time_since_epoch().count());
}

// The header of a record and when its firing started (UTC seconds), read from its first
// lines only: the header's start, or the first line's clock in a record without one.
struct Record_Head {
    Firing_Record_Header Header;
    long long Local_Start = 0, Utc_Start = 0;
};
std::optional<Record_Head> Head_Of(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string head(8192, '\0');
    in.read(head.data(), static_cast<std::streamsize>(head.size()));
    head.resize(static_cast<std::size_t>(in.gcount()));
    if (head.empty() || head.front() != '#') return std::nullopt;
    const std::size_t last = head.rfind('\n');
    head.resize(last == std::string::npos ? 0 : last + 1);
    Record_Head read;
    std::optional<Firing_Record_Line> first;
    std::vector<Record_Problem> ignored;
    Scan_Firing_Record(
        head, read.Header,
        [&](Firing_Record_Line&& line) {
            if (!first && line.Has_Clock) first = std::move(line);
        },
        ignored);
    Date_Time start;
    int offset = 0;
    if (read.Header.Started.empty() || !Parse_Clock(read.Header.Started, start, offset)) {
        if (!first) return std::nullopt;
        start = first->Clock, offset = first->Offset_Minutes;
    }
    read.Local_Start = Seconds_Of(start);
    read.Utc_Start = read.Local_Start - 60LL * offset;
    return read;
}

}  // namespace

Kiln_Thermal_Model Kept_Kiln_Model(const std::string& folder, std::filesystem::file_time_type now) {
    namespace fs = std::filesystem;
    std::vector<Record_File> records;
    Kiln_Model_Source source;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        if (!it->path().filename().string().ends_with(Firing_Record_Suffix)) continue;
        std::error_code stat_error;
        const fs::file_time_type changed = it->last_write_time(stat_error);
        if (stat_error || changed > now - Record_Settle_Time) continue;
        records.push_back({it->path().string(), Change_Of(changed)});
        source.Newest_Change = std::max(source.Newest_Change, records.back().Change);
    }
    source.Records = records.size();
    const fs::path events_path = fs::path(folder) / Kiln_Events_File;
    if (fs::exists(events_path, error)) {
        const fs::file_time_type changed = fs::last_write_time(events_path, error);
        if (!error) source.Events_Change = Change_Of(changed);
    }
    const std::string kept_path = (fs::path(folder) / Kiln_Model_File).string();
    std::string kept_text;
    if (fs::exists(kept_path, error) && !Read_Record_File(kept_path, kept_text)) {
        if (std::optional<Kiln_Thermal_Model> kept = Parse_Kiln_Model(kept_text, source))
            return *kept;
    }

    // The firings since the latest marked event, the latest first.
    std::optional<long long> since;
    for (const Kiln_Event& event : Read_Kiln_Events(folder)) {
        since = std::max(since.value_or(Seconds_Of(event.Date)), Seconds_Of(event.Date));
    }
    struct Candidate {
        std::string Path;
        long long Utc_Start;
    };
    std::vector<Candidate> candidates;
    for (const Record_File& record : records) {
        const std::optional<Record_Head> head = Head_Of(record.Path);
        if (!head || head->Header.Outside_Firing) continue;
        if (since && head->Local_Start < *since) continue;
        candidates.push_back({record.Path, head->Utc_Start});
    }
    std::sort(candidates.begin(), candidates.end(), [](const Candidate& a, const Candidate& b) {
        return a.Utc_Start != b.Utc_Start ? a.Utc_Start > b.Utc_Start : a.Path > b.Path;
    });
    // Records that hold nothing to learn from are passed over, a few at most.
    Model_Firings_Taken taken;
    const std::size_t most_read = 4 * Model_Firings;
    for (std::size_t i = 0; i < candidates.size() && i < most_read && !taken.Full(); ++i) {
        Firing_Record record;
        if (Read_Firing_Record(candidates[i].Path, {}, record)) continue;
        taken.Add(record);
    }
    const Kiln_Thermal_Model model = taken.Result();
    // Not kept (a read-only folder) is no loss: it is learned again next time. Without
    // records there is nothing worth keeping, nor a folder to fill.
    if (source.Records > 0) Replace_File_Contents(kept_path, Kiln_Model_Text(model, source));
    return model;
}

}  // namespace corvanel
