// SPDX-License-Identifier: GPL-3.0-or-later
#include "profiles/cone_firing.h"

#include <cmath>

#include "common/numeric.h"
#include "common/text.h"
#include "language/translate.h"
#include "profiles/cone_table.h"
#include "profiles/sensor_table.h"

namespace corvanel {

namespace {

// The figures of one scale. The speeds' rates are 150, 300 and 500 F per hour; in
// Celsius the same rates, converted.
struct Scale_Figures {
    int Start_Temp;
    int Preheat_Temp;
    int Below_Cone;  // where the first ramp ends, under the cone's temperature
    std::array<double, 3> Speed_Rate;
    int Slow_Final_Rate, Standard_Final_Rate;
};
constexpr Scale_Figures Fahrenheit_Figures{70, 180, 200, {150, 300, 500}, 108, 270};
constexpr Scale_Figures Celsius_Figures{21, 82, 110, {150.0 * 5 / 9, 300.0 * 5 / 9, 500.0 * 5 / 9},
                                        60, 150};

// A number as an operator types it: whole numbers plain, others with two decimals.
std::string Typed_Number(double value) {
    std::string text = Format_00(value);
    if (text.size() > 3 && text.compare(text.size() - 3, 3, ".00") == 0)
        text.resize(text.size() - 3);
    return text;
}

// An optional amount as typed: nullopt for none (empty or 0), NaN when not a number.
std::optional<double> Optional_Amount(const std::string& text) {
    if (text.find_first_not_of(' ') == std::string::npos) return std::nullopt;
    std::optional<double> value = Convert_To_Double(text).Value;
    if (!value) return std::nan("");
    if (*value == 0) return std::nullopt;
    return value;
}

bool In_Range(double value, double low, double high) {
    return !std::isnan(value) && value >= low && value <= high;
}

}  // namespace

std::optional<Cone_Speed> Cone_Speed_Of_Name(std::string_view name) {
    for (std::size_t i = 0; i < Cone_Speed_Names.size(); ++i) {
        if (name == Cone_Speed_Names[i]) return static_cast<Cone_Speed>(i);
    }
    return std::nullopt;
}

Cone_Firing_Plan Plan_Cone_Firing(const Cone_Firing_Choice& choice) {
    Cone_Firing_Plan plan;
    auto refuse = [&plan](const std::string& text) {
        plan.Refusal = text;
        return plan;
    };
    std::optional<Cone_Equivalent> cone = Find_Cone(choice.Cone);
    if (!cone) {
        return refuse(TranslateText("Not a cone of the chart (022 to 01, 1 to 10)") + ": " +
                      choice.Cone);
    }
    const Scale_Figures& figures = choice.Fahrenheit ? Fahrenheit_Figures : Celsius_Figures;
    const int speed = static_cast<int>(choice.Speed);
    const bool slow = choice.Speed == Cone_Speed::Slow;
    const int peak = choice.Fahrenheit ? (slow ? cone->Fahrenheit_108 : cone->Fahrenheit_270)
                                       : (slow ? cone->Celsius_60 : cone->Celsius_150);
    plan.Peak_Temp = peak;  // known from here on, also to a refusal
    const int final_rate = slow ? figures.Slow_Final_Rate : figures.Standard_Final_Rate;
    const Sensor_Type& sensor = Sensor_Types.at(choice.Sensor);
    const Range_Limits limits = Set_Range_Limits(sensor.Code, choice.Fahrenheit);
    if (peak > limits.Max_Temp) {
        return refuse(TranslateText("The cone temperature is above the sensor's limit") + ": " +
                      std::to_string(peak) + " > " + std::to_string(limits.Max_Temp) + " (" +
                      sensor.Caption + ")");
    }

    std::optional<double> preheat = Optional_Amount(choice.Preheat_Hours);
    if (preheat && !In_Range(*preheat, 0.01, 100)) {
        return refuse(TranslateText("The preheat must be from 0.01 to 100 hours") + ": " +
                      choice.Preheat_Hours);
    }
    std::optional<double> hold = Optional_Amount(choice.Hold_Minutes);
    if (hold && !In_Range(*hold, 1, 6000)) {
        return refuse(TranslateText("The hold at peak must be from 1 to 6000 minutes") + ": " +
                      choice.Hold_Minutes);
    }
    std::optional<double> cool_rate = Optional_Amount(choice.Cool_Rate);
    const bool cool_temp_given = choice.Cool_Temp.find_first_not_of(' ') != std::string::npos;
    std::optional<std::int16_t> cool_temp;
    if (cool_rate || cool_temp_given) {
        if (!cool_rate || !cool_temp_given) {
            return refuse(TranslateText("The cooling needs both a rate and a temperature"));
        }
        if (!In_Range(*cool_rate, 1, 999)) {
            return refuse(TranslateText("The cooling rate must be from 1 to 999 degrees per hour") +
                          ": " + choice.Cool_Rate);
        }
        bool whole = choice.Cool_Temp.find_first_not_of(" -0123456789") == std::string::npos;
        cool_temp = whole ? Convert_To_Int16(choice.Cool_Temp).Value : std::nullopt;
        if (!cool_temp || *cool_temp >= peak) {
            return refuse(TranslateText("The cooling must end below the cone temperature") + ": " +
                          choice.Cool_Temp);
        }
        if (*cool_temp < limits.Min_Temp) {
            return refuse(TranslateText("The cooling temperature is below the sensor's limit") +
                          ": " + std::to_string(*cool_temp) + " < " +
                          std::to_string(limits.Min_Temp) + " (" + sensor.Caption + ")");
        }
    }

    std::string error_limit = choice.Error_Limit;
    error_limit.erase(0, error_limit.find_first_not_of(' '));
    error_limit.erase(error_limit.find_last_not_of(' ') + 1);
    if (!error_limit.empty()) {
        bool digits = error_limit.find_first_not_of("0123456789") == std::string::npos;
        std::optional<std::int16_t> limit =
            digits ? Convert_To_Int16(error_limit).Value : std::nullopt;
        if (!limit || *limit < 1 || *limit > 9999) {
            return refuse(TranslateText("The error limit must be a whole number from 1 to 9999") +
                          ": " + choice.Error_Limit);
        }
    }

    Typed_Profile& profile = plan.Profile;
    profile.Fahrenheit = choice.Fahrenheit;
    profile.Minutes = false;
    profile.Sensor = choice.Sensor;
    profile.Start_Temp = std::to_string(figures.Start_Temp);
    const std::string speed_rate = Typed_Number(figures.Speed_Rate[speed]);
    auto ramp = [&](int end_temp, const std::string& rate) {
        profile.Segments.push_back({std::to_string(end_temp), "", rate, error_limit, ""});
    };
    auto hold_for = [&](int temp, double hours) {
        profile.Segments.push_back(
            {std::to_string(temp), Typed_Number(hours), "", error_limit, ""});
    };
    if (preheat) {
        ramp(figures.Preheat_Temp, speed_rate);
        hold_for(figures.Preheat_Temp, *preheat);
    }
    ramp(peak - figures.Below_Cone, speed_rate);
    ramp(peak, std::to_string(final_rate));
    if (hold) hold_for(peak, *hold / 60);
    if (cool_temp) ramp(*cool_temp, "-" + Typed_Number(*cool_rate));

    if (choice.End_On_Heat_Work) profile.Heat_Work_Cone = std::string(cone->Cone);
    plan.Peak_Temp = peak;
    plan.File_Name = "cone" + std::string(cone->Cone) + "_" + Cone_Speed_Names[speed] + ".txt";
    return plan;
}

}  // namespace corvanel
