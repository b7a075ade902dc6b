// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "common/problem.h"
#include "history/cone_heat_work.h"
#include "setup/setting.h"
#include "setup/settings_store.h"

namespace corvanel {

// The witness cones a potter saw after a firing, as typed ("5 down, 6 at 3 o'clock,
// 7 standing"), kept beside its record in "<record name>.cones" as the notes are; the
// record itself is never touched.
std::string Witness_File_Of_Record(const std::string& record_path);
std::string Read_Witness_Cones(const std::string& record_path);  // "" when none
// Empty text removes the file. A problem when they could not be kept.
Maybe_Problem Write_Witness_Cones(const std::string& record_path, const std::string& text);

// What the cones say on the program's scale of cones (history/cone_heat_work.h): the
// hottest cone that bent at all, as far as it bent. A cone is "down", "standing" or at a
// clock hour as it leans from 12 (standing) to 6 (its tip at the shelf): at 3 o'clock it
// is half bent. The words may be English or the operator's language. No position when
// every cone stands; a problem when a part cannot be read.
struct Witness_Reading {
    std::optional<double> Position;
    Maybe_Problem Problem;
};
Witness_Reading Read_Witness_Text(const std::string& text, const Translate_Function& translate);

// A firing whose witness cones and program figure are both known.
struct Witness_Comparison {
    std::string Kiln;
    double Program = 0, Witness = 0;  // positions, the program's without any offset
};

// The offset the witness cones propose for a kiln: from its latest firings with both
// figures (newest first, at most Offset_Firings_Used), when there are Offset_Firings_Needed
// or more: the median of witness minus program, to the nearest quarter of a cone.
inline constexpr std::size_t Offset_Firings_Needed = 3, Offset_Firings_Used = 10;
struct Offset_Proposal {
    std::size_t Firings = 0;  // compared
    std::optional<double> Cones;
};
Offset_Proposal Propose_Cone_Offset(const std::vector<Witness_Comparison>& newest_first,
                                    const std::string& kiln);

// Setup/ConeOffset.txt: the kiln and the cones added to the program's figure for its
// firings (Kiln=..., Cones=...), from -3 to 3; kept only when the operator takes it.
const Setting_List& Cone_Offset_Setting_List();
Cone_Offset Read_Cone_Offset(Settings_Store& store, std::vector<Problem>* problems = nullptr);
Maybe_Problem Write_Cone_Offset(Settings_Store& store, const Cone_Offset& offset);

}  // namespace corvanel
