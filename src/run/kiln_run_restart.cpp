// SPDX-License-Identifier: GPL-3.0-or-later
// After a power cut or a crash: a firing found interrupted at the start goes on by itself
// when the safety settings allow it and the kiln is still where the profile left it, after
// a count-down; the banner offers to go on at once or not at all.

#include "common/quantity_text.h"
#include "common/text.h"
#include "language/operator_style.h"
#include "language/show_problem.h"
#include "language/translate.h"
#include "run/firing_record.h"
#include "run/kiln_run.h"
#include "run/safe_start.h"

namespace corvanel {

namespace {

std::string Degrees_Text(double value, const std::string& scale) {
    return Temperature_Shown(value, scale, Operator_Style());
}

}  // namespace

std::string Kiln_Run::Continue_Or_Start_Afresh() const {
    std::string run_button = TranslateText(" RUN PROFILE");
    run_button.erase(0, run_button.find_first_not_of(' '));
    return run_button + " " + TranslateText("continues the firing") + "; " +
           TranslateText("LogFile") + " -> \"" + TranslateText("Reset Logfile and Time") + "\" " +
           TranslateText("starts from 0");
}

void Kiln_Run::Tell_Interrupted_Firing() {
    if (Log_File_.empty()) return;
    const std::optional<Interrupted_Firing> cut =
        Interrupted_Firing_In(Services_.Paths.Logfile(Firing_Record_Name(Log_File_)));
    if (!cut) return;
    const Firing_Status now = Firing_Status_Now();
    const long long gap = cut->Seconds_Stopped(now.Clock, Local_Offset_Minutes(now.Clock));
    const std::string gap_text = Duration_Shown(static_cast<double>(gap));
    const bool read_now = now.Reading_At(now.Clock) == Firing_Status::Reading::Live;
    Notice(Join_Lines({TranslateText("The firing was interrupted") + ": " +
                           (cut->Profile_Name.empty() ? Profile_Name_ : cut->Profile_Name),
                       TranslateText("It stopped at") + " " +
                           Clock_Shown(cut->Stopped, now.Clock, Operator_Style()) + ", " +
                           TranslateText("elapsed time") + " " + Format_00(cut->Elapsed) +
                           (cut->Time_Unit == "H" ? " h, " : " min, ") +
                           Degrees_Text(cut->Measured, cut->Temp_Scale),
                       TranslateText("Stopped for") + " " + gap_text + ", " +
                           (read_now ? TranslateText("the kiln is now at") + " " +
                                           Degrees_Text(now.Measured, now.Temp_Scale)
                                     : TranslateText("the kiln's temperature cannot be read now")),
                       Continue_Or_Start_Afresh()}));
    Publish_Firing(
        Firing_Event::Interrupted,
        "stopped " + Format_Clock(cut->Stopped, cut->Offset_Minutes) + ", gap " + gap_text);
    Offer_Continuation(*cut, gap);
}

namespace {

constexpr int Count_Down_Seconds = 30;

std::string Count_Down_Lead() {
    return TranslateText("The firing continues by itself in");
}

}  // namespace

void Kiln_Run::Show_Count_Down() {
    const std::string lead = Count_Down_Lead();
    Supervisor_.Renew_Notice(lead, lead + " " + Format_Whole(Continue_Countdown_) + " s");
}

void Kiln_Run::End_Count_Down() {
    Continue_Interval_.Enabled = false;
    Supervisor_.Offer_Continuation(false);
    Supervisor_.Drop_Notice(Count_Down_Lead());
}

void Kiln_Run::Continue_Now() {
    if (!Continue_Interval_.Enabled) return;
    Continue_Countdown_ = 1;
    Continue_Timer();
}

void Kiln_Run::Do_Not_Continue() {
    if (!Continue_Interval_.Enabled) return;
    End_Count_Down();
    Display(TranslateText("The firing does not continue by itself: RUN PROFILE continues it"));
}

void Kiln_Run::Offer_Continuation(const Interrupted_Firing& cut, long long gap_seconds) {
    if (!Safety_.Continue_After_Restart || !Profile_.Valid()) return;
    auto stays = [this](const Operator_Text& why) {
        Notice(Operator_Text::Phrase("The firing does not continue by itself: %1", {why})
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
                             .Measured_Now = static_cast<double>(Measured_Temp_),
                             .Gap_Seconds = gap_seconds,
                             .Longest_Gap_Minutes = Safety_.Continue_Gap_Minutes,
                             .Fahrenheit = Profile_.Fahrenheit(),
                             .Per_Degree = per_degree});
    if (!decided.Allowed) {
        stays(decided.Why);
        return;
    }
    Continue_Elapsed_ = decided.Elapsed;
    Continue_Countdown_ = Count_Down_Seconds;
    Continue_Interval_.Enabled = true;
    const Operator_Text why = Operator_Text::Phrase(
        "The program was not running for %1 and the kiln is at %2: within the limits for "
        "going on",
        {Operator_Text::Value(Duration_Text(gap_seconds)),
         Operator_Text::Value(Controller_Units_Text(Measured_Temp_) + " °" +
                              Profile_.Temp_Scale())});
    Display(Join_Lines({why.Text(Translate_Phrase),
                        TranslateText("The firing continues by itself in") + " " +
                            Format_Whole(Continue_Countdown_) + " s; " +
                            TranslateText("Do not continue keeps the kiln in monitor mode, "
                                          "Continue now goes on at once")}));
    Supervisor_.Offer_Continuation(true);
    Show_Count_Down();
}

void Kiln_Run::Continue_Timer() {
    if (!Continue_Interval_.Enabled) return;
    if (Control_Interval_.Enabled) {  // the operator started it already
        End_Count_Down();
        return;
    }
    if (--Continue_Countdown_ > 0) {
        Show_Count_Down();
        return;
    }
    End_Count_Down();
    if (Continue_Elapsed_ != Engine_.Elapsed()) {
        Engine_.Begin_At(Continue_Elapsed_);
        View_.Show_Elapsed(Format_00(Continue_Elapsed_));
    }
    Start_Profile();
    if (Control_Interval_.Enabled) {
        Display(TranslateText("The firing continues after the restart at elapsed time") + " " +
                Format_00(Continue_Elapsed_));
    }
}

}  // namespace corvanel
