// SPDX-License-Identifier: GPL-3.0-or-later
// Cost of one controller exchange without its pause, and kiln-sim's reply latency.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <string>

#include "controller/controller_link.h"
#include "controller_model.h"
#include "fault_plan.h"

#ifdef CORVANEL_BENCH_QT
#include <QCoreApplication>

#include "controller/qt/qt_serial_device.h"
#endif

extern char** environ;

namespace {

using namespace corvanel;

struct Quiet_Area : Message_Area {
    void Display(const std::string&) override {}
    void Clear() override {}
};

// A line whose reply is there the moment the request is written, and a pause that
// only delivers it: what is left is the program's own work per exchange.
class Instant_Line : public Serial_Device, public Reply_Waiter {
  public:
    sim::Kiln_Sim_Server* Server = nullptr;
    std::string Fixed_Reply;
    Serial_Port* Link = nullptr;

    void Set_Comm_Port(int) override {}
    int Comm_Port() const override { return 1; }
    void Set_Settings(const std::string&) override {}
    void Set_Port_Open(bool) override {}
    bool Port_Open() const override { return true; }
    void Output(const std::string& text) override {
        if (!Server) {
            Waiting_ = Fixed_Reply;
            return;
        }
        std::string frame(text.data(), text.size() - 2);  // without CR LF
        for (const sim::Timed_Chunk& chunk : Server->Serve(frame)) Waiting_ += chunk.Bytes;
    }
    std::string Input() override { return std::move(Waiting_); }
    void Wait(double) override { Link->MSComm1_OnComm(Serial_Port::Comm_Event_Receive); }
    void Listen(Serial_Port& serial, const std::string&) override { Link = &serial; }

  private:
    std::string Waiting_;
};

struct Bench_Rig {
    Instant_Line Line;
    Quiet_Area Main_Window;
    Controller_Link Link{Line, Line, &Main_Window};
    FrontPanel& Panel = Link.Panel();
    InOut_Functions& Protocol = Link.Protocol();
};

void BM_Compute_FCS(benchmark::State& state) {
    std::string text = "@01RX00F0150004";
    for (auto _ : state) benchmark::DoNotOptimize(Compute_FCS(text));
}
BENCHMARK(BM_Compute_FCS);

// Build, send through the serial window, receive, check and decode one process-value
// read: the program's whole share of an exchange.
void BM_Exchange_Read_PV(benchmark::State& state) {
    Bench_Rig rig;
    rig.Line.Fixed_Reply = "@01RX00F01500043D*\r";
    std::uint8_t unit = 1;
    for (auto _ : state) {
        rig.Protocol.Read_PV(unit);
        if (!rig.Panel.Command_Executed) state.SkipWithError("reply not accepted");
    }
}
BENCHMARK(BM_Exchange_Read_PV);

void BM_Exchange_Write_SV(benchmark::State& state) {
    Bench_Rig rig;
    rig.Line.Fixed_Reply = "@00WS0044*\r";
    std::uint8_t unit = 0;
    std::int16_t value = 1250;
    for (auto _ : state) {
        rig.Protocol.Write_SV(unit, value);
        if (!rig.Panel.Command_Executed) state.SkipWithError("reply not accepted");
    }
}
BENCHMARK(BM_Exchange_Write_SV);

// The same with the simulated controller working out the reply in process.
void BM_Exchange_Read_PV_With_Simulator(benchmark::State& state) {
    sim::Controller_Model model({0}, {});
    sim::Kiln_Sim_Server server(model, {});
    Bench_Rig rig;
    rig.Line.Server = &server;
    std::uint8_t unit = 0;
    for (auto _ : state) {
        rig.Protocol.Read_PV(unit);
        if (!rig.Panel.Command_Executed) state.SkipWithError("reply not accepted");
    }
}
BENCHMARK(BM_Exchange_Read_PV_With_Simulator);

// Request written to kiln-sim's terminal until the reply's terminator is read back.
void BM_Kiln_Sim_Reply_Latency(benchmark::State& state) {
    int out[2];
    if (pipe(out) != 0) return state.SkipWithError("no pipe");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    char program[] = KILN_SIM_PATH;
    char* argv[] = {program, nullptr};
    pid_t sim_pid = 0;
    if (posix_spawn(&sim_pid, program, &actions, nullptr, argv, environ) != 0) {
        return state.SkipWithError("kiln-sim did not start");
    }
    close(out[1]);
    std::string terminal;
    char c;
    while (read(out[0], &c, 1) == 1 && c != '\n') terminal += c;
    int line = open(terminal.c_str(), O_RDWR | O_NOCTTY);
    if (line < 0) {
        kill(sim_pid, SIGTERM);
        waitpid(sim_pid, nullptr, 0);
        return state.SkipWithError("cannot open kiln-sim's terminal");
    }
    termios mode{};
    tcgetattr(line, &mode);
    cfmakeraw(&mode);
    tcsetattr(line, TCSANOW, &mode);

    const std::string request = Build_Request(0, "RX01");
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        if (write(line, request.data(), request.size()) != static_cast<ssize_t>(request.size())) {
            state.SkipWithError("write failed");
            break;
        }
        std::string reply;
        while (reply.find("*\r") == std::string::npos) {
            pollfd ready{line, POLLIN, 0};
            if (poll(&ready, 1, 5000) <= 0) break;
            char buffer[64];
            ssize_t count = read(line, buffer, sizeof buffer);
            if (count <= 0) break;
            reply.append(buffer, count);
        }
        auto end = std::chrono::steady_clock::now();
        if (reply.find("*\r") == std::string::npos) {
            state.SkipWithError("no reply from kiln-sim");
            break;
        }
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    }
    close(line);
    kill(sim_pid, SIGTERM);
    waitpid(sim_pid, nullptr, 0);
    close(out[0]);
    posix_spawn_file_actions_destroy(&actions);
}
BENCHMARK(BM_Kiln_Sim_Reply_Latency)->UseManualTime()->Unit(benchmark::kMicrosecond);

#ifdef CORVANEL_BENCH_QT
// The program's 0.2 s pause: real time 200 ms, CPU time near zero when the nested
// event loop sleeps instead of spinning.
void BM_Qt_Reply_Wait(benchmark::State& state) {
    static int argc = 1;
    static char name[] = "controller_bench";
    static char* args[] = {name, nullptr};
    if (!QCoreApplication::instance()) new QCoreApplication(argc, args);
    Qt_Reply_Waiter waiter;
    for (auto _ : state) waiter.Wait(InOut_Functions::Reply_Pause_Seconds);
}
BENCHMARK(BM_Qt_Reply_Wait)->Iterations(10)->Unit(benchmark::kMillisecond);
#endif

}  // namespace

BENCHMARK_MAIN();
