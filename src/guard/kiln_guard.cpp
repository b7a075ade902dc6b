// SPDX-License-Identifier: GPL-3.0-or-later
#include "guard/kiln_guard.h"

#include <algorithm>
#include <cstdio>

#include "common/text.h"
#include "language/translate.h"
#include "run/firing_record.h"
#include "run/run_engine.h"
#include "run/safety_supervisor.h"

namespace corvanel {

namespace {

constexpr double Longest_Watch_Seconds = 48 * 3600;
constexpr double Retry_Seconds = 10;
// Told to end, the guard gives the program this long to ask it to stand down: at a
// shutdown the program is told too, and soft-offs the kiln itself.
constexpr double Grace_Seconds = 5;
// The program folder must be away this long, and at this many looks, to count as gone.
constexpr double Folder_Gone_Seconds = 60;
constexpr int Folder_Gone_Looks = 3;

std::string Clock_Text(const Date_Time& time) {
    return Formatted("%02d:%02d", time.Hour, time.Minute);
}

}  // namespace

std::string Kiln_Guard::Degrees(double value) const {
    return Format_Number(value) + " °" + Last_.Temp_Scale;
}

Firing_Status Kiln_Guard::Status(double measured) const {
    return Watched_Status_Of(Last_, Platform_.Now(), Soft_Off_Degrees_, measured);
}

int Kiln_Guard::Run() {
    Platform_.Log("watching the program (process " + std::to_string(Settings_.Program_Pid) +
                  "): acts after " + Format_Number(Settings_.After_Seconds) +
                  " s without a sign of life");
    const Wait_End end = Wait_For_Silence();
    if (end == Wait_End::Stand_Down) {
        Platform_.Log("the run ended or the program took the kiln back: standing down");
        return 0;
    }
    if (end == Wait_End::Folder_Gone) {
        Platform_.Log("the program folder is gone: standing down");
        return 0;
    }
    Told_To_End_ = end == Wait_End::Told_To_End;
    const long pid = Last_.Program_Pid ? Last_.Program_Pid : Settings_.Program_Pid;
    if (Platform_.Program_Holds_Folder(pid)) {
        Platform_.Log("the program (process " + std::to_string(pid) +
                      (Told_To_End_ ? ") still has the kiln and did not hand it over: ending it"
                                    : ") is there but gives no sign of life: ending it"));
        Platform_.End_Program(pid);
    } else {
        Platform_.Log("the program (process " + std::to_string(pid) + ") is gone");
    }
    const std::int16_t value = Soft_Off_Set_Value(Last_.Temp_Scale != "C");
    Soft_Off_Degrees_ = value / Last_.Controller_Units_Per_Degree();
    std::optional<std::int16_t> read_back;
    if (!Soft_Off(value, read_back)) {
        Platform_.Log("asked to stand down before the controller took the soft off");
        Platform_.Release_Port();
        return 1;
    }
    Acted_At_ = Platform_.Seconds();
    Platform_.Mark_Acted();
    const std::optional<std::int16_t> measured_raw = Platform_.Read_Measured();
    const double measured =
        measured_raw ? *measured_raw / Last_.Controller_Units_Per_Degree() : Last_.Measured;
    const std::string silence = Duration_Text(static_cast<long long>(Settings_.After_Seconds));
    Platform_.Log("set value " + std::to_string(value) + " given, read back " +
                  (read_back ? std::to_string(*read_back) : std::string("nothing")));
    Record(std::string(Guard_Event), measured,
           (Told_To_End_ ? std::string("the kiln guard was told to end during the firing")
                         : "no sign of life from the program for " + silence) +
               ": set value " + Format_Number(Soft_Off_Degrees_) + " " + Last_.Temp_Scale +
               " given, read back " +
               (read_back ? Format_Number(*read_back / Last_.Controller_Units_Per_Degree())
                          : std::string("nothing")));
    if (!Settings_.Notification_List.empty()) {
        const Date_Time now = Platform_.Now();
        Mail_Message mail;
        mail.Recipients = Settings_.Notification_List;
        mail.Subject = TranslateText("Kiln guard: the firing was stopped");
        std::vector<std::string> lines;
        if (Told_To_End_) {
            lines = {TranslateText("The kiln guard was told to end during the firing (the "
                                   "computer shutting down, or someone ending it), so it "
                                   "stopped the firing"),
                     TranslateText("Profile") + ": " + Last_.Profile_Name};
        } else {
            lines = {TranslateText("The program gave no sign of life during the firing, so the "
                                   "kiln guard stopped it"),
                     TranslateText("Profile") + ": " + Last_.Profile_Name,
                     TranslateText("No sign of life for") + " " + silence};
        }
        mail.Body = Join_Lines(
            {Join_Lines(lines),
             TranslateText("Set value given to the controller") + ": " +
                 Degrees(Soft_Off_Degrees_) +
                 (read_back && *read_back == value
                      ? ""
                      : " (" + TranslateText("the controller did not confirm it") + ")"),
             TranslateText("Kiln temperature") + ": " + Degrees(measured) + ", " + Clock_Text(now),
             TranslateText("Start the program again: it takes the controller back, and the "
                           "firing record shows what happened")});
        Platform_.Send_Mail(mail);
    }
    const Firing_Status stopped = Status(measured);
    Platform_.Publish(stopped, Firing_Event::Alarm_Raised, "Kiln guard: the firing was stopped");
    Platform_.Publish(stopped, Firing_Event::Soft_Off, "");
    return Watch();
}

Kiln_Guard::Wait_End Kiln_Guard::Wait_For_Silence() {
    long long beat = -1;
    double last_sign = Platform_.Seconds();
    double last_life = last_sign;  // over the program's line
    bool stale_said = false;
    std::optional<double> told_at;
    while (!Platform_.Stop_Asked()) {
        if (Folder_Gone()) return Wait_End::Folder_Gone;
        if (std::optional<Guard_Heartbeat> heard = Platform_.Heartbeat()) {
            if (heard->Beat != beat) {
                beat = heard->Beat;
                last_sign = Last_Sign_ = Platform_.Seconds();
                Last_ = *heard;
                if (stale_said) Platform_.Log("the heartbeat comes again");
                stale_said = false;
            }
        }
        if (Platform_.Sign_Of_Life()) last_life = Platform_.Seconds();
        // A heartbeat the program cannot write (a full disk) is no reason to act on a
        // program that still ticks: only when both are silent.
        const double silent = Platform_.Seconds() - std::max(last_sign, last_life);
        if (silent >= Settings_.After_Seconds) return Wait_End::Silence;
        if (Platform_.Seconds() - last_sign >= Settings_.After_Seconds && !stale_said) {
            stale_said = true;
            Platform_.Log("no new heartbeat for " + Format_Number(Settings_.After_Seconds) +
                          " s, but the program still gives a sign of life: not acting");
        }
        if (Platform_.Act_Asked() && !told_at) {
            told_at = Platform_.Seconds();
            Platform_.Log(
                "told to end during the firing: stopping it unless the program asks "
                "the guard to stand down within " +
                Format_Number(Grace_Seconds) + " s");
        }
        if (told_at && Platform_.Seconds() - *told_at >= Grace_Seconds) {
            return Wait_End::Told_To_End;
        }
        Platform_.Sleep(1);
    }
    return Wait_End::Stand_Down;
}

bool Kiln_Guard::Folder_Gone() {
    if (Platform_.Folder_Exists()) {
        if (Folder_Misses_ > 0) Platform_.Log("the program folder is there again");
        Folder_Misses_ = 0;
        return false;
    }
    if (Folder_Misses_++ == 0) {
        Folder_Missed_Since_ = Platform_.Seconds();
        Platform_.Log("the program folder cannot be seen: standing down if it stays away");
    }
    return Folder_Misses_ >= Folder_Gone_Looks &&
           Platform_.Seconds() - Folder_Missed_Since_ >= Folder_Gone_Seconds;
}

bool Kiln_Guard::Soft_Off(std::int16_t value, std::optional<std::int16_t>& read_back) {
    bool told = false;
    for (int attempt = 1; !Platform_.Stop_Asked(); ++attempt) {
        if (Platform_.Write_Set_Value(value)) {
            read_back = Platform_.Read_Set_Value();
            if (read_back && *read_back == value) return true;
        }
        Platform_.Log("the controller did not take the soft off (try " + std::to_string(attempt) +
                      "); trying again in " + Format_Number(Retry_Seconds) + " s");
        // After three tries the operator must know: the kiln may still be firing.
        if (attempt == 3 && !told && !Settings_.Notification_List.empty()) {
            told = true;
            Platform_.Send_Mail(
                {Settings_.Notification_List,
                 TranslateText("Kiln guard: the controller does not answer"),
                 Join_Lines({Told_To_End_
                                 ? TranslateText("The kiln guard was told to end during the "
                                                 "firing, and it cannot reach the controller to "
                                                 "stop the firing")
                                 : TranslateText("The program gave no sign of life during the "
                                                 "firing, and the kiln guard cannot reach the "
                                                 "controller to stop it"),
                             TranslateText("Profile") + ": " + Last_.Profile_Name,
                             TranslateText("Switch the kiln off at its power switch")})});
        }
        Platform_.Sleep(Retry_Seconds);
    }
    return false;
}

int Kiln_Guard::Watch() {
    Safety_Supervisor supervisor(Settings_.Safety);
    const double cold = Settings_.Safety.Cooling_End(Last_.Temp_Scale);
    double last_line = Platform_.Seconds();
    int cold_readings = 0;
    while (!Platform_.Stop_Asked() && !Folder_Gone()) {
        Platform_.Sleep(Settings_.Read_Seconds);
        if (Platform_.Stop_Asked()) break;
        const double since = Platform_.Seconds() - Acted_At_;
        const std::optional<std::int16_t> raw = Platform_.Read_Measured();
        Firing_Status tick = Status(raw ? *raw / Last_.Controller_Units_Per_Degree() : 0);
        tick.Exchange_Failed = !raw;
        tick.Tick_Length = tick.Read_Interval = Settings_.Read_Seconds;  // what confirming counts
        const Safety_Changes changes = supervisor.Check(tick);
        for (Safety_Alarm alarm : changes.Raised) {
            const std::string name = Safety_Alarm_Name(alarm);
            Platform_.Log("alarm: " + name);
            Record("alarm", tick.Measured, name);
            if (!Settings_.Notification_List.empty()) {
                Platform_.Send_Mail(Compose_Safety_Alarm(Settings_.Notification_List, name, tick));
            }
        }
        if (!raw) continue;
        Platform_.Publish(tick, Firing_Event::Monitor_Tick, "");
        cold_readings = tick.Measured < cold ? cold_readings + 1 : 0;
        if (cold_readings >= 2) {
            Record("after run ended", tick.Measured,
                   "below " + Format_Number(cold) + " " + Last_.Temp_Scale);
            Platform_.Log("the kiln is cold: done");
            Platform_.Release_Port();
            return 0;
        }
        if (since >= Longest_Watch_Seconds) {
            Record("after run ended", tick.Measured, "48 hours");
            Platform_.Release_Port();
            return 0;
        }
        if (Platform_.Seconds() - last_line >= 60) {
            last_line = Platform_.Seconds();
            Record(std::string(After_Run_Event), tick.Measured, "");
        }
    }
    Platform_.Log(Platform_.Stop_Asked() ? "the program took the kiln back: standing down"
                                         : "the program folder is gone: standing down");
    Platform_.Release_Port();
    return 0;
}

void Kiln_Guard::Record(const std::string& event, double measured, const std::string& detail) {
    if (Last_.Record_Path.empty()) return;
    Firing_Record_Line line;
    line.Clock = Platform_.Now();
    line.Offset_Minutes = Platform_.Offset_Minutes(line.Clock);
    // On the run's time axis: its last tick's elapsed time and the time since.
    line.Elapsed =
        Last_.Elapsed + (Platform_.Seconds() - Last_Sign_) / Seconds_Per_Time_Unit(Last_.Time_Unit);
    line.Segment = Last_.Segment;
    line.Set_Value = Soft_Off_Degrees_;
    line.Measured = measured;
    line.Output_Percent = 0;
    line.Event = event;
    line.Detail = detail;
    Platform_.Append_Record(Last_.Record_Path, Firing_Record_Line_Text(line));
}

}  // namespace corvanel
