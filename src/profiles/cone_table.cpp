// SPDX-License-Identifier: GPL-3.0-or-later
#include "profiles/cone_table.h"

namespace corvanel {

namespace {

constexpr Cone_Equivalent Rows[] = {
#include "cone_table_rows.inc"
};

}  // namespace

std::span<const Cone_Equivalent> Cone_Table() {
    return Rows;
}

std::optional<Cone_Equivalent> Find_Cone(std::string_view cone) {
    while (!cone.empty() && cone.front() == ' ') cone.remove_prefix(1);
    while (!cone.empty() && cone.back() == ' ') cone.remove_suffix(1);
    for (const Cone_Equivalent& row : Rows) {
        if (row.Cone == cone) return row;
    }
    return std::nullopt;
}

}  // namespace corvanel
