// SPDX-License-Identifier: GPL-3.0-or-later
// The operator's changes to a firing while it runs: skip, a longer hold, a new end or
// rate for the segment running.
#include "common/text.h"
#include "language/show_problem.h"
#include "language/translate.h"
#include "profiles/sensor_table.h"
#include "run/firing_change.h"
#include "run/firing_record.h"
#include "run/kiln_run.h"

namespace corvanel {

Firing_Change Kiln_Run::Change_Now(Firing_Change::Kind kind) const {
    Firing_Change change;
    change.What = kind;
    change.Segment = Engine_.Current_Segment();
    change.At = Engine_.Elapsed();
    change.Minutes = 10;
    const Followed_Plan plan = Profile_.Followed();
    if (change.Segment >= 1 && change.Segment < plan.Finished_Segment) {
        change.End_Temp = plan.Tables.Seg_End_Temp[static_cast<std::size_t>(change.Segment - 1)] /
                          plan.Per_Degree;
        change.Rate = Segment_Rate(plan, change.Segment);
    }
    return change;
}

Change_Limits Kiln_Run::Limits_Of_Change() const {
    Change_Limits limits;
    limits.Scale = Profile_.Temp_Scale();
    if (Sensor_Index_Of_Code(Profile_.Sensor_Type())) {
        const Range_Limits range = Set_Range_Limits(Profile_.Sensor_Type(), Profile_.Fahrenheit());
        limits.Lowest = range.Min_Temp;
        limits.Highest = range.Max_Temp;
    }
    // The controller's limit is in its own scale: it bounds an end only in the same one.
    if (Known_Controller_.High_Set_Limit &&
        Known_Controller_.Fahrenheit.value_or(Profile_.Fahrenheit()) == Profile_.Fahrenheit())
        limits.Controller_High = *Known_Controller_.High_Set_Limit / Profile_.Controller_Scale();
    return limits;
}

std::variant<Followed_Plan, Problem> Kiln_Run::Plan_After(const Firing_Change& change) const {
    if (!Running() && !Suspended()) {
        return Problem{Operator_Text::Phrase("No firing is running: there is nothing to change."),
                       Operator_Text::Phrase("Start the firing first, then change it.")};
    }
    return Changed_Plan(Profile_.Followed(), change, Limits_Of_Change());
}

Maybe_Problem Kiln_Run::Change_Refused(const Firing_Change& change) const {
    auto changed = Plan_After(change);
    if (auto* refused = std::get_if<Problem>(&changed)) return *refused;
    return std::nullopt;
}

Maybe_Problem Kiln_Run::Change_Firing(const Firing_Change& change) {
    return Make_Change(change, {}, "");
}

Maybe_Problem Kiln_Run::Make_Change(const Firing_Change& change, const Operator_Text& said,
                                    const std::string& why) {
    auto changed = Plan_After(change);
    if (auto* refused = std::get_if<Problem>(&changed)) return *refused;
    const Followed_Plan before = Profile_.Followed();
    const std::string& scale = Profile_.Temp_Scale();
    Profile_.Follow(std::get<Followed_Plan>(changed), change.At);
    if (said.Empty()) {
        Last_Change_ = Firing_Change_Said(before, change, scale);
        Display(Operator_Text_Shown(Last_Change_));
    } else {
        // A feature's change outlasts the tick that clears the message area.
        Last_Change_ = said;
        Notice(Operator_Text_Shown(said));
    }
    std::string detail = Firing_Change_Detail(before, change, scale);
    if (!why.empty()) detail += "; " + why;
    Publish_Firing(Firing_Change_Event(change), detail);
    return std::nullopt;
}

void Kiln_Run::Make_Asked_Changes() {
    std::vector<Asked_Change> asked;
    asked.swap(Asked_);
    for (const Asked_Change& ask : asked) {
        if (!Running() || Engine_.Current_Segment() != ask.Segment) continue;
        Firing_Change change = Change_Now(ask.What);
        const bool last = ask.Segment == Profile_.Finished_Segment() - 1;
        if (ask.What == Firing_Change::Kind::Skip && last) {
            // Nothing follows the last segment: the firing finishes as at its end.
            Last_Change_ = ask.Said;
            Notice(Operator_Text_Shown(ask.Said));
            Display(TranslateText("Profile Finished"));
            Publish_Firing(Firing_Event::Finished, ask.Why);
            Soft_Off();
            return;
        }
        change.End_Temp = ask.End_Temp;
        if (Maybe_Problem refused = Make_Change(change, ask.Said, ask.Why))
            Display(Problem_Text(*refused));
    }
}

void Kiln_Run::Recall_Changes() {
    if (Log_File_.empty() || !Profile_.Valid()) return;
    std::string text;
    if (Read_Record_File(Services_.Paths.Logfile(Firing_Record_Name(Log_File_)), text)) return;
    const Firing_Record record = Parse_Firing_Record(text);
    if (record.Header.Profile_Name != Profile_Name_) return;
    for (const Firing_Record_Line& line : record.Lines) {
        const auto change =
            Firing_Change_Of_Line(line.Event, line.Detail, line.Elapsed, line.Segment);
        if (!change) continue;
        auto changed = Changed_Plan(Profile_.Followed(), *change);
        if (auto* plan = std::get_if<Followed_Plan>(&changed)) {
            Last_Change_ = Firing_Change_Said(Profile_.Followed(), *change, Profile_.Temp_Scale());
            Profile_.Follow(*plan, change->At);
        }
    }
}

}  // namespace corvanel
