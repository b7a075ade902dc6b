// SPDX-License-Identifier: GPL-3.0-or-later
// The kiln's forecast: (a) the thermal model learned from a folder of 500 firing records of
// 14 hours, a tick every 3 seconds, nothing kept before (the headers of all, the ticks of
// the latest five); (b) the forecast of a 14-hour profile from any tick of the firing, as
// the run window asks it at each tick.

#include <benchmark/benchmark.h>

#include <unistd.h>
#include <filesystem>
#include <fstream>

#include "history/kiln_forecast.h"
#include "history/kiln_thermal_model.h"
#include "history/planted_kiln.h"

namespace corvanel {
namespace {

constexpr int Record_Count = 500;

// A cone 6 glaze of 14 hours: 200 F/h to 1,000 F, 400 F/h to 2,232 F, a hold, a drop to
// 1,900 F held an hour, and a slow cool to 1,500 F.
const Plan_Points Glaze_14_Hours = Planted_Plan({{0, 70},
                                                 {279, 1000},
                                                 {463.8, 2232},
                                                 {478.8, 2232},
                                                 {538.8, 1900},
                                                 {598.8, 1900},
                                                 {838.8, 1500}});

struct Forecast_Folder {
    std::filesystem::path Folder = std::filesystem::temp_directory_path() /
                                   ("corvanel-forecast-bench-" + std::to_string(::getpid()));
    double Megabytes = 0;
    Forecast_Folder() {
        std::filesystem::create_directories(Folder);
        const auto settled = std::filesystem::file_time_type::clock::now() - std::chrono::hours(1);
        for (int i = 0; i < Record_Count; ++i) {
            // Elements a little weaker each firing.
            Planted_Kiln kiln;
            for (auto& point : kiln.Rate_Curve) point.second *= 1 - 0.0004 * i;
            const Date_Time start = Date_Time_Of_Seconds(Seconds_Of({2026, 1, 5, 7, 30, 0}) +
                                                         static_cast<long long>(i) * 3 * 86400);
            const std::string text = Planted_Record(kiln, Glaze_14_Hours, start, "F", 3);
            Megabytes += static_cast<double>(text.size()) / 1e6;
            const auto path = Folder / ("glaze_" + std::to_string(i) + ".firing.csv");
            std::ofstream(path, std::ios::binary) << text;
            std::filesystem::last_write_time(path, settled);
        }
    }
    ~Forecast_Folder() {
        std::error_code ignored;
        std::filesystem::remove_all(Folder, ignored);
    }
};

Forecast_Folder& Folder() {
    static Forecast_Folder folder;
    return folder;
}

void BM_Learn_From_500_Records(benchmark::State& state) {
    const Forecast_Folder& folder = Folder();
    int firings = 0;
    std::size_t bins = 0;
    for (auto _ : state) {
        state.PauseTiming();
        std::filesystem::remove(folder.Folder / Kiln_Model_File);
        state.ResumeTiming();
        const Kiln_Thermal_Model model = Kept_Kiln_Model(folder.Folder.string());
        firings = model.Firings;
        bins = model.Heating.size();
    }
    if (firings != static_cast<int>(Model_Firings) || bins < 5)
        state.SkipWithError("not learned from the latest firings");
    state.counters["records"] = Record_Count;
    state.counters["folder_MB"] = folder.Megabytes;
    state.counters["bins"] = static_cast<double>(bins);
}
BENCHMARK(BM_Learn_From_500_Records)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_Forecast_14_Hour_Profile_Per_Tick(benchmark::State& state) {
    const Kiln_Thermal_Model model = Kept_Kiln_Model(Folder().Folder.string());
    const std::vector<double> course = Planted_Course(Planted_Kiln{}, Glaze_14_Hours);
    std::size_t second = 0, points = 0;
    for (auto _ : state) {
        // The firing's ticks in turn, 3 seconds apart, from its start to its end.
        second = (second + 3) % course.size();
        const Firing_Forecast forecast = Forecast_Firing(
            &model, Glaze_14_Hours, "F", "M", static_cast<double>(second) / 60, course[second]);
        points = forecast.Curve.size();
        benchmark::DoNotOptimize(forecast.Likely_End);
    }
    if (points < 2) state.SkipWithError("no curve");
    state.counters["profile_hours"] = Glaze_14_Hours.back().first / 60;
}
BENCHMARK(BM_Forecast_14_Hour_Profile_Per_Tick)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace corvanel

BENCHMARK_MAIN();
