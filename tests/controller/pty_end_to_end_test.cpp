// SPDX-License-Identifier: GPL-3.0-or-later
// The program's serial port against kiln-sim on a real pseudo-terminal.

#include <gtest/gtest.h>

#include "controller/controller_link.h"
#include "controller/qt/qt_serial_device.h"
#include "setup/setup_files.h"
#include "support/fake_line.h"
#include "support/qt_rig.h"
#include "support/temp_folder.h"

namespace corvanel::testing {
namespace {

// Each command's frame and decoding are pinned over the fake line; here the bytes cross a
// real pseudo-terminal and the line faults arrive as kiln-sim sends them.
TEST(Kiln_Sim_On_A_Pty, CommandsAreAnsweredFaultsAreCommErrorsAndAnUnpluggedAdapterIsNamed) {
    Make_Application();
    Temp_Folder folder;
    Program_Paths paths{folder.Path()};
    Kiln_Sim_Process sim;
    Settings_Store settings{paths};
    Qt_Serial_Device device{settings};
    Recorded_Messages main_window;
    Patient_Waiter waiter;
    Controller_Link link{device, waiter, &main_window};
    InOut_Functions& protocol = link.Protocol();
    Serial_Port& serial = link.Serial();
    // Exchanges 1..3 are clean; the fourth gets no reply, the fifth comes in pieces.
    sim.Start(
        folder, paths,
        {"--units=0", "--speed=60", "--start-temp=25", "--no-reply=at:4", "--split-reply=at:5"});
    serial.Form_Load(1);
    ASSERT_TRUE(device.Port_Open()) << (main_window.Lines.empty() ? "" : main_window.Lines[0]);
    std::uint8_t unit = 0;
    std::int16_t set_value = 600;
    protocol.Write_SV(unit, set_value);
    EXPECT_FALSE(protocol.Comm_Error) << protocol.Reply_Buffer;
    protocol.Read_PV(unit);
    EXPECT_FALSE(protocol.Comm_Error) << protocol.Reply_Buffer;
    EXPECT_GE(protocol.Last_PV, 25);
    EXPECT_LT(protocol.Last_PV, 100);
    EXPECT_EQ(protocol.Read_SV(unit), 600);  // nothing was lost on the way
    std::int16_t last_pv = protocol.Last_PV;
    protocol.Read_PV(unit);  // 4: no reply
    EXPECT_TRUE(protocol.Comm_Error);
    EXPECT_EQ(protocol.Last_PV, last_pv);
    protocol.Read_PV(unit);  // 5: in pieces, still good
    EXPECT_FALSE(protocol.Comm_Error) << protocol.Reply_Buffer;
    EXPECT_TRUE(main_window.Lines.empty());

    // The adapter unplugged: the port's own error names the device and the fix.
    const std::string missing = folder.File("no-such-tty");
    Write_Whole_File(paths.Setup_File("CommPortMap.txt"), "1=" + missing + "\r\n");
    serial.Form_Unload();
    Serial_Port unplugged{device, link.Panel(), main_window, protocol.Reply_Buffer};
    unplugged.Form_Load(1);
    EXPECT_EQ(main_window.Lines,
              (std::vector<std::string>{"Comm port init error", "Invalid Port Number",
                                        "Serial device " + missing + ": not found",
                                        "Check that the adapter is plugged in, or choose its port "
                                        "number in SetUp -> CommPortNumber"}));
}

}  // namespace
}  // namespace corvanel::testing
