// SPDX-License-Identifier: GPL-3.0-or-later
// The serial port: port numbers over fake /dev and /sys trees shaped as the kernel lays
// them out, and the link's opening, sending and receiving over a fake line.

#include "controller/serial_ports.h"

#include <gtest/gtest.h>

#include "setup/program_paths.h"
#include "setup/settings_store.h"
#include "support/fake_devices.h"
#include "support/fake_line.h"
#include "support/temp_folder.h"

namespace corvanel::testing {
namespace {

// Built-in ports that are hardware, in number order; adapters by their stable names, so
// the same two in each other's sockets keep their numbers; adapters without one last.
TEST(Serial_Port_Order, PortNumbersFollowTheStableOrder) {
    const std::pair<std::vector<Fake_Tty>, std::vector<std::string>> cases[] = {
        {{{"ttyS10"}, {"ttyS1", "0"}, {"ttyS2"}, {.Kernel_Name = "ttyS3", .In_Sys = false}},
         {"ttyS2", "ttyS10"}},
        {{{.Kernel_Name = "ttyUSB1", .By_Id = "usb-Prolific_PL2303-if00-port0"},
          {.Kernel_Name = "ttyUSB0", .By_Id = "usb-FTDI_FT232R_A50285BI-if00-port0"},
          {"ttyS0"}},
         {"ttyS0", "serial/by-id/usb-FTDI_FT232R_A50285BI-if00-port0",
          "serial/by-id/usb-Prolific_PL2303-if00-port0"}},
        {{{"ttyUSB10"}, {"ttyUSB2"}, {"ttyACM0"}}, {"ttyACM0", "ttyUSB2", "ttyUSB10"}}};
    for (const auto& [ttys, expected] : cases) {
        Fake_Devices devices;
        for (const Fake_Tty& tty : ttys) devices.Add(tty);
        EXPECT_EQ(devices.Listed(), expected);
    }
}

TEST(Serial_Port_Map, AMapLineWinsAndOtherPortsCountTheListedDevices) {
    Fake_Devices devices;
    devices.Add({"ttyS0"});
    devices.Add({.Kernel_Name = "ttyUSB3", .By_Id = "usb-FTDI_FT232R-if00-port0"});
    Temp_Folder folder;
    Program_Paths paths(folder.Path());
    Settings_Store settings(paths);
    const std::string adapter =
        (devices.Tree.Dev / "serial/by-id/usb-FTDI_FT232R-if00-port0").string();

    EXPECT_EQ(Serial_Device_Name(1, settings, devices.Tree), (devices.Tree.Dev / "ttyS0").string());
    EXPECT_EQ(Serial_Device_Name(2, settings, devices.Tree), adapter);
    // Opened again after it went away, an adapter is looked for by its stable name.
    for (const char* device : {"ttyUSB3", "serial/by-id/usb-FTDI_FT232R-if00-port0"}) {
        EXPECT_EQ(Stable_Device_Name((devices.Tree.Dev / device).string(), devices.Tree), adapter);
    }
    const std::string builtin = (devices.Tree.Dev / "ttyS0").string();
    EXPECT_EQ(Stable_Device_Name(builtin, devices.Tree), builtin);
    for (int port : {0, 3, 20}) {
        EXPECT_THROW(Serial_Device_Name(port, settings, devices.Tree), Run_Time_Error) << port;
    }

    // A line with no device after "=" maps nothing: port 1 stays the first device found.
    Write_Whole_File(paths.Setup_File("CommPortMap.txt"),
                     "1= \r\n2=/tmp/kiln port\r\n 7=/dev/ttyS9\r\n");
    EXPECT_EQ(Serial_Device_Name(1, settings, devices.Tree), (devices.Tree.Dev / "ttyS0").string());
    EXPECT_EQ(Serial_Device_Name(2, settings, devices.Tree), "/tmp/kiln port");
    EXPECT_EQ(Serial_Device_Name(7, settings, devices.Tree), "/dev/ttyS9");
    EXPECT_THROW(Serial_Device_Name(3, settings, devices.Tree), Run_Time_Error);
    EXPECT_EQ(Serial_Port_Text(2, settings, devices.Tree),
              "/tmp/kiln port: set by hand for this port number");
}

// The port's own open says "permission" also for a port another program holds; the
// file's permissions tell the two apart.
TEST(Port_Advice, NamesWhyTheDeviceWouldNotOpenAndTheFix) {
    Temp_Folder folder;
    const std::string device = folder.File("ttyUSB0");
    Write_Whole_File(device, "");
    EXPECT_EQ(
        Port_Open_Advice(device, Error_Number::Permission_Denied),
        (std::vector<std::string>{"Serial device " + device + ": in use by another program",
                                  "Close the other program that uses the port, then try again"}));
    EXPECT_TRUE(Port_Open_Advice(device, Error_Number::Device_IO_Error).empty());
}

TEST(Serial_Port, TheRawViewMarksAChunksFirstCharacterWhileTheReplyBufferKeepsEveryOne) {
    const std::pair<std::string, std::string> chunks[] = {
        {"01RX00", "01RX00"}, {"\r", "\r\n"},         {"\r\n@0", "\r\n"},
        {"\n", "<lf>"},       {"\x02@00RX", "<stx>"}, {std::string("\x03") + "ab", "<etx>"}};
    for (const auto& [chunk, shown] : chunks) {
        Controller_Rig rig;
        rig.Panel.Response_Box = "[";
        rig.Protocol.Reply_Buffer = "@";
        rig.Line.Arrive(chunk);
        EXPECT_EQ(rig.Panel.Response_Box, "[" + shown);
        EXPECT_EQ(rig.Protocol.Reply_Buffer, "@" + chunk);
    }
}

// Sent once; on a closed port reported and kept; a receive event with nothing waiting is
// reported afresh, other events are ignored; a failed switch closes the port. The line
// settings the link gives are read back as written.
TEST(Serial_Port, ARequestIsSentOnceAndATroubledPortReported) {
    Controller_Rig rig;
    EXPECT_EQ(rig.Line.Settings, "9600,E,7,2");
    rig.Serial.Form_Load(7);  // the front panel's load finds the port open already
    EXPECT_EQ(rig.Line.Comm_Port(), 1);
    rig.Serial.Set_Inter_Module_Message("@00RX014B*\r\n");
    rig.Serial.Set_Inter_Module_Message("");
    EXPECT_EQ(rig.Line.Sent, std::vector<std::string>{"@00RX014B*\r\n"});
    EXPECT_EQ(rig.Serial.Inter_Module_Message(), "");
    EXPECT_TRUE(rig.Main_Window.Lines.empty());
    rig.Main_Window.Lines = {"earlier"};
    rig.Serial.MSComm1_OnComm(3);
    EXPECT_EQ(rig.Main_Window.Lines, std::vector<std::string>{"earlier"});
    rig.Serial.MSComm1_OnComm(Serial_Port::Comm_Event_Receive);
    EXPECT_EQ(rig.Main_Window.Lines, std::vector<std::string>{"OnComm transmission error"});

    rig.Serial.Form_Unload();
    rig.Main_Window.Lines.clear();
    rig.Protocol.Read_PV(rig.Unit);
    EXPECT_EQ(rig.Main_Window.Lines,
              (std::vector<std::string>{"Inter module message error", "Comm port not open"}));
    EXPECT_EQ(rig.Serial.Inter_Module_Message(), "@00RX014B*\r\n");
    EXPECT_TRUE(rig.Protocol.Comm_Error);

    rig.Line.Existing_Ports = {1, 3};
    rig.Serial.Switch_Port(3);
    EXPECT_TRUE(rig.Line.Port_Open() && rig.Line.Comm_Port() == 3);
    EXPECT_THROW(rig.Serial.Switch_Port(4), Run_Time_Error);
    EXPECT_FALSE(rig.Line.Port_Open());
    rig.Serial.Switch_Port(3);
    rig.Line.Fail_On_Close = true;
    rig.Main_Window.Lines.clear();
    rig.Serial.Form_Unload();
    EXPECT_EQ(rig.Main_Window.Lines,
              std::vector<std::string>{"Error encountered closing serial port"});

    // The line settings are read as written.
    Line_Settings line = Parse_Line_Settings("9600,E,7,2");
    EXPECT_EQ(std::tuple(line.Baud, line.Parity, line.Data_Bits, line.Stop_Bits),
              std::tuple(9600, 'E', 7, 2));
    for (const char* bad : {"9600,X,7,2", "9600,E,7", "0,E,7,2", "9600.5,E,7,2", "4000001,E,7,2",
                            "9600,E,4,1", "9600,E,9,1", "9600,E,8,0", "9600,E,8,3"}) {
        EXPECT_THROW(Parse_Line_Settings(bad), Run_Time_Error) << bad;
    }
    EXPECT_EQ(Parse_Line_Settings("1,N,5,1").Data_Bits, 5);
    EXPECT_EQ(Parse_Line_Settings("4000000,O,8,2").Stop_Bits, 2);
}

}  // namespace
}  // namespace corvanel::testing
