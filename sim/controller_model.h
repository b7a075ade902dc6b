// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvanel::sim {

// What the elements do with the controller's output.
enum class Heating {
    Normal,
    Failed,    // burnt out: no heat at all
    Weak,      // half the power they should give
    Stuck_On,  // the relay is welded shut: full power whatever the output
};

// How a simulated controller is set up; every unit of a model shares it.
struct Unit_Settings {
    int Input_Type = 2;             // 0..9, the sensor table's order; 6 and 7 read in tenths
    bool Fahrenheit = false;        // the scale bit of the status read
    std::optional<int> Low_Limit;   // set-value limits in display units; the sensor's
    std::optional<int> High_Limit;  // range (inside -999..9999) when not given
    std::optional<double> Start_Temperature;  // degrees of the scale; room temperature if not given
    double Speed = 1.0;                       // how many seconds of kiln time pass per real second
    double Aging_Per_Firing = 0;  // share 0..<1 of their power the elements lose with each firing
    int Firings_Before = 0;       // firings the elements did before the unit starts
};

// One controller and the kiln it heats.
class Controller_Unit {
  public:
    explicit Controller_Unit(const Unit_Settings& settings);

    // Runs the kiln and the controller's own loop for `seconds` of real time.
    void Advance(double seconds);

    // Temperatures and limits in display units: degrees, tenths for the platinum types.
    int Process_Value() const;
    int Set_Value() const { return Set_Value_; }
    int Output_Tenths() const;  // output power in tenths of a percent
    int Low_Limit() const { return Low_Limit_; }
    int High_Limit() const { return High_Limit_; }
    double Temperature() const { return Temperature_; }  // degrees of the scale
    // Firings seen since the start, and the share of their new power the elements give now.
    int Firings() const { return Firings_; }
    double Element_Power() const { return Element_Power_; }

    // The four status digits of the process-value read.
    std::string Status_Digits() const;
    // The five characters of the status read.
    std::string Status_Fields() const;

    // The answer to one command: the end code and its data, or nullopt for a code the
    // controller does not know.
    struct Answer {
        std::string End_Code;
        std::string Data;
    };
    std::optional<Answer> Execute(std::string_view code, std::string_view data);

    bool Input_Break = false;   // an open thermocouple
    double Reading_Offset = 0;  // degrees the reading is off from the kiln's temperature
    bool Ram_Only = false;      // settings kept in volatile memory only
    bool Auto_Tuning = false;
    bool Memory_Differs = false;  // volatile settings differ from the backup
    int Backup_Set_Value = 0;
    Heating Elements = Heating::Normal;

  private:
    // The controller's loop: sets the output from the set value and the reading.
    void Control(double dt);
    // Counts a new firing when a set value written starts one; the elements age with it.
    void Note_Set_Value();
    double Display_Per_Degree() const { return Platinum_ ? 10.0 : 1.0; }
    double Degrees_Of(int display_value) const { return display_value / Display_Per_Degree(); }

    int Input_Type_;
    bool Fahrenheit_;
    bool Platinum_;
    double Speed_;
    double Ambient_;
    double Full_Power_Temperature_;
    double Range_Min_, Range_Max_;  // sensor range in degrees
    int Low_Limit_, High_Limit_;
    int Set_Value_;
    double Temperature_;
    double Output_ = 0;  // 0..1
    double Integral_ = 0;
    double Tune_Remaining_ = 0;
    double Aging_Per_Firing_;
    int Firings_Before_;
    int Firings_ = 0;
    bool Between_Firings_ = true;  // no set value well above room temperature since the last low one
    double Element_Power_;
};

// A controller bus: one or more units at their addresses (0..99), each answering the
// frames addressed to it.
class Controller_Model {
  public:
    Controller_Model(const std::vector<int>& addresses, const Unit_Settings& settings);

    // The reply to one request frame (without its CR LF), FCS and terminator still to
    // be added: "@01RX00F0150004". Nothing when the frame is not for one of the units
    // or cannot be read as a frame. `forced_end_code` replaces a successful "00".
    std::optional<std::string> Reply_Body(std::string_view frame,
                                          const std::string& forced_end_code = {});

    void Advance(double seconds);
    Controller_Unit* Unit(int address);
    void Set_Input_Break(bool broken);
    void Set_Reading_Offset(double degrees);
    void Set_Heating(Heating heating);

  private:
    std::map<int, Controller_Unit> Units_;
};

// The controller's four-character number field: "F" and three digits below zero.
std::string Field_Of(int value);
// Reads a number field; nothing when it is not one.
std::optional<int> Value_Of_Field(std::string_view field);

}  // namespace corvanel::sim
