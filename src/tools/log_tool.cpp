// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/log_tool.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <ostream>

#include "common/clock.h"
#include "common/json_text.h"
#include "common/problem.h"
#include "common/text.h"
#include "history/firing_notes.h"
#include "history/firing_report.h"
#include "history/firing_summary.h"
#include "history/kiln_events.h"
#include "history/kiln_forecast.h"
#include "history/kiln_health.h"
#include "history/kiln_health_reading.h"
#include "history/kiln_health_settings.h"
#include "history/kiln_thermal_model.h"
#include "history/witness_cones.h"
#include "language/operator_style.h"
#include "language/translate.h"
#include "setup/program_paths.h"
#include "setup/settings_store.h"
#include "setup/setup_files.h"

namespace corvanel {

namespace {

constexpr std::string_view Tool_Name = "corvanel-log";

const char* const Usage =
    "usage: corvanel-log list [FOLDER]\n"
    "       corvanel-log show RECORD [--profile FILE]\n"
    "       corvanel-log export RECORD --format csv|json [--profile FILE]\n"
    "       corvanel-log plot RECORD... -o OUT.png|OUT.svg|OUT.pdf [--profile FILE]\n"
    "       corvanel-log health [FOLDER] [--format text|csv] [--scale F|C]\n"
    "       corvanel-log forecast PROFILE [FOLDER] [--csv]\n"
    "\n"
    "list    the firing records in FOLDER (default: Logfiles beside the program), newest first\n"
    "show    a record's header, summary and events\n"
    "export  a record's lines as CSV or JSON on standard output\n"
    "plot    plan, set value and measured temperature of one or more records, overlaid\n"
    "health  the kiln's health over the firings in FOLDER, oldest first: heating rates at\n"
    "        full power, time at full power, lag in ramps, last climb, energy, cost and\n"
    "        outcome of each, then the marked events and the reading; as CSV, one line a\n"
    "        firing and nothing else. The scale defaults to that of the latest firing.\n"
    "forecast the predicted temperature and finish of a profile fired on this kiln, from\n"
    "        the kiln's model learned from its latest firings in FOLDER (kept there as\n"
    "        kiln.model): heating at full output, lag in ramps, cooling with the power off.\n"
    "        Without firings to learn from, the plan's times, said so. With --csv, the\n"
    "        predicted curve alone: elapsed time in the profile's unit, temperature.\n"
    "\n"
    "RECORD is a firing record (*.firing.csv) or a plain log of 21-byte lines; --profile\n"
    "gives a plain log its plan, sensor, scale and time unit. Damaged lines are skipped\n"
    "and named on standard error.\n"
    "\n"
    "exit status: 0 success, 2 a usage or input error\n";

// The command's arguments split into files and options.
struct Arguments {
    std::vector<std::string> Files;
    std::string Profile, Format, Output, Scale;
};

Arguments Parse_Arguments(const std::vector<std::string>& rest, const std::string& command,
                          const std::vector<std::string>& allowed) {
    Arguments parsed;
    for (std::size_t i = 0; i < rest.size(); ++i) {
        const std::string& arg = rest[i];
        if (arg.empty() || arg[0] != '-' || arg == "-") {
            parsed.Files.push_back(arg);
            continue;
        }
        if (std::find(allowed.begin(), allowed.end(), arg) == allowed.end()) {
            throw Problem_Error{"unknown option " + arg + " for " + command};
        }
        if (i + 1 >= rest.size()) throw Problem_Error{arg + " needs a value"};
        const std::string& value = rest[++i];
        (arg == "--profile"  ? parsed.Profile
         : arg == "--format" ? parsed.Format
         : arg == "--scale"  ? parsed.Scale
                             : parsed.Output) = value;
    }
    return parsed;
}

Firing_Record Read_Or_Fail(const std::string& path, const Firing_Record_Header& plan,
                           std::ostream& err) {
    Firing_Record record;
    if (Maybe_Problem problem = Read_Firing_Record(path, plan, record))
        throw Problem_Error{*problem};
    for (const Record_Problem& skipped : record.Problems) {
        Report_Tool_Problem(err, Tool_Name,
                            Problem::Fixed(path + ": line " + std::to_string(skipped.Line_Number) +
                                               " skipped: " + skipped.What.English(),
                                           Severity::Notice));
    }
    return record;
}

Firing_Record_Header Plan_Of(const std::string& profile) {
    Firing_Record_Header header;
    if (!profile.empty() && !Header_Of_Profile_File(profile, header)) {
        throw Problem_Error{profile + ": not a readable profile"};
    }
    return header;
}

std::string Line_Clock(const Firing_Record_Line& line) {
    return line.Has_Clock ? Format_Clock(line.Clock, line.Offset_Minutes) : "";
}

// The characters of a UTF-8 text, as a terminal lines them up ("°" is one).
std::size_t Shown_Width(const std::string& text) {
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

void Print_Table(const std::vector<std::vector<std::string>>& rows, std::ostream& out) {
    std::vector<std::size_t> width;
    for (const auto& row : rows) {
        width.resize(std::max(width.size(), row.size()));
        for (std::size_t c = 0; c < row.size(); ++c)
            width[c] = std::max(width[c], Shown_Width(row[c]));
    }
    for (const auto& row : rows) {
        std::string line;
        for (std::size_t c = 0; c < row.size(); ++c) {
            if (c > 0) line += "  ";
            line += row[c] + std::string(width[c] - Shown_Width(row[c]), ' ');
        }
        line.erase(line.find_last_not_of(' ') + 1);
        out << line << '\n';
    }
}

// The records' folder a command is given, Logfiles beside the program without one.
std::string Folder_Of(const Arguments& args, const Program_Paths& paths,
                      const std::string& command) {
    if (args.Files.size() > 1) throw Problem_Error{command + " takes at most one FOLDER"};
    const std::string folder = args.Files.empty() ? paths.Logfiles_Folder() : args.Files[0];
    std::error_code error;
    if (!std::filesystem::is_directory(folder, error)) {
        throw Problem_Error{folder + ": not a folder"};
    }
    return folder;
}

// A phrase in the folder's language with its parts shown as they are.
std::string Said(const char* english, const std::vector<std::string>& parts = {}) {
    std::vector<Operator_Text> values;
    for (const std::string& part : parts) values.push_back(Operator_Text::Value(part));
    return Operator_Text::Phrase(english, std::move(values)).Text(Translate_Phrase);
}

// What a person reads is in the language the program folder has chosen, as the program
// shows it; exports for machines never follow it. Every clock with its day: the tool's
// reader may be on another day.
Report_Style Operator_Report_Style(Settings_Store& settings) {
    Report_Style style;
    style.Label = [](const std::string& text) { return TranslateText(text); };
    style.Numbers = Operator_Style();
    style.Offset = Read_Cone_Offset(settings);
    return style;
}

int List(const Arguments& args, Settings_Store& settings, std::ostream& out) {
    const std::string folder = Folder_Of(args, settings.Paths(), "list");
    const Energy_Settings energy = Read_Energy_Settings(settings);
    const Report_Style style = Operator_Report_Style(settings);
    std::vector<std::vector<std::string>> rows(1);
    for (const char* title : Firing_List_Titles) rows[0].push_back(style.Label(title));
    rows[0].push_back(style.Label("Record"));
    for (const Firing_List_Entry& entry : List_Firing_Records(folder, energy)) {
        auto row = Firing_List_Row(entry, style);
        rows.emplace_back(row.begin(), row.end());
        rows.back().push_back(entry.File_Name);
    }
    Print_Table(rows, out);
    return 0;
}

// ---- health ----

// The columns of the health table and of its CSV: what the CSV calls them is in the
// operator's scale, with the unit in the name.
std::vector<std::string> Health_Titles(const std::string& scale) {
    std::vector<std::string> titles = {Said("Start"), Said("Profile")};
    for (const Health_Band& band : Health_Bands) {
        titles.push_back(
            scale == "C" ? Format_Whole(band.Low_C) + "-" + Format_Whole(band.High_C) + " C/h"
                         : Format_Number(band.Low_F) + "-" + Format_Number(band.High_F) + " F/h");
    }
    titles.push_back(Said("Full power (%)"));
    titles.push_back(Said("Ramp lag (%1)", {scale == "C" ? "C" : "F"}));
    for (const char* title : {"Last climb (min)", "Energy (kWh)", "Cost", "Outcome"}) {
        titles.push_back(Said(title));
    }
    return titles;
}

std::vector<std::string> Health_Csv_Titles(const std::string& scale) {
    std::vector<std::string> titles = {"start", "profile"};
    for (const Health_Band& band : Health_Bands) {
        titles.push_back(scale == "C" ? "rate_" + Format_Whole(band.Low_C) + "_" +
                                            Format_Whole(band.High_C) + "_C_per_h"
                                      : "rate_" + Format_Number(band.Low_F) + "_" +
                                            Format_Number(band.High_F) + "_F_per_h");
    }
    for (const char* title : {"full_power_percent", scale == "C" ? "ramp_lag_C" : "ramp_lag_F",
                              "last_climb_minutes", "energy_kWh", "cost", "outcome"}) {
        titles.push_back(title);
    }
    return titles;
}

// One firing's fields; a missing figure is `missing`. The table shows whole numbers, the
// CSV keeps a decimal more.
std::vector<std::string> Health_Fields(const Firing_Health& firing, const Energy_Settings& energy,
                                       const std::string& scale, bool csv) {
    const std::string missing = csv ? "" : "-";
    auto rounded = [&](const std::optional<double>& value) {
        if (!value) return missing;
        return csv ? Format_Number(std::round(*value * 10) / 10 + 0.0)
                   : Format_Whole(std::llround(*value));
    };
    auto money = [&](const std::optional<double>& value) {
        return value ? Format_00(*value) : missing;
    };
    std::vector<std::string> fields = {
        Format_Date_Minute(firing.Start),
        firing.Profile_Name.empty() ? missing
                                    : (csv ? Csv_Field(firing.Profile_Name) : firing.Profile_Name)};
    for (std::size_t m = 0; m < Health_Measure_Count; ++m) {
        const auto measure = static_cast<Health_Measure>(m);
        std::optional<double> value = Measure_Of(firing, measure);
        if (value) value = Measure_In_Scale(measure, *value, scale);
        fields.push_back(rounded(value));
    }
    fields.push_back(money(Health_Energy_kWh(firing, energy)));
    fields.push_back(money(Health_Cost(firing, energy)));
    const char* outcome = Firing_Outcome_Name(firing.Outcome);
    fields.push_back(csv ? outcome : Said(outcome));
    return fields;
}

int Health(const Arguments& args, Settings_Store& store, std::ostream& out, std::ostream& err) {
    const std::string format = args.Format.empty() ? "text" : args.Format;
    if (format != "text" && format != "csv") {
        throw Problem_Error{"--format must be text or csv, not " + format};
    }
    if (!args.Scale.empty() && args.Scale != "F" && args.Scale != "C") {
        throw Problem_Error{"--scale must be F or C, not " + args.Scale};
    }
    const std::string folder = Folder_Of(args, store.Paths(), "health");
    const Energy_Settings energy = Read_Energy_Settings(store);
    const Kiln_Health_Settings settings = Read_Kiln_Health_Settings(store);
    const std::vector<Firing_Health> firings = Health_Of_Folder(folder);
    const std::string scale = !args.Scale.empty() ? args.Scale
                              : firings.empty()   ? "F"
                                                  : firings.back().Temp_Scale;
    if (format == "csv") {
        auto line = [&](const std::vector<std::string>& fields) {
            for (std::size_t i = 0; i < fields.size(); ++i) out << (i ? "," : "") << fields[i];
            out << '\n';
        };
        line(Health_Csv_Titles(scale));
        for (const Firing_Health& firing : firings)
            line(Health_Fields(firing, energy, scale, true));
        return 0;
    }
    std::vector<std::vector<std::string>> rows{Health_Titles(scale)};
    for (const Firing_Health& firing : firings) {
        rows.push_back(Health_Fields(firing, energy, scale, false));
    }
    Print_Table(rows, out);

    std::vector<Problem> problems;
    const std::vector<Kiln_Event> events = Read_Kiln_Events(folder, &problems);
    for (const Problem& problem : problems) Report_Tool_Problem(err, Tool_Name, problem);
    out << '\n';
    if (events.empty()) {
        out << Said("No events marked.") << '\n';
    } else {
        std::vector<std::vector<std::string>> marked;
        for (const Kiln_Event& event : events) {
            marked.push_back({Format_Day(event.Date), Said(Kiln_Event_Name(event.Kind)), event.Note});
        }
        Print_Table(marked, out);
    }
    out << '\n';
    for (const Health_Reading& reading : Read_Kiln_Health(firings, events, settings, scale)) {
        out << reading.Text.Text(Translate_Phrase) << '\n';
    }
    return 0;
}

// ---- forecast ----

std::string Rate_Shown(double fahrenheit_per_hour, const std::string& scale) {
    return Temperature_Text(scale == "C" ? fahrenheit_per_hour * 5 / 9 : fahrenheit_per_hour,
                            scale) +
           "/h";
}
std::string Degrees_Shown(double fahrenheit, const std::string& scale) {
    return Temperature_Text(scale == "C" ? (fahrenheit - 32) * 5 / 9 : fahrenheit, scale);
}

// The model in a few lines: what it was learned from and how well it fits.
void Print_Model(const Kiln_Thermal_Model& model, const std::string& scale, std::ostream& out) {
    const std::string from = model.Oldest_Firing ? Format_Day(*model.Oldest_Firing) : "?";
    const std::string to = model.Newest_Firing ? Format_Day(*model.Newest_Firing) : "?";
    out << Said(model.Firings == 1 ? "Kiln model: %1 firing from %2 to %3"
                                   : "Kiln model: %1 firings from %2 to %3",
                {std::to_string(model.Firings), from, to})
        << '\n';
    std::size_t readings = 0, from_bands = 0;
    for (const Heating_Bin& bin : model.Heating) {
        readings += bin.Ticks;
        if (bin.Ticks == 0) ++from_bands;
    }
    const Heating_Bin &low = model.Heating.front(), &high = model.Heating.back();
    const double middle = (low.Low_F + high.Low_F + Model_Bin_F) / 2;
    out << "  "
        << Said("heating at full output: %1 at %2, %3 at %4, %5 at %6 (%7 stretches of %8 from %9 "
                "readings)",
                {Rate_Shown(low.Rate_F_Per_Hour, scale),
                 Degrees_Shown(low.Low_F + Model_Bin_F / 2, scale),
                 Rate_Shown(model.Full_Output_Rate(middle), scale), Degrees_Shown(middle, scale),
                 Rate_Shown(high.Rate_F_Per_Hour, scale),
                 Degrees_Shown(high.Low_F + Model_Bin_F / 2, scale),
                 std::to_string(model.Heating.size()),
                 Temperature_Text(scale == "C" ? Model_Bin_F * 5 / 9 : Model_Bin_F, scale),
                 std::to_string(readings)});
    if (from_bands > 0) {
        out << "; " << Said("%1 from the health bands", {std::to_string(from_bands)});
    }
    out << '\n';
    const std::string unit = scale == "C" ? " °C" : " °F";
    out << "  "
        << (model.Ramp_Lag_F
                ? Said("lag in ramps: %1 (%2 readings)",
                       {Temperature_Text(scale == "C" ? *model.Ramp_Lag_F * 5 / 9
                                                      : *model.Ramp_Lag_F,
                                         scale),
                        std::to_string(model.Lag_Ticks)})
                : Said("lag in ramps: none read"))
        << '\n';
    if (model.Cooling_Per_Hour) {
        const double off = scale == "C" ? model.Cooling_Rms_F_Per_Hour * 5 / 9
                                        : model.Cooling_Rms_F_Per_Hour;
        out << "  "
            << Said("cooling with the power off: dT/dt = -%1/h (T - %2), %3 steps, %4 off the "
                    "fit on average",
                    {Formatted("%.3f", *model.Cooling_Per_Hour), Degrees_Shown(model.Room_F, scale),
                     std::to_string(model.Cooling_Steps),
                     Format_Number(std::round(off * 10) / 10) + unit + "/h"})
            << '\n';
    } else {
        out << "  " << Said("cooling with the power off: not enough readings") << '\n';
    }
}

int Forecast(std::vector<std::string> rest, Settings_Store& settings, std::ostream& out) {
    const auto csv_flag = std::find(rest.begin(), rest.end(), "--csv");
    const bool csv = csv_flag != rest.end();
    if (csv) rest.erase(csv_flag);
    const Arguments args = Parse_Arguments(rest, "forecast", {});
    if (args.Files.empty() || args.Files.size() > 2) {
        throw Problem_Error{"forecast needs a PROFILE and at most one FOLDER"};
    }
    Firing_Record_Header profile;
    if (!Header_Of_Profile_File(args.Files[0], profile) || profile.Plan.size() < 2) {
        throw Problem_Error{args.Files[0] + ": not a readable profile"};
    }
    std::error_code error;
    const std::string folder =
        args.Files.size() == 2 ? args.Files[1] : settings.Paths().Logfiles_Folder();
    const bool is_folder = std::filesystem::is_directory(folder, error);
    if (args.Files.size() == 2 && !is_folder) throw Problem_Error{folder + ": not a folder"};
    const Kiln_Thermal_Model model = is_folder ? Kept_Kiln_Model(folder) : Kiln_Thermal_Model{};

    const std::string& scale = profile.Temp_Scale;
    const std::string& unit = profile.Time_Unit;
    const auto& [start, first_temperature] = profile.Plan[First_Drawn_Plan_Point(profile.Plan)];
    const Firing_Forecast forecast =
        Forecast_Firing(&model, profile.Plan, scale, unit, start, first_temperature);
    if (csv) {
        out << (unit == "H" ? "elapsed_h" : "elapsed_min") << ",temperature_" << scale << '\n';
        const double places = unit == "H" ? 1000 : 10;
        for (const auto& [elapsed, degrees] : forecast.Curve) {
            out << Format_Number(std::round(elapsed * places) / places + 0.0) << ','
                << Format_Number(std::round(degrees * 10) / 10 + 0.0) << '\n';
        }
        return 0;
    }
    const double unit_seconds = Seconds_Per_Time_Unit(unit);
    auto after = [&](double elapsed) {
        return Duration_Text(std::llround((elapsed - start) * unit_seconds));
    };
    out << Said("Forecast of %1 from the firing records in %2",
                {File_Name_Of_Path(args.Files[0]), folder})
        << '\n';
    if (forecast.From_History) {
        Print_Model(model, scale, out);
    } else {
        out << Said("No firings of this kiln to learn from: the times are the plan's.") << '\n';
    }
    out << Said("Plan ends after %1", {after(forecast.Plan_End)});
    if (forecast.Late(unit)) {
        out << "; "
            << Said("likely after %1, %2 late",
                    {after(forecast.Likely_End),
                     Duration_Text(std::llround(forecast.Late_By() * unit_seconds))});
        if (!forecast.Why.Empty()) out << ": " << forecast.Why.Text(Translate_Phrase);
    } else if (forecast.From_History) {
        out << "; " << Said("the kiln keeps to the plan");
    }
    out << '\n';
    if (forecast.Peak_Reached) {
        double top = first_temperature;
        for (const auto& point : profile.Plan) top = std::max(top, point.second);
        out << Said(forecast.From_History ? "Top %1 likely reached after %2"
                                          : "Top %1 reached after %2",
                    {Temperature_Text(top, scale), after(*forecast.Peak_Reached)})
            << '\n';
    }
    out << '\n';
    std::vector<std::vector<std::string>> rows{{Said("Elapsed"), Said("Temperature")}};
    for (const auto& [elapsed, degrees] : forecast.Curve) {
        rows.push_back({after(elapsed), Temperature_Text(degrees, scale)});
    }
    Print_Table(rows, out);
    return 0;
}

int Show(const Firing_Record& record, const Energy_Settings& energy, const Report_Style& style,
         std::ostream& out) {
    for (const std::string& line :
         Firing_Report_Lines(record, Summarise(record, energy), style,
                             Read_Firing_Notes(record.Path), Read_Witness_Cones(record.Path))) {
        out << line << '\n';
    }
    return 0;
}

int Export(const Firing_Record& record, const Energy_Settings& energy, const std::string& format,
           std::ostream& out) {
    if (format == "csv") {
        out << Firing_Record_Columns << '\n';
        for (const Firing_Record_Line& line : record.Lines) {
            std::string text = Firing_Record_Line_Text(line);
            text.erase(text.size() - 2);  // the CR LF
            if (!line.Has_Clock) text.erase(0, text.find(','));
            out << text << '\n';
        }
        return 0;
    }
    const Firing_Record_Header& h = record.Header;
    const Firing_Summary s = Summarise(record, energy);
    auto number_or_null = [](const std::optional<double>& value) {
        return value ? Format_Number(*value) : std::string("null");
    };
    out << "{\"header\":{\"program\":" << Json_String(h.Program)
        << ",\"kiln\":" << Json_String(h.Kiln_Name)
        << ",\"profile\":" << Json_String(h.Profile_Name)
        << ",\"profile_checksum\":" << Json_String(h.Profile_Checksum)
        << ",\"sensor\":" << Json_String(h.Sensor_Type)
        << ",\"scale\":" << Json_String(h.Temp_Scale)
        << ",\"time_unit\":" << Json_String(h.Time_Unit)
        << ",\"tick_length_s\":" << Format_Number(h.Tick_Length)
        << ",\"started\":" << Json_String(h.Started) << ",\"plan\":[";
    for (std::size_t i = 0; i < h.Plan.size(); ++i) {
        out << (i ? "," : "") << '[' << Format_Number(h.Plan[i].first) << ','
            << Format_Number(h.Plan[i].second) << ']';
    }
    out << "]},\n\"summary\":{\"duration_s\":" << Format_Number(s.Duration_Seconds)
        << ",\"peak\":" << (s.Has_Peak ? Format_Number(s.Peak) : "null")
        << ",\"near_peak_s\":" << Format_Number(s.Seconds_Near_Peak)
        << ",\"energy_kwh\":" << number_or_null(s.Energy_kWh)
        << ",\"cost\":" << number_or_null(s.Cost)
        << ",\"outcome\":" << Json_String(Firing_Outcome_Name(s.Outcome))
        << ",\"skipped_lines\":" << record.Problems.size()
        << "},\n\"notes\":" << Json_String(Read_Firing_Notes(record.Path)) << ",\n\"lines\":[";
    for (std::size_t i = 0; i < record.Lines.size(); ++i) {
        const Firing_Record_Line& line = record.Lines[i];
        out << (i ? ",\n" : "\n")
            << "{\"clock\":" << (line.Has_Clock ? Json_String(Line_Clock(line)) : "null")
            << ",\"elapsed\":" << Format_Number(line.Elapsed) << ",\"segment\":" << line.Segment
            << ",\"set_value\":" << Format_Number(line.Set_Value)
            << ",\"measured\":" << Format_Number(line.Measured)
            << ",\"output_percent\":" << Format_Number(line.Output_Percent)
            << ",\"event\":" << Json_String(line.Event)
            << ",\"detail\":" << Json_String(line.Detail) << '}';
    }
    out << "]}\n";
    return 0;
}

int Run(const std::vector<std::string>& args, const std::string& program_folder,
        const Chart_File_Writer& write_chart, std::ostream& out, std::ostream& err) {
    if (args.empty())
        throw Problem_Error{
            "no command given (list, show, export, plot, health or forecast); see --help"};
    const std::string& command = args[0];
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    // The tool's one store of the program folder's settings, read only.
    Settings_Store settings{Program_Paths(program_folder)};
    Use_Language_Program_Folder(settings.Paths());
    Use_Chosen_Language(settings);
    if (command == "list") return List(Parse_Arguments(rest, command, {}), settings, out);
    if (command == "health") {
        return Health(Parse_Arguments(rest, command, {"--format", "--scale"}), settings, out, err);
    }
    if (command == "forecast") return Forecast(rest, settings, out);
    if (command != "show" && command != "export" && command != "plot") {
        throw Problem_Error{"unknown command " + command +
                            " (list, show, export, plot, health or forecast)"};
    }
    const Arguments parsed =
        Parse_Arguments(rest, command,
                        command == "show"     ? std::vector<std::string>{"--profile"}
                        : command == "export" ? std::vector<std::string>{"--profile", "--format"}
                                              : std::vector<std::string>{"--profile", "-o"});
    if (parsed.Files.empty() || (command != "plot" && parsed.Files.size() != 1)) {
        throw Problem_Error{command + (command == "plot" ? " needs at least one RECORD"
                                                         : " needs exactly one RECORD")};
    }
    if (command == "export" && parsed.Format.empty()) {
        throw Problem_Error{"export needs --format csv or --format json"};
    }
    if (command == "export" && parsed.Format != "csv" && parsed.Format != "json") {
        throw Problem_Error{"--format must be csv or json, not " + parsed.Format};
    }
    std::string extension;
    if (command == "plot") {
        if (parsed.Output.empty()) throw Problem_Error{"plot needs -o OUT.png, OUT.svg or OUT.pdf"};
        extension = std::filesystem::path(parsed.Output).extension().string();
        if (extension != ".png" && extension != ".svg" && extension != ".pdf") {
            throw Problem_Error{"-o must end in .png, .svg or .pdf: " + parsed.Output};
        }
        if (!write_chart) throw Problem_Error{"plot needs a build with Qt"};
    }
    const Firing_Record_Header plan = Plan_Of(parsed.Profile);
    const Energy_Settings energy = Read_Energy_Settings(settings);
    std::vector<Firing_Record> records;
    for (const std::string& file : parsed.Files) records.push_back(Read_Or_Fail(file, plan, err));
    if (command == "show") return Show(records[0], energy, Operator_Report_Style(settings), out);
    if (command == "export") return Export(records[0], energy, parsed.Format, out);
    std::vector<const Firing_Record*> shown;
    std::vector<Firing_Summary> summaries;
    for (const Firing_Record& record : records) {
        shown.push_back(&record);
        summaries.push_back(Summarise(record, energy));
    }
    Firing_Chart chart = Build_Firing_Chart(shown);
    Label_Firing_Chart(chart, shown, summaries, Operator_Report_Style(settings));
    std::string problem = write_chart(chart, parsed.Output);
    if (!problem.empty()) throw Problem_Error{parsed.Output + ": " + problem};
    return 0;
}

}  // namespace

int Run_Log_Tool(const std::vector<std::string>& args, const std::string& program_folder,
                 const Chart_File_Writer& write_chart, std::ostream& out, std::ostream& err) {
    for (const std::string& arg : args) {
        if (arg == "--help" || arg == "-h" || (arg == "help" && &arg == &args[0])) {
            out << Usage;
            return 0;
        }
    }
    try {
        return Run(args, program_folder, write_chart, out, err);
    } catch (const Problem_Error& error) {
        Report_Tool_Problem(err, Tool_Name, error.Carried);
        return 2;
    }
}

}  // namespace corvanel
