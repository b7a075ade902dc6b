// SPDX-License-Identifier: GPL-3.0-or-later
// The setup files: whatever a setup file holds, read as its first line and converted as
// the program converts it (port numbers, numbers, line settings, the port map).

#include "common/error_numbers.h"
#include "common/numeric.h"
#include "controller/serial_link.h"
#include "fuzz_input.h"
#include "setup/program_paths.h"
#include "setup/settings_store.h"
#include "setup/setup_files.h"

using namespace corvanel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Fuzz_Input input(data, size);
    const int port = input.Byte() % 24;
    const std::string bytes = input.Rest();

    static const Program_Paths paths(fuzz::Scratch_File("program"));
    static const Settings_Store settings(paths);
    for (const char* name : {"CommPortNumber.txt", "CommPortMap.txt"})
        Write_Whole_File(paths.Setup_File(name), bytes);

    std::string line = Read_First_Line(paths.Setup_File("CommPortNumber.txt"));
    Convert_To_Int16(line);
    Convert_To_Double(line);
    File_Name_Of_Path(line);
    fuzz::Allowing<Run_Time_Error>([&] { Parse_Line_Settings(line); });
    fuzz::Allowing<Run_Time_Error>([&] { Serial_Device_Name(port, settings); });
    return 0;
}
