// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "common/platform.h"
#include "history/kiln_events.h"
#include "history/kiln_health.h"
#include "history/kiln_health_reading.h"
#include "history/kiln_health_settings.h"
#include "setup/program_paths.h"
#include "setup/settings_store.h"

namespace corvanel {

// The Kiln Health window without its widgets: each figure of the kiln's firings as a
// trend over the dates, the baseline it is read against, the events the operator marked,
// and the reading in plain words.
class Kiln_Health_Model : public Message_Area {
  public:
    Kiln_Health_Model(Program_Paths paths, Settings_Store& settings);

    // Reads the figures (worked out and kept where they were not), the events and the
    // settings, and shows the chosen measure.
    void Form_Load();
    void Measure_Chosen(Health_Measure measure);
    // The operator marks what was done to the kiln on a day ("2027-03-12"); it starts a
    // new baseline.
    void Mark_Event_Click(Kiln_Event_Kind kind, const std::string& day, const std::string& note);

    // What the window shows.
    Health_Measure Measure = Health_Measure::Rate_Band_3;
    std::string Scale = "F";  // the latest firing's
    std::string Measure_Title;
    struct Trend_Point {
        long long Day = 0;  // seconds of the firing's start
        double Value = 0;
        bool In_Baseline = false;
    };
    std::vector<Trend_Point> Trend;  // the chosen measure, in the operator's scale
    std::optional<double> Baseline;  // its mean over the baseline's firings
    struct Event_Mark {
        long long Day = 0;
        std::string Text;  // "elements replaced", translated
    };
    std::vector<Event_Mark> Events;
    std::string Readings;  // the reading, one line each, translated
    std::string Messages;  // the message area
    std::size_t Firings = 0;

    void Display(const std::string& text) override;
    void Clear() override { Messages.clear(); }

  private:
    void Show_Measure();
    bool Measure_Picked_ = false;  // by the operator, since the window was made

    Program_Paths Paths_;
    Settings_Store& Settings_;
    Kiln_Health_Settings Health_Settings_;
    std::vector<Firing_Health> Firings_;
    std::vector<Kiln_Event> Events_;
};

}  // namespace corvanel
