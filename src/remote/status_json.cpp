// SPDX-License-Identifier: GPL-3.0-or-later
#include "remote/status_json.h"

#include <cmath>
#include <cstdio>

#include "common/quantity_text.h"
#include "common/text.h"
#include "language/translate.h"
#include "remote/status_words.h"
#include "run/firing_forecast.h"

namespace corvanel {

namespace {

std::string Field(const char* name, const std::string& json) {
    return std::string("\"") + name + "\":" + json;
}

const char* Reading_Name(Firing_Status::Reading reading) {
    switch (reading) {
        case Firing_Status::Reading::Live:
            return "live";
        case Firing_Status::Reading::Stale:
            return "stale";
        case Firing_Status::Reading::Absent:
            break;
    }
    return "absent";
}

}  // namespace

std::string Reading_Note(const Firing_Status& status, const Date_Time& now) {
    switch (status.Reading_At(now)) {
        case Firing_Status::Reading::Live:
            return "";
        case Firing_Status::Reading::Stale: {
            const double age = status.Reading_Age(now);
            return TranslateText("No reading for") + " " + Duration_Shown(age);
        }
        case Firing_Status::Reading::Absent:
            break;
    }
    return TranslateText(status.Input_Error ? "No reading: the thermocouple is open"
                                            : "No reading from the controller");
}

std::string Status_Json(const Status_Snapshot& snapshot, long long later) {
    const Firing_Status& status = snapshot.Status();
    const Date_Time now = Date_Time_Of_Seconds(Seconds_Of(status.Clock) + later);
    std::string alarms;
    for (const std::string& alarm : status.Alarms) {
        alarms += (alarms.empty() ? "" : ",") + Json_String(alarm);
    }
    std::string plan;
    for (std::size_t p = First_Drawn_Plan_Point(*status.Plan); p < status.Plan->size(); ++p) {
        const auto& [elapsed, temperature] = (*status.Plan)[p];
        plan += (plan.empty() ? "[" : ",[") + Json_Number(elapsed) + "," +
                Json_Number(temperature) + "]";
    }
    std::string forecast;
    if (status.Forecast && status.Forecast->From_History) {
        for (const auto& [elapsed, temperature] : status.Forecast->Curve) {
            forecast += (forecast.empty() ? "[" : ",[") + Json_Number(elapsed) + "," +
                        Json_Number(temperature) + "]";
        }
    }
    std::optional<Date_Time> finish = snapshot.Finish_Time();
    const std::vector<Trace_Point>& trace = snapshot.Trace();
    // The measured value only while it is fresh: an old one is the last one, with its age.
    const Firing_Status::Reading reading = status.Reading_At(now);
    const double no_value = std::nan("");
    std::vector<std::string> fields = {
        Field("kiln", Json_String(status.Kiln_Name)),
        Field("state", Json_String(snapshot.State_Name())),
        Field("profile", Json_String(status.Profile_Name)),
        Field("segment", Json_Number(status.Segment)),
        Field("elapsed", Json_Number(status.Elapsed)),
        Field("total_time", Json_Number(status.Total_Time)),
        Field("time_left", Json_Number(status.Time_Left())),
        Field("seconds_left", Json_Number(std::round(snapshot.Seconds_Left()))),
        Field("finish_time", finish ? Json_String(Format_Date_Minute(*finish)) : "null"),
        Field("starts_at",
              status.Starts_At ? Json_String(Format_Date_Minute(*status.Starts_At)) : "null"),
        Field("clock", Json_String(Format_Date_Minute(status.Clock))),
        Field("set_value", Json_Number(status.Set_Value)),
        Field("measured",
              Json_Number(reading == Firing_Status::Reading::Live ? status.Measured : no_value)),
        Field("output", Json_Number(status.Output_Percent)),
        Field("error_limit", Json_Number(status.Error_Limit)),
        Field("scale", Json_String(status.Temp_Scale)),
        Field("time_unit", Json_String(status.Time_Unit)),
        Field("tick_seconds", Json_Number(status.Tick_Length)),
        Field("exchange_failed", status.Exchange_Failed ? "true" : "false"),
        Field("input_error", status.Input_Error ? "true" : "false"),
        Field("alarms", "[" + alarms + "]"),
        Field("plan", "[" + plan + "]"),
        // The measured temperature the kiln's history foresees from now on.
        Field("forecast", forecast.empty() ? "[]" : forecast + "]"),
        Field("trace_points", Json_Number(static_cast<double>(trace.size()))),
        Field("last_trace_elapsed", trace.empty() ? "null" : Json_Number(trace.back().Elapsed)),
        // 1: every control tick; a long firing's trace keeps one tick in this many.
        Field("trace_ticks_per_point",
              Json_Number(static_cast<double>(snapshot.Trace_Ticks_Per_Point()))),
        Field("reading", Json_String(Reading_Name(reading))),
        Field("reading_age_seconds",
              status.Has_Reading ? Json_Number(status.Reading_Age(now)) : "null"),
        Field("last_measured",
              Json_Number(reading == Firing_Status::Reading::Absent ? no_value : status.Measured)),
        Field("measured_note", Json_String(Reading_Note(status, now))),
        Field("text", Status_Words_Json(snapshot, now)),
    };
    std::string json = "{";
    for (const std::string& field : fields) json += (json.size() > 1 ? "," : "") + field;
    return json + "}";
}

std::string Trace_Json(const Status_Snapshot& snapshot, double since) {
    std::string points;
    for (const Trace_Point& point : snapshot.Trace_After(since)) {
        points += (points.empty() ? "[" : ",[") + Json_Number(point.Elapsed) + "," +
                  Json_Number(point.Set_Value) + "," + Json_Number(point.Measured) + "]";
    }
    return "{\"points\":[" + points + "]}";
}

}  // namespace corvanel
