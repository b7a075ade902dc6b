// SPDX-License-Identifier: GPL-3.0-or-later
#include "run/safe_start.h"

namespace corvanel {

double Elapsed_At_Kiln_Temperature(const Run_Tables& tables, int finished_segment,
                                   double measured) {
    if (finished_segment < 2 || measured <= tables.Seg_Start_Temp[0]) return 0;
    for (std::size_t k = 0; k + 1 < static_cast<std::size_t>(finished_segment); ++k) {
        const double start = tables.Seg_Start_Temp[k], end = tables.Seg_End_Temp[k];
        const double begins = tables.Seg_Start_Time[k], ends = tables.Seg_End_Time[k];
        if (end <= start || ends <= begins) continue;
        if (measured <= start) return begins;
        if (measured >= end) return ends;
        return begins + (measured - start) / (end - start) * (ends - begins);
    }
    return 0;
}

}  // namespace corvanel
