// SPDX-License-Identifier: GPL-3.0-or-later
#include "run/kept_setup.h"

#include "common/numeric.h"
#include "run/firing_record.h"
#include "setup/program_settings.h"
#include "setup/setting_binding.h"

namespace corvanel {

namespace {

namespace Setting_Of = Program_Setting;

std::optional<std::string> Recalled(Settings_Store& settings, const Setting& setting) {
    if (!settings.File_Exists(setting.File)) return std::nullopt;
    Settings_Store::Reading reading = settings.Read(setting);
    if (reading.Problem) return std::nullopt;
    return reading.Value;
}

bool Recalled_On(Settings_Store& settings, const Setting& setting) {
    return Recalled(settings, setting) == setting.On_Word;
}

}  // namespace

void Save_Kept_Setup(Settings_Store& settings, const Kept_Setup& kept) {
    using K = Kept_Setup;
    static const Setting_Bindings<K> bindings = {
        {&Setting_Of::Check_Flag, &K::Recall},
        {&Setting_Of::Profile_Name, &K::Profile_Name},
        {&Setting_Of::Logfile_Name, &K::Log_Name},
        {&Setting_Of::Email_List, &K::Email_List},
        {&Setting_Of::CommPortNumber, &K::Port},
        {&Setting_Of::EnableEmailNotification, &K::Email_On}};
    Write_From(settings, bindings, kept);
}

Recalled_Setup Read_Kept_Setup(Settings_Store& settings) {
    Recalled_Setup found;
    found.Email_On = Recalled_On(settings, Setting_Of::EnableEmailNotification);
    found.Email_List = Recalled(settings, Setting_Of::Email_List).value_or("");
    found.Port = Recalled(settings, Setting_Of::CommPortNumber);
    found.Device_Name = Recalled(settings, Setting_Of::ThermalDeviceName).value_or("");
    found.Recall = Recalled_On(settings, Setting_Of::Check_Flag);
    found.Profile_Name = Recalled(settings, Setting_Of::Profile_Name).value_or("");
    found.Log_Name = Recalled(settings, Setting_Of::Logfile_Name).value_or("");
    return found;
}

std::optional<std::int16_t> Kept_Comm_Port(Settings_Store& settings) {
    const std::optional<std::string> port = Recalled(settings, Setting_Of::CommPortNumber);
    return port ? Convert_To_Int16(*port).Value : std::nullopt;
}

long long Interrupted_Firing::Seconds_Stopped(const Date_Time& now, int now_offset_minutes) const {
    return Seconds_Of(now) - 60LL * now_offset_minutes - Seconds_Of(Stopped) +
           60LL * Offset_Minutes;
}

std::optional<Interrupted_Firing> Interrupted_Firing_In(const std::string& record_path) {
    Firing_Record record;
    if (Read_Firing_Record(record_path, {}, record)) return std::nullopt;
    auto is = [](const Firing_Record_Line& line, Firing_Event event) {
        return line.Event == Firing_Event_Name(event);
    };
    const Firing_Record_Line* last = nullptr;  // the run's last line
    const Firing_Record_Line* last_tick = nullptr;
    bool guard_stopped = false;
    for (auto line = record.Lines.rbegin(); line != record.Lines.rend(); ++line) {
        if (is(*line, Firing_Event::Interrupted)) continue;
        // What a start with recall wrote after its own line (a first exchange that failed)
        // came after the stop.
        if (is(*line, Firing_Event::Recall_Resume)) {
            last = last_tick = nullptr;
            continue;
        }
        // The guard's lines come after the program's: the firing stopped before them.
        if (line->Event == Guard_Event) {
            guard_stopped = true;
            last = last_tick = nullptr;
            continue;
        }
        if (is(*line, Firing_Event::Suspend) || is(*line, Firing_Event::Soft_Off) ||
            is(*line, Firing_Event::Finished))
            return std::nullopt;
        if (!last) last = &*line;
        if (!last_tick && line->Is_Tick()) last_tick = &*line;
        if (!is(*line, Firing_Event::Start) && !is(*line, Firing_Event::Resume)) continue;
        const Firing_Record_Line& reading = last_tick ? *last_tick : *line;
        return Interrupted_Firing{.Profile_Name = record.Header.Profile_Name,
                                  .Temp_Scale = record.Header.Temp_Scale,
                                  .Time_Unit = record.Header.Time_Unit,
                                  .Stopped = last->Clock,
                                  .Offset_Minutes = last->Offset_Minutes,
                                  .Elapsed = reading.Elapsed,
                                  .Measured = reading.Measured,
                                  .Guard_Stopped = guard_stopped};
    }
    return std::nullopt;
}

std::optional<Firing_Record_Line> Shutdown_Firing_In(const std::string& record_path) {
    Firing_Record record;
    if (Read_Firing_Record(record_path, {}, record)) return std::nullopt;
    int starts_since = 0;
    for (auto line = record.Lines.rbegin(); line != record.Lines.rend(); ++line) {
        if (line->Event == Firing_Event_Name(Firing_Event::Recall_Resume)) {
            ++starts_since;
        } else if (line->Event == Firing_Event_Name(Firing_Event::Alarm_Raised) &&
                   line->Detail == Shutdown_Alarm) {
            if (starts_since != 1) break;
            return *line;
        } else if (!line->Is_After_Run() &&
                   line->Event != Firing_Event_Name(Firing_Event::Soft_Off) &&
                   line->Event != Firing_Event_Name(Firing_Event::Cooling_Ended) &&
                   line->Event != Firing_Event_Name(Firing_Event::Alarm_Raised) &&
                   line->Event != Firing_Event_Name(Firing_Event::Alarm_Cleared)) {
            break;  // a tick, a start: the record's last firing ended otherwise
        }
    }
    return std::nullopt;
}

}  // namespace corvanel
