// SPDX-License-Identifier: GPL-3.0-or-later
#include "run/alarm_banner.h"

#include <algorithm>

#include "common/quantity_text.h"
#include "common/text.h"
#include "language/operator_style.h"
#include "language/translate.h"
#include "run/live_firing_view.h"

namespace corvanel {

namespace {

// The banner stands in the run window beside the clock: the time of day says when.
std::string Banner_Clock(const Date_Time& when) {
    return Clock_Shown(when, when, Operator_Style());
}

}  // namespace

void Alarm_Banner::Raise(const std::string& name, const Date_Time& when) {
    std::erase_if(Lines_, [&name](const Line& line) { return line.Name == name; });
    Lines_.push_back({name, true, false,
                      TranslateText("Alarm") + ": " + TranslateText(name) + " " +
                          TranslateText("since") + " " + Banner_Clock(when)});
    Acknowledged_ = false;
}

void Alarm_Banner::Clear(const std::string& name, const Date_Time& when) {
    for (Line& line : Lines_) {
        if (line.Name != name || !line.On) continue;
        line.On = false;
        line.Text = TranslateText("Alarm cleared") + ": " + TranslateText(name) + " " +
                    TranslateText("at") + " " + Banner_Clock(when);
    }
}

void Alarm_Banner::Renew_Notice(const std::string& lead, const std::string& text) {
    for (Line& line : Lines_) {
        if (line.Name.empty() && line.Text.starts_with(lead)) {
            line.Text = text;
            line.Standing = true;
            return;
        }
    }
    Lines_.push_back({"", false, false, text, true});
}

void Alarm_Banner::Drop_Notice(const std::string& lead) {
    std::erase_if(
        Lines_, [&](const Line& line) { return line.Name.empty() && line.Text.starts_with(lead); });
}

void Alarm_Banner::Acknowledge(const Date_Time& when) {
    Acknowledged_ = true;
    std::erase_if(Lines_, [](const Line& line) { return line.Name.empty() && !line.Standing; });
    for (Line& line : Lines_) {
        if (!line.On || line.Acknowledged) continue;
        line.Acknowledged = true;
        line.Text = TranslateText("Acknowledged at") + " " + Banner_Clock(when) + ": " +
                    TranslateText(line.Name) + " " + TranslateText("still present");
    }
}

bool Alarm_Banner::Alarm_On() const {
    return std::any_of(Lines_.begin(), Lines_.end(), [](const Line& line) { return line.On; });
}

Banner_Look Alarm_Banner::Look() const {
    if (!Visible()) return Banner_Look::Hidden;
    if (!Alarm_On()) return Banner_Look::Quiet;
    return Wants_Attention() ? Banner_Look::Alarm : Banner_Look::Acknowledged;
}

bool Alarm_Banner::Acknowledge_Offered() const {
    return Wants_Attention() || std::any_of(Lines_.begin(), Lines_.end(), [](const Line& line) {
               return line.Name.empty() && !line.Standing;
           });
}

std::string Alarm_Banner::Text() const {
    std::vector<std::string> texts;
    for (const Line& line : Lines_) texts.push_back(line.Text);
    return Join_Lines(texts);
}

}  // namespace corvanel
