// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "common/clock.h"
#include "guard/guard_heartbeat.h"
#include "run/mail.h"
#include "run/safety_settings.h"

namespace corvanel {

// What the guard needs of the machine: its clock, the program's process, the controller,
// the firing record, the mail and its own log. The tool gives the real ones.
class Guard_Platform {
  public:
    virtual ~Guard_Platform() = default;
    virtual double Seconds() = 0;  // a clock that never goes back
    virtual void Sleep(double seconds) = 0;
    virtual Date_Time Now() = 0;  // the wall clock, for the record
    virtual int Offset_Minutes(const Date_Time& now) = 0;
    // The program asked the guard to stand down (the run ended, or it took the kiln back).
    virtual bool Stop_Asked() = 0;
    // The guard itself was told to end (a shutdown, a logout, a kill): it stops the firing
    // before it goes, since no one else will.
    virtual bool Act_Asked() = 0;
    virtual std::optional<Guard_Heartbeat> Heartbeat() = 0;
    // The program gave a sign of life by a way that needs no disk (the line it started
    // the guard with) since the last look; false when it has none.
    virtual bool Sign_Of_Life() { return false; }
    // The program folder is still there (a folder removed has no kiln to guard).
    virtual bool Folder_Exists() = 0;
    // The process is alive and is the program of the folder (it holds the folder's lock):
    // a process id the system has given to another program is never touched.
    virtual bool Program_Holds_Folder(long pid) = 0;
    virtual void End_Program(long pid) = 0;  // kills it and waits until it is gone
    // Leaves word in the folder that the guard took over, for the program's next start.
    virtual void Mark_Acted() = 0;
    // The controller over the program's port. Each false or empty answer is a failed
    // exchange; the port is opened on first use and opened again after a failure.
    virtual bool Write_Set_Value(std::int16_t value) = 0;
    virtual std::optional<std::int16_t> Read_Set_Value() = 0;
    virtual std::optional<std::int16_t> Read_Measured() = 0;
    virtual void Release_Port() = 0;
    virtual void Append_Record(const std::string& path, const std::string& line) = 0;
    virtual void Send_Mail(const Mail_Message& message) = 0;
    // What the program's observers would hear (MQTT, when it is on); nothing by default.
    virtual void Publish(const Firing_Status&, Firing_Event, const std::string&) {}
    virtual void Log(const std::string& line) = 0;
};

struct Guard_Settings {
    double After_Seconds = 600;  // without a sign of life during a run
    long Program_Pid = 0;
    std::string Notification_List;  // "" sends no mail
    Safety_Settings Safety;
    double Read_Seconds = 30;  // between readings of the kiln once it has acted
};

// The guard's whole life: waits for signs of life (a new heartbeat, or a beat over the
// program's line when the heartbeat file cannot be written); when none has come for the
// set time it
// ends the program if it still hangs there, soft-offs the controller as the program would
// and reads the value back, writes a "guard" line into the firing record, mails the
// notification list, and then watches the kiln as the program does after a soft off
// (a line a minute, the "Kiln heating with output off" alarm) until it is cold or the
// program takes the kiln back. Told to end during the run, it acts at once, unless the
// program asks it to stand down within a few seconds (a shutdown tells both). Returns the
// exit status: 0 stood down or done, 1 when the controller never took the soft off.
class Kiln_Guard {
  public:
    Kiln_Guard(Guard_Platform& platform, Guard_Settings settings)
        : Platform_(platform), Settings_(std::move(settings)) {}
    int Run();

  private:
    enum class Wait_End { Stand_Down, Folder_Gone, Silence, Told_To_End };
    Wait_End Wait_For_Silence();
    // The program folder has been away for a while: a single failed look is not enough.
    bool Folder_Gone();
    bool Soft_Off(std::int16_t value, std::optional<std::int16_t>& read_back);
    int Watch();
    void Record(const std::string& event, double measured, const std::string& detail);
    std::string Degrees(double value) const;
    // The firing as the program would publish it now: watched after its run.
    Firing_Status Status(double measured) const;

    Guard_Platform& Platform_;
    Guard_Settings Settings_;
    Guard_Heartbeat Last_;
    double Soft_Off_Degrees_ = 0;
    double Acted_At_ = 0;   // Seconds() when it acted
    double Last_Sign_ = 0;  // Seconds() of the last beat
    bool Told_To_End_ = false;
    int Folder_Misses_ = 0;  // looks in a row that did not find the folder
    double Folder_Missed_Since_ = 0;
};

}  // namespace corvanel
