// SPDX-License-Identifier: GPL-3.0-or-later
// Reading a full profile: the file read, the checksum verified and the text cut into
// a sheet, as the editor and the run window do when the operator opens a profile.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "common/text.h"
#include "profiles/profile_file.h"

namespace {

std::string Full_Profile_Path() {
    using namespace corvanel;
    Profile_Sheet sheet{};
    double start_time = 0;
    for (int row = 1; row <= 254; ++row) {
        sheet[row] = {std::to_string(row),
                      Format_00(start_time),
                      "10",
                      row % 2 ? "r" : "h",
                      row % 2 ? "100" : "1100",
                      "1100",
                      row % 2 ? "100.00" : "0",
                      "25",
                      row % 10 ? "" : "wait",
                      ""};
        start_time += 10;
    }
    sheet[255] = {"255", Format_00(start_time), "", "e", "1100", "", "", "", "", ""};
    std::string path =
        (std::filesystem::temp_directory_path() / "corvanel-bench-full-profile.txt").string();
    std::ofstream(path, std::ios::binary)
        << Build_Profile_Text(sheet, {"K    ", true, true}) << "\r\n";
    return path;
}

void Read_Verify_Parse_Full_Profile(benchmark::State& state) {
    static const std::string path = Full_Profile_Path();
    for (auto _ : state) {
        std::string text = corvanel::Read_Profile_File(path);
        if (text.empty()) {
            state.SkipWithError("the benchmark profile was rejected");
            break;
        }
        corvanel::Profile_Sheet sheet = corvanel::Parse_Profile_Text(text);
        benchmark::DoNotOptimize(sheet);
    }
    state.SetLabel("one 255-segment profile file per iteration");
}
BENCHMARK(Read_Verify_Parse_Full_Profile)->Unit(benchmark::kMicrosecond);

void Build_Full_Profile_Text(benchmark::State& state) {
    corvanel::Profile_Sheet sheet{};
    for (int row = 1; row <= 255; ++row) sheet[row][0] = std::to_string(row);
    for (auto _ : state) {
        benchmark::DoNotOptimize(corvanel::Build_Profile_Text(sheet, {"K    ", true, true}));
    }
}
BENCHMARK(Build_Full_Profile_Text)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
