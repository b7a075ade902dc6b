// SPDX-License-Identifier: GPL-3.0-or-later
// The program as the operator runs it: start-up time from process start to the run
// window shown, and the program's CPU use over a minute of monitor mode and over a
// minute of a firing against kiln-sim. The waits between ticks must not spin.
//
// Each measurement runs the program in a child process of its own (this executable
// started again with a child mode), so the start-up is a real process start.

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QPushButton>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <random>
#include <string>

#include "app/program.h"
#include "app/windows/traj_form_window.h"

namespace corvanel {
namespace {

namespace fs = std::filesystem;

std::string Self_Path;
std::error_code Ignored_Error;

double Cpu_Seconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// The profile dialog of a child that fires the quick test: it always picks that file.
struct Quick_Test_Dialog : File_Dialog {
    File_Dialog_Result Show_Open(const File_Dialog_Request&) override {
        return File_Dialog_Result::Chosen("quick_test.txt");
    }
    File_Dialog_Result Show_Save(const File_Dialog_Request&) override {
        return File_Dialog_Result::Cancelled();
    }
};
struct Firing_Log_Dialog : File_Dialog {
    File_Dialog_Result Show_Open(const File_Dialog_Request&) override {
        return File_Dialog_Result::Chosen("bench_firing.txt");
    }
    File_Dialog_Result Show_Save(const File_Dialog_Request&) override {
        return File_Dialog_Result::Cancelled();
    }
};

// The child: the program as main starts it. "shown" prints when the window is up;
// with a duration it then runs (monitoring, or firing the quick test) and prints the
// CPU seconds it used over that time.
int Child(const std::string& mode, const std::string& folder, int seconds) {
    int argc = 1;
    char name[] = "corvanel";
    char* argv[] = {name, nullptr};
    QApplication application(argc, argv);
    Quick_Test_Dialog profile_dialog;
    Firing_Log_Dialog log_dialog;
    Program_Parts parts;
    if (mode == "run") {
        parts.Profile_Dialog = &profile_dialog;
        parts.Log_Dialog = &log_dialog;
    }
    Corvanel_Program program(Program_Paths(folder), parts);
    program.Main();
    QTimer::singleShot(0, [&] {
        std::cout << "shown" << std::endl;
        if (mode == "start") {
            QApplication::exit(0);
            return;
        }
        if (mode == "run") {
            program.Main_Window().mnuFileOpen->trigger();
            program.Main_Window().mnuSpecifyLogFile->trigger();
            program.Main_Window().Start_Profile->click();
        }
        const double cpu_before = Cpu_Seconds();
        QTimer::singleShot(seconds * 1000, [&program, cpu_before, &folder] {
            std::cout << "cpu " << Cpu_Seconds() - cpu_before << std::endl;
            std::cout << "log_bytes "
                      << fs::file_size(fs::path(folder) / "Logfiles" / "bench_firing.txt",
                                       Ignored_Error)
                      << std::endl;
            std::cout << "running " << program.Model().Run().Control_Interval().Enabled
                      << std::endl;
            QApplication::exit(0);
        });
    });
    return QApplication::exec();
}

// A program folder as the build lays it out, with port 1 mapped to a kiln-sim.
class Bench_Folder {
  public:
    Bench_Folder() {
        std::random_device random;
        Path = fs::temp_directory_path() / ("corvanel-bench-" + std::to_string(random()));
        fs::create_directories(Path / "Setup");
        fs::copy(fs::path(CORVANEL_PROGRAM_DIR) / "LanguageFiles", Path / "LanguageFiles",
                 fs::copy_options::recursive);
        fs::copy(fs::path(CORVANEL_PROGRAM_DIR) / "Profiles", Path / "Profiles",
                 fs::copy_options::recursive);
        const std::string link = (Path / "kiln-port").string();
        Sim.start(KILN_SIM_PATH, {"--scale=F", QString::fromStdString("--link=" + link)});
        Sim.waitForStarted(10000);
        Sim.waitForReadyRead(10000);
        std::ofstream(Path / "Setup" / "CommPortMap.txt") << "1=" << link << "\r\n";
    }
    ~Bench_Folder() {
        Sim.terminate();
        if (!Sim.waitForFinished(5000)) Sim.kill();
        std::error_code ignored;
        fs::remove_all(Path, ignored);
    }
    fs::path Path;
    QProcess Sim;
};

struct Child_Result {
    double Shown_Seconds = 0;
    std::string Output;
};

Child_Result Run_Child(const std::string& mode, const fs::path& folder, int seconds) {
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    child.setProcessEnvironment(environment);
    Child_Result result;
    QElapsedTimer clock;
    clock.start();
    child.start(QString::fromStdString(Self_Path),
                {"--child", QString::fromStdString(mode), QString::fromStdString(folder.string()),
                 QString::number(seconds)});
    while (!child.canReadLine() && child.waitForReadyRead(30000)) {
    }
    result.Shown_Seconds = static_cast<double>(clock.nsecsElapsed()) / 1e9;
    child.waitForFinished((seconds + 60) * 1000);
    result.Output = child.readAll().toStdString();
    return result;
}

double Figure(const std::string& output, const std::string& name) {
    std::size_t at = output.find(name + " ");
    return at == std::string::npos ? -1 : std::stod(output.substr(at + name.size() + 1));
}

void Start_Up_To_Window_Shown(benchmark::State& state) {
    Bench_Folder folder;
    for (auto _ : state) {
        Child_Result result = Run_Child("start", folder.Path, 0);
        state.SetIterationTime(result.Shown_Seconds);
    }
    state.SetLabel("process start to run window shown, offscreen, kiln-sim on port 1");
}
BENCHMARK(Start_Up_To_Window_Shown)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

void Cpu_Over_A_Minute(benchmark::State& state, const std::string& mode) {
    Bench_Folder folder;
    const int seconds = 60;
    for (auto _ : state) {
        Child_Result result = Run_Child(mode, folder.Path, seconds);
        const double cpu = Figure(result.Output, "cpu");
        state.counters["cpu_seconds"] = cpu;
        state.counters["cpu_percent"] = 100.0 * cpu / seconds;
        if (mode == "run") {
            state.counters["log_records"] = Figure(result.Output, "log_bytes") / 21;
            state.counters["still_firing"] = Figure(result.Output, "running");
        }
        state.SetIterationTime(seconds);
    }
}
BENCHMARK_CAPTURE(Cpu_Over_A_Minute, monitor_mode, std::string("monitor"))
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kSecond);
BENCHMARK_CAPTURE(Cpu_Over_A_Minute, firing_quick_test, std::string("run"))
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kSecond);

}  // namespace
}  // namespace corvanel

int main(int argc, char** argv) {
    corvanel::Self_Path = std::filesystem::canonical("/proc/self/exe").string();
    if (argc == 5 && std::string(argv[1]) == "--child") {
        return corvanel::Child(argv[2], argv[3], std::stoi(argv[4]));
    }
    QCoreApplication application(argc, argv);  // for kiln-sim's QProcess
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
