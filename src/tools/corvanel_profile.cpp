// SPDX-License-Identifier: GPL-3.0-or-later
#include <iostream>
#include <string>
#include <vector>

#include "tools/profile_tool.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 1 && args[0] == "--version") {
        std::cout << "corvanel-profile (Corvanel) " CORVANEL_PROGRAM_VERSION "\n"
                  << "Copyright (C) 2026 Corvanel developers\n"
                  << "License GPL-3.0-or-later <https://www.gnu.org/licenses/gpl-3.0.html>.\n";
        return 0;
    }
    return corvanel::Run_Profile_Tool(args, std::cin, std::cout, std::cerr);
}
