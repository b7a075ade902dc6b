// SPDX-License-Identifier: GPL-3.0-or-later
// One language pass over the 137 captions with German current: every lookup opens the
// language file, runs one query and closes it, as the windows do at each activation.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>
#include <string>

#include "language/caption_table.h"
#include "language/translate.h"
#include "setup/program_paths.h"

namespace {

namespace fs = std::filesystem;
using namespace corvanel;

class Discarding_Windows : public Window_Registry {
  public:
    void Set_Text(const Caption_Entry&, const std::string& text) override {
        benchmark::DoNotOptimize(text.data());
    }
};

void Language_Pass(benchmark::State& state) {
    fs::path folder =
        fs::temp_directory_path() / ("corvanel-bench-" + std::to_string(std::random_device{}()));
    fs::create_directories(folder / "LanguageFiles");
    fs::copy_file(fs::path(CORVANEL_PROGRAM_DIR) / "LanguageFiles" / "german.mdb",
                  folder / "LanguageFiles" / "german.mdb");
    Use_Language_Program_Folder(Program_Paths(folder));
    CurrentLanguage = "german";

    Discarding_Windows windows;
    const auto lookups = static_cast<double>(Caption_Table().size());
    for (auto _ : state) InitObjectLanguage(windows);

    // Seconds per lookup, shown in the counter column.
    state.counters["per_lookup"] =
        benchmark::Counter(lookups * static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.SetLabel("one pass = " + std::to_string(Caption_Table().size()) + " lookups");
    fs::remove_all(folder);
}
BENCHMARK(Language_Pass)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
