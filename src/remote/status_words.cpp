// SPDX-License-Identifier: GPL-3.0-or-later
#include "remote/status_words.h"

#include <utility>
#include <vector>

#include "common/quantity_text.h"
#include "language/operator_style.h"
#include "language/show_problem.h"
#include "language/translate.h"
#include "remote/status_json.h"
#include "run/firing_chart.h"
#include "run/firing_forecast.h"
#include "run/forecast_words.h"

namespace corvanel {

namespace {

std::string Field(const char* name, const std::string& text) {
    return std::string("\"") + name + "\":" + Json_String(text);
}

// Whether the chart's lines hold every control tick or, in a long firing, one in so many.
std::string Trace_Words(std::size_t ticks_per_point, const Number_Style& style) {
    if (ticks_per_point <= 1) return TranslateText("The chart shows every control tick.");
    return Operator_Text::Phrase(
               "The firing is long: the chart shows one control tick in %1.",
               {Operator_Text::Value(Number_Shown(static_cast<double>(ticks_per_point), 0, style))})
        .Text(Translate_Phrase);
}

}  // namespace

std::string Html_Text(std::string_view text) {
    std::string html;
    for (char c : text) {
        switch (c) {
            case '&':
                html += "&amp;";
                break;
            case '<':
                html += "&lt;";
                break;
            case '>':
                html += "&gt;";
                break;
            case '"':
                html += "&quot;";
                break;
            default:
                html += c;
        }
    }
    return html;
}

std::string State_Text(const Status_Snapshot& snapshot) {
    const Firing_Status& status = snapshot.Status();
    using End = Status_Snapshot::Run_End;
    const bool by_alarm = snapshot.Ended() == End::Alarm;
    // What the kiln needs most: a silent controller and an alarm come before the run.
    if (status.Exchange_Failed) return TranslateText("Controller lost");
    switch (status.State) {
        case Firing_State::Running:
            return TranslateText(status.Alarms.empty() ? "Firing" : "Firing, alarm");
        case Firing_State::Suspended:
            return TranslateText("Suspended");
        case Firing_State::Cooling:
            return TranslateText(by_alarm ? "Ended by an alarm, cooling" : "Cooling");
        case Firing_State::Monitor:
            // An alarm outside a firing is news; how the last firing ended is not.
            if (!status.Alarms.empty()) return TranslateText("Alarm");
            if (status.Starts_At) {
                return Operator_Text::Phrase(
                           "Waiting to start at %1",
                           {Operator_Text::Value(
                               Clock_Shown(*status.Starts_At, status.Clock, Operator_Style()))})
                    .Text(Translate_Phrase);
            }
            break;
    }
    switch (snapshot.Ended()) {
        case End::Finished:
            return TranslateText("Finished");
        case End::Alarm:
            return TranslateText("Ended by an alarm");
        case End::Stopped:
            return TranslateText("Stopped");
        case End::None:
            break;
    }
    return TranslateText(status.Alarms.empty() ? "Not firing" : "Alarm");
}

std::string Status_Words_Json(const Status_Snapshot& snapshot, const Date_Time& now) {
    const Firing_Status& status = snapshot.Status();
    const Number_Style style = Operator_Style();
    const bool loaded = !status.Profile_Name.empty();
    std::string problem;
    for (const std::string& alarm : status.Alarms) {
        problem += (problem.empty() ? "" : ", ") + TranslateText(alarm);
    }
    if (problem.empty() && status.Exchange_Failed) {
        problem = TranslateText(
            "The controller does not answer: check its power and the cable to this computer.");
    }
    const Firing_Status::Reading reading = status.Reading_At(now);
    const std::optional<Date_Time> finish = snapshot.Finish_Time();
    // Where the kiln's history foresees another finish than the plan's, its words.
    const Forecast_Words ahead = Forecast_Words_Of(status, style);
    const bool foreseen = status.Forecast && status.Forecast->From_History && !ahead.Note.empty();
    const std::vector<std::string> fields = {
        Field("state", State_Text(snapshot)),
        Field("measured", reading == Firing_Status::Reading::Absent
                              ? "----"
                              : Temperature_Shown(status.Measured, status.Temp_Scale, style)),
        Field("set_value", Temperature_Shown(status.Set_Value, status.Temp_Scale, style)),
        Field("elapsed",
              loaded ? Duration_Shown(status.Elapsed * Seconds_Per_Time_Unit(status.Time_Unit))
                     : "-"),
        // A time left belongs to a firing that runs; after its end there is none.
        Field("time_left", !status.Run_Active() ? "-"
                           : foreseen           ? ahead.Time_Left
                                                : Duration_Shown(snapshot.Seconds_Left())),
        Field("finish_time", foreseen ? ahead.Finishes_At
                             : finish ? Clock_Shown(*finish, status.Clock, style)
                                      : "-"),
        Field("output", Number_Shown(status.Output_Percent, 0, style) + " %"),
        Field("segment", status.Segment > 0 ? Number_Shown(status.Segment, 0, style) : "-"),
        Field("change", Operator_Text_Shown(status.Last_Change)),
        Field("forecast", ahead.Note.empty() ? Cooling_Words_Of(status, style) : ahead.Note),
        Field("cone", Operator_Text_Shown(status.Cone)),
        Field("problem", problem),
        Field("title", Firing_Title(status, style)),
        Field("time_axis", TranslateText(Time_Axis_Title(status.Time_Unit))),
        Field("temperature_axis", TranslateText(Temperature_Axis_Title(status.Temp_Scale))),
        Field("trace", Trace_Words(snapshot.Trace_Ticks_Per_Point(), style)),
    };
    std::string json = "{";
    for (const std::string& field : fields) json += (json.size() > 1 ? "," : "") + field;
    return json + "}";
}

std::string Page_In_Language(std::string_view page) {
    const std::vector<std::pair<std::string, std::string>> labels = {
        {"{{lang}}", CurrentLanguage == "german"                               ? "de"
                     : CurrentLanguage == "spanish"                            ? "es"
                     : CurrentLanguage.empty() || CurrentLanguage == "english" ? "en"
                                                                               : ""},
        {"{{kiln_status}}", TranslateText("Kiln status")},
        {"{{measured}}", TranslateText("Measured")},
        {"{{set_value}}", TranslateText("Set Value")},
        {"{{profile}}", TranslateText("Profile")},
        {"{{segment}}", TranslateText("Segment")},
        {"{{elapsed}}", TranslateText("Elapsed")},
        {"{{time_left}}", TranslateText("Time Left")},
        {"{{finish_time}}", TranslateText("Finish time")},
        {"{{output}}", TranslateText("Output")},
        {"{{change}}", TranslateText("Changed by the operator")},
        {"{{plan}}", TranslateText("Plan")},
        {"{{forecast}}", TranslateText("Likely, from this kiln's firings")},
        {"{{cone}}", TranslateText("Cone by heat-work")},
        {"{{chart}}", TranslateText("Temperature chart")},
        {"{{no_chart}}",
         TranslateText("The chart starts when a profile is opened or a firing starts.")},
        {"{{unreachable}}",
         TranslateText("The kiln's computer does not answer: check that the program runs and "
                       "that this phone is on the same network.")},
    };
    std::string html(page);
    for (const auto& [name, label] : labels) {
        const std::string escaped = Html_Text(label);
        for (std::size_t at = html.find(name); at != std::string::npos;
             at = html.find(name, at + escaped.size())) {
            html.replace(at, name.size(), escaped);
        }
    }
    return html;
}

}  // namespace corvanel
