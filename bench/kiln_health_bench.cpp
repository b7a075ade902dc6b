// SPDX-License-Identifier: GPL-3.0-or-later
// The kiln's health over 500 firings of 14 hours each, a tick every 3 seconds (16,800
// ticks a record): (a) every record's figures worked out and kept, one record after the
// other on one core, with nothing kept before; (b) the Kiln Health view's load once they
// are kept: the figures of the folder, the marked events and the reading.

#include <benchmark/benchmark.h>

#include <unistd.h>
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <random>

#include "history/kiln_events.h"
#include "history/kiln_health.h"
#include "history/kiln_health_reading.h"
#include "run/firing_record.h"

namespace corvanel {
namespace {

constexpr int Record_Count = 500;
constexpr int Tick_Seconds = 3;
constexpr int Ticks = 14 * 3600 / Tick_Seconds;

// One firing of a kiln whose elements weaken a little each firing: a controlled ramp of
// 200 F/h to 1,000 F, then full output to 2,200 F, the kiln slowing as it gets hotter, a
// hold of half an hour and the kiln cooling shut off for the rest of the 14 hours.
std::string Firing_Text(int firing) {
    const double power = 1 - 0.0004 * firing;
    const Date_Time start = Date_Time_Of_Seconds(Seconds_Of({2026, 1, 5, 7, 30, 0}) +
                                                 static_cast<long long>(firing) * 3 * 86400);
    std::minstd_rand noise(static_cast<unsigned>(firing) + 1);
    auto jitter = [&] { return static_cast<double>(noise() % 21) / 10 - 1; };

    Firing_Record_Header header;
    header.Program = "Corvanel 0.1.0";
    header.Kiln_Name = "Studio kiln";
    header.Profile_Name = "cone6_glaze.txt";
    header.Tick_Length = Tick_Seconds;
    std::string body;
    Firing_Record_Line line;
    line.Clock = start;
    line.Offset_Minutes = 60;
    line.Event = "start";
    body += Firing_Record_Line_Text(line);
    line.Event.clear();

    double t = 70, set = 70, minutes_at_peak = -1;
    for (int i = 0; i < Ticks; ++i) {
        const double minutes = i * Tick_Seconds / 60.0;
        double output = 0;
        if (t < 1000) {
            set = std::min(1000.0, 70 + 200 * minutes / 60);
            output = std::clamp(40 + 2 * (set - t), 0.0, 100.0);
            t += (200 + 6 * (output - 50)) / 1200.0;
        } else if (t < 2200 && minutes_at_peak < 0) {
            set = std::min(2200.0, t + 60);
            output = 100;
            t = std::min(2200.0, t + power * 700 * (1 - t / 2600) / 1200.0);
            if (t >= 2200) minutes_at_peak = minutes;
        } else if (minutes - minutes_at_peak < 30) {
            set = 2200;
            output = 55;
        } else {
            output = 0;
            t = 70 + (t - 70) * 0.99985;
        }
        line.Clock = Date_Time_Of_Seconds(Seconds_Of(start) + i * Tick_Seconds);
        line.Elapsed = minutes;
        line.Segment = t < 1000 ? 1 : minutes_at_peak < 0 ? 2 : 3;
        line.Set_Value = std::round(set * 10) / 10;
        line.Measured = std::round((t + jitter()) * 10) / 10;
        line.Output_Percent = output;
        body += Firing_Record_Line_Text(line);
    }
    line.Event = "profile finished";
    body += Firing_Record_Line_Text(line);
    // As the profile asks it: 200 F/h to 1,000 F, 300 F/h to 2,200 F, half an hour there.
    header.Plan = {{0, 0}, {0, 70}, {279, 1000}, {519, 2200}, {549, 2200}};
    return Firing_Record_Header_Text(header) + body;
}

struct Health_Folder {
    std::filesystem::path Folder = std::filesystem::temp_directory_path() /
                                   ("corvanel-health-bench-" + std::to_string(::getpid()));
    std::vector<std::string> Records;
    double Megabytes = 0;
    Health_Folder() {
        std::filesystem::create_directories(Folder);
        for (int i = 0; i < Record_Count; ++i) {
            Records.push_back((Folder / ("glaze_" + std::to_string(i) + ".firing.csv")).string());
            const std::string text = Firing_Text(i);
            Megabytes += static_cast<double>(text.size()) / 1e6;
            std::ofstream(Records.back(), std::ios::binary) << text;
        }
        Add_Kiln_Event(Folder.string(),
                       {{2026, 1, 1, 0, 0, 0}, Kiln_Event_Kind::Elements_Replaced, "new elements"});
    }
    ~Health_Folder() {
        std::error_code ignored;
        std::filesystem::remove_all(Folder, ignored);
    }
    void Forget_Kept() const {
        for (const std::string& record : Records)
            std::filesystem::remove(Health_File_Of_Record(record));
    }
};

Health_Folder& Folder() {
    static Health_Folder folder;
    return folder;
}

void BM_Work_Out_500_On_One_Core(benchmark::State& state) {
    const Health_Folder& folder = Folder();
    std::size_t rated = 0;
    for (auto _ : state) {
        state.PauseTiming();
        folder.Forget_Kept();
        state.ResumeTiming();
        rated = 0;
        for (const std::string& record : folder.Records) {
            const std::optional<Firing_Health> health = Kept_Health(record);
            if (health && health->Full_Power_Rate[2].Value) ++rated;
        }
    }
    if (rated != folder.Records.size()) state.SkipWithError("a record without its top band");
    state.counters["records"] = static_cast<double>(folder.Records.size());
    state.counters["ticks_each"] = Ticks;
    state.counters["folder_MB"] = folder.Megabytes;
}
BENCHMARK(BM_Work_Out_500_On_One_Core)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_Open_The_View_Once_Kept(benchmark::State& state) {
    const Health_Folder& folder = Folder();
    Health_Of_Folder(folder.Folder.string());  // keeps what is not kept yet
    std::size_t readings = 0, firings = 0;
    for (auto _ : state) {
        const std::vector<Firing_Health> all = Health_Of_Folder(folder.Folder.string());
        const std::vector<Kiln_Event> events = Read_Kiln_Events(folder.Folder.string());
        const std::vector<Health_Reading> read =
            Read_Kiln_Health(all, events, Kiln_Health_Settings{}, "F");
        firings = all.size();
        readings = read.size();
        benchmark::DoNotOptimize(read.data());
    }
    if (firings != folder.Records.size() || readings == 0) state.SkipWithError("wrong count");
    state.counters["firings"] = static_cast<double>(firings);
}
BENCHMARK(BM_Open_The_View_Once_Kept)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace
}  // namespace corvanel

BENCHMARK_MAIN();
