// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fcntl.h>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace corvanel::testing {

// Waits for a condition without an event loop, checking it every 50 ms.
template <typename Condition>
bool Within_Seconds(Condition done, double seconds = 60) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (!done()) {
        if (std::chrono::steady_clock::now() > until) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
}

// A program of our own (kiln-sim, corvanel-guard) started without Qt (by tests and
// benchmarks alike), its standard output
// and error in a file; killed at the end of the test if it is still running.
struct Child {
    pid_t Pid = 0;
    int Status = 0;
    bool Start(const std::vector<std::string>& words, const std::string& output) {
        std::vector<char*> argv;
        std::vector<std::string> copy = words;
        for (std::string& word : copy) argv.push_back(word.data());
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0644);
        posix_spawn_file_actions_adddup2(&actions, 1, 2);
        const int failed = ::posix_spawn(&Pid, argv[0], &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        if (failed != 0) Pid = 0;
        return failed == 0;
    }
    bool Ended() {
        if (Pid <= 0) return true;
        if (::waitpid(Pid, &Status, WNOHANG) != Pid) return false;
        Pid = 0;
        return true;
    }
    // Sends the signal (SIGTERM lets kiln-sim remove its link) and waits for the end.
    void Stop(int signal = SIGKILL) {
        if (Pid <= 0) return;
        ::kill(Pid, signal);
        ::waitpid(Pid, &Status, 0);
        Pid = 0;
    }
    ~Child() { Stop(); }
};

}  // namespace corvanel::testing
