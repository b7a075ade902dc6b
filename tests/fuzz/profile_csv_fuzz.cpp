// SPDX-License-Identifier: GPL-3.0-or-later
// corvanel-profile make: any CSV typed into the editor, checked and (when it passes) saved.

#include <sstream>

#include "fuzz_input.h"
#include "tools/profile_tool.h"

using namespace corvanel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Fuzz_Input input(data, size);
    const std::uint8_t options = input.Byte();
    static const std::string out_path = fuzz::Scratch_File("made.txt");
    std::vector<std::string> args{"make", "--scale", options & 1 ? "C" : "F", "--unit",
                                  options & 2 ? "H" : "M"};
    if (options & 4) args.insert(args.end(), {"--sensor", "PtJIS"});
    args.push_back(out_path);
    std::istringstream in(input.Rest());
    std::ostringstream out, err;
    Run_Profile_Tool(args, in, out, err);
    return 0;
}
