// SPDX-License-Identifier: GPL-3.0-or-later
#include "guard/guard_keeper.h"

#include <unistd.h>

#include <fstream>

#include "common/text.h"
#include "language/show_problem.h"
#include "language/translate.h"
#include "run/firing_record.h"
#include "run/safety_settings.h"

namespace corvanel {

Guard_Keeper::Guard_Keeper(const Program_Paths& paths, Settings_Store& settings,
                           Message_Area& messages, Kiln_Access& kiln, std::string guard_program,
                           double after_seconds)
    : Paths_(paths),
      Settings_(settings),
      Messages_(messages),
      Process_(std::move(guard_program)),
      After_Seconds_(after_seconds),
      Kiln_(kiln) {}

Guard_Keeper::~Guard_Keeper() {
    if (Firing_) Firing_->Detach(*this);
}

void Guard_Keeper::Attach(Firing_Status_Seam& firing) {
    Firing_ = &firing;
    firing.Attach(*this);
}

void Guard_Keeper::Program_Alive() {
    if (Process_.Running()) Beat(Last_);
}

void Guard_Keeper::Beat(const Firing_Status& status) {
    Last_ = status;
    Guard_Heartbeat beat = Heartbeat_Of(status);
    beat.Beat = ++Beats_;
    beat.Program_Pid = ::getpid();
    beat.Device = Kiln_.Opened_Device();
    if (!status.Log_File.empty()) {
        beat.Record_Path = Paths_.Logfile(Firing_Record_Name(status.Log_File));
    }
    Process_.Beat();
    if (Write_Heartbeat(Paths_.Folder(), beat)) {
        Heartbeat_Said_ = false;
        return;
    }
    if (Heartbeat_Said_) return;
    Heartbeat_Said_ = true;
    Show_Problem(Messages_,
                 {Operator_Text::Phrase("The kiln guard's heartbeat cannot be saved: the disk is "
                                        "full or cannot be written"),
                  Operator_Text::Phrase("The firing goes on and the guard still sees the program "
                                        "run; free some space on the disk")});
}

void Guard_Keeper::Start_Guard() {
    const double after =
        After_Seconds_ > 0 ? After_Seconds_ : Safety_Settings_Of(Settings_).Guard_Minutes * 60;
    const Maybe_Problem problem = Process_.Start(Paths_.Folder(), static_cast<long long>(after));
    if (!problem) return;
    Wanted_ = false;  // said once; the next run tries again
    Show_Problem(Messages_, *problem);
}

void Guard_Keeper::Check_Guard() {
    if (!Process_.Ended()) return;
    std::string said;
    std::getline(std::ifstream(Paths_.Folder() / Guard_Lock_File_Name), said);
    if (said.find(Guard_Acted_Word) != std::string::npos) {
        // It soft-offed the controller: the firing is over, whatever this program thinks.
        Wanted_ = false;
        Kiln_.Stop_Firing();
        return;
    }
    Start_Guard();
}

void Guard_Keeper::Firing_Changed(const Firing_Status& status, Firing_Event event,
                                  const std::string&) {
    switch (event) {
        // Waiting for a later start is watched as a firing is: the program gone then is
        // a start that will not come, and the operator must hear of it.
        case Firing_Event::Start_Waiting:
        case Firing_Event::Start:
        case Firing_Event::Resume: {
            Wanted_ = Safety_Settings_Of(Settings_).Kiln_Guard;
            if (!Wanted_ || Process_.Running()) break;
            Beat(status);  // before it starts: its first look finds one
            Start_Guard();
            break;
        }
        case Firing_Event::Tick:
        case Firing_Event::Monitor_Tick:
            if (Wanted_) Check_Guard();
            if (Process_.Running()) Beat(status);
            break;
        case Firing_Event::Soft_Off:
        case Firing_Event::Finished:
        case Firing_Event::Start_Cancelled:
            Wanted_ = false;
            Process_.Stop();
            break;
        default:
            break;
    }
}

}  // namespace corvanel
