// SPDX-License-Identifier: GPL-3.0-or-later
// The kiln run's readings: how old the measured value is, the controller's scale and
// limit learned, its numbers in the profile's scale, and a time carried into another unit.

#include <cmath>

#include "common/numeric.h"
#include "common/quantity_text.h"
#include "common/text.h"
#include "controller/front_panel_model.h"
#include "controller/protocol.h"
#include "controller/serial_link.h"
#include "language/operator_style.h"
#include "language/show_problem.h"
#include "language/translate.h"
#include "run/forecast_words.h"
#include "run/kiln_run.h"

namespace corvanel {

void Kiln_Run::Note_Reading() {
    const FrontPanel& panel = Services_.Panel;
    if (!(panel.Communication_Status && panel.Command_Executed) || panel.InputError) return;
    Has_Reading_ = true;
    Last_Reading_ = Services_.Time.Now();
}

double Kiln_Run::Read_Interval() const {
    const Timer_State& ticks = Control_Interval_.Enabled ? Control_Interval_ : Monitor_Interval_;
    return ticks.Interval / 1000.0;
}

bool Kiln_Run::Scales_Differ() const {
    return Live_Readouts_ && !Controller_Scale_.empty() && !Profile_.Temp_Scale().empty() &&
           Controller_Scale_ != Profile_.Temp_Scale();
}

double Kiln_Run::Shown_Degrees(std::int16_t value) const {
    const double degrees = value / Profile_.Controller_Scale();
    if (!Scales_Differ()) return degrees;
    return Profile_.Fahrenheit() ? degrees * 9 / 5 + 32 : (degrees - 32) * 5 / 9;
}

std::string Kiln_Run::Shown_Text(std::int16_t value) const {
    if (!Scales_Differ()) return Controller_Units_Text(value);
    // Converted to as many places as the controller gives: whole degrees or tenths.
    const double places = Profile_.Controller_Scale();
    return Format_Number(std::round(Shown_Degrees(value) * places) / places);
}

void Kiln_Run::Show_Process_Temp() {
    const std::string shown = Shown_Text(Measured_Temp_);
    if (!Live_Readouts_) {
        View_.Show_Measured(shown, false, "");
        return;
    }
    const Firing_Status status = Firing_Status_Now();
    const Firing_Status::Reading reading = status.Reading_At(status.Clock);
    View_.Show_Measured(reading == Firing_Status::Reading::Absent ? "----" : shown,
                        reading != Firing_Status::Reading::Live,
                        Reading_Words_Of(status, Operator_Style()));
}

void Kiln_Run::Learn_Controller_Scale() {
    // Asked only of a controller that has just answered, so a closed port or a silent
    // line gives no message more than the ticks already give.
    if (!Live_Readouts_ || Loading_ || !Services_.Panel.Communication_Status) return;
    std::uint8_t unit = 0;
    Statement([&] { Services_.Protocol.Read_Status(unit); });
    if (Services_.Panel.Communication_Status && Services_.Panel.Command_Executed) {
        Controller_Scale_ = Services_.Panel.Controller_Temp_Scale == 1 ? "F" : "C";
        Known_Controller_.Fahrenheit = Controller_Scale_ == "F";
        Engine_.Use_Controller_Limits(Known_Controller_);
    }
}

void Kiln_Run::Learn_Controller_Limit() {
    if (Loading_ || !Services_.Panel.Communication_Status) return;
    std::optional<std::int16_t> high;
    Statement([&] { high = Services_.Protocol.Read_High_Set_Limit(0); });
    // A controller that answers without a limit is not asked again.
    Limit_Asked_ = Services_.Panel.Communication_Status;
    if (!high) return;
    Known_Controller_.High_Set_Limit = high;
    Engine_.Use_Controller_Limits(Known_Controller_);
}

bool Kiln_Run::Forget_Controller_After_New_Port() {
    if (!Port_ || Port_->Openings() == Learned_On_Opening_) return false;
    Learned_On_Opening_ = Port_->Openings();
    const bool knew = Limit_Asked_ || !Controller_Scale_.empty();
    Controller_Scale_.clear();
    Known_Controller_ = {};
    Limit_Asked_ = false;
    Engine_.Use_Controller_Limits(Known_Controller_);
    return knew;
}

void Kiln_Run::Say_Set_Value_Held() {
    const Set_Value_Limit limit = Engine_.Held_By();
    if (limit == Set_Value_Limit::None || !Holds_Said_.insert(limit).second) return;
    const Operator_Text text = Engine_.Held_Text();
    Notice(Operator_Text_Shown(text));
    Publish_Firing(Firing_Event::Set_Value_Held, text.English());
}

void Kiln_Run::Carry_Elapsed_Into(bool minutes) {
    const std::string& unit = Engine_.Time_Unit();
    if (unit.empty() || (unit == "M") == minutes || Engine_.Elapsed() == 0) return;
    const std::string before =
        Format_00(Engine_.Elapsed()) + " " + TranslateText(unit == "M" ? "Minutes" : "Hours");
    Engine_.Convert_To_Unit(minutes);
    const std::string now = Format_00(Engine_.Elapsed());
    View_.Show_Elapsed(now);
    Display(TranslateText("The elapsed time was converted to this profile's time unit") + ": " +
            before + " = " + now + " " + TranslateText(minutes ? "Minutes" : "Hours"));
}

void Kiln_Run::Take_Loaded_Profile(bool had_profile) {
    if (had_profile) Carry_Elapsed_Into(Profile_.Minutes());
    Use_Time_Unit(Profile_.Minutes(), Control_Interval_);
    Learn_Controller_Scale();
}

void Kiln_Run::Profile_Loaded() {
    Publish_Firing(Firing_Event::Profile_Loaded);
    Notice_Carried_Over_Time();
}

}  // namespace corvanel
