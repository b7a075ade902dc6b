// SPDX-License-Identifier: GPL-3.0-or-later
// The profile file: read, checked and cut into the run's tables, as opening it in the
// program or checking it with corvanel-profile does. The first byte chooses whether the
// bytes are the file as they come (mostly refused by the checksum) or laid into a
// profile with a checksum that holds, so the parser and the content check see them.

#include <sstream>

#include "common/error_numbers.h"
#include "fuzz_input.h"
#include "profiles/profile_file.h"
#include "profiles/run_profile.h"
#include "tools/profile_tool.h"

using namespace corvanel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Fuzz_Input input(data, size);
    const bool with_checksum = input.Byte() & 1;
    std::string bytes = input.Rest();
    if (with_checksum) {
        bytes.resize(Profile_Layout::Summed_Length, ' ');
        bytes += Profile_Checksum(bytes) + "\r\n";
    }
    static const std::string path = fuzz::Scratch_File("profile.txt");
    Write_Whole_File(path, bytes);

    std::string text = Read_Profile_File(path);
    if (!text.empty()) {
        Profile_Sheet sheet = Parse_Profile_Text(text);
        Profile_Settings settings = Profile_Settings_Of_Text(text);
        Run_Tables tables;
        fuzz::Allowing<Run_Time_Error>(
            [&] { Build_Run_Tables(sheet, settings.Sensor_Code, Last_Used_Row(sheet), tables); });
        Build_Run_Chart(sheet);
    }
    std::ostringstream out, err;
    std::istringstream in;
    Run_Profile_Tool({"check", path}, in, out, err);
    Run_Profile_Tool({"show", path}, in, out, err);
    return 0;
}
