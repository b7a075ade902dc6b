// SPDX-License-Identifier: GPL-3.0-or-later
#include "remote/status_json.h"

#include <cmath>
#include <cstdio>

#include "common/text.h"

namespace corvanel {

std::string Json_String(std::string_view text) {
    std::string json = "\"";
    for (char c : text) {
        switch (c) {
            case '"':
                json += "\\\"";
                break;
            case '\\':
                json += "\\\\";
                break;
            case '\n':
                json += "\\n";
                break;
            case '\r':
                json += "\\r";
                break;
            case '\t':
                json += "\\t";
                break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    char escaped[8];
                    std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
                    json += escaped;
                } else {
                    json += c;
                }
        }
    }
    return json + "\"";
}

std::string Json_Number(double value) {
    return std::isfinite(value) ? Format_Number(value) : "null";
}

namespace {

std::string Field(const char* name, const std::string& json) {
    return std::string("\"") + name + "\":" + json;
}

}  // namespace

std::string Status_Json(const Status_Snapshot& snapshot) {
    const Firing_Status& status = snapshot.Status();
    std::string alarms;
    for (const std::string& alarm : status.Alarms) {
        alarms += (alarms.empty() ? "" : ",") + Json_String(alarm);
    }
    std::string plan;
    for (const auto& [elapsed, temperature] : *status.Plan) {
        plan += (plan.empty() ? "[" : ",[") + Json_Number(elapsed) + "," +
                Json_Number(temperature) + "]";
    }
    std::optional<Date_Time> finish = snapshot.Finish_Time();
    const std::vector<Trace_Point>& trace = snapshot.Trace();
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
        Field("clock", Json_String(Format_Date_Minute(status.Clock))),
        Field("set_value", Json_Number(status.Set_Value)),
        Field("measured", Json_Number(status.Measured)),
        Field("output", Json_Number(status.Output_Percent)),
        Field("error_limit", Json_Number(status.Error_Limit)),
        Field("scale", Json_String(status.Temp_Scale)),
        Field("time_unit", Json_String(status.Time_Unit)),
        Field("tick_seconds", Json_Number(status.Tick_Length)),
        Field("exchange_failed", status.Exchange_Failed ? "true" : "false"),
        Field("input_error", status.Input_Error ? "true" : "false"),
        Field("alarms", "[" + alarms + "]"),
        Field("plan", "[" + plan + "]"),
        Field("trace_points", Json_Number(static_cast<double>(trace.size()))),
        Field("last_trace_elapsed", trace.empty() ? "null" : Json_Number(trace.back().Elapsed)),
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
