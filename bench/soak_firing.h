// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A long firing on the real program in minutes: the program (its event loop, windows on
// the offscreen platform, status page over HTTP, MQTT client, kiln guard) runs in a child
// process whose clocks libfaketime speeds up by a factor, against kiln-sim at the same
// speed on a pseudo-terminal and a real mosquitto on loopback. Qt's timers, its nested
// pauses and poll time-outs all read the faked monotonic clock, so the program ticks every
// 3 kiln seconds; the guard it starts inherits the speed. The parent (not sped up) reads
// the status page, listens to the broker, samples the program's memory and reads the
// firing record back once the program has watched the kiln after the run and ended.
//
// One departure from the program as shipped: its pause after a request is 200 ms of the
// faked clock, 2 real ms at 100 times, shorter than kiln-sim (in real time) may take to
// answer; the pause here is the program's own, then goes on until the reply is in.
//
// Used by bench/soak_bench.cpp (48 hours and a day's watch) and the glaze firing test.

#include <signal.h>
#include <malloc.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QHostAddress>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QPushButton>
#include <QAction>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "app/program.h"
#include "app/windows/traj_form_window.h"
#include "controller/qt/qt_serial_device.h"
#include "guard/guard_heartbeat.h"
#include "remote/remote_settings.h"
#include "run/firing_record.h"
#include "setup/program_lock.h"
#include "tools/profile_tool.h"
#include "support/qt_rig.h"

namespace corvanel::soak {

namespace fs = std::filesystem;

// A firing to soak the program with: the profile (corvanel-profile make's rows, degrees F,
// hours), how long it lasts, how long the program watches the kiln after it, the speed.
struct Soak_Plan {
    std::string Profile_Name;
    std::string Rows;
    std::string Words;
    double Firing_Hours = 0;
    double Watch_Hours = 0;
    double Speed = 100;
    std::vector<double> Memory_Hours;  // kiln hours from the start at which memory is read
    double Probe_Hour = 0;             // page, broker and heartbeat checked then
    // The guard's wait in kiln minutes; 0 keeps the safety setting's default (ten). A
    // test on a busy machine gives it more, so a stall of a few real seconds is no death.
    double Guard_Minutes = 0;
};

// Where the build's parts are.
struct Soak_Parts {
    std::string Self;      // this executable, started again for the program's side
    std::vector<std::string> Child_Arguments;  // what makes it the program's side
    std::string Kiln_Sim, Program_Dir;
};

inline std::string Libfaketime_Path() {
    for (const char* candidate : {"/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1",
                                  "/usr/lib/aarch64-linux-gnu/faketime/libfaketime.so.1",
                                  "/usr/lib/faketime/libfaketime.so.1",
                                  "/usr/local/lib/faketime/libfaketime.so.1"}) {
        if (fs::exists(candidate)) return candidate;
    }
    return "";
}

// ---------------------------------------------------------------- the program's side

inline constexpr const char* Log_Name = "soak.txt";
inline constexpr const char* Child_Figures = "soak-program.txt";
inline constexpr const char* Child_Heap = "soak-heap.txt";

struct Soak_Dialog : File_Dialog {
    std::string Name;
    explicit Soak_Dialog(std::string name) : Name(std::move(name)) {}
    File_Dialog_Result Show_Open(const File_Dialog_Request&) override {
        return File_Dialog_Result::Chosen(Name);
    }
    File_Dialog_Result Show_Save(const File_Dialog_Request&) override {
        return File_Dialog_Result::Cancelled();
    }
};

// Answers OK, and keeps what it was asked: no one sits at the soak.
struct Soak_Ask : Message_Box {
    std::vector<std::string> Asked;
    bool Ask_OK_Cancel(const std::string& text) override {
        Asked.push_back(text);
        return true;
    }
};

// The ticks as the program's observers hear them, timed on the (faked) steady clock: how
// late each came after the one before, against the interval in force.
struct Tick_Watch : Firing_Observer {
    explicit Tick_Watch(Kiln_Run& run) : Run(run) {}
    Kiln_Run& Run;
    long Ticks = 0, Monitor_Ticks = 0;
    long Late = 0;         // more than a kiln second after their time
    long Missed = 0;       // a whole interval or more after it
    double Latest_Late = 0;  // the largest lateness, kiln seconds
    double Last = -1;
    Firing_Event Last_Kind = Firing_Event::Start;
    std::map<std::string, long> Events;  // other events by name, for the figures
    std::function<void()> On_End;

    static double Now() {
        return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
            .count();
    }
    void Firing_Changed(const Firing_Status& status, Firing_Event event,
                        const std::string& detail) override {
        if (event == Firing_Event::Tick || event == Firing_Event::Monitor_Tick) {
            const double now = Now();
            const double interval = event == Firing_Event::Tick
                                        ? status.Tick_Length
                                        : Run.Monitor_Interval().Interval / 1000.0;
            if (Last >= 0 && event == Last_Kind) {
                const double late = now - Last - interval;
                Latest_Late = std::max(Latest_Late, late);
                if (late > 1) ++Late;
                if (late >= interval) ++Missed;
            }
            Last = now;
            Last_Kind = event;
            ++(event == Firing_Event::Tick ? Ticks : Monitor_Ticks);
            return;
        }
        ++Events[std::string(Firing_Event_Name(event)) + (detail.empty() ? "" : ": " + detail)];
        // The watch after the run starts at its end, however it ended (the figures say how).
        if ((event == Firing_Event::Finished || event == Firing_Event::Soft_Off) && On_End) On_End();
    }
};

// The program fires the plan's profile, logging to Log_Name; once the profile has finished
// it watches the kiln for `watch_hours` (by its own timer, on the faked clock), writes its
// figures to Child_Figures in the folder and ends. Needs no QApplication of the caller's.
inline int Soak_Program(const fs::path& folder, const std::string& profile, double watch_hours,
                        double speed, const std::string& guard) {
    std::unique_ptr<QApplication> own;
    if (!QCoreApplication::instance()) {
        static int argc = 1;
        static char name[] = "corvanel";
        static char* argv[] = {name, nullptr};
        own = std::make_unique<QApplication>(argc, argv);
    }
    Soak_Dialog profile_dialog(profile), log_dialog(Log_Name);
    Soak_Ask ask;
    // Two real seconds for a reply, however fast the clock.
    // The program's pause, then on until the reply's end is in, at most two real
    // seconds (2 * speed seconds of the faked clock).
    corvanel::testing::Patient_Waiter waiter(2 * speed);
    Program_Parts parts;
    parts.Profile_Dialog = &profile_dialog;
    parts.Log_Dialog = &log_dialog;
    parts.Ask = &ask;
    parts.Waiter = &waiter;
    parts.Guard_Program = guard;
    Corvanel_Program program(Program_Paths(folder), parts);
    Tick_Watch ticks(program.Model().Run());
    bool finished = false;
    ticks.On_End = [&] {
        if (finished) return;
        finished = true;
        QTimer::singleShot(static_cast<int>(watch_hours * 3600 * 1000), [] { QApplication::exit(0); });
    };
    program.Model().Run().Firing().Attach(ticks);
    // Beside the resident size, the bytes the program holds on its heap (glibc's count),
    // every ten kiln minutes: growth here is data the program keeps or loses; growth of
    // the resident size alone is memory the allocator keeps back for later.
    std::ofstream heap(folder / Child_Heap);
    QTimer heap_clock;
    QObject::connect(&heap_clock, &QTimer::timeout, [&heap] {
        const struct mallinfo2 in_use = mallinfo2();
        heap << (in_use.uordblks + in_use.hblkhd) / 1024 << std::endl;
    });
    heap_clock.start(600 * 1000);
    program.On_End_Program = [] { QApplication::exit(1); };
    program.Main();
    QTimer::singleShot(0, [&] {
        program.Main_Window().mnuFileOpen->trigger();
        program.Main_Window().mnuSpecifyLogFile->trigger();
        program.Main_Window().Start_Profile->click();
    });
    const int result = QApplication::exec();
    program.Model().Run().Firing().Detach(ticks);
    std::ofstream figures(folder / Child_Figures);
    figures << "finished " << finished << "\nticks " << ticks.Ticks << "\nmonitor_ticks "
            << ticks.Monitor_Ticks << "\nlate " << ticks.Late << "\nmissed " << ticks.Missed
            << "\nlatest_late " << ticks.Latest_Late << "\nwaits_extended " << waiter.Extended()
            << "\n";
    for (const auto& [event, count] : ticks.Events) figures << "event " << count << " " << event << "\n";
    for (const std::string& asked : ask.Asked) figures << "asked " << asked << "\n";
    figures << "resident_kb_at_end " << [] {
        std::ifstream status("/proc/self/status");
        std::string line;
        while (std::getline(status, line))
            if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
        return 0L;
    }() << "\n";
    return result;
}

// The program's side as Run_Soak starts it: what to fire comes in the environment.
inline int Soak_Program_From_Environment(const std::string& guard) {
    const char* folder = std::getenv("CORVANEL_SOAK_FOLDER");
    const char* profile = std::getenv("CORVANEL_SOAK_PROFILE");
    const char* watch = std::getenv("CORVANEL_SOAK_WATCH_HOURS");
    const char* speed = std::getenv("CORVANEL_SOAK_SPEED");
    if (!folder || !profile || !watch || !speed) return 2;
    return Soak_Program(folder, profile, std::strtod(watch, nullptr), std::strtod(speed, nullptr),
                        guard);
}

// ---------------------------------------------------------------- the parent's side

// The program's heap in use at its last count, in kB (0 before the first).
inline long Heap_In_Use_kB(const fs::path& folder) {
    std::ifstream counts(folder / Child_Heap);
    long kb = 0, read = 0;
    while (counts >> read) kb = read;
    return kb;
}

// The program's resident memory now, in kB (0 when it is gone).
inline long Resident_kB(qint64 pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
    }
    return 0;
}

inline quint16 Free_Loopback_Port() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

// GET /api/status on loopback; nothing when it does not answer 200 with a JSON object
// within five seconds.
inline std::optional<QJsonObject> Page_Status(quint16 port) {
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, port);
    if (!socket.waitForConnected(5000)) return std::nullopt;
    socket.write(QByteArray::fromStdString("GET /api/status HTTP/1.1\r\nHost: 127.0.0.1:" +
                                           std::to_string(port) + "\r\n\r\n"));
    QByteArray answer;
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < 5000) {
        const qsizetype head = answer.indexOf("\r\n\r\n");
        if (head >= 0) {
            const qsizetype length_at = answer.toLower().indexOf("content-length:");
            if (length_at >= 0 && length_at < head) {
                const long long length =
                    answer.mid(length_at + 15, answer.indexOf("\r\n", length_at) - length_at - 15)
                        .trimmed()
                        .toLongLong();
                if (answer.size() - head - 4 >= length) {
                    if (!answer.startsWith("HTTP/1.1 200")) return std::nullopt;
                    const QJsonDocument json = QJsonDocument::fromJson(answer.mid(head + 4, length));
                    if (!json.isObject()) return std::nullopt;
                    return json.object();
                }
            }
        }
        if (!socket.waitForReadyRead(500) && socket.state() != QAbstractSocket::ConnectedState)
            break;
        answer += socket.readAll();
    }
    return std::nullopt;
}

// What the soak saw; `Figures` in the order they were taken, for printing.
struct Soak_Result {
    std::string Failure;  // why the soak could not run at all; "" when it ran
    std::vector<std::string> Figures;
    std::vector<std::string> Faults;  // what is wrong with what it saw; none when whole
    std::map<double, long> Memory_kB;  // by kiln hour
    // At the probe hour.
    std::optional<QJsonObject> Page;
    double Page_Measured = NAN, Record_Measured_Before = NAN, Record_Measured_After = NAN;
    std::optional<QJsonObject> Mqtt_State;
    double Mqtt_After_Seconds = NAN;  // kiln seconds from the probe to the message
    double Heartbeat_Age_Probe = NAN, Heartbeat_Age_End = NAN;  // kiln seconds
    bool Guard_At_Probe = false, Guard_At_End = true;
    // The record read back.
    std::size_t Record_Ticks = 0, Watch_Lines = 0, Record_Problems = 0;
    long Program_Ticks = -1;
    double Record_Gap_Largest = 0;  // kiln seconds between consecutive tick lines
    std::map<std::string, std::string> Program_Figures;
    double Real_Minutes = 0;
};

namespace detail {

// The last line of the record that holds a tick, read from its end.
inline std::optional<Firing_Record_Line> Last_Tick(const std::string& record_path) {
    std::string text;
    if (Read_Record_File(record_path, text)) return std::nullopt;
    const Firing_Record record = Parse_Firing_Record(text);
    for (auto line = record.Lines.rbegin(); line != record.Lines.rend(); ++line)
        if (line->Is_Tick()) return *line;
    return std::nullopt;
}

// Kiln seconds since the heartbeat file was last replaced.
inline double Heartbeat_Age(const fs::path& folder, double speed) {
    struct stat info {};
    if (::stat((folder / Heartbeat_File_Name).c_str(), &info) != 0) return NAN;
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    const double real = static_cast<double>(now.tv_sec - info.st_mtim.tv_sec) +
                        static_cast<double>(now.tv_nsec - info.st_mtim.tv_nsec) / 1e9;
    return real * speed;
}

inline std::string Fixed(double value, int decimals = 1) {
    std::ostringstream out;
    out.setf(std::ios::fixed);
    out.precision(decimals);
    out << value;
    return out.str();
}

}  // namespace detail

// The whole soak: folder, broker, kiln-sim, the program sped up, the probes, the record.
// Needs a QCoreApplication. `say` hears each figure as it is taken.
inline Soak_Result Run_Soak(const Soak_Plan& plan, const Soak_Parts& parts,
                            const std::function<void(const std::string&)>& say = {}) {
    Soak_Result result;
    auto figure = [&](const std::string& text) {
        result.Figures.push_back(text);
        if (say) say(text);
    };
    auto fault = [&](const std::string& text) {
        result.Faults.push_back(text);
        figure("FAULT: " + text);
    };
    const std::string faketime = Libfaketime_Path();
    if (faketime.empty()) {
        result.Failure = "libfaketime.so.1 is not installed: run scripts/install-deps";
        return result;
    }
    const QString mosquitto = QStandardPaths::findExecutable("mosquitto", {"/usr/sbin", "/usr/bin"});
    if (mosquitto.isEmpty() || QStandardPaths::findExecutable("mosquitto_sub").isEmpty()) {
        result.Failure = "mosquitto is not installed: run scripts/install-deps";
        return result;
    }

    // The program folder as the build lays it out, with the profile made by the profile
    // tool and the page, MQTT and the port set up.
    char folder_template[] = "/tmp/corvanel-soak-XXXXXX";
    if (!::mkdtemp(folder_template)) {
        result.Failure = "no temporary folder";
        return result;
    }
    const fs::path folder = folder_template;
    const Program_Paths paths(folder);
    fs::copy(fs::path(parts.Program_Dir) / "LanguageFiles", folder / "LanguageFiles",
             fs::copy_options::recursive);
    fs::create_directories(folder / "Profiles");
    fs::create_directories(folder / "Setup");
    {
        std::istringstream rows(plan.Rows);
        std::ostringstream out, err;
        if (Run_Profile_Tool({"make", "--sensor", "K", "--scale", "F", "--unit", "H",
                              paths.Profile_File(plan.Profile_Name)},
                             rows, out, err) != 0) {
            result.Failure = "the profile was not made: " + err.str();
            return result;
        }
    }
    const quint16 page_port = Free_Loopback_Port(), broker_port = Free_Loopback_Port();
    auto write = [&](const std::string& file, const std::string& line) {
        std::ofstream(paths.Setup_File(file)) << line << "\r\n";
    };
    const std::string link = (folder / "kiln-port").string();
    write("CommPortMap.txt", "1=" + link);
    write("RemoteMonitoring.txt", "checked");
    write("RemoteMonitoringPort.txt", std::to_string(page_port));
    write("Mqtt.txt", "checked");
    write("MqttHost.txt", "127.0.0.1");
    write("MqttPort.txt", std::to_string(broker_port));
    if (plan.Guard_Minutes > 0)
        write("Safety.txt", "Guard_Minutes=" + detail::Fixed(plan.Guard_Minutes, 0));
    {
        Settings_Store settings{paths};
        std::vector<Problem> problems;
        if (!Read_Remote_Settings(settings, problems).Enabled) {
            result.Failure = "the status page's settings were not taken";
            return result;
        }
    }
    figure("program folder " + folder.string());
    figure("profile " + plan.Profile_Name + ": " + plan.Words);
    figure("speed x" + detail::Fixed(plan.Speed, 0) + " (libfaketime FAKETIME=\"+0 x" +
           detail::Fixed(plan.Speed, 0) + "\", kiln-sim --speed=" + detail::Fixed(plan.Speed, 0) +
           "); firing " + detail::Fixed(plan.Firing_Hours, 1) + " h, then watch " +
           detail::Fixed(plan.Watch_Hours, 1) + " h");

    QProcess broker;
    broker.setProcessChannelMode(QProcess::MergedChannels);
    broker.start(mosquitto, {"-p", QString::number(broker_port)});
    QProcess sim;
    sim.setProcessChannelMode(QProcess::MergedChannels);
    sim.setStandardOutputFile(QString::fromStdString((folder / "kiln-sim.out").string()));
    sim.start(QString::fromStdString(parts.Kiln_Sim),
              {"--units=0", "--scale=F", "--speed=" + QString::number(plan.Speed),
               QString::fromStdString("--link=" + link)});
    QElapsedTimer since;
    since.start();
    while (!fs::exists(link) && since.elapsed() < 30000) QThread::msleep(50);
    bool broker_up = false;
    while (!broker_up && since.elapsed() < 30000) {
        QTcpSocket probe;
        probe.connectToHost(QHostAddress::LocalHost, broker_port);
        broker_up = probe.waitForConnected(500);
        if (!broker_up) QThread::msleep(100);
    }
    auto stop = [](QProcess& process) {
        if (process.state() == QProcess::NotRunning) return;
        process.terminate();
        if (!process.waitForFinished(10000)) process.kill();
        process.waitForFinished(5000);
    };
    if (!fs::exists(link) || !broker_up) {
        result.Failure = !broker_up ? "mosquitto did not listen" : "kiln-sim made no terminal";
        stop(sim);
        stop(broker);
        return result;
    }

    // A subscriber to the state topic for the whole firing: each message with when it came.
    QProcess subscriber;
    std::vector<std::pair<qint64, QJsonObject>> states;
    QByteArray pending;
    QElapsedTimer real;
    real.start();
    QObject::connect(&subscriber, &QProcess::readyReadStandardOutput, [&] {
        pending += subscriber.readAllStandardOutput();
        qsizetype end;
        while ((end = pending.indexOf('\n')) >= 0) {
            const QJsonDocument json = QJsonDocument::fromJson(pending.left(end));
            pending.remove(0, end + 1);
            if (json.isObject()) states.emplace_back(real.elapsed(), json.object());
        }
    });
    subscriber.start("mosquitto_sub", {"-h", "127.0.0.1", "-p", QString::number(broker_port),
                                       "-t", "corvanel/+/state"});

    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.insert("LD_PRELOAD", QString::fromStdString(faketime));
    environment.insert("FAKETIME", "+0 x" + QString::number(plan.Speed));
    environment.insert("CORVANEL_SOAK_FOLDER", QString::fromStdString(folder.string()));
    environment.insert("CORVANEL_SOAK_PROFILE", QString::fromStdString(plan.Profile_Name));
    // A few kiln minutes more, so the last memory reading finds the program still there.
    environment.insert("CORVANEL_SOAK_WATCH_HOURS", QString::number(plan.Watch_Hours + 0.1));
    environment.insert("CORVANEL_SOAK_SPEED", QString::number(plan.Speed));
    program.setProcessEnvironment(environment);
    program.setProcessChannelMode(QProcess::MergedChannels);
    program.setStandardOutputFile(QString::fromStdString((folder / "program.out").string()));
    // CORVANEL_SOAK_WRAP runs the program's side under another program (a heap profiler):
    // its words, then this executable and its arguments.
    QStringList arguments =
        QString::fromLocal8Bit(qgetenv("CORVANEL_SOAK_WRAP")).split(' ', Qt::SkipEmptyParts);
    arguments << QString::fromStdString(parts.Self);
    for (const std::string& argument : parts.Child_Arguments)
        arguments << QString::fromStdString(argument);
    program.start(arguments.takeFirst(), arguments);
    if (!program.waitForStarted(30000)) {
        result.Failure = "the program did not start";
        stop(subscriber);
        stop(sim);
        stop(broker);
        return result;
    }
    const qint64 pid = program.processId();
    const std::string record_path = paths.Logfile(Firing_Record_Name(Log_Name));

    // The firing's start on the real clock, from the page's first answer in a firing; kiln
    // hours follow from it at the plan's speed.
    std::optional<double> start_real;  // real seconds since `real` started
    auto kiln_hours = [&] {
        return start_real ? (real.elapsed() / 1000.0 - *start_real) * plan.Speed / 3600 : -1.0;
    };
    std::vector<double> memory_hours = plan.Memory_Hours;
    std::sort(memory_hours.begin(), memory_hours.end());
    std::size_t next_memory = 0;
    bool probed = false, saw_end = false;
    double longest_minutes = (plan.Firing_Hours + plan.Watch_Hours) * 3600 / plan.Speed / 60 + 15;
    long page_answers = 0, page_silences = 0;
    qint64 last_ask = -10000;

    while (program.state() != QProcess::NotRunning) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 100);
        program.waitForFinished(200);
        QCoreApplication::processEvents(QEventLoop::AllEvents, 100);
        if (real.elapsed() > longest_minutes * 60000) {
            fault("the program was still running after " + detail::Fixed(longest_minutes, 0) +
                  " real minutes; stopped");
            break;
        }
        const double hours = kiln_hours();
        if (!start_real || (!saw_end && hours >= 0)) {
            // The page once every real second or so while the firing is on.
            if (real.elapsed() - last_ask >= 1000) {
                last_ask = real.elapsed();
                const auto page = Page_Status(page_port);
                if (page) {
                    ++page_answers;
                    const QString state = (*page)["state"].toString();
                    if (!start_real && state == "running") {
                        start_real = real.elapsed() / 1000.0 -
                                     (*page)["elapsed"].toDouble() * 3600 / plan.Speed;
                        figure("firing seen on the page after " +
                               detail::Fixed(real.elapsed() / 1000.0) + " real s");
                    }
                    if (start_real && (state == "cooling" || state == "finished" || state == "monitor")) {
                        saw_end = true;
                        result.Heartbeat_Age_End = detail::Heartbeat_Age(folder, plan.Speed);
                        figure("run ended (page: " + state.toStdString() + ") at kiln hour " +
                               detail::Fixed(kiln_hours(), 2) + "; heartbeat age " +
                               detail::Fixed(result.Heartbeat_Age_End) + " kiln s");
                    }
                } else if (start_real) {
                    ++page_silences;
                }
            }
        }
        if (next_memory < memory_hours.size() && hours >= memory_hours[next_memory]) {
            const long kb = Resident_kB(pid);
            result.Memory_kB[memory_hours[next_memory]] = kb;
            figure("hour " + detail::Fixed(memory_hours[next_memory], 0) + ": resident " +
                   detail::Fixed(kb / 1024.0) + " MB, heap in use " +
                   detail::Fixed(Heap_In_Use_kB(folder) / 1024.0) + " MB");
            ++next_memory;
        }
        if (!probed && hours >= plan.Probe_Hour) {
            probed = true;
            // The heartbeat first: reading the record takes real time, kiln minutes.
            result.Heartbeat_Age_Probe = detail::Heartbeat_Age(folder, plan.Speed);
            result.Guard_At_Probe =
                Program_Lock::Holder_Of(folder, Guard_Lock_File_Name).has_value();
            const auto beat = Read_Heartbeat(folder);
            const auto before = detail::Last_Tick(record_path);
            const qint64 asked = real.elapsed();
            result.Page = Page_Status(page_port);
            const auto after = detail::Last_Tick(record_path);
            if (before) result.Record_Measured_Before = before->Measured;
            if (after) result.Record_Measured_After = after->Measured;
            if (result.Page) result.Page_Measured = (*result.Page)["measured"].toDouble(NAN);
            figure("hour " + detail::Fixed(plan.Probe_Hour, 0) + ": page " +
                   (result.Page ? "answered: state " + (*result.Page)["state"].toString().toStdString() +
                                      ", elapsed " +
                                      detail::Fixed((*result.Page)["elapsed"].toDouble(), 3) +
                                      " h, measured " + detail::Fixed(result.Page_Measured) +
                                      " F, reading age " +
                                      detail::Fixed((*result.Page)["reading_age_seconds"].toDouble()) +
                                      " s"
                                : std::string("did not answer")) +
                   "; record's latest tick " + detail::Fixed(result.Record_Measured_Before) +
                   " F (" + detail::Fixed(result.Record_Measured_After) + " F just after)");
            figure("hour " + detail::Fixed(plan.Probe_Hour, 0) + ": heartbeat age " +
                   detail::Fixed(result.Heartbeat_Age_Probe) + " kiln s (beat " +
                   (beat ? std::to_string(beat->Beat) : std::string("unreadable")) + "), guard " +
                   (result.Guard_At_Probe ? "running" : "NOT running"));
            // The first state message that comes after the question.
            QElapsedTimer waiting;
            waiting.start();
            while (waiting.elapsed() < 30000) {
                const auto message = std::find_if(states.begin(), states.end(), [&](const auto& s) {
                    return s.first > asked;
                });
                if (message != states.end()) {
                    result.Mqtt_State = message->second;
                    result.Mqtt_After_Seconds = (message->first - asked) / 1000.0 * plan.Speed;
                    break;
                }
                QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
                subscriber.waitForReadyRead(50);
            }
            figure("hour " + detail::Fixed(plan.Probe_Hour, 0) + ": MQTT state " +
                   (result.Mqtt_State
                        ? "received " + detail::Fixed(result.Mqtt_After_Seconds) +
                              " kiln s later: state " +
                              (*result.Mqtt_State)["state"].toString().toStdString() +
                              ", measured " +
                              detail::Fixed((*result.Mqtt_State)["measured"].toDouble(NAN))
                        : std::string("NOT received within 30 real s")) +
                   " (" + std::to_string(states.size()) + " state messages so far)");
        }
    }
    result.Real_Minutes = real.elapsed() / 60000.0;
    if (program.state() != QProcess::NotRunning) {
        stop(program);
    } else if (program.exitStatus() != QProcess::NormalExit || program.exitCode() != 0) {
        fault("the program ended with status " + std::to_string(program.exitCode()) +
              (program.exitStatus() == QProcess::NormalExit ? "" : " (crashed)"));
    }
    result.Guard_At_End = Program_Lock::Holder_Of(folder, Guard_Lock_File_Name).has_value();
    if (!result.Memory_kB.count(memory_hours.empty() ? -1 : memory_hours.back()) &&
        !memory_hours.empty()) {
        figure("(the program ended before hour " + detail::Fixed(memory_hours.back(), 0) + ")");
    }
    figure("page answers " + std::to_string(page_answers) + ", silences " +
           std::to_string(page_silences) + "; state messages " + std::to_string(states.size()));
    stop(subscriber);
    stop(sim);
    stop(broker);

    // What the program counted of itself.
    {
        std::ifstream figures(folder / Child_Figures);
        std::string line;
        while (std::getline(figures, line)) {
            const auto space = line.find(' ');
            const std::string key = line.substr(0, space);
            const std::string value = space == std::string::npos ? "" : line.substr(space + 1);
            if (key == "event" || key == "asked") {
                figure("program: " + line);
                continue;
            }
            result.Program_Figures[key] = value;
        }
        if (result.Program_Figures.count("ticks"))
            result.Program_Ticks = std::stol(result.Program_Figures["ticks"]);
        figure("program: " + std::to_string(result.Program_Ticks) + " control ticks, " +
               result.Program_Figures["monitor_ticks"] + " monitoring ticks; late (>1 kiln s) " +
               result.Program_Figures["late"] + ", missed (a whole interval late) " +
               result.Program_Figures["missed"] + ", largest lateness " +
               result.Program_Figures["latest_late"] + " kiln s (" +
               detail::Fixed(std::atof(result.Program_Figures["latest_late"].c_str()) * 1000 /
                                 plan.Speed,
                             0) +
               " real ms); pauses extended for a reply " +
               result.Program_Figures["waits_extended"]);
        if (result.Program_Figures.count("resident_kb_at_end")) {
            const long kb = std::stol(result.Program_Figures["resident_kb_at_end"]);
            figure("program: resident at its end " + detail::Fixed(kb / 1024.0) + " MB");
            if (!result.Memory_kB.empty()) {
                const long first = result.Memory_kB.begin()->second;
                figure("memory growth from hour " +
                       detail::Fixed(result.Memory_kB.begin()->first, 0) + " to the end: " +
                       detail::Fixed((kb - first) / 1024.0) + " MB");
            }
        }
    }

    // The record read back whole with the program's own reader.
    Firing_Record record;
    if (const auto problem = Read_Firing_Record(record_path, {}, record)) {
        fault("the record could not be read: " + problem->What.English());
    }
    result.Record_Problems = record.Problems.size();
    for (const Record_Problem& problem : record.Problems)
        fault("record line " + std::to_string(problem.Line_Number) + ": " + problem.What.What.English());
    std::optional<std::size_t> start_at, finished_at;
    std::optional<long long> last_tick_clock;
    for (std::size_t i = 0; i < record.Lines.size(); ++i) {
        const Firing_Record_Line& line = record.Lines[i];
        if (line.Event == "start" && !start_at) start_at = i;
        // Ticks to the one in which the run ended, which comes after its finish.
        if (line.Is_Tick()) ++result.Record_Ticks;
        if (line.Is_Tick() && !finished_at) {
            const long long clock = line.Utc_Seconds();
            if (last_tick_clock)
                result.Record_Gap_Largest = std::max<double>(result.Record_Gap_Largest,
                                                              static_cast<double>(clock - *last_tick_clock));
            last_tick_clock = clock;
        }
        if (finished_at && line.Is_After_Run()) ++result.Watch_Lines;
        if (line.Event == Firing_Event_Name(Firing_Event::Finished) && !finished_at) finished_at = i;
        if (line.Event == Guard_Event) fault("the kiln guard acted: " + line.Detail);
    }
    const double last_elapsed = finished_at ? record.Lines[*finished_at].Elapsed : NAN;
    figure("record: " + std::to_string(record.Lines.size()) + " lines, " +
           std::to_string(result.Record_Problems) + " problems, scale " + record.Header.Temp_Scale +
           ", tick length " + detail::Fixed(record.Header.Tick_Length, 0) + " s; " +
           std::to_string(result.Record_Ticks) + " tick lines (a tick every " +
           detail::Fixed(record.Header.Tick_Length, 0) + " s for " +
           detail::Fixed(plan.Firing_Hours, 0) + " h would be " +
           detail::Fixed(plan.Firing_Hours * 3600 / std::max(1.0, record.Header.Tick_Length), 0) +
           "; the program published " +
           std::to_string(result.Program_Ticks) + "), largest gap between ticks " +
           detail::Fixed(result.Record_Gap_Largest, 0) + " s; finished at " +
           detail::Fixed(last_elapsed, 3) + " h; " + std::to_string(result.Watch_Lines) +
           " watch lines after it");
    if (!start_at) fault("the record has no start");
    if (!finished_at) fault("the record has no finish");
    if (result.Watch_Lines == 0) fault("the record has no watch lines after the finish");
    if (record.Header.Temp_Scale != "F") fault("the record's scale is " + record.Header.Temp_Scale);
    if (result.Program_Ticks >= 0 && static_cast<long>(result.Record_Ticks) != result.Program_Ticks)
        fault("the record holds " + std::to_string(result.Record_Ticks) +
              " tick lines, the program published " + std::to_string(result.Program_Ticks));
    figure("real time " + detail::Fixed(result.Real_Minutes, 1) + " min");

    if (result.Faults.empty() && !std::getenv("CORVANEL_SOAK_KEEP")) {
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    } else {
        figure("folder kept: " + folder.string());
    }
    return result;
}

}  // namespace corvanel::soak
