#include "controller/serial_link.h"

#include <gtest/gtest.h>

#include "fake_line.h"

namespace corvanel::testing {
namespace {

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
    // A receive event with nothing waiting is reported afresh; other events are ignored.
    Controller_Rig rig;
    rig.Main_Window.Lines = {"earlier"};
    rig.Serial.MSComm1_OnComm(3);
    EXPECT_EQ(rig.Main_Window.Lines, std::vector<std::string>{"earlier"});
    rig.Serial.MSComm1_OnComm(Serial_Port::Comm_Event_Receive);
    EXPECT_EQ(rig.Main_Window.Lines, std::vector<std::string>{"OnComm transmission error"});
}

TEST(Serial_Port, ARequestIsSentOnceAndOnAClosedPortReportedAndKept) {
    Controller_Rig rig;
    EXPECT_EQ(rig.Line.Settings, "9600,E,7,2");
    rig.Serial.Form_Load(7);  // the front panel's load finds the port open already
    EXPECT_EQ(rig.Line.Comm_Port(), 1);
    rig.Serial.Set_Inter_Module_Message("@00RX014B*\r\n");
    rig.Serial.Set_Inter_Module_Message("");
    EXPECT_EQ(rig.Line.Sent, std::vector<std::string>{"@00RX014B*\r\n"});
    EXPECT_EQ(rig.Serial.Inter_Module_Message(), "");
    EXPECT_TRUE(rig.Main_Window.Lines.empty());

    rig.Serial.Form_Unload();
    rig.Protocol.Read_PV(rig.Unit);
    EXPECT_EQ(rig.Main_Window.Lines,
              (std::vector<std::string>{"Inter module message error", "Comm port not open"}));
    EXPECT_EQ(rig.Serial.Inter_Module_Message(), "@00RX014B*\r\n");
    EXPECT_TRUE(rig.Protocol.Comm_Error);
}

TEST(Serial_Port, AMissingPortIsReportedAFailedSwitchClosesThePortAndAFailedCloseIsReported) {
    Controller_Rig rig;
    rig.Line.Existing_Ports = {1, 3};
    Serial_Port other{rig.Line, rig.Panel, rig.Main_Window, rig.Protocol.Reply_Buffer};
    other.Form_Load(4);
    EXPECT_EQ(rig.Main_Window.Lines,
              (std::vector<std::string>{"Comm port init error", "Invalid Port Number"}));
    rig.Serial.Switch_Port(3);
    EXPECT_EQ(rig.Line.Comm_Port(), 3);
    EXPECT_TRUE(rig.Line.Port_Open());
    EXPECT_THROW(rig.Serial.Switch_Port(4), Run_Time_Error);
    EXPECT_FALSE(rig.Line.Port_Open());
    rig.Serial.Switch_Port(3);
    rig.Line.Fail_On_Close = true;
    rig.Serial.Form_Unload();
    EXPECT_EQ(rig.Main_Window.Lines,
              std::vector<std::string>{"Error encountered closing serial port"});
}

TEST(Serial_Port, LineSettingsAreReadAsWritten) {
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
