// SPDX-License-Identifier: GPL-3.0-or-later
// The status page under load: the program fires the quick test against kiln-sim with the
// page on, once with no client and once with 50 clients each polling /api/status once a
// second. Figures: the control ticks' spacing (it should stay at 3 s: the largest
// difference from 3000 ms and from the quiet run's spacing) and the program's CPU use.
//
// A third run puts the page on the network (with a token) and turns hostile clients on it
// during the firing: 1,000 idle connections, a client pipelining requests without reading
// the answers (with the token and without) and one sending its headers a byte at a time.
// Figures: the same, the ticks recorded, and how much the program's memory grew.
//
// The program runs in a child process (this executable started again), the clients in
// the parent, so the program's CPU and memory figures are its own.

#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

#include <QApplication>
#include <QCoreApplication>
#include <QEventLoop>
#include <QProcess>
#include <QPushButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <random>
#include <sstream>
#include <vector>

#include "app/program.h"
#include "app/windows/traj_form_window.h"
#include "remote/remote_settings.h"

namespace corvanel {
namespace {

namespace fs = std::filesystem;

std::string Self_Path;

const char* const Token = "bench-page-token";

// The program's resident memory now, in kB.
long Resident_kB() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

double Cpu_Seconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

struct Named_Dialog : File_Dialog {
    std::string Name;
    explicit Named_Dialog(std::string name) : Name(std::move(name)) {}
    File_Dialog_Result Show_Open(const File_Dialog_Request&) override {
        return File_Dialog_Result::Chosen(Name);
    }
    File_Dialog_Result Show_Save(const File_Dialog_Request&) override {
        return File_Dialog_Result::Cancelled();
    }
};

// When each control tick was published, in milliseconds of a steady clock.
struct Tick_Times : Firing_Observer {
    std::vector<double> Times;
    void Firing_Changed(const Firing_Status&, Firing_Event event, const std::string&) override {
        if (event != Firing_Event::Tick) return;
        Times.push_back(std::chrono::duration<double, std::milli>(
                            std::chrono::steady_clock::now().time_since_epoch())
                            .count());
    }
};

// The child: the program fires the quick test for `seconds`, then prints its CPU seconds
// and the tick times.
int Child(const std::string& folder, int seconds) {
    int argc = 1;
    char name[] = "corvanel";
    char* argv[] = {name, nullptr};
    QApplication application(argc, argv);
    Named_Dialog profile_dialog("quick_test.txt"), log_dialog("bench_status.txt");
    Program_Parts parts;
    parts.Profile_Dialog = &profile_dialog;
    parts.Log_Dialog = &log_dialog;
    Corvanel_Program program(Program_Paths(folder), parts);
    Tick_Times ticks;
    program.Model().Run().Firing().Attach(ticks);
    program.Main();
    QTimer::singleShot(0, [&] {
        program.Main_Window().mnuFileOpen->trigger();
        program.Main_Window().mnuSpecifyLogFile->trigger();
        program.Main_Window().Start_Profile->click();
        const double cpu_before = Cpu_Seconds();
        const long resident_before = Resident_kB();
        QTimer::singleShot(seconds * 1000, [&, cpu_before, resident_before] {
            rusage usage{};
            getrusage(RUSAGE_SELF, &usage);
            std::cout << "cpu " << Cpu_Seconds() - cpu_before << "\ngrowth_kb "
                      << usage.ru_maxrss - resident_before << "\nticks";
            for (double time : ticks.Times) std::cout << " " << std::fixed << time;
            std::cout << std::endl;
            QApplication::exit(0);
        });
    });
    int result = QApplication::exec();
    program.Model().Run().Firing().Detach(ticks);
    return result;
}

// 50 clients, each asking for /api/status once a second on its own kept-alive connection.
class Pollers {
  public:
    Pollers(int count, quint16 port, std::string path) {
        for (int i = 0; i < count; ++i) {
            auto client = std::make_unique<Client>();
            Client* c = client.get();
            QObject::connect(&c->Socket, &QTcpSocket::readyRead, [this, c] {
                QByteArray data = c->Socket.readAll();
                Answers += data.count("HTTP/1.1 200");
            });
            QObject::connect(&c->Timer, &QTimer::timeout, [c, port, path] {
                if (c->Socket.state() == QAbstractSocket::UnconnectedState) {
                    c->Socket.connectToHost("127.0.0.1", port);
                }
                if (c->Socket.state() == QAbstractSocket::ConnectedState) {
                    c->Socket.write(QByteArray::fromStdString(
                        "GET " + path + " HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n"));
                }
            });
            QTimer::singleShot(i * 1000 / count, [c] { c->Timer.start(1000); });
            Clients_.push_back(std::move(client));
        }
    }
    long long Answers = 0;

  private:
    struct Client {
        QTcpSocket Socket;
        QTimer Timer;
    };
    std::vector<std::unique_ptr<Client>> Clients_;
};

struct Firing_Result {
    double Cpu = -1;
    double Growth_kB = -1;
    std::vector<double> Ticks;
    long long Answers = 0;
};

Firing_Result Fire(int clients, int seconds, bool network = false, bool hostile = false) {
    std::random_device random;
    fs::path folder =
        fs::temp_directory_path() / ("corvanel-status-bench-" + std::to_string(random()));
    fs::create_directories(folder / "Setup");
    fs::copy(fs::path(CORVANEL_PROGRAM_DIR) / "LanguageFiles", folder / "LanguageFiles",
             fs::copy_options::recursive);
    fs::copy(fs::path(CORVANEL_PROGRAM_DIR) / "Profiles", folder / "Profiles",
             fs::copy_options::recursive);
    const std::string link = (folder / "kiln-port").string();
    QProcess sim;
    sim.start(KILN_SIM_PATH, {"--scale=F", QString::fromStdString("--link=" + link)});
    sim.waitForStarted(10000);
    sim.waitForReadyRead(10000);
    std::ofstream(folder / "Setup" / "CommPortMap.txt") << "1=" << link << "\r\n";
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    const quint16 port = probe.serverPort();
    probe.close();
    Settings_Store settings{Program_Paths(folder)};
    Save_Remote_Settings(settings, {true, port, network, network ? Token : ""});

    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    child.setProcessEnvironment(environment);
    Pollers pollers(clients, port, std::string("/api/status?token=") + Token);
    // The hostile clients come in once the firing runs.
    std::vector<std::unique_ptr<QProcess>> attackers;
    const QString client = CORVANEL_SOURCE_ROOT "/tests/remote/hostile_client.py";
    const QString on = QString::number(port);
    for (const QStringList& arguments :
         {QStringList{"idle", on, "1000"}, QStringList{"pipeline", on, QString("/?token=") + Token},
          QStringList{"pipeline", on, "/api/status"}, QStringList{"slow", on}}) {
        if (!hostile) break;
        attackers.push_back(std::make_unique<QProcess>());
        QProcess* attacker = attackers.back().get();
        QTimer::singleShot(10000, [attacker, client, arguments] {
            attacker->start("python3", QStringList{client} + arguments);
        });
    }
    QEventLoop loop;
    QObject::connect(&child, &QProcess::finished, &loop, &QEventLoop::quit);
    child.start(QString::fromStdString(Self_Path),
                {"--child", QString::fromStdString(folder.string()), QString::number(seconds)});
    QTimer::singleShot((seconds + 90) * 1000, &loop, &QEventLoop::quit);
    loop.exec();

    Firing_Result result;
    result.Answers = pollers.Answers;
    std::istringstream output(child.readAllStandardOutput().toStdString());
    std::string word;
    while (output >> word) {
        if (word == "cpu") output >> result.Cpu;
        if (word == "growth_kb") output >> result.Growth_kB;
        if (word == "ticks") {
            double time;
            while (output >> time) result.Ticks.push_back(time);
        }
    }
    for (auto& attacker : attackers) {
        attacker->closeWriteChannel();
        if (!attacker->waitForFinished(5000)) attacker->kill();
    }
    sim.terminate();
    if (!sim.waitForFinished(5000)) sim.kill();
    std::error_code ignored;
    fs::remove_all(folder, ignored);
    return result;
}

// The spacing of consecutive ticks, in milliseconds.
std::vector<double> Spacing(const std::vector<double>& ticks) {
    std::vector<double> spacing;
    for (std::size_t i = 1; i < ticks.size(); ++i) spacing.push_back(ticks[i] - ticks[i - 1]);
    return spacing;
}

double Largest_Difference(const std::vector<double>& spacing, double from) {
    double largest = 0;
    for (double gap : spacing) largest = std::max(largest, std::fabs(gap - from));
    return largest;
}

double Mean(const std::vector<double>& values) {
    double sum = 0;
    for (double value : values) sum += value;
    return values.empty() ? 0 : sum / static_cast<double>(values.size());
}

void Firing_With_50_Clients_Polling(benchmark::State& state) {
    const int seconds = 60;
    for (auto _ : state) {
        Firing_Result quiet = Fire(0, seconds);
        Firing_Result busy = Fire(50, seconds);
        std::vector<double> quiet_spacing = Spacing(quiet.Ticks),
                            busy_spacing = Spacing(busy.Ticks);
        state.counters["ticks_quiet"] = static_cast<double>(quiet.Ticks.size());
        state.counters["ticks_busy"] = static_cast<double>(busy.Ticks.size());
        state.counters["quiet_max_ms_off_3000"] = Largest_Difference(quiet_spacing, 3000);
        state.counters["busy_max_ms_off_3000"] = Largest_Difference(busy_spacing, 3000);
        state.counters["busy_max_ms_off_quiet_mean"] =
            Largest_Difference(busy_spacing, Mean(quiet_spacing));
        state.counters["cpu_percent_quiet"] = 100.0 * quiet.Cpu / seconds;
        state.counters["cpu_percent_busy"] = 100.0 * busy.Cpu / seconds;
        state.counters["answers_busy"] = static_cast<double>(busy.Answers);
        state.SetIterationTime(2 * seconds);
    }
    state.SetLabel("quick test against kiln-sim for 60 s, without and with 50 pollers");
}
BENCHMARK(Firing_With_50_Clients_Polling)->UseManualTime()->Iterations(1)->Unit(benchmark::kSecond);

void Firing_Under_Hostile_Clients(benchmark::State& state) {
    const int seconds = 60;
    for (auto _ : state) {
        Firing_Result quiet = Fire(0, seconds, true);
        Firing_Result attacked = Fire(5, seconds, true, true);
        state.counters["ticks_quiet"] = static_cast<double>(quiet.Ticks.size());
        state.counters["ticks_attacked"] = static_cast<double>(attacked.Ticks.size());
        state.counters["attacked_max_ms_off_3000"] =
            Largest_Difference(Spacing(attacked.Ticks), 3000);
        state.counters["memory_growth_mb_quiet"] = quiet.Growth_kB / 1024;
        state.counters["memory_growth_mb_attacked"] = attacked.Growth_kB / 1024;
        state.counters["cpu_percent_attacked"] = 100.0 * attacked.Cpu / seconds;
        state.counters["operator_answers"] = static_cast<double>(attacked.Answers);
        state.SetIterationTime(2 * seconds);
    }
    state.SetLabel("quick test for 60 s on the network page, quiet and with hostile clients");
}
BENCHMARK(Firing_Under_Hostile_Clients)->UseManualTime()->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
}  // namespace corvanel

int main(int argc, char** argv) {
    corvanel::Self_Path = std::filesystem::canonical("/proc/self/exe").string();
    if (argc == 4 && std::string(argv[1]) == "--child") {
        return corvanel::Child(argv[2], std::stoi(argv[3]));
    }
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
