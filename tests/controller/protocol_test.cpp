// SPDX-License-Identifier: GPL-3.0-or-later
#include "controller/protocol.h"

#include <gtest/gtest.h>

#include <functional>

#include "support/fake_line.h"

namespace corvanel::testing {
namespace {

// The fourteen indicators in reply order, one group per status digit.
std::string Indicators(const FrontPanel& p) {
    std::string text;
    for (bool bit :
         {p.Remote, p.Manual, p.RamWrite, p.AutoTuning, p.Alarm_2, p.Alarm_1, p.ShiftOn, p.MemDiff,
          p.RamDataError, p.HeaterBurnout, p.AD_Fail, p.InputError, p.Underflow, p.OverFlow})
        text += bit ? '1' : '0';
    return text.insert(3, " ").insert(8, " ").insert(12, " ");
}

// The field sent for a value, and what the operator is told when it had to be clamped.
TEST(Write_SV, FillsTheFourCharacterFieldOrSendsTheNearestValueAndSaysSo) {
    const std::tuple<int, const char*, const char*> cases[] = {{5, "0005", ""},
                                                               {9999, "9999", ""},
                                                               {-5, "F005", ""},
                                                               {-999, "F999", ""},
                                                               {-1000, "F999", "-1000 => -999"},
                                                               {12000, "9999", "12000 => 9999"}};
    for (auto [asked, field, told] : cases) {
        SCOPED_TRACE(asked);
        Controller_Rig rig;
        rig.Answer("@00WS00");
        std::int16_t value = static_cast<std::int16_t>(asked);
        rig.Protocol.Write_SV(rig.Unit, value);
        EXPECT_EQ(rig.Line.Sent.at(0), Reply_Of(std::string("@00WS01") + field) + "\n");
        EXPECT_EQ(value, asked);  // the caller's value stays as it was
        EXPECT_EQ(rig.Protocol.Set_Value_Clamped, *told != '\0');
        EXPECT_NE(rig.Panel.User_Interface.find(told), std::string::npos);
        EXPECT_EQ(rig.Panel.User_Interface.empty(), !*told);
    }
}

using Call = std::function<void(InOut_Functions&, std::uint8_t&)>;

struct Routine {
    const char* Name;
    const char* Request;  // the frame to unit 0
    const char* Data;     // the data of a good reply
    Call Send;
    const char* Refusal_Shown_On;  // end codes answered with "Command cannot be executed"
    bool Executed_Whatever_End_Code = false;
};

#define CALL(routine) [](auto& io, auto& a) { io.routine(a); }

TEST(Each_Routine, ActsOnlyOnEndCode00AndLeavesEverythingAsItWasOnABrokenReply) {
    const Routine routines[] = {
        {"Write_SV", "@00WS01F01032*\r\n", "",
         [](auto& io, auto& a) {
             std::int16_t v = -10;
             io.Write_SV(a, v);
         },
         "0D"},
        {"Read_SV", "@00RS0140*\r\n", "0123", CALL(Read_SV), "0D 7F"},
        {"Read_PV", "@00RX014B*\r\n", "01230004", CALL(Read_PV), ""},
        {"Set_Write_Mode_Backup", "@00ME0149*\r\n", "", CALL(Set_Write_Mode_Backup), ""},
        {"Set_Write_Mode_RAM", "@00MA014D*\r\n", "", CALL(Set_Write_Mode_RAM), ""},
        {"Save_RAM_To_NV", "@00MW015B*\r\n", "", CALL(Save_RAM_To_NV), ""},
        {"Read_Status", "@00RU0146*\r\n", "10002", CALL(Read_Status), ""},
        {"Read_Output", "@00RO015C*\r\n", "0500", CALL(Read_Output), ""},
        {"Read_Limits", "@00RL015F*\r\n", "F0501300", CALL(Read_Limits), ""},
        {"Start_Auto_Tune", "@00AS0153*\r\n", "", CALL(Start_Auto_Tune), "0D"},
        {"Stop_Auto_Tune", "@00AP0150*\r\n", "", CALL(Stop_Auto_Tune), "", true}};
    for (const Routine& routine : routines) {
        SCOPED_TRACE(routine.Name);
        std::string header = std::string(routine.Request).substr(0, 5);
        std::string good = Reply_Of(header + "00" + routine.Data);
        std::string corrupted = good;
        corrupted[2] = '1';
        const std::pair<std::string, std::string> replies[] = {
            {"00", good},
            {"0D", Reply_Of(header + "0D" + routine.Data)},
            {"7F", Reply_Of(header + "7F" + routine.Data)},
            {"no reply", ""},
            {"one character corrupted", corrupted}};
        for (const auto& [story, reply] : replies) {
            SCOPED_TRACE(story);
            Controller_Rig rig;
            InOut_Functions& io = rig.Protocol;
            FrontPanel& p = rig.Panel;
            auto values = [&] {
                return std::tuple(io.Last_PV, io.Low_Set_Limit, io.High_Set_Limit, io.Status_High,
                                  p.Set_Point, p.Process_Value, p.Output_Display,
                                  p.Controller_Input_Type, Indicators(p));
            };
            auto before = values();
            rig.Line.Scripted.push_back(reply);
            routine.Send(io, rig.Unit);

            EXPECT_EQ(rig.Line.Sent.at(0), routine.Request);
            bool intact = story.size() == 2;
            bool executed = story == "00" || (intact && routine.Executed_Whatever_End_Code);
            EXPECT_EQ(io.Comm_Error, !intact);
            EXPECT_EQ(p.Communication_Status, intact);
            EXPECT_EQ(io.Command_OK, executed);
            EXPECT_EQ(p.Command_Executed, executed);
            if (executed) continue;
            bool refusal =
                intact && std::string(routine.Refusal_Shown_On).find(story) != std::string::npos;
            EXPECT_EQ(p.User_Interface, refusal ? "Command cannot be executed\r\n" : "");
            EXPECT_TRUE(values() == before);
        }
    }
}

// The check code is the exclusive or in two upper-case digits. The worked reply shows
// -15 with only Input Error on, each status digit drives its own indicators; a reply's
// fields are decoded, and an unconvertible one gives zero or is skipped alone.
TEST(Reply_Fields, AreDecodedIndicatorByIndicatorAndAnUnconvertibleOneGivesZeroOrIsSkipped) {
    EXPECT_EQ(Compute_FCS("@01RX00F0150004"), "3D");
    EXPECT_EQ(Compute_FCS("\x0A"), "0A");  // below 16: leading zero
    EXPECT_EQ(Compute_FCS("\xFF"), "FF");  // 8-bit codes count in full
    Controller_Rig rig;
    rig.Unit = 1;
    rig.Line.Scripted = {"@01RX00F01500043D*\r"};
    rig.Protocol.Read_PV(rig.Unit);
    EXPECT_EQ(rig.Panel.Process_Value, "-015");
    EXPECT_EQ(rig.Protocol.Last_PV, -15);
    EXPECT_EQ(Indicators(rig.Panel), "000 0000 000 0100");
    rig.Answer("@01RX0001239D2Z");  // each status digit drives its own indicators; Z counts as 0
    rig.Protocol.Read_PV(rig.Unit);
    EXPECT_EQ(rig.Protocol.Last_PV, 123);
    EXPECT_EQ(rig.Panel.Process_Value, "0123");
    EXPECT_EQ(Indicators(rig.Panel), "101 1101 001 0000");
    rig.Answer("@01RX00000743F1");  // each bit apart from its neighbours; F is a digit too
    rig.Protocol.Read_PV(rig.Unit);
    EXPECT_EQ(Indicators(rig.Panel), "000 0011 111 0001");
    rig.Unit = 0;
    rig.Answer("@00RS000500");
    EXPECT_EQ(rig.Protocol.Read_SV(rig.Unit), 500);
    rig.Answer("@00RS00FABC");
    EXPECT_EQ(rig.Protocol.Read_SV(rig.Unit), 0);
    EXPECT_EQ(rig.Panel.Set_Point, "-ABC");
    EXPECT_TRUE(rig.Panel.Command_Executed);

    rig.Protocol.Last_PV = 640;
    rig.Answer("@00RX0012X40004");
    rig.Protocol.Read_PV(rig.Unit);
    EXPECT_EQ(rig.Protocol.Last_PV, 640);
    EXPECT_EQ(rig.Panel.Process_Value, "12X4");
    rig.Answer("@00RL00F1991300");
    rig.Protocol.Read_Limits(rig.Unit);
    EXPECT_EQ(rig.Panel.Low_Limit_Display + " " + rig.Panel.High_Limit_Display, "-199 1300");
    rig.Answer("@00RL00F050F100");  // an unconvertible high limit keeps the last one
    rig.Protocol.Read_Limits(rig.Unit);
    EXPECT_EQ(rig.Panel.Low_Limit_Display + " " + rig.Panel.High_Limit_Display, "-50 1300");
    EXPECT_EQ(rig.Protocol.Low_Set_Limit + rig.Protocol.High_Set_Limit, 1250);

    rig.Line.Scripted.push_back("@00RU001001275*\r");  // the worked reply: type K, scale 1
    rig.Protocol.Read_Status(rig.Unit);
    EXPECT_EQ(rig.Protocol.Status_High + rig.Protocol.Status_Mid + rig.Protocol.Status_Low, "100");
    EXPECT_EQ(rig.Panel.User_Interface,
              "Status Hi= 1\r\nStatus Mid= 0\r\nStatus Low= 0\r\nInput Type=2\r\nTempScale=1\r\n");
    rig.Answer("@00RU00A0005");  // Read Status stops at a bad status-high character
    rig.Protocol.Read_Status(rig.Unit);
    EXPECT_EQ(rig.Panel.User_Interface, "Read status Error\r\n");
    EXPECT_EQ(rig.Panel.Controller_Input_Type, "5");
    EXPECT_EQ(rig.Panel.Controller_Temp_Scale, 1);
    EXPECT_FALSE(rig.Panel.Command_Executed);
    rig.Answer("@00RU0060007");  // an even status high: scale 0
    rig.Protocol.Read_Status(rig.Unit);
    EXPECT_EQ(rig.Panel.Controller_Temp_Scale, 0);
}

TEST(Reply_Timing, ALateReplySpillsIntoTheNextCommandAndFailsIt) {
    sim::Fault_Options faults;
    faults[sim::Fault::Late_Reply] = sim::Parse_Fault_Selector("at:1");
    faults.Late_Seconds = 0.3;
    Controller_Rig rig({0}, {}, faults);

    rig.Protocol.Read_PV(rig.Unit);  // its reply comes after the pause
    EXPECT_TRUE(rig.Protocol.Comm_Error);
    rig.Protocol.Read_SV(rig.Unit);  // receives the late PV reply first
    EXPECT_TRUE(rig.Protocol.Comm_Error);
    EXPECT_EQ(rig.Protocol.Reply_Buffer.substr(0, 5), "@00RX");
    rig.Protocol.Read_SV(rig.Unit);  // the line is clear again
    EXPECT_FALSE(rig.Protocol.Comm_Error);
}

}  // namespace
}  // namespace corvanel::testing
