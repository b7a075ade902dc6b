// SPDX-License-Identifier: GPL-3.0-or-later
// What publishing costs a control tick: the time the firing's seam takes to hand one tick
// to the MQTT client (state JSON made, written or queued), with the broker up, hung
// (stopped with SIGSTOP while the program is connected) and gone. The figures are the
// mean (the benchmark's time) and the slowest publish (max_us); a control tick is 3 s.

#include <benchmark/benchmark.h>
#include <pwd.h>
#include <signal.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTemporaryDir>
#include <chrono>
#include <fstream>

#include "remote/qt/mqtt_client.h"

namespace corvanel {
namespace {

void Run_Events_For(int milliseconds) {
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < milliseconds)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

void Tick_Publish(benchmark::State& state, const char* broker_condition) {
    QTemporaryDir folder;
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    quint16 port = probe.serverPort();
    probe.close();
    std::ofstream(folder.filePath("mosquitto.conf").toStdString())
        << "listener " << port << " 127.0.0.1\npersistence false\nlog_type none\nuser "
        << getpwuid(getuid())->pw_name << "\nallow_anonymous true\n";
    QProcess broker;
    broker.start(QStandardPaths::findExecutable("mosquitto", {"/usr/sbin", "/usr/bin"}),
                 {"-c", folder.filePath("mosquitto.conf")});
    if (!broker.waitForStarted(10000)) {
        state.SkipWithError("mosquitto is not installed: run scripts/install-deps");
        return;
    }
    Run_Events_For(500);

    Status_Snapshot snapshot;
    Firing_Status_Seam firing;
    firing.Attach(snapshot);
    Mqtt_Settings settings;
    settings.Enabled = true;
    settings.Host = "127.0.0.1";
    settings.Port = port;
    Mqtt_Client client(settings, snapshot, "corvanel/bench", [](const std::string&) {});
    firing.Attach(client.Telemetry());
    QElapsedTimer waited;
    waited.start();
    while (!client.Is_Connected() && waited.elapsed() < 20000) Run_Events_For(50);
    if (!client.Is_Connected()) {
        state.SkipWithError("the client did not connect");
        return;
    }
    std::string condition = broker_condition;
    if (condition == "hung") ::kill(static_cast<pid_t>(broker.processId()), SIGSTOP);
    if (condition == "gone") {
        broker.kill();
        broker.waitForFinished(5000);
        Run_Events_For(500);
    }

    Firing_Status status;
    status.Kiln_Name = "Bench Kiln";
    status.State = Firing_State::Running;
    double slowest = 0;
    for (auto _ : state) {
        status.Elapsed += 0.05;
        status.Measured += 1;
        auto start = std::chrono::steady_clock::now();
        firing.Publish(status, Firing_Event::Tick);
        double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.SetIterationTime(seconds);
        slowest = std::max(slowest, seconds);
        QCoreApplication::processEvents();  // the socket's turn, as between two ticks
    }
    state.counters["max_us"] = slowest * 1e6;
    firing.Detach(client.Telemetry());
    if (condition == "hung") ::kill(static_cast<pid_t>(broker.processId()), SIGCONT);
    broker.kill();
    broker.waitForFinished(5000);
}

BENCHMARK_CAPTURE(Tick_Publish, broker_up, "up")
    ->UseManualTime()
    ->Iterations(3000)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Tick_Publish, broker_hung, "hung")
    ->UseManualTime()
    ->Iterations(3000)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Tick_Publish, broker_gone, "gone")
    ->UseManualTime()
    ->Iterations(3000)
    ->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace corvanel

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
