// SPDX-License-Identifier: GPL-3.0-or-later
#include "profiles/segment_joins.h"

#include <cmath>
#include <optional>

#include "common/numeric.h"
#include "common/text.h"
#include "profiles/profile_file.h"

namespace corvanel {

namespace {

// The editor writes worked-out start times with two decimals, so a start may lie half
// a hundredth from the sum it was rounded from.
constexpr double Join_Tolerance = 0.005 + 1e-9;

std::optional<double> Cell_Number(const std::string& cell) {
    if (cell.empty()) return std::nullopt;
    return Convert_To_Double(cell).Value;
}

}  // namespace

std::vector<Segment_Gap> Segment_Gaps(const Profile_Sheet& sheet) {
    std::vector<Segment_Gap> gaps;
    const int end_row = Last_Used_Row(sheet);
    for (int row = 2; row <= end_row && row <= Last_Segment_Row; ++row) {
        const auto& before = sheet[row - 1];
        const auto& here = sheet[row];
        const std::optional<double> start = Cell_Number(before[Col_Start_Time]);
        const std::optional<double> duration = Cell_Number(before[Col_Duration]);
        const std::optional<double> starts = Cell_Number(here[Col_Start_Time]);
        if (start && duration && starts &&
            std::abs(*starts - (*start + *duration)) > Join_Tolerance)
            gaps.push_back({row, true, *starts, *start + *duration});
        const std::optional<double> ends = Cell_Number(before[Col_End_Temp]);
        const std::optional<double> starts_at = Cell_Number(here[Col_Start_Temp]);
        if (ends && starts_at && std::abs(*starts_at - *ends) > Join_Tolerance)
            gaps.push_back({row, false, *starts_at, *ends});
    }
    return gaps;
}

Problem Segment_Gap_Problem(const Segment_Gap& gap) {
    const Operator_Text row = Operator_Text::Value(std::to_string(gap.Row));
    const Operator_Text before = Operator_Text::Value(std::to_string(gap.Row - 1));
    // Times as the editor writes them, temperatures as typed.
    auto shown = [&](double value) {
        return Operator_Text::Value(gap.Time ? Format_00(value) : Format_Number(value));
    };
    const Operator_Text starts = shown(gap.Starts), ends = shown(gap.Before_Ends);
    Problem problem;
    problem.What = gap.Time
                       ? Operator_Text::Phrase(
                             "Segment %1 does not start when segment %2 ends: it starts at %3, "
                             "segment %2 ends at %4",
                             {row, before, starts, ends})
                       : Operator_Text::Phrase(
                             "Segment %1 does not start at the temperature segment %2 ends at: it "
                             "starts at %3, segment %2 ends at %4",
                             {row, before, starts, ends});
    problem.To_Do = Operator_Text::Phrase(
        "Type the Duration and End Temp of segment %1 again in the profile editor and save the "
        "profile",
        {before});
    return problem;
}

}  // namespace corvanel
