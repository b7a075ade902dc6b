// SPDX-License-Identifier: GPL-3.0-or-later
#include "controller_model.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <set>

#include "profiles/sensor_table.h"

namespace corvanel::sim {

namespace {

constexpr double Ambient_Celsius = 20.0;
// Full power holds the kiln near this temperature; the time constant makes a cold kiln
// rise about 20 degrees a minute at full power, slowing as it nears that.
constexpr double Full_Power_Celsius = 1400.0;
constexpr double Kiln_Time_Constant = 3600.0;
// The controller's loop: proportional band and integral time.
constexpr double Proportional_Band = 25.0;
constexpr double Integral_Time = 300.0;
constexpr double Deviation_Alarm = 50.0;
constexpr double Auto_Tune_Seconds = 600.0;
// A set value this far above room temperature, the first since one at most Soft_Off_Margin
// above it (the program's soft off, or the unit's own start), begins a new firing.
constexpr double Firing_Margin = 200.0;
constexpr double Soft_Off_Margin = 50.0;

double To_Scale(double celsius, bool fahrenheit) {
    return fahrenheit ? celsius * 9.0 / 5.0 + 32.0 : celsius;
}

std::string Text_Of(int value, const char* format) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, format, value);
    return buffer;
}

}  // namespace

std::string Field_Of(int value) {
    value = std::clamp(value, -999, 9999);
    return value < 0 ? "F" + Text_Of(-value, "%03d") : Text_Of(value, "%04d");
}

std::optional<int> Value_Of_Field(std::string_view field) {
    if (field.size() != 4) return std::nullopt;
    bool negative = field.front() == 'F';
    std::string_view digits = negative ? field.substr(1) : field;
    int value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return negative ? -value : value;
}

Controller_Unit::Controller_Unit(const Unit_Settings& settings)
    : Input_Type_(std::clamp(settings.Input_Type, 0, Sensor_Type_Count - 1)),
      Fahrenheit_(settings.Fahrenheit),
      Platinum_(Sensor_Types[Input_Type_].Platinum),
      Speed_(settings.Speed),
      Ambient_(To_Scale(Ambient_Celsius, settings.Fahrenheit)),
      Full_Power_Temperature_(To_Scale(Full_Power_Celsius, settings.Fahrenheit)),
      Aging_Per_Firing_(std::clamp(settings.Aging_Per_Firing, 0.0, 1.0)),
      Firings_Before_(std::max(settings.Firings_Before, 0)),
      Element_Power_(std::pow(1.0 - Aging_Per_Firing_, Firings_Before_)) {
    const Sensor_Type& sensor = Sensor_Types[Input_Type_];
    Range_Min_ = Fahrenheit_ ? sensor.Fahrenheit_Min : sensor.Celsius_Min;
    Range_Max_ = Fahrenheit_ ? sensor.Fahrenheit_Max : sensor.Celsius_Max;
    Low_Limit_ = settings.Low_Limit.value_or(
        std::max(-999, static_cast<int>(std::lround(Range_Min_ * Display_Per_Degree()))));
    High_Limit_ = settings.High_Limit.value_or(
        std::min(9999, static_cast<int>(std::lround(Range_Max_ * Display_Per_Degree()))));
    Temperature_ = settings.Start_Temperature.value_or(Ambient_);
    Set_Value_ = std::clamp(static_cast<int>(std::lround(Ambient_ * Display_Per_Degree())),
                            Low_Limit_, High_Limit_);
    Backup_Set_Value = Set_Value_;
    Control(0);
}

void Controller_Unit::Control(double dt) {
    if (Input_Break) {
        // An open sensor gives no reading to control on: the output goes off.
        Output_ = 0;
        return;
    }
    double target = Degrees_Of(Set_Value_);
    double error = target - Temperature_;
    double feed_forward = (target - Ambient_) / (Full_Power_Temperature_ - Ambient_);
    double wanted = feed_forward + error / Proportional_Band + Integral_;
    Output_ = std::clamp(wanted, 0.0, 1.0);
    // Integrate only while the output is not pinned, so it does not wind up.
    if (wanted > 0 && wanted < 1) {
        Integral_ += error / Proportional_Band * dt / Integral_Time;
        Integral_ = std::clamp(Integral_, -0.3, 0.3);
    }
}

void Controller_Unit::Note_Set_Value() {
    // A ramp climbs a little at each write: the firing begins where it passes the margin.
    if (Degrees_Of(Set_Value_) <= Ambient_ + Soft_Off_Margin) Between_Firings_ = true;
    if (Degrees_Of(Set_Value_) > Ambient_ + Firing_Margin && Between_Firings_) {
        Between_Firings_ = false;
        ++Firings_;
        // The first firing seen runs on the elements as they came; each later one on
        // elements a firing older.
        Element_Power_ = std::pow(1.0 - Aging_Per_Firing_, Firings_Before_ + Firings_ - 1);
    }
}

void Controller_Unit::Advance(double seconds) {
    double remaining = seconds * Speed_;
    while (remaining > 0) {
        double dt = std::min(remaining, 1.0);
        remaining -= dt;
        Control(dt);
        double power = Output_;
        if (Elements == Heating::Failed) power = 0;
        if (Elements == Heating::Weak) power = Output_ / 2;
        if (Elements == Heating::Stuck_On) power = 1;
        power *= Element_Power_;
        double equilibrium = Ambient_ + power * (Full_Power_Temperature_ - Ambient_);
        Temperature_ += (equilibrium - Temperature_) * dt / Kiln_Time_Constant;
        if (Auto_Tuning) {
            Tune_Remaining_ -= dt;
            if (Tune_Remaining_ <= 0) Auto_Tuning = false;
        }
    }
}

int Controller_Unit::Process_Value() const {
    long value = std::lround((Temperature_ + Reading_Offset) * Display_Per_Degree());
    return static_cast<int>(std::clamp<long>(value, -999, 9999));
}

int Controller_Unit::Output_Tenths() const {
    return static_cast<int>(std::lround(Output_ * 1000.0));
}

std::string Controller_Unit::Status_Digits() const {
    static constexpr char Hex[] = "0123456789ABCDEF";
    int first = Ram_Only ? 1 : 0;  // local, automatic output
    bool deviation = std::abs(Temperature_ - Degrees_Of(Set_Value_)) > Deviation_Alarm;
    int second = (Auto_Tuning ? 8 : 0) | (Process_Value() > High_Limit_ ? 4 : 0) |
                 (deviation && !Input_Break ? 2 : 0);
    int third = Memory_Differs ? 8 : 0;
    int fourth = (Input_Break ? 4 : 0) | (!Input_Break && Temperature_ < Range_Min_ ? 2 : 0) |
                 (!Input_Break && Temperature_ > Range_Max_ ? 1 : 0);
    return {Hex[first], Hex[second], Hex[third], Hex[fourth]};
}

std::string Controller_Unit::Status_Fields() const {
    // Status high carries the scale in its lowest bit (1 for Fahrenheit).
    std::string fields;
    fields += static_cast<char>('0' + (Fahrenheit_ ? 1 : 0));
    fields += Auto_Tuning ? '8' : '0';
    fields += Input_Break ? '4' : '0';
    fields += '0';
    fields += static_cast<char>('0' + Input_Type_);
    return fields;
}

std::optional<Controller_Unit::Answer> Controller_Unit::Execute(std::string_view code,
                                                                std::string_view data) {
    static const std::set<std::string_view> Known = {"WS01", "RS01", "RX01", "ME01", "MA01", "MW01",
                                                     "RU01", "RO01", "RL01", "AS01", "AP01"};
    if (!Known.count(code)) return std::nullopt;
    // Only the set-value write carries data, always four characters.
    if (data.size() != (code == "WS01" ? 4u : 0u)) return Answer{"14", ""};
    if (code == "WS01") {
        std::optional<int> value = Value_Of_Field(data);
        if (!value) return Answer{"14", ""};
        if (*value < Low_Limit_ || *value > High_Limit_) return Answer{"0D", ""};
        Set_Value_ = *value;
        Note_Set_Value();
        Control(0);  // the loop answers a new set value at once
        if (Ram_Only) {
            Memory_Differs = Set_Value_ != Backup_Set_Value;
        } else {
            Backup_Set_Value = Set_Value_;
        }
        return Answer{"00", ""};
    }
    if (code == "RS01") return Answer{"00", Field_Of(Set_Value_)};
    if (code == "RX01") return Answer{"00", Field_Of(Process_Value()) + Status_Digits()};
    if (code == "RO01") return Answer{"00", Text_Of(Output_Tenths(), "%04d")};
    if (code == "RL01") return Answer{"00", Field_Of(Low_Limit_) + Text_Of(High_Limit_, "%04d")};
    if (code == "RU01") return Answer{"00", Status_Fields()};
    if (code == "ME01" || code == "MA01" || code == "MW01") {
        // ME01 and MA01 choose where writes go; ME01 and MW01 copy volatile to backup now.
        if (code != "MW01") Ram_Only = code == "MA01";
        if (code != "MA01") {
            Backup_Set_Value = Set_Value_;
            Memory_Differs = false;
        }
        return Answer{"00", ""};
    }
    if (code == "AS01") {
        // Tuning needs a reading to tune on.
        if (Input_Break) return Answer{"0D", ""};
        Auto_Tuning = true;
        Tune_Remaining_ = Auto_Tune_Seconds;
        return Answer{"00", ""};
    }
    if (code == "AP01") {
        Auto_Tuning = false;
        return Answer{"00", ""};
    }
    return std::nullopt;
}

Controller_Model::Controller_Model(const std::vector<int>& addresses,
                                   const Unit_Settings& settings) {
    for (int address : addresses) Units_.emplace(address, Controller_Unit(settings));
}

Controller_Unit* Controller_Model::Unit(int address) {
    auto found = Units_.find(address);
    return found == Units_.end() ? nullptr : &found->second;
}

void Controller_Model::Advance(double seconds) {
    for (auto& [address, unit] : Units_) unit.Advance(seconds);
}

void Controller_Model::Set_Input_Break(bool broken) {
    for (auto& [address, unit] : Units_) unit.Input_Break = broken;
}

void Controller_Model::Set_Reading_Offset(double degrees) {
    for (auto& [address, unit] : Units_) unit.Reading_Offset = degrees;
}

void Controller_Model::Set_Heating(Heating heating) {
    for (auto& [address, unit] : Units_) unit.Elements = heating;
}

std::optional<std::string> Controller_Model::Reply_Body(std::string_view frame,
                                                        const std::string& forced_end_code) {
    // "@" + two address digits + four code characters + data + two FCS digits + "*".
    if (frame.size() < 10 || frame.front() != '@' || frame.back() != '*') return std::nullopt;
    std::string_view address_text = frame.substr(1, 2);
    if (!std::isdigit(static_cast<unsigned char>(address_text[0])) ||
        !std::isdigit(static_cast<unsigned char>(address_text[1]))) {
        return std::nullopt;
    }
    int address = (address_text[0] - '0') * 10 + (address_text[1] - '0');
    Controller_Unit* unit = Unit(address);
    // A three-digit address ("@100...") reads as address 10 followed by a broken
    // code, which no unit at 10 answers with "00": the check below catches it.
    if (!unit) return std::nullopt;
    std::string_view covered = frame.substr(0, frame.size() - 3);
    std::string_view fcs = frame.substr(frame.size() - 3, 2);
    std::string code(frame.substr(3, 4));
    std::string_view data = covered.substr(7);
    std::string header = "@" + std::string(address_text) + code.substr(0, 2);

    unsigned x = 0;
    for (char c : covered) x ^= static_cast<unsigned char>(c);
    char expected[3];
    std::snprintf(expected, sizeof expected, "%02X", x);
    if (fcs != expected) return header + "13";  // FCS error

    std::optional<Controller_Unit::Answer> answer = unit->Execute(code, data);
    if (!answer) return header + "IC";  // unknown command
    if (answer->End_Code == "00" && !forced_end_code.empty()) answer->End_Code = forced_end_code;
    return header + answer->End_Code + answer->Data;
}

}  // namespace corvanel::sim
