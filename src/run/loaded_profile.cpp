// SPDX-License-Identifier: GPL-3.0-or-later
#include "run/loaded_profile.h"

#include "common/numeric.h"
#include "common/text.h"
#include "profiles/profile_file.h"

namespace corvanel {

namespace {

constexpr std::size_t Time_Unit_Offset = 18370;  // the letter "M" or "H" in the file

}  // namespace

Loaded_Profile::Load_Result Loaded_Profile::Load(const std::string& path) {
    std::string text = Read_Profile_File(path);
    if (text.empty()) {
        Text_.clear();
        return {Load_Result::Outcome::Format_Not_Valid};
    }
    Profile_Sheet sheet = Parse_Profile_Text(text);
    Profile_Settings settings = Profile_Settings_Of_Text(text);
    const int finished = Last_Used_Row(sheet);
    Run_Tables tables = Tables_;  // rows beyond the new profile keep what they held
    double total_time = 0;
    try {
        total_time = finished > 0 ? Number_Of(sheet[finished][Col_Start_Time]) : 0;
        Build_Run_Tables(sheet, settings.Sensor_Code, finished, tables);
    } catch (const Run_Time_Error& error) {
        return {Load_Result::Outcome::Load_Error, error.Number};
    }
    Text_ = std::move(text);
    Sensor_Type_ = settings.Sensor_Code;
    Sheet_ = sheet;
    Finished_Segment_ = finished;
    Total_Time_ = total_time;
    Tables_ = tables;
    Chart_Points_ = Build_Run_Chart(Sheet_);
    Plan_ = std::make_shared<const Plan_Points>(Chart_Points_);
    Original_Plan_.reset();
    Temp_Scale_ = settings.Fahrenheit ? "F" : "C";
    Minutes_ = settings.Minutes;
    Valid_ = true;
    return {};
}

void Loaded_Profile::Use_Tables(const Run_Tables& tables, int finished_segment,
                                std::string sensor_type) {
    Tables_ = tables;
    Finished_Segment_ = finished_segment;
    Sensor_Type_ = std::move(sensor_type);
}

Followed_Plan Loaded_Profile::Followed() const {
    return {Tables_, Finished_Segment_, Total_Time_, Minutes_, Controller_Scale()};
}

void Loaded_Profile::Follow(const Followed_Plan& plan, double at) {
    if (!Original_Plan_) Original_Plan_ = Plan_;
    Tables_ = plan.Tables;
    Total_Time_ = plan.Total_Time;
    Chart_Points_ = Changed_Chart(Chart_Points_, plan, at);
    Plan_ = std::make_shared<const Plan_Points>(Chart_Points_);
}

bool Loaded_Profile::Minutes_In_Text() const {
    return Text_.size() > Time_Unit_Offset && Text_[Time_Unit_Offset] == 'M';
}

void Loaded_Profile::Show_Empty_Chart() {
    Chart_Points_.clear();
    for (int i = 1; i <= 10; ++i) Chart_Points_.emplace_back(i, 0);
}

void Loaded_Profile::Unload() {
    Valid_ = false;
    Finished_Segment_ = 0;
    Total_Time_ = 0;
    Sheet_ = {};
}

double Loaded_Profile::Controller_Scale() const {
    return Is_Platinum_Sensor(Sensor_Type_) ? 10.0 : 1.0;
}

std::string Loaded_Profile::Controller_Units_Text(std::int16_t value) const {
    if (Is_Platinum_Sensor(Sensor_Type_)) return Format_Number(value / 10.0);
    return std::to_string(value);
}

}  // namespace corvanel
