// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <map>
#include <memory>
#include <string>

#include "run/firing_record.h"
#include "run/firing_status.h"
#include "run/held_writes.h"
#include "setup/program_paths.h"

namespace corvanel {

// Keeps the firing record of every run beside its log: a header when the record is
// new, then a line for each control tick and each run event. A run started or resumed,
// or its first tick, creates the record; the other events only go into a record that is
// already there, so a firing continued after a restart continues its file. Nothing is
// written while no log file is chosen. While the kiln is watched after the run, a line
// marked "after run" is kept at most once a minute, its elapsed time the run's end plus
// the time since. An alarm outside a firing opens a record of its own (see
// Firing_Status::Alarm_Record): its events, and the kiln read a minute apart. A record keeps
// the scale and time unit it was begun in: lines taken while a profile in another one is
// loaded are converted to them. Lines the disk refuses (a full disk) are kept and written
// in order once it takes them again.
class Firing_Record_Writer : public Firing_Observer {
  public:
    // `program` is what the header names as the program ("Corvanel 0.1.0").
    Firing_Record_Writer(Program_Paths paths, std::string program);

    void Firing_Changed(const Firing_Status& status, Firing_Event event,
                        const std::string& detail) override;

    // The record a status writes to: Logfiles/<log name>.firing.csv; "" without a log.
    std::string Record_Path(const Firing_Status& status) const;

    // Where lines the disk refuses wait: shared with the log, so that the operator hears
    // of a full disk once. By default the writer's own, which tells no one.
    void Hold_In(Held_Writes& held) { Held_ = &held; }

  private:
    bool Append(const std::string& path, const std::string& text);
    // The record exists, on the disk or in what is kept for it.
    bool Begun(const std::string& path) const;
    // The record of an alarm outside a firing.
    void Alarm_Record_Changed(const Firing_Status& status, Firing_Event event,
                              const std::string& detail);
    // Whether a reading for `path` is due: one a minute is kept.
    bool Reading_Due(const std::string& path, const Date_Time& clock);
    // The scale and time unit of the record at `path`: as begun here, or read from its
    // header once; the status's own when the header cannot be read.
    struct Record_Units {
        std::string Scale, Unit;
    };
    const Record_Units& Units_Of(const std::string& path, const Firing_Status& status);
    // The status's temperatures and elapsed time in the units of the record at `path`.
    void Put_In_Units(const std::string& path, const Firing_Status& status,
                      Firing_Record_Line& line);

    Program_Paths Paths_;
    std::string Program_;
    // The record whose end is known to be a whole line.
    std::shared_ptr<std::string> Whole_Path_ = std::make_shared<std::string>();
    static constexpr long long After_Run_Seconds = 60;
    std::string After_Run_Path_;  // the record of the last after-run line, and its clock
    long long Last_After_Run_ = 0;
    std::map<std::string, Record_Units> Units_;
    Held_Writes Own_Held_;
    Held_Writes* Held_ = &Own_Held_;
};

}  // namespace corvanel
