#include "controller/serial_link.h"

#include <gtest/gtest.h>

#include "fake_line.h"
#include "setup/program_paths.h"
#include "support/temp_folder.h"

namespace corvanel::testing {
namespace {

// --- What the operator sees of the received characters ---------------------------

struct Chunk_Case {
    const char* Story;
    std::string Chunk;
    std::string Shown;
};

class Received_Chunks : public ::testing::TestWithParam<Chunk_Case> {};

TEST_P(Received_Chunks, ShowInTheRawViewWhileTheReplyBufferKeepsEveryCharacter) {
    Controller_Rig rig;
    rig.Panel.Response_Box = "[";
    rig.Protocol.Reply_Buffer = "@";
    rig.Line.Arrive(GetParam().Chunk);
    EXPECT_EQ(rig.Panel.Response_Box, "[" + GetParam().Shown) << GetParam().Story;
    EXPECT_EQ(rig.Protocol.Reply_Buffer, "@" + GetParam().Chunk) << GetParam().Story;
}

INSTANTIATE_TEST_SUITE_P(
    Serial_Port, Received_Chunks,
    ::testing::Values(Chunk_Case{"plain characters", "01RX00", "01RX00"},
                      Chunk_Case{"CR alone is a line break", "\r", "\r\n"},
                      Chunk_Case{"LF alone is marked", "\n", "<lf>"},
                      Chunk_Case{"a chunk starting with STX shows only the mark", "\x02@00RX",
                                 "<stx>"},
                      Chunk_Case{"ETX is marked", std::string("\x03") + "ab", "<etx>"},
                      Chunk_Case{"CR followed by more shows only the break", "\r\n@0", "\r\n"},
                      Chunk_Case{"a control character inside a chunk stays", "3D*\r", "3D*\r"}));

TEST(Serial_Port, AReplyInSeveralChunksIsJoinedInOrder) {
    Controller_Rig rig;
    sim::Controller_Model model({0}, {});
    sim::Fault_Options faults;
    faults[sim::Fault::Split_Reply] = sim::Parse_Fault_Selector("1");
    sim::Kiln_Sim_Server server(model, faults);
    rig.Line.Server = &server;
    std::uint8_t address = 0;
    rig.Protocol.Read_PV(address);
    EXPECT_FALSE(rig.Protocol.Comm_Error);
    EXPECT_TRUE(rig.Panel.Command_Executed);
    EXPECT_EQ(rig.Panel.Response_Box.substr(0, 5), "@00RX");
}

TEST(Serial_Port, AReceiveEventWithNothingWaitingIsReportedOnTheMainWindow) {
    Controller_Rig rig;
    rig.Main_Window.Lines = {"earlier"};
    rig.Serial.MSComm1_OnComm(Serial_Port::Comm_Event_Receive);
    EXPECT_EQ(rig.Main_Window.Clears, 1);
    EXPECT_EQ(rig.Main_Window.Lines, std::vector<std::string>{"OnComm transmission error"});
}

TEST(Serial_Port, OtherPortEventsAreIgnored) {
    Controller_Rig rig;
    rig.Serial.MSComm1_OnComm(3);
    EXPECT_TRUE(rig.Main_Window.Lines.empty());
}

// --- Sending -------------------------------------------------------------------------

TEST(Serial_Port, ARequestIsSentOnceAndTheBoxEmptied) {
    Controller_Rig rig;
    rig.Serial.Set_Inter_Module_Message("@00RX014B*\r\n");
    rig.Serial.Set_Inter_Module_Message("");
    EXPECT_EQ(rig.Line.Sent, std::vector<std::string>{"@00RX014B*\r\n"});
    EXPECT_EQ(rig.Serial.Inter_Module_Message(), "");
}

TEST(Serial_Port, SendingOnAClosedPortIsReportedAndTheTextKept) {
    Controller_Rig rig;
    rig.Serial.Form_Unload();
    std::uint8_t address = 0;
    rig.Protocol.Read_PV(address);
    EXPECT_EQ(rig.Main_Window.Lines,
              (std::vector<std::string>{"Inter module message error", "Comm port not open"}));
    EXPECT_EQ(rig.Serial.Inter_Module_Message(), "@00RX014B*\r\n");
    EXPECT_TRUE(rig.Protocol.Comm_Error);
}

// --- Opening and closing -------------------------------------------------------------

TEST(Serial_Port, LoadOpensThePortWithTheLineSettings) {
    Controller_Rig rig;
    EXPECT_TRUE(rig.Line.Port_Open());
    EXPECT_EQ(rig.Line.Settings, "9600,E,7,2");
    EXPECT_TRUE(rig.Main_Window.Lines.empty());
    rig.Serial.Form_Load(7);  // the front panel's load finds the port open already
    EXPECT_EQ(rig.Line.Comm_Port(), 1);
    EXPECT_TRUE(rig.Main_Window.Lines.empty());
}

TEST(Serial_Port, OpeningAMissingPortSaysSo) {
    Fake_Line line;
    FrontPanel panel;
    Recorded_Messages main_window;
    std::string reply_buffer;
    Serial_Port serial(line, panel, main_window, reply_buffer);
    serial.Form_Load(7);
    EXPECT_FALSE(line.Port_Open());
    EXPECT_EQ(main_window.Lines,
              (std::vector<std::string>{"Comm port init error", "Invalid Port Number"}));
}

TEST(Serial_Port, SwitchingPortsClosesOpensAndReportsToTheCaller) {
    Controller_Rig rig;
    rig.Line.Existing_Ports = {1, 3};
    rig.Serial.Switch_Port(3);
    EXPECT_EQ(rig.Line.Comm_Port(), 3);
    EXPECT_TRUE(rig.Line.Port_Open());
    try {
        rig.Serial.Switch_Port(4);
        FAIL() << "port 4 does not exist";
    } catch (const Run_Time_Error& error) {
        EXPECT_EQ(error.Number, Error_Number::No_Such_Port);
    }
    EXPECT_FALSE(rig.Line.Port_Open());
}

TEST(Serial_Port, AFailedCloseIsReported) {
    Controller_Rig rig;
    rig.Line.Fail_On_Close = true;
    rig.Serial.Form_Unload();
    EXPECT_EQ(rig.Main_Window.Lines,
              std::vector<std::string>{"Error encountered closing serial port"});
}

TEST(Line_Settings, AreReadFromTheSettingsText) {
    Line_Settings line = Parse_Line_Settings("9600,E,7,2");
    EXPECT_EQ(line.Baud, 9600);
    EXPECT_EQ(line.Parity, 'E');
    EXPECT_EQ(line.Data_Bits, 7);
    EXPECT_EQ(line.Stop_Bits, 2);
    EXPECT_THROW(Parse_Line_Settings("9600,X,7,2"), Run_Time_Error);
    EXPECT_THROW(Parse_Line_Settings("9600,E,7"), Run_Time_Error);
}

TEST(Serial_Device_Name, MapsPortNumbersToDevices) {
    Temp_Folder folder;
    Program_Paths paths(folder.Path());
#ifndef _WIN32
    EXPECT_EQ(Serial_Device_Name(1, paths), "/dev/ttyS0");
    Write_Whole_File(paths.Setup_File("CommPortMap.txt"),
                     "1=/dev/ttyUSB0\r\n 12=/tmp/kiln port\r\n");
    EXPECT_EQ(Serial_Device_Name(1, paths), "/dev/ttyUSB0");
    EXPECT_EQ(Serial_Device_Name(12, paths), "/tmp/kiln port");
    EXPECT_EQ(Serial_Device_Name(2, paths), "/dev/ttyS1");
#else
    EXPECT_EQ(Serial_Device_Name(3, paths), "COM3");
#endif
    EXPECT_THROW(Serial_Device_Name(0, paths), Run_Time_Error);
}

// --- The front panel's own controls -----------------------------------------------------

TEST(FrontPanel, TheAddressStaysWithinZeroToHundred) {
    FrontPanel panel;
    panel.Decrement_Unit_Addr_Click();
    EXPECT_EQ(panel.Unit_Address, 0);
    panel.Increment_Unit_Addr_Click();
    EXPECT_EQ(panel.Unit_Address_Display, "1");
    panel.Decrement_Unit_Addr_Click();
    EXPECT_EQ(panel.Unit_Address, 0);
    panel.Unit_Address = 100;
    panel.User_Interface = "message\r\n";
    panel.Increment_Unit_Addr_Click();
    EXPECT_EQ(panel.Unit_Address, 100);
    EXPECT_EQ(panel.User_Interface, "");
}

TEST(FrontPanel, ATypedLineIsSentRawOnEnter) {
    Controller_Rig rig;
    for (char c : std::string("@00RX014B*\r")) rig.Panel.Response_Box_KeyPress(c);
    rig.Panel.Response_Box_KeyPress('\r');
    EXPECT_EQ(rig.Line.Sent, (std::vector<std::string>{"@00RX014B*\r", "\r"}));
    EXPECT_EQ(rig.Panel.Typed_Line, "");
}

}  // namespace
}  // namespace corvanel::testing
