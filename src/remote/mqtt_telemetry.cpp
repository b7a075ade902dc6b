// SPDX-License-Identifier: GPL-3.0-or-later
#include "remote/mqtt_telemetry.h"

#include <cctype>

#include "remote/status_json.h"

namespace corvanel {

std::string Topic_Slug(std::string_view name) {
    std::string slug;
    for (char c : name) {
        if (std::isalnum(static_cast<unsigned char>(c)) && static_cast<unsigned char>(c) < 0x80) {
            slug += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        } else if (!slug.empty() && slug.back() != '_') {
            slug += '_';
        }
    }
    while (!slug.empty() && slug.back() == '_') slug.pop_back();
    return slug.empty() ? "kiln" : slug;
}

std::string Default_Topic_Prefix(const std::string& kiln_name) {
    return "corvanel/" + Topic_Slug(kiln_name);
}

Mqtt_Telemetry::Mqtt_Telemetry(const Status_Snapshot& snapshot, std::string prefix, bool discovery,
                               std::function<void(const Mqtt_Message&)> publish)
    : Snapshot_(snapshot),
      Prefix_(std::move(prefix)),
      Discovery_(discovery),
      Publish_(std::move(publish)),
      // Publishing turned on in the middle of a firing: its end is still told.
      In_Firing_(snapshot.Status().Run_Active()) {}

Mqtt_Message Mqtt_Telemetry::State() const {
    return {Prefix_ + "/state", Status_Json(Snapshot_), 0, true};
}

Mqtt_Message Mqtt_Telemetry::Last_Will() const {
    return {Prefix_ + "/availability", "offline", 1, true};
}

void Mqtt_Telemetry::Connected() {
    Publish_({Prefix_ + "/availability", "online", 1, true});
    if (Discovery_) {
        for (const Mqtt_Message& config : Discovery_Configs()) Publish_(config);
        Scale_ = Snapshot_.Status().Temp_Scale;
    }
    Publish_(State());
}

void Mqtt_Telemetry::Firing_Message(const std::string& event, const std::string& outcome,
                                    const std::string& detail) {
    const Firing_Status& status = Snapshot_.Status();
    std::string payload = "{\"event\":" + Json_String(event) +
                          ",\"profile\":" + Json_String(status.Profile_Name) +
                          ",\"elapsed\":" + Json_Number(status.Elapsed) +
                          ",\"clock\":" + Json_String(Format_Date_Minute(status.Clock));
    if (!outcome.empty()) payload += ",\"outcome\":" + Json_String(outcome);
    if (!detail.empty()) payload += ",\"detail\":" + Json_String(detail);
    Publish_({Prefix_ + "/firing", payload + "}", 1, false});
}

void Mqtt_Telemetry::Firing_Changed(const Firing_Status& status, Firing_Event event,
                                    const std::string& detail) {
    switch (event) {
        case Firing_Event::Start:
        case Firing_Event::Recall_Resume:
            if (!In_Firing_) Firing_Message("start", "");
            In_Firing_ = true;
            break;
        case Firing_Event::Finished:
        case Firing_Event::Soft_Off:
            if (In_Firing_) {
                Firing_Message("end", event == Firing_Event::Finished ? "finished" : "soft off");
            }
            In_Firing_ = false;
            break;
        // The operator changed the firing: "skip", "hold extended", "segment changed".
        case Firing_Event::Segment_Skipped:
        case Firing_Event::Hold_Extended:
        case Firing_Event::Segment_Changed:
            Firing_Message(Firing_Event_Name(event), "", detail);
            break;
        case Firing_Event::Alarm_Raised:
        case Firing_Event::Alarm_Cleared:
            Publish_({Prefix_ + "/alarm",
                      "{\"alarm\":" + Json_String(detail) + ",\"raised\":" +
                          (event == Firing_Event::Alarm_Raised ? "true" : "false") +
                          ",\"clock\":" + Json_String(Format_Date_Minute(status.Clock)) + "}",
                      1, false});
            break;
        case Firing_Event::Profile_Loaded:
            // A profile in the other scale changes the temperature sensors' unit.
            if (Discovery_ && !Scale_.empty() && status.Temp_Scale != Scale_) {
                for (const Mqtt_Message& config : Discovery_Configs()) Publish_(config);
                Scale_ = status.Temp_Scale;
            }
            break;
        default:
            break;
    }
    Publish_(State());
}

std::vector<Mqtt_Message> Mqtt_Telemetry::Discovery_Configs() const {
    struct Sensor {
        const char *Field, *Name, *Template, *Unit, *Device_Class;
    };
    const std::string Degrees = Snapshot_.Status().Temp_Scale == "C" ? "°C" : "°F";
    const Sensor Sensors[] = {
        {"measured", "Measured temperature", "{{ value_json.measured }}", "T", "temperature"},
        {"set_value", "Set value", "{{ value_json.set_value }}", "T", "temperature"},
        {"output", "Output", "{{ value_json.output }}", "%", ""},
        {"segment", "Segment", "{{ value_json.segment }}", "", ""},
        {"time_left", "Time left", "{{ (value_json.seconds_left / 60) | round(0) }}", "min",
         "duration"},
        {"state", "State", "{{ value_json.state }}", "", ""},
    };
    const std::string Kiln =
        Snapshot_.Status().Kiln_Name.empty() ? "Kiln" : Snapshot_.Status().Kiln_Name;
    const std::string Id = Topic_Slug(Prefix_);  // "corvanel_studio_kiln"
    std::vector<Mqtt_Message> configs;
    for (const Sensor& sensor : Sensors) {
        std::string unit = std::string(sensor.Unit) == "T" ? Degrees : sensor.Unit;
        std::string config = "{\"name\":" + Json_String(sensor.Name) +
                             ",\"unique_id\":" + Json_String(Id + "_" + sensor.Field) +
                             ",\"state_topic\":" + Json_String(Prefix_ + "/state") +
                             ",\"value_template\":" + Json_String(sensor.Template) +
                             ",\"availability_topic\":" + Json_String(Prefix_ + "/availability");
        if (!unit.empty()) config += ",\"unit_of_measurement\":" + Json_String(unit);
        if (*sensor.Device_Class) {
            config += ",\"device_class\":" + Json_String(sensor.Device_Class);
        }
        if (!unit.empty()) config += ",\"state_class\":\"measurement\"";
        if (std::string(sensor.Field) == "measured") {
            // Unknown without a fresh reading (null in the state); how old it is, beside.
            config += ",\"json_attributes_topic\":" + Json_String(Prefix_ + "/state") +
                      ",\"json_attributes_template\":" +
                      Json_String(
                          "{{ {'reading': value_json.reading, 'reading_age_seconds': "
                          "value_json.reading_age_seconds} | tojson }}");
        }
        config += ",\"device\":{\"identifiers\":[" + Json_String(Id) +
                  "],\"name\":" + Json_String(Kiln) +
                  ",\"manufacturer\":\"Corvanel\",\"model\":\"Kiln controller\"}}";
        configs.push_back(
            {"homeassistant/sensor/" + Id + "/" + sensor.Field + "/config", config, 1, true});
    }
    return configs;
}

}  // namespace corvanel
