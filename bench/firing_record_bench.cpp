// SPDX-License-Identifier: GPL-3.0-or-later
// The Firing History's load: list a folder of 500 firing records and open a 24-hour
// record (28,800 ticks) for the chart, each record with the longest watch after its run
// (48 hours of a reading a minute). Memory is counted by the allocations made: the
// listing should hold about one record at a time, whatever the folder's size.

#include <benchmark/benchmark.h>

#include <unistd.h>
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <new>
#include <random>

#include "history/firing_summary.h"
#include "run/firing_chart.h"
#include "run/firing_record.h"

namespace {

std::atomic<long long> Live_Bytes{0}, Peak_Bytes{0};

}  // namespace

void* operator new(std::size_t size) {
    void* block = std::malloc(size + sizeof(std::max_align_t));
    if (!block) throw std::bad_alloc();
    *static_cast<std::size_t*>(block) = size;
    long long live = Live_Bytes += static_cast<long long>(size);
    for (long long peak = Peak_Bytes;
         live > peak && !Peak_Bytes.compare_exchange_weak(peak, live);) {
    }
    return static_cast<char*>(block) + sizeof(std::max_align_t);
}

void operator delete(void* pointer) noexcept {
    if (!pointer) return;
    void* block = static_cast<char*>(pointer) - sizeof(std::max_align_t);
    Live_Bytes -= static_cast<long long>(*static_cast<std::size_t*>(block));
    std::free(block);
}

void operator delete(void* pointer, std::size_t) noexcept {
    operator delete(pointer);
}

namespace corvanel {
namespace {

// The longest watch after a run: a reading a minute for 48 hours, then its end.
constexpr int After_Run_Lines = 48 * 60;

// A record of `ticks` control ticks `tick` seconds apart, with a start and an end event,
// and the kiln watched after the run as long as it ever is.
void Write_Record(const std::filesystem::path& path, int ticks, int tick, bool hours, int day) {
    Firing_Record_Header header;
    header.Program = "Corvanel 0.1.0";
    header.Kiln_Name = "Studio kiln";
    header.Profile_Name = hours ? "glaze.txt" : "long_test.txt";
    header.Time_Unit = hours ? "H" : "M";
    header.Tick_Length = tick;
    header.Plan = {{0, 20}, {8, 1240}, {10, 1240}, {24, 20}};
    std::string text = Firing_Record_Header_Text(header);
    Firing_Record_Line line;
    line.Clock = Date_Time_Of_Seconds(Seconds_Of({2026, 1, 1, 8, 0, 0}) + day * 86400LL);
    line.Offset_Minutes = 60;
    line.Event = "start";
    text += Firing_Record_Line_Text(line);
    line.Event.clear();
    std::minstd_rand noise(static_cast<unsigned>(day));
    const double unit = hours ? 3600 : 60;
    for (int i = 0; i < ticks; ++i) {
        line.Clock = Date_Time_Of_Seconds(Seconds_Of(line.Clock) + tick);
        line.Elapsed = i * tick / unit;
        line.Segment = 1 + i * 3 / ticks;
        line.Set_Value = 20 + 1220.0 * std::min(1.0, i * 3.0 / ticks);
        line.Measured = line.Set_Value - static_cast<double>(noise() % 40) / 4;
        line.Output_Percent = static_cast<double>(noise() % 1000) / 10;
        text += Firing_Record_Line_Text(line);
    }
    line.Event = "profile finished";
    text += Firing_Record_Line_Text(line);
    line.Event = "soft off";
    text += Firing_Record_Line_Text(line);
    const double end = line.Elapsed;
    line.Event = std::string(After_Run_Event);
    line.Set_Value = 20;
    line.Output_Percent = 0;
    for (int i = 1; i <= After_Run_Lines; ++i) {
        line.Clock = Date_Time_Of_Seconds(Seconds_Of(line.Clock) + 60);
        line.Elapsed = end + i * 60 / unit;
        line.Measured = 20 + 1200 * std::exp(-i / 600.0);
        text += Firing_Record_Line_Text(line);
    }
    line.Event = "after run ended";
    line.Detail = "48 hours";
    text += Firing_Record_Line_Text(line);
    std::ofstream(path, std::ios::binary) << text;
}

struct History_Folder {
    std::filesystem::path Folder = std::filesystem::temp_directory_path() /
                                   ("corvanel-history-bench-" + std::to_string(::getpid()));
    std::string Day_Record;
    History_Folder() {
        std::filesystem::create_directories(Folder);
        // 500 glaze firings in hours: a tick a minute, 12 hours each.
        for (int i = 0; i < 500; ++i) {
            Write_Record(Folder / ("glaze_" + std::to_string(i) + ".firing.csv"), 720, 60, true, i);
        }
        // One 24-hour firing of a profile in minutes: a tick every 3 seconds.
        Day_Record = (Folder / "day.firing.csv").string();
        Write_Record(Day_Record, 28800, 3, false, 600);
    }
    ~History_Folder() {
        std::error_code ignored;
        std::filesystem::remove_all(Folder, ignored);
    }
};

void BM_List_500_And_Open_A_Day(benchmark::State& state) {
    static History_Folder history;
    long long listing_peak = 0, opening_peak = 0;
    for (auto _ : state) {
        long long before = Live_Bytes;
        Peak_Bytes = before;
        std::vector<Firing_List_Entry> list =
            List_Firing_Records(history.Folder.string(), Energy_Settings{11.0, 0.3});
        listing_peak = Peak_Bytes - before;
        Firing_Record record;
        Peak_Bytes = Live_Bytes.load();
        before = Live_Bytes;
        Read_Firing_Record(history.Day_Record, {}, record);
        Firing_Chart chart = Build_Firing_Chart({&record});
        opening_peak = Peak_Bytes - before;
        benchmark::DoNotOptimize(list.data());
        benchmark::DoNotOptimize(chart.Series.data());
        if (list.size() != 501 || record.Lines.size() != 28803 + After_Run_Lines + 1)
            state.SkipWithError("wrong count");
    }
    state.counters["listing_peak_MB"] = static_cast<double>(listing_peak) / 1e6;
    state.counters["opening_peak_MB"] = static_cast<double>(opening_peak) / 1e6;
    state.counters["day_record_MB"] =
        static_cast<double>(std::filesystem::file_size(history.Day_Record)) / 1e6;
}
BENCHMARK(BM_List_500_And_Open_A_Day)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace
}  // namespace corvanel

BENCHMARK_MAIN();
