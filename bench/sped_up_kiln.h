// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A kiln fired faster than real time, for benchmarks that need whole firings: kiln-sim
// with its speed raised on a pseudo-terminal of its own, and the real headless run over
// the POSIX serial port, its clock running as fast as kiln-sim's kiln. A ten-hour firing
// takes a minute at --speed=600. Without Qt.

#include <chrono>
#include <cmath>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "common/clock.h"
#include "common/platform.h"
#include "controller/controller_link.h"
#include "controller/posix/posix_serial_device.h"
#include "run/firing_record_writer.h"
#include "run/kiln_run.h"
#include "run/mail.h"
#include "run/run_view.h"
#include "setup/program_paths.h"
#include "setup/settings_store.h"
#include "support/child_process.h"

namespace corvanel::bench {

// The run's clock at kiln-sim's pace: `speed` kiln seconds for each real second, on the
// real steady clock, so it never drifts from the simulator's kiln however long the
// firing. The time of day starts at `start` and moves with it.
class Sped_Up_Clock : public Clock {
  public:
    Sped_Up_Clock(double speed, const Date_Time& start)
        : Speed_(speed), Start_(Seconds_Of(start)), Origin_(std::chrono::steady_clock::now()) {}

    // Kiln seconds since the clock was made.
    double Kiln_Seconds() const {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - Origin_).count() *
               Speed_;
    }
    Date_Time Now() override {
        return Date_Time_Of_Seconds(Start_ + static_cast<long long>(std::floor(Kiln_Seconds())));
    }
    double Steady_Seconds() override { return 1000 + Kiln_Seconds(); }
    double Speed() const { return Speed_; }

    // Sleeps in real time until the clock shows this many kiln seconds.
    void Sleep_Until(double kiln_seconds) const {
        const double real = kiln_seconds / Speed_;
        std::this_thread::sleep_until(
            Origin_ + std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                          std::chrono::duration<double>(real)));
    }

  private:
    double Speed_;
    long long Start_;
    std::chrono::steady_clock::time_point Origin_;
};

// The pause after a request lasts as long as the reply takes, not the program's 200 ms:
// at --speed=600 those would be two kiln minutes each, and a tick would outlast its
// interval. A reply that never comes still ends the pause after `longest` real seconds.
class Prompt_Reply_Waiter : public Reply_Waiter {
  public:
    explicit Prompt_Reply_Waiter(Posix_Serial_Device& device, double longest = 1)
        : Waiter_(device, longest) {}
    void Listen(Serial_Port& serial, const std::string& reply_buffer) override {
        Waiter_.Listen(serial, reply_buffer);
    }
    void Wait(double) override { Waiter_.Wait(0); }

  private:
    Posix_Reply_Waiter Waiter_;
};

// kiln-sim on a pseudo-terminal linked at `link`, its output in a file; stopped (and its
// link removed by it) when this goes.
class Kiln_Sim_Process {
  public:
    Kiln_Sim_Process() = default;
    Kiln_Sim_Process(const Kiln_Sim_Process&) = delete;
    Kiln_Sim_Process& operator=(const Kiln_Sim_Process&) = delete;
    ~Kiln_Sim_Process() { Stop(); }

    // True once the terminal's link is there (within 30 real seconds).
    bool Start(const std::string& program, std::vector<std::string> flags, const std::string& link,
               const std::string& output) {
        flags.insert(flags.begin(), program);
        flags.push_back("--link=" + link);
        if (!Child_.Start(flags, output)) return false;
        testing::Within_Seconds([&] { return std::filesystem::exists(link) || Child_.Ended(); },
                                30);
        return std::filesystem::exists(link);
    }
    bool Ended() { return Child_.Ended(); }
    void Stop() { Child_.Stop(SIGTERM); }

  private:
    testing::Child Child_;
};

struct Quiet_Beeper : Beeper {
    void Beep() override {}
};
struct No_Mail : Mail_Sender {
    bool Send(const Mail_Message&) override { return true; }
};

struct Sped_Up_Kiln_Options {
    std::string Kiln_Sim;                // the executable
    std::vector<std::string> Sim_Flags;  // --speed is added from Speed
    double Speed = 600;
    Date_Time Start{2026, 12, 1, 8, 0, 0};  // the time of day the clock starts at
    std::string Name = "kiln";              // names the terminal's link and the output
    std::string Program = "Corvanel";       // as the firing record's header names it
};

// One kiln: kiln-sim at the options' speed and the headless run that fires it, its
// firing records written to the program folder's Logfiles as the program writes them.
// Made per firing when each firing should start from a cold kiln (a new kiln-sim), or
// once for a long soak.
class Sped_Up_Kiln {
  public:
    using Tick_Callback = std::function<void(const Firing_Status&)>;

    Sped_Up_Kiln(const Program_Paths& paths, Settings_Store& settings,
                 const Sped_Up_Kiln_Options& options)
        : Paths_(paths),
          Clock_(options.Speed, options.Start),
          Device_(settings),
          Run_({paths, Link_.Protocol(), Link_.Panel(), Clock_, Beeper_, Mail_, settings, View_}),
          Record_(paths, options.Program) {
        const std::filesystem::path folder = paths.Folder() / "kiln-sim";
        std::filesystem::create_directories(folder);
        Sim_Output_ = (folder / (options.Name + ".out")).string();
        const std::string link = (folder / (options.Name + "-port")).string();
        std::vector<std::string> flags = options.Sim_Flags;
        flags.push_back("--speed=" + std::to_string(options.Speed));
        Started_ = Sim_.Start(options.Kiln_Sim, flags, link, Sim_Output_);
        if (!Started_) return;
        Device_.Use_Device(link);
        Run_.Connect_Serial_Port(Link_.Serial());
        Run_.Firing().Attach(Record_);
        Link_.Serial().Form_Load(1);
        Run_.Use_Controller_RAM();
        Run_.Set_Polling_Mode("monitor");
        Run_.Read_Safety_Setup();
        Run_.Monitor_Interval_Timer();
    }
    ~Sped_Up_Kiln() { Run_.Firing().Detach(Record_); }
    Sped_Up_Kiln(const Sped_Up_Kiln&) = delete;
    Sped_Up_Kiln& operator=(const Sped_Up_Kiln&) = delete;

    // kiln-sim runs and the run has read the kiln.
    bool Ready() const { return Started_ && Run_.Firing_Status_Now().Has_Reading; }
    const std::string& Sim_Output() const { return Sim_Output_; }
    Kiln_Run& Run() { return Run_; }
    Sped_Up_Clock& Clock() { return Clock_; }
    // Ticks that came later than their interval allowed (the machine was busy): a real
    // timer would have coalesced them too.
    long Late_Ticks() const { return Late_Ticks_; }

    // Fires a profile of the Profiles folder, logging to `log` (its firing record
    // beside it), calling `each_tick` with the status the tick published (as the
    // observers heard it, annotated) after every control tick, until the run ends by
    // itself; then watches the kiln for `watch_kiln_seconds` as the program does after a
    // run. An empty text when it fired, otherwise why not.
    std::string Fire(const std::string& profile, const std::string& log, double watch_kiln_seconds,
                     const Tick_Callback& each_tick = {}) {
        if (!Ready()) return "kiln-sim did not answer; see " + Sim_Output_;
        if (Run_.Load_Profile(Paths_.Profile_File(profile)).What !=
            Loaded_Profile::Load_Result::Outcome::Loaded) {
            return "the profile " + profile + " did not load";
        }
        Run_.Name_Profile(profile);
        Run_.Take_Loaded_Profile(false);
        Run_.Use_Log_File(log);
        Run_.Start_Profile();
        if (!Run_.Running()) return "the run did not start";
        Keep_Ticking([this] { return Run_.Running(); },
                     [this] { return Run_.Control_Interval().Interval; },
                     [this, &each_tick] {
                         Run_.Control_Interval_Timer();
                         if (each_tick) each_tick(Run_.Firing().Latest());
                     });
        Watch(watch_kiln_seconds);
        return "";
    }

    // Monitoring ticks for this long, as between and after firings.
    void Watch(double kiln_seconds, const Tick_Callback& each_tick = {}) {
        const double until = Clock_.Kiln_Seconds() + kiln_seconds;
        Keep_Ticking([this, until] { return Clock_.Kiln_Seconds() < until; },
                     [this] { return Run_.Monitor_Interval().Interval; },
                     [this, &each_tick] {
                         Run_.Monitor_Interval_Timer();
                         if (each_tick) each_tick(Run_.Firing().Latest());
                     });
    }

  private:
    // A timer of `interval` milliseconds of kiln time: `tick` at each, while `going`.
    template <class Going, class Interval, class Tick>
    void Keep_Ticking(Going going, Interval interval, Tick tick) {
        double next = Clock_.Kiln_Seconds() + interval() / 1000.0;
        while (going()) {
            Clock_.Sleep_Until(next);
            tick();
            next += interval() / 1000.0;
            if (next < Clock_.Kiln_Seconds()) {
                ++Late_Ticks_;
                next = Clock_.Kiln_Seconds() + interval() / 1000.0;
            }
        }
    }

    Program_Paths Paths_;
    Sped_Up_Clock Clock_;
    std::string Sim_Output_;
    Kiln_Sim_Process Sim_;
    bool Started_ = false;
    Posix_Serial_Device Device_;
    Prompt_Reply_Waiter Waiter_{Device_};
    Silent_Run_View View_;
    Controller_Link Link_{Device_, Waiter_, &View_};
    Quiet_Beeper Beeper_;
    No_Mail Mail_;
    Kiln_Run Run_;
    Firing_Record_Writer Record_;
    long Late_Ticks_ = 0;
};

}  // namespace corvanel::bench
