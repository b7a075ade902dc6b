// SPDX-License-Identifier: GPL-3.0-or-later
// The control tick's own cost: a whole tick (time, segment, set value, three controller
// exchanges with the in-process simulated controller, read-outs, log record, alert
// arming) with pauses that take no time, and the memory a long firing leaves behind.

#include <benchmark/benchmark.h>

#include <fstream>

#include "support/main_window_rig.h"

namespace corvanel::testing {
namespace {

long Resident_Kilobytes() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * 4;  // 4 KiB pages
}

// A glaze-like profile in minutes: long enough that the run never finishes.
void Prepare_Run(Main_Window_Rig& rig) {
    rig.Form.Form_Load();
    rig.Write_Profile("long.txt", {{"1", "0", "100000", "r", "70", "2000", "0.02", "50", "", ""},
                                   {"2", "100000.00", "100", "h", "2000", "2000", "0", "", "", ""},
                                   {"3", "100100.00", "", "e", "2000", "", "", "", "", ""}});
    rig.Open_Profile("long.txt");
    rig.Log_Dialog.Answers.push_back(File_Dialog_Result::Chosen("bench_log.txt"));
    rig.Form.mnuSpecifyLogFile_Click();
    rig.Form.mnuEnableEmailNotification = true;
    rig.Form.Start_Profile_Click();
}

void Tick(Main_Window_Rig& rig) {
    rig.Clock.Advance(3);
    rig.Form.Control_Interval_Timer();
    rig.Line.Sent.clear();  // the fake line's own record of frames is not the program's memory
}

void Control_Tick(benchmark::State& state) {
    Main_Window_Rig rig;
    Prepare_Run(rig);
    for (auto _ : state) Tick(rig);
    state.SetLabel("one control tick, pauses of zero length");
}
BENCHMARK(Control_Tick)->Unit(benchmark::kMicrosecond);

void Memory_After_100000_Ticks(benchmark::State& state) {
    for (auto _ : state) {
        Main_Window_Rig rig;
        Prepare_Run(rig);
        for (int i = 0; i < 1000; ++i) Tick(rig);  // settle allocations first
        long before = Resident_Kilobytes();
        for (int i = 0; i < 100000; ++i) Tick(rig);
        long after = Resident_Kilobytes();
        state.counters["rss_before_kB"] = static_cast<double>(before);
        state.counters["rss_after_kB"] = static_cast<double>(after);
        state.counters["growth_kB"] = static_cast<double>(after - before);
    }
}
BENCHMARK(Memory_After_100000_Ticks)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace corvanel::testing

BENCHMARK_MAIN();
