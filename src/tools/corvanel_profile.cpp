// SPDX-License-Identifier: GPL-3.0-or-later
#include <iostream>
#include <string>
#include <vector>

#include "tools/profile_tool.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    return corvanel::Run_Profile_Tool(args, std::cin, std::cout, std::cerr);
}
