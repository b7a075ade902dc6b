// SPDX-License-Identifier: GPL-3.0-or-later
#include "guard/guard_process.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fstream>
#include <thread>
#include <vector>

#include "guard/guard_heartbeat.h"
#include "setup/program_lock.h"

extern char** environ;

namespace corvanel {

namespace {

// Waits until `done` holds, up to `seconds`.
template <typename Condition>
bool Wait_Until(Condition done, double seconds) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (!done()) {
        if (std::chrono::steady_clock::now() > until) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

bool Lock_Free(const std::filesystem::path& folder, long& holder) {
    const std::optional<long> held = Program_Lock::Holder_Of(folder, Guard_Lock_File_Name);
    holder = held.value_or(0);
    return !held;
}

}  // namespace

std::string Guard_Process::Guard_Program() const {
    if (!Program_.empty()) return Program_;
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error) {
        const std::filesystem::path beside = self.parent_path() / "corvanel-guard";
        if (std::filesystem::exists(beside, error)) return beside.string();
    }
    return "corvanel-guard";  // from the PATH
}

Guard_Process::~Guard_Process() {
    Close_Pipe();
}

void Guard_Process::Close_Pipe() {
    if (Pipe_ >= 0) ::close(Pipe_);
    Pipe_ = -1;
}

void Guard_Process::Beat() {
    // Never blocks (a guard that reads nothing must not stop the tick), and a guard that
    // is gone raises no SIGPIPE: a socket, not a pipe, for MSG_NOSIGNAL.
    const char beat = '.';
    if (Pipe_ >= 0) (void)!::send(Pipe_, &beat, 1, MSG_DONTWAIT | MSG_NOSIGNAL);
}

Maybe_Problem Guard_Process::Start(const std::filesystem::path& program_folder, long long seconds) {
    if (Running()) return std::nullopt;
    const std::string program = Guard_Program();
    std::vector<std::string> words = {program,
                                      "--folder",
                                      program_folder.string(),
                                      "--program-pid",
                                      std::to_string(::getpid()),
                                      "--after",
                                      std::to_string(seconds)};
    // Both ends closed on exec: only the guard's copy of the reading end, made below,
    // goes over, so the guard sees the pipe end when this program does.
    int ends[2] = {-1, -1};
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) == 0) {
        ::shutdown(ends[0], SHUT_WR);
        // Out of the way of the number the guard gets it as.
        if (ends[0] == Guard_Life_Pipe) {
            const int moved = ::fcntl(ends[0], F_DUPFD_CLOEXEC, Guard_Life_Pipe + 1);
            ::close(ends[0]);
            ends[0] = moved;
        }
        if (ends[0] >= 0) {
            words.push_back("--life-pipe");
            words.push_back(std::to_string(Guard_Life_Pipe));
        } else {
            ::close(ends[1]);
            ends[1] = -1;
        }
    }
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (ends[0] >= 0) posix_spawn_file_actions_adddup2(&actions, ends[0], Guard_Life_Pipe);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    // A session of its own: no terminal's hang-up and no signal to the program's group
    // reaches it. The program's blocked signals are not its business.
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK);
    pid_t pid = 0;
    const int failed =
        program.find('/') == std::string::npos
            ? ::posix_spawnp(&pid, program.c_str(), &actions, &attributes, argv.data(), environ)
            : ::posix_spawn(&pid, program.c_str(), &actions, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    if (ends[0] >= 0) ::close(ends[0]);
    if (failed != 0) {
        if (ends[1] >= 0) ::close(ends[1]);
        return Problem{
            Operator_Text::Phrase("The kiln guard could not be started: if the program "
                                  "stops during this firing, nothing will soft off "
                                  "the kiln"),
            Operator_Text::Phrase("Check that the program is installed completely, or "
                                  "turn the kiln guard off in SetUp -> Safety Settings")};
    }
    Close_Pipe();
    Pipe_ = ends[1];
    Pid_ = pid;
    return std::nullopt;
}

void Guard_Process::Stop() {
    if (!Running()) return;
    const pid_t pid = static_cast<pid_t>(Pid_);
    Pid_ = 0;
    ::kill(pid, Guard_Stand_Down_Signal);
    Close_Pipe();
    // Our child: reaped here, so that it leaves no zombie behind.
    int status = 0;
    Wait_Until([&] { return ::waitpid(pid, &status, WNOHANG) != 0; }, 5);
}

bool Guard_Process::Ended() {
    if (!Running()) return false;
    int status = 0;
    if (::waitpid(static_cast<pid_t>(Pid_), &status, WNOHANG) == 0) return false;
    Pid_ = 0;
    Close_Pipe();
    return true;
}

bool Take_Kiln_Back_From_Guard(const std::filesystem::path& program_folder, long& pid) {
    pid = 0;
    long holder = 0;
    if (Lock_Free(program_folder, holder)) return false;
    pid = holder;
    std::string said;
    std::getline(std::ifstream(program_folder / Guard_Lock_File_Name), said);
    if (holder > 0) ::kill(static_cast<pid_t>(holder), Guard_Stand_Down_Signal);
    // It closes the port and lets go of its lock as it ends.
    Wait_Until([&] { return Lock_Free(program_folder, holder); }, 10);
    return said.find(Guard_Acted_Word) != std::string::npos;
}

}  // namespace corvanel
