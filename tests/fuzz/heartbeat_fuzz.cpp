// SPDX-License-Identifier: GPL-3.0-or-later
// The guard's heartbeat: whatever the file holds, read as the guard reads it; a beat it
// takes, written again, reads back the same (no value can add lines of its own).

#include <cstdlib>

#include "fuzz_input.h"
#include "guard/guard_heartbeat.h"

using namespace corvanel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Fuzz_Input input(data, size);
    const std::string text = input.Rest();
    static const std::filesystem::path folder = fuzz::Scratch_File("heartbeat");
    std::filesystem::create_directories(folder);
    Write_Whole_File((folder / Heartbeat_File_Name).string(), text);
    const std::optional<Guard_Heartbeat> read = Read_Heartbeat(folder);
    const bool parsed = Parse_Heartbeat(text).has_value();
    if (read.has_value() != (parsed && text.size() <= Longest_Heartbeat)) std::abort();
    if (!read) return 0;
    const std::optional<Guard_Heartbeat> again = Parse_Heartbeat(Heartbeat_Text(*read));
    if (!again || again->Beat != read->Beat || again->Program_Pid != read->Program_Pid ||
        again->Profile_Name != read->Profile_Name || again->Record_Path != read->Record_Path ||
        again->Device != read->Device || again->Temp_Scale != read->Temp_Scale) {
        std::abort();
    }
    return 0;
}
