// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace corvanel {

// corvanel-profile: check, show and make profile files outside the program, through
// the program's own reader, content check and editor. Returns the exit status:
// 0 success, 1 a profile that is unreadable or fails the check, 2 a usage or input error.
int Run_Profile_Tool(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
                     std::ostream& err);

}  // namespace corvanel
