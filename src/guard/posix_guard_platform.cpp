// SPDX-License-Identifier: GPL-3.0-or-later
#include "guard/posix_guard_platform.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <iostream>
#include <thread>

#include "guard/guard_process.h"
#include "run/kept_setup.h"
#include "setup/program_lock.h"
#include "setup/settings_store.h"
#include "setup/setup_files.h"

namespace corvanel {

namespace {

// The program's word to stand down, and the word of whoever ends the guard (a shutdown,
// a logout, a plain kill): act now.
std::atomic<bool> Stand_Down_Signal{false};
std::atomic<bool> Act_Signal{false};
// Cuts the sleep it comes in short, once: a retry after it still waits its time.
std::atomic<bool> Wake_Signal{false};

void Ask_To_Stand_Down(int) {
    Stand_Down_Signal = true;
    Wake_Signal = true;
}

void Ask_To_Act(int) {
    Act_Signal = true;
    Wake_Signal = true;
}

}  // namespace

Posix_Guard_Platform::Posix_Guard_Platform(Settings_Store& settings, Mail_Sender& mail)
    : Paths_(settings.Paths()),
      Settings_(settings),
      Mail_(mail),
      Log_File_(::open((Paths_.Folder() / "corvanel-guard.log").c_str(),
                       O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0644)),
      Log_([this](const std::string& line) { Write_Log(line); }, [this] { return Seconds(); }),
      Device_(settings) {}

Posix_Guard_Platform::~Posix_Guard_Platform() {
    Release_Port();
    if (Life_Line_ >= 0) ::close(Life_Line_);
    {
        std::lock_guard<std::mutex> lock(Mail_Mutex_);
        Mail_Ending_ = true;
    }
    Mail_Waiting_.notify_one();
    if (Mail_Thread_.joinable()) Mail_Thread_.join();  // the mails said, each in its time
    Log_.Flush();
    if (Log_File_ >= 0) ::close(Log_File_);
}

void Posix_Guard_Platform::Use_Life_Line(int descriptor) {
    struct stat line {};
    if (::fstat(descriptor, &line) != 0 || !S_ISSOCK(line.st_mode)) {
        Log("no line from the program: watching its heartbeat alone");
        return;
    }
    ::fcntl(descriptor, F_SETFD, FD_CLOEXEC);
    Life_Line_ = descriptor;
}

bool Posix_Guard_Platform::Sign_Of_Life() {
    if (Life_Line_ < 0) return false;
    bool heard = false;
    char beats[256];
    for (;;) {
        const ssize_t got = ::recv(Life_Line_, beats, sizeof beats, MSG_DONTWAIT);
        if (got > 0) {
            heard = true;
            continue;
        }
        if (got < 0 && errno == EINTR) continue;
        if (got == 0) {
            // The program's end closed: it is gone, whatever its heartbeat says.
            Log("the program's line closed: the program has ended");
            ::close(Life_Line_);
            Life_Line_ = -1;
        }
        return heard;
    }
}

void Posix_Guard_Platform::Catch_Signals() {
    struct sigaction action {};
    sigemptyset(&action.sa_mask);
    action.sa_handler = Ask_To_Stand_Down;
    ::sigaction(Guard_Stand_Down_Signal, &action, nullptr);
    action.sa_handler = Ask_To_Act;
    ::sigaction(SIGTERM, &action, nullptr);
    ::sigaction(SIGINT, &action, nullptr);
    ::signal(SIGHUP, SIG_IGN);
    ::signal(SIGPIPE, SIG_IGN);
}

double Posix_Guard_Platform::Seconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void Posix_Guard_Platform::Sleep(double seconds) {
    const double until = Seconds() + seconds;
    while (!Stand_Down_Signal && !Wake_Signal.exchange(false) && Seconds() < until) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

Date_Time Posix_Guard_Platform::Now() {
    return System_Clock().Now();
}

int Posix_Guard_Platform::Offset_Minutes(const Date_Time& now) {
    return Local_Offset_Minutes(now);
}

bool Posix_Guard_Platform::Stop_Asked() {
    return Stand_Down_Signal;
}

bool Posix_Guard_Platform::Act_Asked() {
    return Act_Signal;
}

std::optional<Guard_Heartbeat> Posix_Guard_Platform::Heartbeat() {
    std::optional<Guard_Heartbeat> beat = Read_Heartbeat(Paths_.Folder());
    // The device the program has open: port numbers follow the adapters plugged in.
    if (beat && !beat->Device.empty()) Device_Path_ = beat->Device;
    return beat;
}

bool Posix_Guard_Platform::Folder_Exists() {
    std::error_code error;
    return std::filesystem::is_directory(Paths_.Folder(), error);
}

bool Posix_Guard_Platform::Program_Holds_Folder(long pid) {
    if (!Alive(pid)) return false;
    return Program_Lock::Holder_Of(Paths_.Folder()) == pid;
}

bool Posix_Guard_Platform::Alive(long pid) const {
    if (pid <= 0) return false;
    // A zombie is gone for our purpose, but only its parent can tell; /proc says.
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text;
    std::getline(stat, text);
    const std::size_t close = text.rfind(')');
    if (!stat || close == std::string::npos || close + 2 >= text.size()) {
        return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
    }
    return text[close + 2] != 'Z';
}

void Posix_Guard_Platform::End_Program(long pid) {
    ::kill(static_cast<pid_t>(pid), SIGKILL);
    for (int waited = 0; waited < 100 && Alive(pid); ++waited) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

void Posix_Guard_Platform::Mark_Acted() {
    // In place: the lock is held on this very file, which a new one renamed over it would
    // not be. Never through a link put in its place.
    const int lock = ::open((Paths_.Folder() / Guard_Lock_File_Name).c_str(),
                            O_WRONLY | O_TRUNC | O_NOFOLLOW | O_CLOEXEC);
    if (lock < 0) return;
    const std::string said = std::to_string(::getpid()) + " " + Guard_Acted_Word + "\n";
    (void)!::write(lock, said.data(), said.size());
    ::fsync(lock);
    ::close(lock);
}

bool Posix_Guard_Platform::Port_Ready() {
    // Without the program's word on its device (a program that never opened its port),
    // the port number as the program maps it.
    const int port = Kept_Comm_Port(Settings_).value_or(1);
    if (Device_.Used_Device() != Device_Path_) {
        Release_Port();
        Device_.Use_Device(Device_Path_);
    }
    try {
        if (!Loaded_) {
            Device_.Set_Comm_Port(port);
            Device_.Set_Port_Open(true);
            Loaded_ = true;
        } else if (!Answered()) {
            Device_.Reopen();
        }
        return Device_.Port_Open();
    } catch (const Run_Time_Error& error) {
        const auto* open_error = dynamic_cast<const Port_Open_Error*>(&error);
        Log("the controller's port " +
            (open_error ? open_error->Device : "number " + std::to_string(port)) +
            " cannot be opened (error " + std::to_string(To_Int(error.Number)) + ")");
        Loaded_ = false;
        Device_.Set_Port_Open(false);
        return false;
    }
}

bool Posix_Guard_Platform::Write_Set_Value(std::int16_t value) {
    if (!Port_Ready()) return false;
    std::uint8_t unit = 0;
    Protocol().Write_SV(unit, value);
    return Answered();
}

std::optional<std::int16_t> Posix_Guard_Platform::Read_Set_Value() {
    if (!Port_Ready()) return std::nullopt;
    std::uint8_t unit = 0;
    const std::int16_t value = Protocol().Read_SV(unit);
    if (!Answered()) return std::nullopt;
    return value;
}

std::optional<std::int16_t> Posix_Guard_Platform::Read_Measured() {
    if (!Port_Ready()) return std::nullopt;
    std::uint8_t unit = 0;
    Protocol().Read_PV(unit);
    if (!Answered()) return std::nullopt;
    return Protocol().Last_PV;
}

void Posix_Guard_Platform::Release_Port() {
    Device_.Set_Port_Open(false);
    Loaded_ = false;
}

void Posix_Guard_Platform::Append_Record(const std::string& path, const std::string& line) {
    // A record the program left in the middle of a line gets the guard's on a line of its
    // own: a reader then loses the torn line, not the guard's.
    bool torn = false;
    {
        std::ifstream before(path, std::ios::binary | std::ios::ate);
        if (before && before.tellg() > 0) {
            before.seekg(-1, std::ios::end);
            torn = before.get() != '\n';
        }
    }
    if (!Append_File_Contents(path, (torn ? "\n" : "") + line)) {
        Log("could not add to the firing record " + path);
    }
}

void Posix_Guard_Platform::Send_Mail(const Mail_Message& message) {
    std::lock_guard<std::mutex> lock(Mail_Mutex_);
    Mails_.push_back(message);
    if (!Mail_Thread_.joinable()) Mail_Thread_ = std::thread([this] { Mail_Loop(); });
    Mail_Waiting_.notify_one();
}

void Posix_Guard_Platform::Mail_Loop() {
    std::unique_lock<std::mutex> lock(Mail_Mutex_);
    for (;;) {
        Mail_Waiting_.wait(lock, [this] { return Mail_Ending_ || !Mails_.empty(); });
        if (Mails_.empty()) return;
        const Mail_Message message = std::move(Mails_.front());
        Mails_.pop_front();
        lock.unlock();
        const Mail_Result sent = Mail_.Send(message);
        Log(sent.Is == Mail_Result::State::Failed
                ? "mail could not be sent: " + message.Subject + ": " + sent.Why.English()
                : "mailed: " + message.Subject);
        lock.lock();
    }
}

void Posix_Guard_Platform::Log(const std::string& line) {
    std::lock_guard<std::mutex> lock(Log_Mutex_);  // the mail's thread logs too
    Log_.Log(line);
}

void Posix_Guard_Platform::Write_Log(const std::string& line) {
    const std::string stamped = Format_Date_Time(Now()) + " corvanel-guard[" +
                                std::to_string(::getpid()) + "]: " + line + "\n";
    std::cerr << stamped << std::flush;
    // One write of the whole line: appended lines never interleave.
    if (Log_File_ >= 0) (void)!::write(Log_File_, stamped.data(), stamped.size());
}

}  // namespace corvanel
