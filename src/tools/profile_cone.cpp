// SPDX-License-Identifier: GPL-3.0-or-later
// corvanel-profile cone: a firing worked out from a cone number and a speed, typed into
// the editor and saved through its own save, as make does with rows from a file.

#include <ostream>

#include "common/text.h"
#include "profiles/cone_firing.h"
#include "profiles/cone_table.h"
#include "tools/profile_tool_parts.h"

namespace corvanel {

namespace {

void Print_Cone_Table(std::ostream& out) {
    out << "cone  60 C/h  150 C/h  108 F/h  270 F/h\n";
    for (const Cone_Equivalent& cone : Cone_Table()) {
        out << Right_Align(cone.Cone, 4) << Right_Align(std::to_string(cone.Celsius_60), 8)
            << Right_Align(std::to_string(cone.Celsius_150), 9)
            << Right_Align(std::to_string(cone.Fahrenheit_108), 9)
            << Right_Align(std::to_string(cone.Fahrenheit_270), 9) << '\n';
    }
}

struct Cone_Options {
    Cone_Firing_Choice Choice;
    bool List = false;
    std::string Out;
};

Cone_Options Parse_Cone_Options(const std::vector<std::string>& args) {
    Cone_Options options;
    Cone_Firing_Choice& choice = options.Choice;
    bool cone_given = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        auto value = [&] { return Option_Value(args, i); };
        if (Take_Sensor_Or_Scale(args, i, choice.Sensor, choice.Fahrenheit)) continue;
        if (arg == "--list") {
            options.List = true;
        } else if (arg == "--speed") {
            std::string speed = value();
            std::optional<Cone_Speed> known = Cone_Speed_Of_Name(speed);
            if (!known) throw Problem_Error("--speed takes slow, medium or fast, not " + speed);
            choice.Speed = *known;
        } else if (arg == "--preheat") {
            choice.Preheat_Hours = value();
        } else if (arg == "--hold") {
            choice.Hold_Minutes = value();
        } else if (arg == "--fixed-peak") {
            choice.End_On_Heat_Work = false;
        } else if (arg == "--error-limit") {
            choice.Error_Limit = value();
        } else if (arg == "--cool") {
            std::string cool = value();
            std::size_t colon = cool.find(':');
            if (colon == std::string::npos || colon == 0 || colon + 1 == cool.size())
                throw Problem_Error("--cool takes RATE:TEMP, for example 150:1500, not " + cool);
            choice.Cool_Rate = cool.substr(0, colon);
            choice.Cool_Temp = cool.substr(colon + 1);
        } else if (arg.rfind("--", 0) == 0) {
            throw Problem_Error("unknown option " + arg + " for cone");
        } else if (!cone_given) {
            choice.Cone = arg;
            cone_given = true;
        } else if (options.Out.empty()) {
            options.Out = arg;
        } else {
            throw Problem_Error("cone writes one file; unexpected " + arg);
        }
    }
    if (!options.List && options.Out.empty())
        throw Problem_Error("cone needs a CONE and the OUT file to write");
    return options;
}

}  // namespace

int Make_Cone_Profile(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    Cone_Options options;
    try {
        options = Parse_Cone_Options(args);
    } catch (const Problem_Error& error) {
        Report_Tool_Problem(err, Profile_Tool_Name, error.Carried);
        return 2;
    }
    if (options.List) {
        Print_Cone_Table(out);
        return 0;
    }
    Cone_Firing_Plan plan = Plan_Cone_Firing(options.Choice);
    if (!plan.Refusal.empty()) {
        Report_Tool_Problem(err, Profile_Tool_Name, Problem::Fixed(plan.Refusal));
        return 2;
    }
    std::vector<std::string> labels;
    for (std::size_t i = 0; i < plan.Profile.Segments.size(); ++i)
        labels.push_back("segment " + std::to_string(i + 1));
    return Save_Typed_Profile(plan.Profile, labels, options.Out, out);
}

}  // namespace corvanel
