// SPDX-License-Identifier: GPL-3.0-or-later
// After a power cut or a crash: a firing found interrupted at the start goes on by itself
// when the safety settings allow it and the kiln is still where the profile left it, after
// a count-down the operator can cancel with the banner's Acknowledge.

#include "app/traj_form_model.h"
#include "common/text.h"
#include "language/show_problem.h"
#include "language/translate.h"
#include "run/safe_start.h"

namespace corvanel {

namespace {

constexpr int Count_Down_Seconds = 30;

}  // namespace

void Traj_form::Show_Count_Down() {
    const std::string lead = TranslateText("The firing continues by itself in");
    Supervisor.Renew_Notice(lead, lead + " " + Format_Whole(Continue_Countdown) + " s");
}

void Traj_form::Offer_Continuation(const Interrupted_Firing& cut, long long gap_seconds) {
    if (!Safety.Continue_After_Restart || !Profile_.Valid()) return;
    auto stays = [this](const Operator_Text& why) {
        Safety_Notice(Operator_Text::Phrase("The firing does not continue by itself: %1", {why})
                          .Text(Translate_Phrase));
    };
    if (cut.Guard_Stopped) {
        stays(Operator_Text::Phrase("the kiln guard stopped it while the program was gone"));
        return;
    }
    const Firing_Status now = Firing_Status_Now();
    if (now.Reading_At(now.Clock) != Firing_Status::Reading::Live) {
        stays(Operator_Text::Phrase("the kiln's temperature cannot be read now"));
        return;
    }
    const double per_degree = Profile_.Controller_Scale();
    const Firing_Continuation decided =
        Decide_Continuation(Profile_.Tables(), Profile_.Finished_Segment(),
                            {.Stopped_At = cut.Elapsed,
                             .Measured_Then = cut.Measured * per_degree,
                             .Measured_Now = static_cast<double>(Measured_Temp),
                             .Gap_Seconds = gap_seconds,
                             .Longest_Gap_Minutes = Safety.Continue_Gap_Minutes,
                             .Fahrenheit = Profile_.Fahrenheit(),
                             .Per_Degree = per_degree});
    if (!decided.Allowed) {
        stays(decided.Why);
        return;
    }
    Continue_Elapsed = decided.Elapsed;
    Continue_Countdown = Count_Down_Seconds;
    Continue_Interval.Enabled = true;
    const Operator_Text why = Operator_Text::Phrase(
        "The program was not running for %1 and the kiln is at %2: within the limits for "
        "going on",
        {Operator_Text::Value(Duration_Text(gap_seconds)),
         Operator_Text::Value(Controller_Units_Text(Measured_Temp) + " °" +
                              Profile_.Temp_Scale())});
    Display(Join_Lines({why.Text(Translate_Phrase),
                        TranslateText("The firing continues by itself in") + " " +
                            Format_Whole(Continue_Countdown) + " s; " +
                            TranslateText("Acknowledge stops that and stays in monitor mode")}));
    Show_Count_Down();
}

void Traj_form::Continue_Timer() {
    if (!Continue_Interval.Enabled) return;
    if (Control_Interval.Enabled) {  // the operator started it already
        Continue_Interval.Enabled = false;
        return;
    }
    if (--Continue_Countdown > 0) {
        Show_Count_Down();
        return;
    }
    Continue_Interval.Enabled = false;
    if (Continue_Elapsed != Engine_.Elapsed()) {
        Engine_.Begin_At(Continue_Elapsed);
        Elapsed_Time = Format_00(Continue_Elapsed);
    }
    Start_Profile_Click();
    if (Control_Interval.Enabled) {
        Display(TranslateText("The firing continues after the restart at elapsed time") + " " +
                Format_00(Continue_Elapsed));
    }
}

}  // namespace corvanel
