// SPDX-License-Identifier: GPL-3.0-or-later
// The Firing menu: the operator changes the firing while it runs.
#include <cmath>

#include "app/firing_change_dialog.h"
#include "app/start_time_dialog.h"
#include "app/traj_form_model.h"
#include "common/quantity_text.h"
#include "language/operator_style.h"
#include "language/show_problem.h"
#include "language/translate.h"
#include "run/ready_by.h"

namespace corvanel {

namespace {

Operator_Text Question(const Firing_Change& change, const std::string& scale) {
    const Number_Style style = Operator_Style();
    const Operator_Text segment = Operator_Text::Value(std::to_string(change.Segment));
    switch (change.What) {
        case Firing_Change::Kind::Skip:
            return Operator_Text::Phrase(
                "Skip the rest of segment %1 and go on with segment %2 now?",
                {segment, Operator_Text::Value(std::to_string(change.Segment + 1))});
        case Firing_Change::Kind::Extend_Hold:
            return Operator_Text::Phrase(
                "How many minutes longer should the hold of segment %1 be?", {segment});
        case Firing_Change::Kind::Change_Segment:
            break;
    }
    return Operator_Text::Phrase(
        "Segment %1 goes to %2 at %3 an hour. To what end temperature, at what rate, should it go "
        "on from here?",
        {segment, Operator_Text::Value(Temperature_Shown(change.End_Temp, scale, style)),
         Operator_Text::Value(Temperature_Shown(change.Rate, scale, style))});
}

}  // namespace

bool Traj_form::Said_Locked() {
    if (!mnuLockControls) return false;
    Show_Problem(*this,
                 {Operator_Text::Phrase("The controls are locked: the firing was not changed."),
                  Operator_Text::Phrase("Unlock the controls first.")});
    return true;
}

void Traj_form::Change_Firing(Firing_Change::Kind kind) {
    if (Said_Locked()) return;
    const Firing_Change proposed = Run_.Change_Now(kind);
    if (Maybe_Problem refused = Run_.Change_Refused(proposed)) {
        Show_Problem(*this, *refused);
        return;
    }
    if (!Change_Dialog_) return;
    const std::string& scale = Run_.Profile().Temp_Scale();
    const std::optional<Firing_Change> entered =
        Change_Dialog_->Ask(proposed, Operator_Text_Shown(Question(proposed, scale)), scale);
    if (!entered) {
        Display(TranslateText("The firing was not changed."));
        return;
    }
    if (Maybe_Problem refused = Run_.Change_Firing(*entered)) Show_Problem(*this, *refused);
}

void Traj_form::Start_Later_Click() {
    if (Run_.Start_Later_At()) {
        Run_.Cancel_Start_Later();
        return;
    }
    if (Said_Locked()) return;
    if (!Start_Time_Dialog_) return;
    const Date_Time now = Services_.Time.Now();
    const auto entered = Start_Time_Dialog_->Ask_Start_Time(
        TranslateText(
            "At what clock time should the firing start? A time earlier than now is tomorrow."),
        {(now.Hour + 1) % 24, 0});
    if (!entered) {
        Display(TranslateText("The firing was not changed."));
        return;
    }
    const Date_Time asked = Next_Clock_Time(now, entered->Hour, entered->Minute);
    Date_Time start = asked;
    if (entered->Meaning != Start_Time_Meaning::Start) {
        // Ready by: the start worked out back from the time asked, by the kiln's pace.
        const bool done = entered->Meaning == Start_Time_Meaning::End;
        const long long span =
            std::llround(Seconds_Until_Ready(Run_.Firing().Latest(), done) / 60) * 60;
        start = Date_Time_Of_Seconds(Seconds_Of(asked) - span);
        const auto shown = [&](const Date_Time& time) {
            return Operator_Text::Value(Clock_Shown(time, now, Operator_Style()));
        };
        if (Seconds_Of(start) < Seconds_Of(now)) {
            const Date_Time soonest = Date_Time_Of_Seconds(Seconds_Of(now) + span);
            Show_Problem(*this, {Operator_Text::Phrase(
                                     done ? "Started now, the firing is likely done only at %1."
                                          : "Started now, the kiln likely reaches its top "
                                            "temperature only at %1.",
                                     {shown(soonest)}),
                                 Operator_Text::Phrase("Choose a later time, or start now.")});
            return;
        }
        Display(Operator_Text::Phrase(done ? "The firing starts at %1 to be likely done by %2."
                                           : "The firing starts at %1 for the kiln to likely "
                                             "reach its top temperature by %2.",
                                      {shown(start), shown(asked)})
                    .Text(Translate_Phrase));
    }
    if (Maybe_Problem refused = Run_.Start_Later(start)) Show_Problem(*this, *refused);
}

std::string Traj_form::Later_Start_Exit_Question() const {
    if (!Run_.Start_Later_At()) return "";
    return Operator_Text::Phrase(
               "The firing is set to start at %1. With the program ended it does not start. "
               "Exit anyway?",
               {Operator_Text::Value(
                   Clock_Shown(*Run_.Start_Later_At(), Services_.Time.Now(), Operator_Style()))})
        .Text(Translate_Phrase);
}

std::string Traj_form::Start_Later_Caption() const {
    return TranslateText(Run_.Start_Later_At() ? "Cancel the later start" : "Start later...");
}

}  // namespace corvanel
