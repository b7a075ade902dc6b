// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/kiln_health_model.h"

#include <algorithm>

#include "common/text.h"
#include "language/show_problem.h"
#include "language/translate.h"

namespace corvanel {

Kiln_Health_Model::Kiln_Health_Model(Program_Paths paths, Settings_Store& settings)
    : Paths_(std::move(paths)), Settings_(settings) {}

void Kiln_Health_Model::Display(const std::string& text) {
    Append_Message(Messages, text);
}

void Kiln_Health_Model::Form_Load() {
    Clear();
    std::vector<Problem> problems;
    Health_Settings_ = Read_Kiln_Health_Settings(Settings_, &problems);
    Firings_ = Health_Of_Folder(Paths_.Logfiles_Folder());
    Events_ = Read_Kiln_Events(Paths_.Logfiles_Folder(), &problems);
    for (const Problem& problem : problems) Show_Problem(*this, problem);
    Firings = Firings_.size();
    Scale = Firings_.empty() ? "F" : Firings_.back().Temp_Scale;
    std::vector<std::string> lines;
    if (Firings_.empty()) {
        lines.push_back(TranslateText(
            "No firings are recorded yet: the kiln's health is read from its firing records."));
    } else {
        const std::vector<Health_Reading> readings =
            Read_Kiln_Health(Firings_, Events_, Health_Settings_, Scale);
        for (const Health_Reading& reading : readings) {
            lines.push_back(Operator_Text_Shown(reading.Text));
        }
        // The trend opens on the figure the reading names, until the operator picks one.
        if (!Measure_Picked_ && readings.front().Measure) Measure = *readings.front().Measure;
    }
    Readings = Join_Lines(lines);
    Show_Measure();
}

void Kiln_Health_Model::Measure_Chosen(Health_Measure measure) {
    Measure = measure;
    Measure_Picked_ = true;
    Show_Measure();
}

void Kiln_Health_Model::Show_Measure() {
    Measure_Title = Operator_Text_Shown(Measure_Name(Measure, Scale));
    const Health_Baseline baseline = Baseline_Of(Firings_, Events_, Health_Settings_);
    Trend.clear();
    for (std::size_t i = 0; i < Firings_.size(); ++i) {
        if (std::optional<double> value = Measure_Of(Firings_[i], Measure)) {
            const bool base =
                std::find(baseline.Base.begin(), baseline.Base.end(), i) != baseline.Base.end();
            Trend.push_back(
                {Seconds_Of(Firings_[i].Start), Measure_In_Scale(Measure, *value, Scale), base});
        }
    }
    Baseline.reset();
    if (std::optional<double> mean = Mean_Of(Firings_, baseline.Base, Measure)) {
        Baseline = Measure_In_Scale(Measure, *mean, Scale);
    }
    Events.clear();
    for (const Kiln_Event& event : Events_) {
        Events.push_back({Seconds_Of(event.Date), TranslateText(Kiln_Event_Name(event.Kind))});
    }
}

void Kiln_Health_Model::Mark_Event_Click(Kiln_Event_Kind kind, const std::string& day,
                                         const std::string& note) {
    const std::optional<Date_Time> date = Parse_Day(day);
    if (!date) {
        Show_Problem(
            *this,
            {Operator_Text::Phrase("%1 is not a day the kiln's event can be marked on",
                                   {Operator_Text::Value(day)}),
             Operator_Text::Phrase("Type the day as year-month-day, for example 2027-03-12")});
        return;
    }
    if (Maybe_Problem problem = Add_Kiln_Event(Paths_.Logfiles_Folder(), {*date, kind, note})) {
        Show_Problem(*this, *problem);
        return;
    }
    Form_Load();
    Display(Operator_Text_Shown(
        Operator_Text::Phrase("Marked: %1 on %2. A new baseline starts there.",
                              {Operator_Text::Phrase(Kiln_Event_Name(kind)), Day_Text(*date)})));
}

}  // namespace corvanel
