// SPDX-License-Identifier: GPL-3.0-or-later
// A firing started later, at a clock time (cheap night power, a kiln hot when the studio
// opens): until then the kiln is watched as in monitor mode and the banner counts down.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <utility>

#include "common/quantity_text.h"
#include "common/text.h"
#include "language/operator_style.h"
#include "language/show_problem.h"
#include "language/translate.h"
#include "run/kiln_run.h"

namespace corvanel {

namespace {

// Kept across a restart until the firing starts or the wait is cancelled: the local clock
// time, "2026-12-08 02:00".
const Setting& Start_Later_Setting() {
    static const Setting setting{
        .File = "StartLater.txt", .Type = Setting_Type::Text, .Label = "Start the firing later at"};
    return setting;
}

std::optional<Date_Time> Clock_Of_Text(const std::string& text) {
    Date_Time at;
    char end = 0;
    if (std::sscanf(text.c_str(), "%4d-%2d-%2d %2d:%2d%c", &at.Year, &at.Month, &at.Day, &at.Hour,
                    &at.Minute, &end) != 5)
        return std::nullopt;
    if (Format_Date_Minute(at) != text) return std::nullopt;  // no 25:70
    return at;
}

// Seconds from `from` to `to` as the world counts them: across a change to or from
// summer time an hour more or less than the clocks show.
double Seconds_Between(const Date_Time& from, const Date_Time& to) {
    return static_cast<double>((Seconds_Of(to) - 60LL * Local_Offset_Minutes(to)) -
                               (Seconds_Of(from) - 60LL * Local_Offset_Minutes(from)));
}

}  // namespace

Date_Time Next_Clock_Time(const Date_Time& now, int hour, int minute) {
    Date_Time at = now;
    at.Hour = hour, at.Minute = minute, at.Second = 0;
    if (Seconds_Of(at) <= Seconds_Of(now)) at = Date_Time_Of_Seconds(Seconds_Of(at) + 24 * 3600);
    return at;
}

std::string Kiln_Run::Start_Later_Text() const {
    if (!Start_Later_At_) return "";
    return Operator_Text::Phrase("Waiting to start at %1",
                                 {Operator_Text::Value(Clock_Shown(
                                     *Start_Later_At_, Services_.Time.Now(), Operator_Style()))})
        .Text(Translate_Phrase);
}

Maybe_Problem Kiln_Run::Start_Later(const Date_Time& at) {
    if (Running() || Suspended()) {
        return Problem{Operator_Text::Phrase("A firing is running: it cannot also start later."),
                       Operator_Text::Phrase("Stop it with Soft Off first.")};
    }
    if (!Profile_.Valid()) {
        return Problem{Operator_Text::Phrase("No profile is loaded to start later."),
                       Operator_Text::Phrase("Open a profile from the File menu first.")};
    }
    const double wait = Seconds_Between(Services_.Time.Now(), at);
    if (!(wait > 0 && wait <= 24 * 3600)) {
        return Problem{
            Operator_Text::Phrase("A firing can start later only within the next 24 hours."),
            Operator_Text::Phrase("Choose a clock time again.")};
    }
    Start_Later_At_ = at;
    Start_Later_Steady_ = Services_.Time.Steady_Seconds() + wait;
    Services_.Settings.Write(Start_Later_Setting(), Format_Date_Minute(at));
    Display(Start_Later_Text() + ": " +
            TranslateText("RUN PROFILE starts it now; Cancel the later start stops the wait."));
    Show_Start_Later();
    Publish_Firing(Firing_Event::Start_Waiting, Format_Date_Minute(at));
    return std::nullopt;
}

void Kiln_Run::Cancel_Start_Later() {
    if (!Start_Later_At_) return;
    End_Start_Later();
    const std::string said =
        TranslateText("The later start was cancelled: the kiln is watched as before.");
    Supervisor_.Renew_Notice(TranslateText("Waiting to start at"), said);
    Display(said);
    Publish_Firing(Firing_Event::Start_Cancelled);
}

void Kiln_Run::End_Start_Later() {
    Start_Later_At_.reset();
    Services_.Settings.Write(Start_Later_Setting(), "");
}

void Kiln_Run::Show_Start_Later() {
    const double left = Start_Later_Steady_ - Services_.Time.Steady_Seconds();
    Supervisor_.Renew_Notice(TranslateText("Waiting to start at"),
                             Start_Later_Text() + " (" +
                                 Duration_Shown(60.0 * std::max(1.0, std::ceil(left / 60))) + ")");
}

bool Kiln_Run::Start_Later_Due() {
    if (!Start_Later_At_) return false;
    if (Services_.Time.Steady_Seconds() < Start_Later_Steady_) {
        Show_Start_Later();
        return false;
    }
    const Date_Time at = *Start_Later_At_;
    End_Start_Later();
    // Nobody may be there to answer a question: the operator confirmed the start when
    // setting the time.
    Message_Box* ask = std::exchange(Ask_, nullptr);
    Start_Profile();
    Ask_ = ask;
    Supervisor_.Renew_Notice(
        TranslateText("Waiting to start at"),
        Operator_Text::Phrase(
            Control_Interval_.Enabled
                ? "The firing started at %1, as it was set to."
                : "The firing was to start at %1 but did not: see the messages.",
            {Operator_Text::Value(Clock_Shown(at, Services_.Time.Now(), Operator_Style()))})
            .Text(Translate_Phrase));
    return true;
}

void Kiln_Run::Recall_Start_Later() {
    const std::optional<Date_Time> at =
        Clock_Of_Text(Services_.Settings.Read(Start_Later_Setting()).Value);
    if (!at) return;
    if (Seconds_Between(Services_.Time.Now(), *at) > 0) {
        End_Start_Later();
        if (Maybe_Problem refused = Start_Later(*at)) Notice(Problem_Text(*refused));
        return;
    }
    End_Start_Later();
    const std::string when = Clock_Shown(*at, Services_.Time.Now(), Operator_Style());
    const std::string question =
        Operator_Text::Phrase(
            "The firing was to start at %1 while the program was not running. Start it now?",
            {Operator_Text::Value(when)})
            .Text(Translate_Phrase);
    if (Ask_ && Ask_->Ask_OK_Cancel(question)) {
        Start_Profile();
        return;
    }
    Notice(Operator_Text::Phrase(
               "The firing set to start at %1 did not start: the program was not running then.",
               {Operator_Text::Value(when)})
               .Text(Translate_Phrase));
}

}  // namespace corvanel
