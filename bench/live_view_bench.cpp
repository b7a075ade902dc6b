// SPDX-License-Identifier: GPL-3.0-or-later
// The run chart's work at one control tick late in a long firing: 24 hours of a profile
// in minutes at a tick every 3 s already drawn (28,800 points in each trace), then one
// more tick: the live view takes the status, the chart adds the new points and the
// window repaints it. The figure to watch is the CPU time per tick (limit 2 ms).

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLineSeries>
#include <cmath>
#include <filesystem>

#include "app/windows/run_chart_view.h"
#include "run/live_firing_view.h"

namespace corvanel {
namespace {

constexpr int Ticks_Drawn = 24 * 60 * 20;  // 24 h at 20 ticks a minute

// A 26-hour firing: up to 2200 F over 20 hours, a hold, then down.
const std::vector<std::pair<double, double>> Plan = {
    {0, 0}, {0, 70}, {1200, 2200}, {1320, 2200}, {1560, 100}};

Firing_Status Status_At(int tick) {
    Firing_Status status;
    status.State = Firing_State::Running;
    status.Elapsed = std::floor(tick * 3 / 60.0);  // whole minutes, as the run counts them
    status.Total_Time = 1560;
    status.Segment = status.Elapsed < 1200 ? 1 : 2;
    status.Set_Value = 70 + std::min(status.Elapsed, 1200.0) * 2130 / 1200;
    status.Measured = status.Set_Value - 3 + (tick % 7);
    status.Error_Limit = 50;
    status.Clock = Date_Time_Of_Seconds(Seconds_Of({2026, 12, 5, 8, 0, 0}) + tick * 3LL);
    return status;
}

void BM_Tick_With_24_Hours_Drawn(benchmark::State& state) {
    const std::filesystem::path folder = std::filesystem::temp_directory_path();
    Live_Firing_View view{Program_Paths(folder)};
    Run_Chart_View chart("ProfileChart", nullptr);
    chart.resize(700, 420);
    chart.show();
    int tick = 0;
    for (; tick < Ticks_Drawn; ++tick) view.Firing_Changed(Status_At(tick), Firing_Event::Tick, "");
    chart.Show_Firing(Plan, nullptr, view);
    chart.repaint();
    for (auto _ : state) {
        view.Firing_Changed(Status_At(tick++), Firing_Event::Tick, "");
        chart.Show_Firing(Plan, nullptr, view);
        chart.viewport()->repaint();
    }
    state.counters["points"] = static_cast<double>(view.Measured().size());
    state.counters["drawn"] = static_cast<double>(chart.Measured()->count());
}
BENCHMARK(BM_Tick_With_24_Hours_Drawn)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

}  // namespace
}  // namespace corvanel

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
