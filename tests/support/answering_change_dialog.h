// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/firing_change_dialog.h"

namespace corvanel::testing {

// The question before a change of the running firing, answered with what the test set:
// the minutes or the end and rate entered (0: the proposed value), or Cancel.
struct Answering_Change_Dialog : Firing_Change_Dialog {
    std::optional<Firing_Change> Ask(const Firing_Change& proposed, const std::string& question,
                                     const std::string&) override {
        Questions.push_back(question);
        if (Cancel) return std::nullopt;
        Firing_Change entered = proposed;
        if (Minutes) entered.Minutes = Minutes;
        if (End_Temp) entered.End_Temp = End_Temp, entered.Rate = Rate;
        return entered;
    }
    std::vector<std::string> Questions;
    bool Cancel = false;
    double Minutes = 0, End_Temp = 0, Rate = 0;
};

}  // namespace corvanel::testing
