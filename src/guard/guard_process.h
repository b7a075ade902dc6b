// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <csignal>
#include <filesystem>
#include <string>

#include "common/problem.h"

namespace corvanel {

// How the program tells its guard to stand down. SIGTERM is not it: a shutdown, a logout
// or a kill sends that, and then the guard stops the firing before it goes.
inline constexpr int Guard_Stand_Down_Signal = SIGUSR1;

// The program's hold on its kiln guard: started in a session of its own, so that closing
// the window, a signal to the program's process group or the program's death leaves it
// running; told to stand down with Guard_Stand_Down_Signal when the run ends.
class Guard_Process {
  public:
    // `guard_program`: the corvanel-guard to start; "" finds it beside this executable,
    // else on the PATH.
    explicit Guard_Process(std::string guard_program = "") : Program_(std::move(guard_program)) {}
    Guard_Process(const Guard_Process&) = delete;
    Guard_Process& operator=(const Guard_Process&) = delete;
    // A guard started goes on: that is its purpose. The pipe closes, which tells it that
    // the program is gone.
    ~Guard_Process();

    // Starts a guard over `program_folder` that acts after `seconds` without a sign of
    // life. The problem when it cannot be started.
    Maybe_Problem Start(const std::filesystem::path& program_folder, long long seconds);
    // Asks it to stand down and waits until it has (a few seconds at most).
    void Stop();
    bool Running() const { return Pid_ > 0; }
    // A sign of life over the line (a local socket) the guard was started with: it needs
    // no disk, so a full disk that stops the heartbeat file does not make a ticking
    // program look hung; and it ends with this program, whatever kills it.
    void Beat();
    // The guard started has ended by itself (killed, crashed): true once, and then it is
    // no longer Running.
    bool Ended();

    // The path Start uses.
    std::string Guard_Program() const;

  private:
    void Close_Pipe();

    std::string Program_;
    long Pid_ = 0;
    int Pipe_ = -1;  // the program's end; the guard reads the other as Guard_Life_Pipe
};

// The descriptor the guard reads the program's signs of life from (--life-pipe).
inline constexpr int Guard_Life_Pipe = 3;

// At the program's start, before the port opens: a guard still running over the folder
// stands down and so hands the port back. True when it had taken over a firing while the
// program was gone; `pid` says which guard was there (0 none).
bool Take_Kiln_Back_From_Guard(const std::filesystem::path& program_folder, long& pid);

}  // namespace corvanel
