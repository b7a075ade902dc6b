// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/firing_forecaster.h"

#include "history/kiln_forecast.h"
#include "run/safety_settings.h"

namespace corvanel {

namespace {

double Fahrenheit_Of(double degrees, const std::string& scale) {
    return scale == "C" ? degrees * 9 / 5 + 32 : degrees;
}

}  // namespace

Firing_Forecaster::Firing_Forecaster(Program_Paths paths, Settings_Store& settings)
    : Paths_(std::move(paths)), Settings_(settings) {}

bool Firing_Forecaster::Stale(const Firing_Status& status, Firing_Event event) const {
    return !Last_ || status.Plan.get() != Last_Plan_ || status.State != Last_State_ ||
           (event != Firing_Event::Tick && event != Firing_Event::Monitor_Tick) ||
           Seconds_Of(status.Clock) - Last_Made_ >= 60;
}

void Firing_Forecaster::Annotate(Firing_Status& status, Firing_Event event) {
    // A new profile, a start or the end of a run: the records may have grown since.
    if (!Model_ || event == Firing_Event::Profile_Loaded || event == Firing_Event::Start ||
        event == Firing_Event::Finished) {
        Model_ = Kept_Kiln_Model(Paths_.Logfiles_Folder());
        Last_.reset();
    }
    if (Stale(status, event)) {
        Last_ = Foresee(status);
        Last_Made_ = Seconds_Of(status.Clock);
        Last_Plan_ = status.Plan.get();
        Last_State_ = status.State;
    }
    status.Forecast = Last_;
}

std::shared_ptr<const Firing_Forecast> Firing_Forecaster::Foresee(const Firing_Status& status) {
    if (!status.Has_Reading || status.Input_Error) return nullptr;
    if (status.State == Firing_State::Cooling) {
        const Safety_Settings safety = Safety_Settings_Of(Settings_);
        auto forecast = std::make_shared<Firing_Forecast>();
        forecast->Open_Below =
            status.Temp_Scale == "C" ? safety.Cooling_End_C : safety.Cooling_End_F;
        const std::optional<double> minutes =
            Predicted_Minutes_To_Cool(*Model_, Fahrenheit_Of(status.Measured, status.Temp_Scale),
                                      Fahrenheit_Of(forecast->Open_Below, status.Temp_Scale));
        if (!minutes) return nullptr;
        forecast->Cool_Seconds = *minutes * 60;
        forecast->From_History = true;
        return forecast;
    }
    // The way ahead of a loaded profile, from where the run stands (its start before it).
    if (status.Profile_Name.empty() || status.Plan->size() < 2) return nullptr;
    auto forecast = std::make_shared<Firing_Forecast>(
        Forecast_Firing(&*Model_, *status.Plan, status.Temp_Scale, status.Time_Unit, status.Elapsed,
                        status.Measured));
    // Drawn from the now line: the traces go by the real time, the plan by whole minutes.
    const double shift = status.Run_Active() ? status.Real_Elapsed - status.Elapsed : 0;
    for (auto& point : forecast->Curve) point.first += shift;
    return forecast;
}

}  // namespace corvanel
