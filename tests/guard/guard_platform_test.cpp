// SPDX-License-Identifier: GPL-3.0-or-later
// The guard's machine with real parts: its log, its heartbeat, the record it appends to,
// the device it opens on a real pseudo-terminal, and corvanel-guard itself against
// kiln-sim.

#include <fcntl.h>
#include <pty.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

#include "controller/controller_link.h"
#include "controller/posix/posix_serial_device.h"
#include "guard/guard_heartbeat.h"
#include "guard/guard_keeper.h"
#include "guard/guard_log.h"
#include "guard/guard_process.h"
#include "guard/posix_guard_platform.h"
#include "setup/program_lock.h"
#include "support/pty_kiln_run.h"
#include "support/recording_mail.h"
#include "support/small_disk.h"
#include "support/temp_folder.h"

namespace corvanel {
namespace {

namespace fs = std::filesystem;

using testing::Child;
using testing::Within_Seconds;

// The program's kiln as the guard's keeper sees it: the device open, and whether the
// firing was stopped.
struct Fake_Kiln : Kiln_Access {
    std::string Device;
    bool Stopped = false;
    std::string Opened_Device() const override { return Device; }
    void Stop_Firing() override { Stopped = true; }
};

struct Counted_Messages : Message_Area {
    std::vector<std::string> Lines;
    void Display(const std::string& text) override { Lines.push_back(text); }
    void Clear() override {}
};

// Lines repeated are counted: the count comes with the next different line, every five
// minutes of repeats, and at the end.
TEST(Guard_Log_Lines, ARepeatedLineIsCountedNotRepeated) {
    struct Case {
        const char* Name;
        std::vector<std::pair<double, std::string>> Logged;  // at seconds
        std::vector<std::string> Written;
    };
    const std::string port = "the controller's port /dev/ttyUSB0 cannot be opened";
    const Case cases[] = {
        {"different lines", {{0, "a"}, {1, "b"}, {2, "a"}}, {"a", "b", "a"}},
        {"a burst, then another line",
         {{0, port}, {0, port}, {0, port}, {0, port}, {1, "done"}},
         {port, "... (the same 3 more times)", "done"}},
        {"one repeat at the end", {{0, "a"}, {1, "a"}}, {"a", "... (the same 1 more time)"}},
        {"repeats for ten minutes",
         {{0, port}, {100, port}, {299, port}, {300, port}, {400, port}, {600, port}},
         {port, "... (the same 3 more times)", "... (the same 2 more times)"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        std::vector<std::string> written;
        double now = 0;
        {
            Guard_Log log([&](const std::string& line) { written.push_back(line); },
                          [&] { return now; });
            for (const auto& [at, line] : c.Logged) {
                now = at;
                log.Log(line);
            }
        }
        EXPECT_EQ(written, c.Written);
    }
}

// Values are escaped, so a profile's name cannot forge the beat, the process or the end;
// a file longer than any heartbeat is not read.
TEST(Guard_Heartbeat_File, ValuesAreEscapedAndAnOversizedFileIsNotRead) {
    Guard_Heartbeat beat{.Beat = 7,
                         .Program_Pid = 4242,
                         .Record_Path = "/kiln/Logfiles/a\\b.firing.csv",
                         .Device = "/dev/serial/by-id/usb-FTDI_FT232R_A1-if00-port0"};
    for (const std::string name :
         {"glaze.txt", "x\nbeat=999\npid=1\nend\n", "back\\nslash", "cr\r\nend", "ends in \\"}) {
        SCOPED_TRACE(name);
        beat.Profile_Name = name;
        const std::string text = Heartbeat_Text(beat);
        const std::optional<Guard_Heartbeat> read = Parse_Heartbeat(text);
        ASSERT_TRUE(read) << text;
        EXPECT_EQ(read->Beat, 7);
        EXPECT_EQ(read->Program_Pid, 4242);
        EXPECT_EQ(read->Profile_Name, name);
        EXPECT_EQ(read->Record_Path, beat.Record_Path);
        EXPECT_EQ(read->Device, beat.Device);
    }
    Temp_Folder folder;
    beat.Profile_Name = "glaze.txt";
    ASSERT_TRUE(Write_Heartbeat(folder.Path(), beat));
    EXPECT_TRUE(Read_Heartbeat(folder.Path()));
    Write_Whole_File(folder.File(Heartbeat_File_Name),
                     Heartbeat_Text(beat) + std::string(Longest_Heartbeat, '#'));
    EXPECT_FALSE(Read_Heartbeat(folder.Path()));
    // A number no count or process can be is no heartbeat: the guard acts on no such pid.
    for (const std::string line : {"pid=11111111111111111114242", "pid=-4242", "beat=1e300",
                                   "segment=1e20", "elapsed=1e999"}) {
        SCOPED_TRACE(line);
        EXPECT_FALSE(Parse_Heartbeat("beat=7\npid=4242\n" + line + "\nend\n"));
    }
}

// Where the program and the guard write, a link left under the name (or under the name
// written beside it) is never followed: the file it points to stays as it was.
TEST(Guard_Files, NoLinkIsFollowedWhereTheProgramOrTheGuardWrites) {
    const struct {
        const char* Name;
        const char* Link;
        std::function<void(const Program_Paths&)> Write;
    } cases[] = {
        {"heartbeat", "corvanel.heartbeat.new",
         [](const Program_Paths& paths) { Write_Heartbeat(paths.Folder(), Guard_Heartbeat{}); }},
        {"guard log", "corvanel-guard.log",
         [](const Program_Paths& paths) {
             testing::Recording_Mail mail;
             Settings_Store settings(paths);
             Posix_Guard_Platform(settings, mail).Log("a line");
         }},
        {"guard's record line", "glaze.firing.csv",
         [](const Program_Paths& paths) {
             testing::Recording_Mail mail;
             Settings_Store settings(paths);
             Posix_Guard_Platform(settings, mail)
                 .Append_Record((paths.Folder() / "glaze.firing.csv").string(), "guard\n");
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        Temp_Folder folder;
        const std::string victim = folder.File("victim");
        Write_Whole_File(victim, "kept");
        fs::create_symlink(victim, folder.Path() / c.Link);
        c.Write(Program_Paths(folder.Path()));
        EXPECT_EQ(Read_Whole_File(victim), "kept");
    }
}

// A mail server that takes its time holds up neither the watch nor the port: the mails go
// out beside it, in order, and the guard's end waits for them. The guard's record line
// never follows a torn one.
TEST(Guard_Platform, ASlowMailServerDoesNotHoldUpTheGuardAndItsLineStartsALine) {
    struct Slow_Mail : Mail_Sender {
        std::mutex Lock;
        std::condition_variable Answer;
        bool Answering = false;
        std::vector<std::string> Sent;
        Mail_Result Send(const Mail_Message& message) override {
            std::unique_lock<std::mutex> lock(Lock);
            Answer.wait_for(lock, std::chrono::seconds(20), [&] { return Answering; });
            Sent.push_back(message.Subject);
            return Mail_Result::Sent();
        }
    };
    Temp_Folder folder;
    Slow_Mail mail;
    {
        Settings_Store settings{Program_Paths(folder.Path())};
        Posix_Guard_Platform platform(settings, mail);
        platform.Send_Mail({"potter@studio.example", "first", ""});
        platform.Send_Mail({"potter@studio.example", "second", ""});
        std::lock_guard<std::mutex> lock(mail.Lock);
        EXPECT_TRUE(mail.Sent.empty());  // the server has not answered yet
        mail.Answering = true;
        mail.Answer.notify_all();
    }
    EXPECT_EQ(mail.Sent, (std::vector<std::string>{"first", "second"}));

    // The guard's line starts a line of its own, whatever the program left.
    Settings_Store settings{Program_Paths(folder.Path())};
    Posix_Guard_Platform platform(settings, mail);
    const std::string line = "guard line\n";
    const std::pair<const char*, std::string> cases[][2] = {
        {{"none", ""}, {"", "guard line\n"}},
        {{"whole", "a,b\n"}, {"", "a,b\nguard line\n"}},
        {{"torn", "a,b\nc,"}, {"", "a,b\nc,\nguard line\n"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c[0].first);
        const std::string record = folder.File(std::string(c[0].first) + ".firing.csv");
        if (!c[0].second.empty()) Write_Whole_File(record, c[0].second);
        platform.Append_Record(record, line);
        EXPECT_EQ(Read_Whole_File(record), c[1].second);
    }
}

// A pseudo-terminal pair; the far end (the master) closes when asked or at the end.
struct Pty {
    int Master = -1, Slave = -1;
    std::string Name;
    Pty() {
        char name[128] = {};
        if (::openpty(&Master, &Slave, name, nullptr, nullptr) == 0) Name = name;
        // The tests open the terminal by its name, as the guard does.
        ::close(Slave);
        Slave = -1;
    }
    ~Pty() { Close(); }
    void Close() {
        if (Master >= 0) ::close(Master);
        Master = -1;
    }
    std::string Received() {
        std::string got;
        char chunk[256];
        ::fcntl(Master, F_SETFL, O_NONBLOCK);
        for (ssize_t n; (n = ::read(Master, chunk, sizeof chunk)) > 0;) got.append(chunk, n);
        return got;
    }
};

// The far end gone mid-exchange (an adapter pulled, kiln-sim ended): the terminal stays
// readable and gives nothing. The wait for the reply ends instead of asking again at
// once for its three seconds, which wrote hundreds of thousands of lines.
TEST(Guard_Port, AFarEndThatWentAwayEndsTheWaitForTheReply) {
    Temp_Folder folder;
    Pty pty;
    ASSERT_FALSE(pty.Name.empty());
    const Program_Paths paths(folder.Path());
    Write_Whole_File(paths.Setup_File("CommPortMap.txt"), "1=" + pty.Name + "\r\n");
    Settings_Store settings(paths);
    Posix_Serial_Device device(settings);
    Posix_Reply_Waiter waiter(device);
    Counted_Messages messages;
    Controller_Link link(device, waiter, &messages);
    InOut_Functions& protocol = link.Protocol();
    device.Set_Comm_Port(1);
    device.Set_Port_Open(true);
    pty.Close();
    std::uint8_t unit = 0;
    protocol.Read_PV(unit);
    EXPECT_TRUE(protocol.Comm_Error);
    EXPECT_LE(messages.Lines.size(), 4u) << messages.Lines.back();
}

// Only a terminal is opened, and the guard has it alone.
TEST(Guard_Port, OpensOnlyATerminalAndTakesItForItself) {
    Temp_Folder folder;
    const Program_Paths paths(folder.Path());
    const std::string file = folder.File("not-a-port");
    const std::string fifo = folder.File("fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const int fifo_reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    Write_Whole_File(file, "");
    Settings_Store settings(paths);
    for (const std::string& path : {file, fifo}) {
        SCOPED_TRACE(path);
        Posix_Serial_Device device(settings);
        device.Use_Device(path);
        EXPECT_THROW(device.Set_Port_Open(true), Run_Time_Error);
        EXPECT_FALSE(device.Port_Open());
    }
    EXPECT_EQ(Read_Whole_File(file), "");
    ::close(fifo_reader);

    Pty pty;
    Posix_Serial_Device device(settings);
    device.Use_Device(pty.Name);
    device.Set_Port_Open(true);
    ASSERT_TRUE(device.Port_Open());
    int exclusive = 0;
    ASSERT_EQ(::ioctl(device.File(), TIOCGEXCL, &exclusive), 0);
    EXPECT_EQ(exclusive, 1);
}

// ---- corvanel-guard itself, against kiln-sim on a pseudo-terminal ----

class Guard_Against_Kiln_Sim : public ::testing::Test {
  protected:
    void SetUp() override { fs::create_directories(Paths.Folder() / "Logfiles"); }
    std::string Sim_Log() { return Sim.Log(); }
    std::string Guard_Log() { return Read_Whole_File(Folder.File("corvanel-guard.log")); }
    // A heartbeat as the program writes it, naming kiln-sim's terminal as its device,
    // from a program that is gone.
    void Beat(long long beat) {
        ASSERT_TRUE(Write_Heartbeat(Paths.Folder(), {.Beat = beat,
                                                     .Program_Pid = Gone_Pid,
                                                     .Record_Path = Record,
                                                     .Device = Link,
                                                     .Profile_Name = "glaze.txt",
                                                     .Elapsed = 100,
                                                     .Segment = 2,
                                                     .Measured = 1500}));
    }
    void Start_Guard(int after) {
        ASSERT_TRUE(
            Guard.Start({CORVANEL_GUARD_PATH, "--folder", Paths.Folder().string(), "--program-pid",
                         std::to_string(Gone_Pid), "--after", std::to_string(after)},
                        Folder.File("guard.out")));
        ASSERT_TRUE(Within_Seconds([&] {
            return Program_Lock::Holder_Of(Paths.Folder(), Guard_Lock_File_Name).has_value();
        })) << Read_Whole_File(Folder.File("guard.out"));
    }
    bool Soft_Offed() { return Sim_Log().find("WS010070") != std::string::npos; }
    // The guard stands down when the program asks, and ends.
    void Stand_Down() {
        ASSERT_EQ(::kill(Guard.Pid, Guard_Stand_Down_Signal), 0);
        ASSERT_TRUE(Within_Seconds([&] { return Guard.Ended(); })) << Guard_Log();
        EXPECT_TRUE(WIFEXITED(Guard.Status) && WEXITSTATUS(Guard.Status) == 0) << Guard.Status;
    }

    Temp_Folder Folder;
    const Program_Paths Paths{Folder.Path() / "kiln"};
    testing::Sim_On_A_Pty Sim{Folder, "kiln", {"--speed=60", "--scale=F"}};
    const std::string Link = Sim.Port;
    const std::string Record = (Folder.Path() / "kiln" / "Logfiles" / "glaze.firing.csv").string();
    const long Gone_Pid = [] {
        const pid_t pid = ::fork();
        if (pid == 0) ::_exit(0);
        ::waitpid(pid, nullptr, 0);
        return static_cast<long>(pid);
    }();
    Child Guard;
};

// A second adapter plugged in meanwhile: port 1 is now another terminal. The guard
// soft-offs the controller the program had open, and sends nothing to the other one.
TEST_F(Guard_Against_Kiln_Sim, ActsOnTheDeviceTheProgramHadOpenNotOnWhatPortOneIsNow) {
    Pty other;
    Write_Whole_File(Paths.Setup_File("CommPortMap.txt"), "1=" + other.Name + "\r\n");
    ASSERT_NO_FATAL_FAILURE(Beat(1));
    ASSERT_NO_FATAL_FAILURE(Start_Guard(2));
    ASSERT_TRUE(Within_Seconds([&] { return Soft_Offed(); })) << Guard_Log() << Sim_Log();
    EXPECT_EQ(other.Received(), "");
    ASSERT_NO_FATAL_FAILURE(Stand_Down());
}

// SIGTERM (a shutdown, a logout, a kill) while the program beats on: the guard acts at
// once rather than standing down, and its line in the record says why.
TEST_F(Guard_Against_Kiln_Sim, SigtermMidFiringSoftOffsRecordsAndOnlyTheProgramsWordStandsItDown) {
    ASSERT_NO_FATAL_FAILURE(Beat(1));
    ASSERT_NO_FATAL_FAILURE(Start_Guard(600));
    ASSERT_EQ(::kill(Guard.Pid, SIGTERM), 0);
    ASSERT_TRUE(Within_Seconds([&] { return Soft_Offed(); })) << Guard_Log() << Sim_Log();
    ASSERT_TRUE(Within_Seconds([&] {
        return Read_Whole_File(Record).find(",guard,") != std::string::npos;
    })) << Guard_Log();
    EXPECT_NE(Read_Whole_File(Record).find("the kiln guard was told to end during the firing"),
              std::string::npos)
        << Read_Whole_File(Record);
    EXPECT_FALSE(Guard.Ended());  // watching the kiln until the program takes it back
    ASSERT_NO_FATAL_FAILURE(Stand_Down());
}

// The program folder's disk full mid-firing: the heartbeat cannot be written, which the
// operator hears once, but the program beats on over its line and the guard started by
// the keeper leaves the firing alone. The ticks stopped (the program hung), it acts.
TEST_F(Guard_Against_Kiln_Sim, AFullDiskUnderTheHeartbeatIsNoReasonToActASilentProgramIs) {
    Small_Disk disk(Paths.Folder(), 256 * 1024);
    if (!disk.Mounted()) GTEST_SKIP() << "this system lets no test mount a small disk";
    Settings_Store settings(Paths);
    Counted_Messages messages;
    Firing_Status_Seam seam;
    Fake_Kiln kiln;
    kiln.Device = Link;
    Guard_Keeper keeper(Paths, settings, messages, kiln, CORVANEL_GUARD_PATH, 3);
    keeper.Attach(seam);
    Firing_Status status;
    status.State = Firing_State::Running;
    status.Profile_Name = "glaze.txt";
    seam.Publish(status, Firing_Event::Start);
    ASSERT_TRUE(keeper.Guarding());
    ASSERT_TRUE(Within_Seconds(
        [&] { return Program_Lock::Holder_Of(Paths.Folder(), Guard_Lock_File_Name).has_value(); }));
    disk.Fill();
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < until) {
        seam.Publish(status, Firing_Event::Tick);
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
    }
    EXPECT_FALSE(Soft_Offed()) << Guard_Log();
    EXPECT_EQ(std::count_if(messages.Lines.begin(), messages.Lines.end(),
                            [](const std::string& line) {
                                return line.find("heartbeat cannot be saved") != std::string::npos;
                            }),
              1);
    ASSERT_TRUE(Within_Seconds([&] { return Soft_Offed(); })) << Sim_Log();
    seam.Publish(status, Firing_Event::Soft_Off);  // the guard stands down
    EXPECT_FALSE(keeper.Guarding());
}

// A guard that dies during the run is started again at the next tick; one that ended
// because it stopped the firing is not, and the program is told to stop the firing too.
TEST(Guard_Keeping, ADeadGuardIsStartedAgainOneThatActedStopsTheFiring) {
    for (const bool acted : {false, true}) {
        SCOPED_TRACE(acted ? "it had acted" : "killed");
        Temp_Folder folder;
        const Program_Paths paths(folder.Path());
        const std::string starts = folder.File("starts");
        const std::string guard = folder.File("guard.sh");
        Write_Whole_File(guard, "#!/bin/sh\necho $$ >> '" + starts + "'\nexec sleep 600\n");
        fs::permissions(guard, fs::perms::owner_all);
        Settings_Store settings(paths);
        Counted_Messages messages;
        Firing_Status_Seam seam;
        Fake_Kiln kiln;
        Guard_Keeper keeper(paths, settings, messages, kiln, guard, 600);
        keeper.Attach(seam);
        Firing_Status status;
        status.State = Firing_State::Running;
        // A firing waiting to start later is guarded as one that runs.
        seam.Publish(status, acted ? Firing_Event::Start : Firing_Event::Start_Waiting);
        auto started = [&] {
            std::string text = Read_Whole_File(starts);
            return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
        };
        ASSERT_TRUE(Within_Seconds([&] { return started() == 1; }));
        const pid_t first = std::stoi(Read_Whole_File(starts));
        if (acted) Write_Whole_File(folder.File(Guard_Lock_File_Name), "1 acted\n");
        ASSERT_EQ(::kill(first, SIGKILL), 0);
        ASSERT_TRUE(Within_Seconds([&] {
            seam.Publish(status, Firing_Event::Tick);
            return !acted ? started() == 2 : kiln.Stopped;
        })) << messages.Lines.size();
        EXPECT_EQ(keeper.Guarding(), !acted);
        EXPECT_EQ(kiln.Stopped, acted);
        seam.Publish(status, acted ? Firing_Event::Soft_Off : Firing_Event::Start_Cancelled);
        EXPECT_FALSE(keeper.Guarding());
    }
}

}  // namespace
}  // namespace corvanel
