// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <condition_variable>
#include <deque>
#include <fstream>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "controller/controller_link.h"
#include "controller/posix/posix_serial_device.h"
#include "guard/guard_log.h"
#include "guard/kiln_guard.h"
#include "run/mail.h"
#include "setup/program_paths.h"

namespace corvanel {

// The guard's machine: the steady clock, signals from the program, the program's
// process, the controller on the program's port through the program's own protocol, the
// record appended as the program appends it, the mail through the program's mail
// settings, and a log of what it does (standard error and "corvanel-guard.log" in the
// program folder, never through a link found under that name).
class Posix_Guard_Platform : public Guard_Platform, private Message_Area {
  public:
    Posix_Guard_Platform(Settings_Store& settings, Mail_Sender& mail);
    ~Posix_Guard_Platform() override;

    // The program asks the guard to stand down with Guard_Stand_Down_Signal; SIGTERM and
    // SIGINT (a shutdown, a logout, a kill) tell it to act now; SIGHUP is ignored.
    static void Catch_Signals();

    double Seconds() override;
    void Sleep(double seconds) override;
    Date_Time Now() override;
    int Offset_Minutes(const Date_Time& now) override;
    bool Stop_Asked() override;
    bool Act_Asked() override;
    std::optional<Guard_Heartbeat> Heartbeat() override;
    bool Sign_Of_Life() override;
    // The program's line (Guard_Life_Pipe): beats come over it; taken only when it is one.
    void Use_Life_Line(int descriptor);
    bool Folder_Exists() override;
    bool Program_Holds_Folder(long pid) override;
    void End_Program(long pid) override;
    void Mark_Acted() override;
    bool Write_Set_Value(std::int16_t value) override;
    std::optional<std::int16_t> Read_Set_Value() override;
    std::optional<std::int16_t> Read_Measured() override;
    void Release_Port() override;
    void Append_Record(const std::string& path, const std::string& line) override;
    // Sent by a thread of its own, in order: a slow mail server never holds up the watch
    // of the kiln, and the port is handed back before the last mails are waited for.
    void Send_Mail(const Mail_Message& message) override;
    void Publish(const Firing_Status& status, Firing_Event event,
                 const std::string& detail) override {
        if (Published) Published(status, event, detail);
    }
    // Where Publish goes: the tool's MQTT publisher, when MQTT is on.
    std::function<void(const Firing_Status&, Firing_Event, const std::string&)> Published;
    void Log(const std::string& line) override;

  private:
    void Display(const std::string& text) override { Log("controller: " + text); }
    void Clear() override {}
    // Opens the port on first use, and again after an exchange failed.
    bool Port_Ready();
    // True when the last exchange went through.
    bool Answered() { return !Protocol().Comm_Error && Protocol().Command_OK; }
    InOut_Functions& Protocol() { return Link_.Protocol(); }
    bool Alive(long pid) const;
    void Write_Log(const std::string& line);
    void Mail_Loop();

    Program_Paths Paths_;
    Settings_Store& Settings_;
    Mail_Sender& Mail_;
    std::mutex Mail_Mutex_, Log_Mutex_;
    std::condition_variable Mail_Waiting_;
    std::deque<Mail_Message> Mails_;
    bool Mail_Ending_ = false;
    std::thread Mail_Thread_;
    int Log_File_ = -1;  // corvanel-guard.log, appended to; -1 when it cannot be
    Guard_Log Log_;
    std::string Device_Path_;  // the program's, from its heartbeat
    Posix_Serial_Device Device_;
    Posix_Reply_Waiter Waiter_{Device_};
    Controller_Link Link_{Device_, Waiter_, this};
    bool Loaded_ = false;
    int Life_Line_ = -1;
};

}  // namespace corvanel
