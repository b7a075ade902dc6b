// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <algorithm>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "history/kiln_health.h"
#include "run/firing_record.h"
#include "support/temp_folder.h"

namespace corvanel {

// A firing written as the record writer writes it: a tick every 30 s while the kiln climbs
// at full output at the given rate (degrees of the scale an hour) in each stretch, up to
// `peak` with the set value `Lead` ahead, then holds there at half output for `hold` minutes.
struct Synthetic_Firing {
    std::string Scale = "F";
    Date_Time Start{2027, 1, 4, 8, 0, 0};
    double From = 70, Peak = 2100, Lead = 40;
    // Up to each temperature the kiln climbs at this rate.
    std::vector<std::pair<double, double>> Rates = {{1000, 600}, {1500, 480}, {9999, 300}};
    double Output = 100;                  // while climbing
    double Gap_At = -1, Gap_Minutes = 0;  // the program was gone from this temperature on
    int Hold = 30;
    std::string Kiln;  // the record's kiln name
    std::string Profile = "glaze.txt";

    // The same firing kept in Celsius.
    Synthetic_Firing Celsius() const {
        auto in_c = [](double f) { return (f - 32) * 5 / 9; };
        Synthetic_Firing c = *this;
        c.Scale = "C";
        c.From = in_c(From), c.Peak = in_c(Peak), c.Lead = Lead * 5 / 9;
        for (auto& [upto, rate] : c.Rates) upto = in_c(upto), rate = rate * 5 / 9;
        return c;
    }

    std::string Text() const {
        Firing_Record_Line line;
        line.Clock = Start;
        line.Event = "start";
        std::string body = Firing_Record_Line_Text(line);
        line.Event.clear();
        double seconds = 0, t = From;
        bool gap_taken = false;
        auto tick = [&](double measured, double set, double output) {
            line.Clock = Date_Time_Of_Seconds(Seconds_Of(Start) + static_cast<long long>(seconds));
            line.Elapsed = seconds / 60;
            line.Measured = measured, line.Set_Value = set, line.Output_Percent = output;
            body += Firing_Record_Line_Text(line);
        };
        while (t < Peak) {
            tick(t, std::min(Peak, t + Lead), Output);
            const double rate =
                std::ranges::find_if(Rates, [&](auto& r) { return t < r.first; })->second;
            if (Gap_At >= 0 && t >= Gap_At && !gap_taken) {
                seconds += Gap_Minutes * 60;
                gap_taken = true;
            }
            seconds += 30;
            t = std::min(Peak, t + rate / 120);
        }
        const double climbed = seconds / 60;
        for (int i = 0; i < Hold * 2; ++i, seconds += 30) tick(Peak, Peak, 50);
        line.Event = "profile finished";
        tick(Peak, Peak, 0);
        Firing_Record_Header header;
        header.Temp_Scale = Scale;
        header.Tick_Length = 30;
        header.Profile_Name = Profile;
        header.Kiln_Name = Kiln;
        header.Plan = {{0, 0}, {0, From}, {climbed, Peak}, {climbed + Hold, Peak}};
        return Firing_Record_Header_Text(header) + body;
    }
    Firing_Health Health() const { return Work_Out_Health(Parse_Firing_Record(Text())); }
};

// The records <folder>/<name><n>.firing.csv of a firing for each n of `numbers`, each made
// by `vary` from one started on the nth of January 2027 at 08:00.
inline void Write_Synthetic_Firings(const std::string& folder, std::initializer_list<int> numbers,
                                    const std::function<void(Synthetic_Firing&, int n)>& vary,
                                    const std::string& name = "glaze") {
    for (int n : numbers) {
        Synthetic_Firing firing;
        firing.Start.Day = n;
        vary(firing, n);
        Write_Whole_File(std::filesystem::path(folder) / (name + std::to_string(n) + ".firing.csv"),
                         firing.Text());
    }
}

}  // namespace corvanel
