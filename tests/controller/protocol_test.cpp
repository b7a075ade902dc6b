#include "controller/protocol.h"

#include <gtest/gtest.h>

#include <functional>

#include "fake_line.h"

namespace corvanel::testing {
namespace {

// --- Frames on the wire -------------------------------------------------------------

TEST(Compute_FCS, IsTheExclusiveOrInTwoUpperCaseDigits) {
    EXPECT_EQ(Compute_FCS("@01RX01"), "4A");
    EXPECT_EQ(Compute_FCS(""), "00");
    EXPECT_EQ(Compute_FCS("\x0A"), "0A");  // below 16: leading zero
    EXPECT_EQ(Compute_FCS("\xFF"), "FF");  // 8-bit codes count in full
    EXPECT_EQ(Compute_FCS("@@"), "00");    // a character twice cancels out
    EXPECT_EQ(Compute_FCS("@01RX00F0150004"), "3D");
}

struct Request_Case {
    const char* Story;
    std::function<void(InOut_Functions&, std::uint8_t&)> Send;
    std::uint8_t Address;
    const char* Expected_Frame;
};

class Request_Frames : public ::testing::TestWithParam<Request_Case> {};

TEST_P(Request_Frames, GoOutByteForByte) {
    Controller_Rig rig;
    std::uint8_t address = GetParam().Address;
    GetParam().Send(rig.Protocol, address);
    ASSERT_EQ(rig.Line.Sent.size(), 1u);
    EXPECT_EQ(rig.Line.Sent[0], GetParam().Expected_Frame);
    EXPECT_EQ(address, GetParam().Address);
}

std::function<void(InOut_Functions&, std::uint8_t&)> Write(std::int16_t value) {
    return [value](InOut_Functions& io, std::uint8_t& a) {
        std::int16_t v = value;
        io.Write_SV(a, v);
    };
}

INSTANTIATE_TEST_SUITE_P(
    Protocol, Request_Frames,
    ::testing::Values(
        Request_Case{"read PV of unit 1", [](auto& io, auto& a) { io.Read_PV(a); }, 1,
                     "@01RX014A*\r\n"},
        Request_Case{"write 1250 to unit 0", Write(1250), 0, "@00WS01125043*\r\n"},
        Request_Case{"write -10 to unit 0", Write(-10), 0, "@00WS01F01032*\r\n"},
        Request_Case{"unit 5 is written 05", [](auto& io, auto& a) { io.Read_PV(a); }, 5,
                     "@05RX014E*\r\n"},
        Request_Case{"unit 100 takes three characters", [](auto& io, auto& a) { io.Read_PV(a); },
                     100, "@100RX017A*\r\n"},
        Request_Case{"read SV", [](auto& io, auto& a) { io.Read_SV(a); }, 0, "@00RS0140*\r\n"},
        Request_Case{"NV ram", [](auto& io, auto& a) { io.Set_Write_Mode_Backup(a); }, 0,
                     "@00ME0149*\r\n"},
        Request_Case{"RAM only", [](auto& io, auto& a) { io.Set_Write_Mode_RAM(a); }, 0,
                     "@00MA014D*\r\n"},
        Request_Case{"NV save", [](auto& io, auto& a) { io.Save_RAM_To_NV(a); }, 0,
                     "@00MW015B*\r\n"},
        Request_Case{"status", [](auto& io, auto& a) { io.Read_Status(a); }, 0, "@00RU0146*\r\n"},
        Request_Case{"output", [](auto& io, auto& a) { io.Read_Output(a); }, 0, "@00RO015C*\r\n"},
        Request_Case{"limits", [](auto& io, auto& a) { io.Read_Limits(a); }, 0, "@00RL015F*\r\n"},
        Request_Case{"auto-tune", [](auto& io, auto& a) { io.Start_Auto_Tune(a); }, 0,
                     "@00AS0153*\r\n"},
        Request_Case{"stop tune", [](auto& io, auto& a) { io.Stop_Auto_Tune(a); }, 0,
                     "@00AP0150*\r\n"}));

struct Encoding_Case {
    int Value;
    const char* Field;
};

class Set_Value_Encoding : public ::testing::TestWithParam<Encoding_Case> {};

TEST_P(Set_Value_Encoding, FillsTheFourCharacterFieldAndKeepsTheCallersValue) {
    Controller_Rig rig;
    std::uint8_t address = 0;
    std::int16_t value = static_cast<std::int16_t>(GetParam().Value);
    rig.Protocol.Write_SV(address, value);
    std::string body = std::string("@00WS01") + GetParam().Field;
    EXPECT_EQ(rig.Line.Sent.at(0), body + Compute_FCS(body) + "*\r\n");
    EXPECT_EQ(value, GetParam().Value);
    EXPECT_FALSE(rig.Protocol.Set_Value_Clamped);
}

INSTANTIATE_TEST_SUITE_P(Protocol, Set_Value_Encoding,
                         ::testing::Values(Encoding_Case{0, "0000"}, Encoding_Case{5, "0005"},
                                           Encoding_Case{75, "0075"}, Encoding_Case{999, "0999"},
                                           Encoding_Case{1250, "1250"}, Encoding_Case{9999, "9999"},
                                           Encoding_Case{-5, "F005"}, Encoding_Case{-50, "F050"},
                                           Encoding_Case{-500, "F500"},
                                           Encoding_Case{-999, "F999"}));

TEST(Write_SV, AValueOutsideTheFieldSendsTheNearestOneAndTellsTheOperator) {
    for (auto [asked, field, shown] :
         {std::tuple{-1000, "F999", "-1000 => -999"}, std::tuple{12000, "9999", "12000 => 9999"}}) {
        Controller_Rig rig;
        rig.Line.Scripted.push_back(Reply_Of("@00WS00"));
        std::uint8_t address = 0;
        std::int16_t value = static_cast<std::int16_t>(asked);
        rig.Protocol.Write_SV(address, value);
        std::string body = std::string("@00WS01") + field;
        EXPECT_EQ(rig.Line.Sent.at(0), body + Compute_FCS(body) + "*\r\n");
        EXPECT_EQ(value, asked);
        EXPECT_TRUE(rig.Protocol.Set_Value_Clamped);
        EXPECT_NE(rig.Panel.User_Interface.find(shown), std::string::npos);
        EXPECT_TRUE(rig.Panel.Command_Executed);
    }
}

// --- The worked replies -------------------------------------------------------------

TEST(Read_PV, TheWorkedReplyShowsMinus15WithOnlyInputError) {
    Controller_Rig rig;
    rig.Line.Scripted.push_back("@01RX00F01500043D*\r");
    std::uint8_t address = 1;
    rig.Protocol.Read_PV(address);
    EXPECT_FALSE(rig.Protocol.Comm_Error);
    EXPECT_TRUE(rig.Protocol.Command_OK);
    EXPECT_TRUE(rig.Panel.Communication_Status);
    EXPECT_TRUE(rig.Panel.Command_Executed);
    EXPECT_EQ(rig.Panel.Process_Value, "-015");
    EXPECT_EQ(rig.Protocol.Last_PV, -15);
    const FrontPanel& p = rig.Panel;
    std::vector<bool> others = {p.Remote,  p.Manual,    p.RamWrite, p.AutoTuning,   p.Alarm_2,
                                p.Alarm_1, p.ShiftOn,   p.MemDiff,  p.RamDataError, p.HeaterBurnout,
                                p.AD_Fail, p.Underflow, p.OverFlow};
    EXPECT_TRUE(p.InputError);
    for (bool bit : others) EXPECT_FALSE(bit);
}

TEST(Read_PV, EachStatusDigitDrivesItsOwnIndicators) {
    Controller_Rig rig;
    rig.Line.Scripted.push_back(Reply_Of("@00RX0001239F2Z"));  // Z is not hex: counts as 0
    std::uint8_t address = 0;
    rig.Protocol.Read_PV(address);
    const FrontPanel& p = rig.Panel;
    EXPECT_EQ(rig.Protocol.Last_PV, 123);
    EXPECT_EQ(p.Process_Value, "0123");
    EXPECT_TRUE(p.Remote && !p.Manual && p.RamWrite);                         // 9 = 8+1
    EXPECT_TRUE(p.AutoTuning && p.Alarm_2 && p.Alarm_1 && p.ShiftOn);         // F
    EXPECT_TRUE(!p.MemDiff && !p.RamDataError && p.HeaterBurnout);            // 2
    EXPECT_TRUE(!p.AD_Fail && !p.InputError && !p.Underflow && !p.OverFlow);  // Z
}

TEST(Read_Status, TheWorkedReplyGivesTypeKAndScaleOne) {
    Controller_Rig rig;
    rig.Line.Scripted.push_back("@00RU001001275*\r");
    std::uint8_t address = 0;
    rig.Panel.User_Interface = "old lines\r\n";
    rig.Protocol.Read_Status(address);
    EXPECT_EQ(rig.Protocol.Status_High, "1");
    EXPECT_EQ(rig.Protocol.Status_Mid, "0");
    EXPECT_EQ(rig.Protocol.Status_Low, "0");
    EXPECT_EQ(rig.Panel.Controller_Input_Type, "2");
    EXPECT_EQ(rig.Panel.Controller_Temp_Scale, 1);
    EXPECT_TRUE(rig.Panel.Command_Executed);
    EXPECT_EQ(rig.Panel.User_Interface,
              "Status Hi= 1\r\nStatus Mid= 0\r\nStatus Low= 0\r\nInput Type=2\r\nTempScale=1\r\n");
}

// --- End codes, routine by routine ---------------------------------------------------

struct Routine {
    const char* Name;
    const char* Header;  // "@00RX"
    const char* Data;    // good data of the reply
    std::function<void(InOut_Functions&, std::uint8_t&)> Call;
    bool Refusal_Shown_On_0D;     // "Command cannot be executed" on 0D
    bool Refusal_Shown_On_Other;  // ... on another end code
    bool Refusal_Translated;
    bool Executed_Whatever_End_Code;
};

const std::vector<Routine>& Routines() {
    static const std::vector<Routine> routines = {
        {"Write_SV", "@00WS", "", Write(-10), true, false, false, false},
        {"Read_SV", "@00RS", "0123", [](auto& io, auto& a) { io.Read_SV(a); }, true, true, true,
         false},
        {"Read_PV", "@00RX", "01230000", [](auto& io, auto& a) { io.Read_PV(a); }, false, false,
         false, false},
        {"Set_Write_Mode_Backup", "@00ME", "",
         [](auto& io, auto& a) { io.Set_Write_Mode_Backup(a); }, false, false, false, false},
        {"Set_Write_Mode_RAM", "@00MA", "", [](auto& io, auto& a) { io.Set_Write_Mode_RAM(a); },
         false, false, false, false},
        {"Save_RAM_To_NV", "@00MW", "", [](auto& io, auto& a) { io.Save_RAM_To_NV(a); }, false,
         false, false, false},
        {"Read_Status", "@00RU", "10002", [](auto& io, auto& a) { io.Read_Status(a); }, false,
         false, false, false},
        {"Read_Output", "@00RO", "0500", [](auto& io, auto& a) { io.Read_Output(a); }, false, false,
         false, false},
        {"Read_Limits", "@00RL", "F0501300", [](auto& io, auto& a) { io.Read_Limits(a); }, false,
         false, false, false},
        {"Start_Auto_Tune", "@00AS", "", [](auto& io, auto& a) { io.Start_Auto_Tune(a); }, true,
         false, true, false},
        {"Stop_Auto_Tune", "@00AP", "", [](auto& io, auto& a) { io.Stop_Auto_Tune(a); }, false,
         false, false, true},
    };
    return routines;
}

struct End_Code_Case {
    std::size_t Routine_Index;
    const char* End_Code;
};

class End_Codes : public ::testing::TestWithParam<End_Code_Case> {};

TEST_P(End_Codes, DecideWhetherTheCommandCountsAsExecuted) {
    const Routine& routine = Routines()[GetParam().Routine_Index];
    std::string end_code = GetParam().End_Code;
    Controller_Rig rig;
    rig.Line.Scripted.push_back(Reply_Of(routine.Header + end_code + routine.Data));
    std::uint8_t address = 0;
    routine.Call(rig.Protocol, address);

    bool executed = end_code == "00" || routine.Executed_Whatever_End_Code;
    EXPECT_TRUE(rig.Panel.Communication_Status) << routine.Name;
    EXPECT_FALSE(rig.Protocol.Comm_Error) << routine.Name;
    EXPECT_EQ(rig.Panel.Command_Executed, executed) << routine.Name << " " << end_code;
    EXPECT_EQ(rig.Protocol.Command_OK, executed) << routine.Name << " " << end_code;
    bool refusal_expected = (end_code == "0D" && routine.Refusal_Shown_On_0D) ||
                            (end_code == "7F" && routine.Refusal_Shown_On_Other);
    bool refusal_shown =
        rig.Panel.User_Interface.find("Command cannot be executed") != std::string::npos;
    EXPECT_EQ(refusal_shown, refusal_expected) << routine.Name << " " << end_code;
    if (end_code != "00" && !refusal_expected) {
        EXPECT_EQ(rig.Panel.User_Interface, "") << routine.Name << " " << end_code;
    }
}

std::vector<End_Code_Case> All_End_Code_Cases() {
    std::vector<End_Code_Case> cases;
    for (std::size_t i = 0; i < Routines().size(); ++i) {
        for (const char* code : {"00", "0D", "7F"}) cases.push_back({i, code});
    }
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Protocol, End_Codes, ::testing::ValuesIn(All_End_Code_Cases()),
                         [](const auto& info) {
                             return std::string(Routines()[info.param.Routine_Index].Name) + "_" +
                                    info.param.End_Code;
                         });

TEST(End_Codes, ReadPVRefusedKeepsTheLastValueSilently) {
    Controller_Rig rig;
    rig.Protocol.Last_PV = 321;
    rig.Line.Scripted.push_back(Reply_Of("@00RX0D01230004"));
    std::uint8_t address = 0;
    rig.Protocol.Read_PV(address);
    EXPECT_TRUE(rig.Panel.Communication_Status);
    EXPECT_FALSE(rig.Panel.Command_Executed);
    EXPECT_EQ(rig.Protocol.Last_PV, 321);
    EXPECT_FALSE(rig.Panel.InputError);
}

TEST(End_Codes, WriteRefusedLeavesTheSetPointShown) {
    Controller_Rig rig;
    rig.Panel.Set_Point = "500";
    rig.Line.Scripted.push_back(Reply_Of("@00WS0D"));
    std::uint8_t address = 0;
    std::int16_t value = -10;
    rig.Protocol.Write_SV(address, value);
    EXPECT_EQ(rig.Panel.Set_Point, "500");
    EXPECT_EQ(rig.Panel.User_Interface, "Command cannot be executed\r\n");
}

// --- Replies that fail the check ----------------------------------------------------

struct Broken_Reply {
    const char* Story;
    std::function<std::string(const std::string& good)> Spoil;
};

class Failed_Replies : public ::testing::TestWithParam<std::tuple<std::size_t, Broken_Reply>> {};

TEST_P(Failed_Replies, FailTheCheckSilentlyAndKeepEveryValue) {
    const Routine& routine = Routines()[std::get<0>(GetParam())];
    const Broken_Reply& broken = std::get<1>(GetParam());
    Controller_Rig rig;
    rig.Protocol.Last_PV = 77;
    rig.Protocol.Low_Set_Limit = 1;
    rig.Protocol.High_Set_Limit = 2;
    rig.Protocol.Status_High = "h";
    rig.Panel.Set_Point = "sp";
    rig.Panel.Output_Display = "out";
    rig.Panel.Controller_Input_Type = "t";
    std::string good = Reply_Of(routine.Header + std::string("00") + routine.Data);
    rig.Line.Scripted.push_back(broken.Spoil(good));
    std::uint8_t address = 0;
    routine.Call(rig.Protocol, address);
    EXPECT_TRUE(rig.Protocol.Comm_Error) << routine.Name << ": " << broken.Story;
    EXPECT_FALSE(rig.Protocol.Command_OK);
    EXPECT_FALSE(rig.Panel.Communication_Status);
    EXPECT_FALSE(rig.Panel.Command_Executed);
    EXPECT_EQ(rig.Panel.User_Interface, "");
    EXPECT_EQ(rig.Protocol.Last_PV, 77);
    EXPECT_EQ(rig.Protocol.Low_Set_Limit, 1);
    EXPECT_EQ(rig.Protocol.High_Set_Limit, 2);
    EXPECT_EQ(rig.Protocol.Status_High, "h");
    EXPECT_EQ(rig.Panel.Set_Point, "sp");
    EXPECT_EQ(rig.Panel.Output_Display, "out");
    EXPECT_EQ(rig.Panel.Controller_Input_Type, "t");
}

INSTANTIATE_TEST_SUITE_P(
    Protocol, Failed_Replies,
    ::testing::Combine(
        ::testing::Range<std::size_t>(0, 11),
        ::testing::Values(
            Broken_Reply{"no reply", [](const std::string&) { return std::string(); }},
            Broken_Reply{"reply cut before its FCS",
                         [](const std::string& good) { return good.substr(0, good.size() - 4); }},
            Broken_Reply{"one character corrupted",
                         [](const std::string& good) {
                             std::string bad = good;
                             bad[2] = bad[2] == '0' ? '1' : '0';
                             return bad;
                         }},
            Broken_Reply{"a stray character in front",
                         [](const std::string& good) { return "?" + good; }})));

TEST(Failed_Replies, ALowerCaseFCSDoesNotMatch) {
    // FCS of "@01RX00F0150004" is 3D; written 3d it must fail.
    Controller_Rig rig;
    rig.Line.Scripted.push_back("@01RX00F01500043d*\r");
    std::uint8_t address = 1;
    rig.Protocol.Read_PV(address);
    EXPECT_TRUE(rig.Protocol.Comm_Error);
    EXPECT_FALSE(rig.Panel.Communication_Status);
}

TEST(Failed_Replies, ReadSVAndReadOutputGiveZero) {
    Controller_Rig rig;
    std::uint8_t address = 0;
    rig.Line.Scripted.push_back(Reply_Of("@00RS000500"));
    EXPECT_EQ(rig.Protocol.Read_SV(address), 500);
    EXPECT_EQ(rig.Protocol.Read_SV(address), 0);  // no reply this time
    rig.Line.Scripted.push_back(Reply_Of("@00RO000750"));
    EXPECT_EQ(rig.Protocol.Read_Output(address), 750);
    EXPECT_EQ(rig.Protocol.Read_Output(address), 0);
}

// --- Fields that cannot be converted --------------------------------------------------

TEST(Unconvertible_Fields, ReadLimitsSkipsOnlyTheBadHighLimit) {
    Controller_Rig rig;
    rig.Protocol.High_Set_Limit = 1300;
    rig.Line.Scripted.push_back(Reply_Of("@00RL00F050F100"));
    std::uint8_t address = 0;
    rig.Protocol.Read_Limits(address);
    EXPECT_EQ(rig.Protocol.Low_Set_Limit, -50);
    EXPECT_EQ(rig.Protocol.High_Set_Limit, 1300);
    EXPECT_EQ(rig.Panel.Low_Limit_Display, "-50");
    EXPECT_EQ(rig.Panel.High_Limit_Display, "1300");
    EXPECT_TRUE(rig.Panel.Command_Executed);
}

TEST(Unconvertible_Fields, ReadPVKeepsTheLastValueButStillSetsTheStatus) {
    Controller_Rig rig;
    rig.Protocol.Last_PV = 640;
    rig.Line.Scripted.push_back(Reply_Of("@00RX0012X40004"));
    std::uint8_t address = 0;
    rig.Protocol.Read_PV(address);
    EXPECT_EQ(rig.Protocol.Last_PV, 640);
    EXPECT_EQ(rig.Panel.Process_Value, "12X4");
    EXPECT_TRUE(rig.Panel.InputError);
    EXPECT_TRUE(rig.Panel.Command_Executed);
}

TEST(Unconvertible_Fields, ReadSVAndReadOutputGiveZeroButCountAsExecuted) {
    Controller_Rig rig;
    std::uint8_t address = 0;
    rig.Line.Scripted.push_back(Reply_Of("@00RS00FABC"));
    EXPECT_EQ(rig.Protocol.Read_SV(address), 0);
    EXPECT_EQ(rig.Panel.Set_Point, "-ABC");
    EXPECT_TRUE(rig.Panel.Command_Executed);
    rig.Line.Scripted.push_back(Reply_Of("@00ROooF100"));  // end code "oo": not 00
    EXPECT_EQ(rig.Protocol.Read_Output(address), 0);
    EXPECT_FALSE(rig.Panel.Command_Executed);
    rig.Line.Scripted.push_back(Reply_Of("@00RO00F100"));
    EXPECT_EQ(rig.Protocol.Read_Output(address), 0);
    EXPECT_EQ(rig.Panel.Output_Display, "0");
    EXPECT_TRUE(rig.Panel.Command_Executed);
}

TEST(Unconvertible_Fields, ReadStatusStopsAtABadStatusHighCharacter) {
    Controller_Rig rig;
    rig.Panel.Controller_Temp_Scale = 1;
    rig.Line.Scripted.push_back(Reply_Of("@00RU00A0005"));
    std::uint8_t address = 0;
    rig.Protocol.Read_Status(address);
    EXPECT_EQ(rig.Panel.User_Interface, "Read status Error\r\n");
    EXPECT_EQ(rig.Protocol.Status_High, "A");
    EXPECT_EQ(rig.Protocol.Status_Mid, "0");
    EXPECT_EQ(rig.Protocol.Status_Low, "0");
    EXPECT_EQ(rig.Panel.Controller_Input_Type, "5");
    EXPECT_EQ(rig.Panel.Controller_Temp_Scale, 1);
    EXPECT_FALSE(rig.Panel.Command_Executed);
}

TEST(Unconvertible_Fields, StatusHighOfSixGivesScaleZero) {
    Controller_Rig rig;
    rig.Panel.Controller_Temp_Scale = 1;
    rig.Line.Scripted.push_back(Reply_Of("@00RU0060007"));
    std::uint8_t address = 0;
    rig.Protocol.Read_Status(address);
    EXPECT_EQ(rig.Panel.Controller_Temp_Scale, 0);
    EXPECT_EQ(rig.Panel.Controller_Input_Type, "7");
}

// --- Timing ------------------------------------------------------------------------

TEST(Reply_Timing, ALateReplySpillsIntoTheNextCommandAndFailsIt) {
    Controller_Rig rig;
    sim::Controller_Model model({0}, {});
    sim::Fault_Options faults;
    faults[sim::Fault::Late_Reply] = sim::Parse_Fault_Selector("at:1");
    faults.Late_Seconds = 0.3;
    sim::Kiln_Sim_Server server(model, faults);
    rig.Line.Server = &server;
    std::uint8_t address = 0;

    rig.Protocol.Read_PV(address);  // its reply comes after the pause
    EXPECT_TRUE(rig.Protocol.Comm_Error);
    rig.Protocol.Read_SV(address);  // receives the late PV reply first
    EXPECT_TRUE(rig.Protocol.Comm_Error);
    EXPECT_EQ(rig.Protocol.Reply_Buffer.substr(0, 5), "@00RX");
    rig.Protocol.Read_SV(address);  // the line is clear again
    EXPECT_FALSE(rig.Protocol.Comm_Error);
    EXPECT_TRUE(rig.Panel.Command_Executed);
}

TEST(Reply_Timing, EveryCommandPausesTheSameTwoTenthsWhetherAnsweredOrNot) {
    Controller_Rig rig;
    std::uint8_t address = 0;
    rig.Line.Scripted.push_back(Reply_Of("@00AP00"));
    rig.Protocol.Stop_Auto_Tune(address);
    rig.Protocol.Stop_Auto_Tune(address);
    EXPECT_NEAR(rig.Line.Now, 0.4, 1e-9);
}

// --- The unit-address scan -----------------------------------------------------------

TEST(Scan_Unit_Addresses, WithNoControllerEveryAddressIsNotPresent) {
    Controller_Rig rig;
    rig.Panel.Unit_Address = 7;
    rig.Panel.User_Interface = "before\r\n";
    rig.Protocol.Scan_Unit_Addresses();
    std::string expected;
    for (int a = 0; a <= 100; ++a) expected += "Unit #" + std::to_string(a) + " not present\r\n";
    expected += "Scan finished\r\n";
    EXPECT_EQ(rig.Panel.User_Interface, expected);
    EXPECT_FALSE(rig.Panel.Unit_Scanning_Indicator);
    EXPECT_EQ(rig.Panel.Unit_Address, 7);
    EXPECT_EQ(rig.Line.Sent.size(), 101u);
    EXPECT_EQ(rig.Line.Sent.back(), "@100RX017A*\r\n");
}

TEST(Scan_Unit_Addresses, FindsTheControllersOnTheLine) {
    Controller_Rig rig;
    sim::Controller_Model model({0, 5, 42}, {});
    sim::Kiln_Sim_Server server(model, {});
    rig.Line.Server = &server;
    rig.Protocol.Scan_Unit_Addresses();
    for (int a : {0, 5, 42}) {
        EXPECT_NE(rig.Panel.User_Interface.find("Unit #" + std::to_string(a) + " present\r\n"),
                  std::string::npos);
    }
    EXPECT_NE(rig.Panel.User_Interface.find("Unit #6 not present\r\n"), std::string::npos);
    EXPECT_NE(rig.Panel.User_Interface.find("Unit #100 not present\r\n"), std::string::npos);
}

}  // namespace
}  // namespace corvanel::testing
