// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "controller/controller_link.h"
#include "controller/posix/posix_serial_device.h"
#include "run/kiln_run.h"
#include "support/child_process.h"
#include "support/fake_clock.h"
#include "support/fake_platform.h"
#include "support/recording_mail.h"
#include "support/temp_folder.h"

namespace corvanel::testing {

// kiln-sim on a pseudo-terminal of its own behind the link `<name>-port` in `folder`, its
// exchanges logged; `options` after the link.
struct Sim_On_A_Pty {
    Sim_On_A_Pty(const Temp_Folder& folder, const std::string& name,
                 const std::vector<std::string>& options)
        : Port(folder.File(name + "-port")), Output(folder.File(name + "-sim.out")) {
        std::vector<std::string> words = {KILN_SIM_PATH, "--verbose", "--link=" + Port};
        words.insert(words.end(), options.begin(), options.end());
        EXPECT_TRUE(Process.Start(words, Output));
        EXPECT_TRUE(Within_Seconds([&] { return std::filesystem::exists(Port); }, 30)) << Log();
    }
    std::string Log() const { return Read_Whole_File(Output); }
    // The set values the controller was sent, in order.
    std::vector<int> Set_Values_Sent() const {
        std::vector<int> sent;
        const std::string log = Log();
        for (std::size_t at = log.find("WS01"); at != std::string::npos; at = log.find("WS01", at + 1))
            sent.push_back(std::stoi(log.substr(at + 4, 4)));
        return sent;
    }

    std::string Port, Output;
    Child Process;
};

// A kiln run without a window and without Qt, on kiln-sim over its own pseudo-terminal,
// with a fake clock; the program's folder and settings are the caller's.
struct Pty_Kiln_Run {
    Pty_Kiln_Run(const Temp_Folder& folder, const Program_Paths& paths, Settings_Store& settings,
                 const std::string& name, const std::vector<std::string>& sim_options)
        : Sim(folder, name, sim_options),
          Device(settings),
          Run({paths, Link.Protocol(), Link.Panel(), Clock, Beeper, Mail, settings, View}) {
        Device.Use_Device(Sim.Port);
        Run.Connect_Serial_Port(Link.Serial());
        Link.Serial().Form_Load(1);
    }

    // Reads the kiln once in monitor mode, then loads `profile` and logs to `log`, as the
    // run window does when the operator opens them; `announce` tells the features.
    void Load(const std::string& profile, const std::string& log, bool announce = false) {
        Run.Use_Controller_RAM();
        Run.Set_Polling_Mode("monitor");
        Run.Read_Safety_Setup();
        Run.Monitor_Interval_Timer();
        ASSERT_TRUE(Run.Firing_Status_Now().Has_Reading) << Sim.Log();
        ASSERT_EQ(Run.Load_Profile(profile).What, Loaded_Profile::Load_Result::Outcome::Loaded);
        Run.Name_Profile(std::filesystem::path(profile).filename().string());
        Run.Take_Loaded_Profile(false);
        if (announce) Run.Profile_Loaded();
        Run.Use_Log_File(log);
    }

    Sim_On_A_Pty Sim;
    Posix_Serial_Device Device;
    Posix_Reply_Waiter Waiter{Device};
    Silent_Run_View View;
    Controller_Link Link{Device, Waiter, &View};
    Fake_Clock Clock;
    Counting_Beeper Beeper;
    Recording_Mail Mail;
    Kiln_Run Run;
};

}  // namespace corvanel::testing
