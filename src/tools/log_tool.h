// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

#include "run/firing_chart.h"

namespace corvanel {

// Draws a chart into a file named by its extension (.png, .svg, .pdf); returns "" when
// the file is written, otherwise what went wrong.
using Chart_File_Writer = std::function<std::string(const Firing_Chart&, const std::string&)>;

// corvanel-log: list, show, export and plot firing records (and plain logs) with the
// program's own readers. `program_folder` holds Setup/ (kiln power, price) and the
// default Logfiles/. Without a chart writer `plot` is refused. Returns the exit status:
// 0 success, 2 a usage or input error.
int Run_Log_Tool(const std::vector<std::string>& args, const std::string& program_folder,
                 const Chart_File_Writer& write_chart, std::ostream& out, std::ostream& err);

}  // namespace corvanel
