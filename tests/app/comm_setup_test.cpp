#include "app/comm_setup_model.h"
#include "main_window_rig.h"

namespace corvanel::testing {
namespace {

// Ports 1 to 4 exist; the controller answers on port 3 only.
struct Port_Setup_Test : ::testing::Test {
    Main_Window_Rig Rig;
    CommSetUp Setup{Rig.Form, Rig.Serial, Rig.Protocol};

    void SetUp() override {
        Rig.Line.Existing_Ports = {1, 2, 3, 4};
        Rig.Line.Controller = &Rig.Server;
        Rig.Line.Only_Port = 3;
        Rig.Form.Form_Load();
    }
};

TEST_F(Port_Setup_Test, TheStepButtonsStayWithinOneToTwenty) {
    Setup.Form_Open();
    EXPECT_EQ(Setup.CommPortNumber, "1");
    Setup.DecrPortNumber_Click();
    EXPECT_EQ(Setup.Selected_Port, 1);
    for (int i = 0; i < 25; ++i) Setup.IncrPortNum_Click();
    EXPECT_EQ(Setup.CommPortNumber, "20");
}

TEST_F(Port_Setup_Test, UseThisSettingSwitchesAndSavesButTheScanReturnsToThePortOfOpening) {
    Setup.Form_Open();
    for (int i = 0; i < 3; ++i) Setup.IncrPortNum_Click();
    Setup.SavePortSettings_Click();
    EXPECT_EQ(Setup.SerialPortPrompt, "Serial Port Number set to #4\r\n");
    EXPECT_EQ(Rig.Line.Comm_Port(), 4);
    EXPECT_EQ(Rig.Form.Comm_Port_Number, 4);
    EXPECT_EQ(Read_First_Line(Rig.Paths.Setup_File("CommPortNumber.txt")), "4");

    Setup.SerialPortScan();
    EXPECT_EQ(Rig.Line.Comm_Port(), 1);  // the port in use when the window opened
    EXPECT_TRUE(Rig.Line.Port_Open());
    EXPECT_EQ(Rig.Form.Comm_Port_Number, 4);
}

TEST_F(Port_Setup_Test, AScanNamesTheControllersPortThePortsSeenAndThoseNotInstalled) {
    Setup.Form_Open();
    Setup.SerialPortScan();
    const std::string stars(72, '*');
    std::string expected = "Scanning Serial Port # Range\r\n" + std::string(35, '-') + "\r\n";
    for (int p : {1, 2})
        expected +=
            "Serial Port #" + std::to_string(p) + "  ->Port seen, no controller seen on it<-\r\n";
    expected += stars + "\r\n" + stars +
                "\r\nSerial Port #3  Temperature controller seen on this port number *\r\n" +
                stars + "\r\n" + stars + "\r\n";
    expected += "Serial Port #4  ->Port seen, no controller seen on it<-\r\n";
    for (int p = 5; p <= 20; ++p)
        expected += "Serial port number " + std::to_string(p) + " is not installed<-\r\n";
    expected += "\r\nScan finished\r\n";
    EXPECT_EQ(Setup.SerialPortPrompt, expected);
}

TEST_F(Port_Setup_Test, ClosingResumesTheTickThatRanAtOpening) {
    Rig.Form.Set_Polling_Mode("run");
    Setup.Form_Open();
    EXPECT_FALSE(Rig.Form.Control_Interval.Enabled || Rig.Form.Monitor_Interval.Enabled);
    Setup.Form_Close();
    EXPECT_TRUE(Rig.Form.Control_Interval.Enabled);
    EXPECT_FALSE(Rig.Form.Monitor_Interval.Enabled);

    Rig.Form.Set_Polling_Mode("monitor");
    Setup.Form_Open();
    Setup.Form_Close();
    EXPECT_TRUE(Rig.Form.Monitor_Interval.Enabled);
    EXPECT_FALSE(Rig.Form.Control_Interval.Enabled);
}

}  // namespace
}  // namespace corvanel::testing
