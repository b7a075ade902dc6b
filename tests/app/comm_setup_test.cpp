// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/comm_setup_model.h"

#include "support/fake_devices.h"
#include "support/main_window_rig.h"

namespace corvanel::testing {
namespace {

// Ports 1 to 4 exist, the controller answers on port 3 only, no serial devices unless added.
struct Port_Setup_Test : ::testing::Test {
    Main_Window_Rig Rig;
    CommSetUp Setup{Rig.Form, Rig.Serial, Rig.Protocol, Rig.Paths};
    Fake_Devices Devices;

    void SetUp() override {
        Setup.Devices = Devices.Tree;
        Rig.Line.Existing_Ports = {1, 2, 3, 4};
        Rig.Line.Controller = &Rig.Server;
        Rig.Line.Only_Port = 3;
        Rig.Form.Form_Load();
    }
};

TEST_F(Port_Setup_Test, TheStepsStayWithinOneToTwentyUseSavesAndTheScanReturnsToThePortOfOpening) {
    Setup.Form_Open();
    Setup.DecrPortNumber_Click();
    EXPECT_EQ(Setup.CommPortNumber + " " + std::to_string(Setup.Selected_Port), "1 1");
    for (int i = 0; i < 25; ++i) Setup.IncrPortNum_Click();
    EXPECT_EQ(Setup.CommPortNumber, "20");
    for (int i = 0; i < 16; ++i) Setup.DecrPortNumber_Click();
    Setup.SavePortSettings_Click();
    EXPECT_EQ(Rig.Line.Comm_Port(), 4);
    EXPECT_EQ(Read_First_Line(Rig.Paths.Setup_File("CommPortNumber.txt")), "4");

    Setup.SerialPortScan();
    EXPECT_EQ(Rig.Line.Comm_Port(), 1);  // the port in use when the window opened
    EXPECT_TRUE(Rig.Line.Port_Open());
    EXPECT_EQ(Rig.Form.Comm_Port_Number, 4);
}

TEST_F(Port_Setup_Test, AScanNamesTheControllersPortAndEachPortsDeviceUnlessTurnedOff) {
    Devices.Add({"ttyS0"});
    const std::string device = (Devices.Tree.Dev / "ttyS0").string() + ": built-in serial port";
    Setup.Form_Open();
    EXPECT_EQ(Setup.Port_Device_Text, device);
    Setup.IncrPortNum_Click();
    EXPECT_EQ(Setup.Port_Device_Text, "no serial device for this port number");
    // Ports 1 to 20 in order; the device's line after its port's own.
    const std::string stars = std::string(72, '*') + "\r\n";
    std::string scan =
        "Scanning Serial Port # Range\r\n" + std::string(35, '-') + "\r\n" +
        "Serial Port #1  ->Port seen, no controller seen on it<-\r\n    " + device +
        "\r\nSerial Port #2  ->Port seen, no controller seen on it<-\r\n" + stars + stars +
        "Serial Port #3  Temperature controller seen on this port number *\r\n" + stars + stars +
        "Serial Port #4  ->Port seen, no controller seen on it<-\r\n";
    for (int p = 5; p <= 20; ++p)
        scan += "Serial port number " + std::to_string(p) + " is not installed<-\r\n";
    scan += "\r\nScan finished\r\n";
    Setup.SerialPortScan();
    EXPECT_EQ(Setup.SerialPortPrompt, scan);

    Write_Text_File(Rig.Paths.Setup_File("SerialPortDetails.txt"), "unchecked");
    Setup.Form_Open();
    EXPECT_EQ(Setup.Port_Device_Text, "");
    Setup.SerialPortScan();  // the same scan without the device's line
    EXPECT_EQ(Setup.SerialPortPrompt, scan.erase(scan.find("    /"), device.size() + 6));

    Write_Text_File(Rig.Paths.Setup_File("SerialPortDetails.txt"), "off");
    Setup.Form_Open();  // a bad value keeps the default and says so
    EXPECT_EQ(Setup.Port_Device_Text, device);
    EXPECT_TRUE(
        Setup.SerialPortPrompt.ends_with("not checked or unchecked, the default is used "
                                         "(checked)\r\n"));
}

TEST_F(Port_Setup_Test, ClosingResumesTheTickThatRanAtOpening) {
    for (const char* mode : {"run", "monitor"}) {
        Rig.Form.Set_Polling_Mode(mode);
        Setup.Form_Open();
        EXPECT_FALSE(Rig.Form.Control_Interval.Enabled || Rig.Form.Monitor_Interval.Enabled);
        Setup.Form_Close();
        EXPECT_EQ(Rig.Form.Control_Interval.Enabled, mode == std::string("run")) << mode;
        EXPECT_EQ(Rig.Form.Monitor_Interval.Enabled, mode == std::string("monitor")) << mode;
    }
}

}  // namespace
}  // namespace corvanel::testing
