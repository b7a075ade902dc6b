#include <gtest/gtest.h>

#include "controller_model.h"
#include "fake_line.h"
#include "fault_plan.h"

namespace corvanel::testing {
namespace {

using sim::Controller_Model;
using sim::Fault;
using sim::Unit_Settings;

// A rig whose line leads to an in-process simulated controller.
struct Simulated_Kiln {
    Controller_Model Model;
    sim::Kiln_Sim_Server Server;
    Controller_Rig Rig;
    std::uint8_t Address = 0;

    explicit Simulated_Kiln(Unit_Settings settings = {}, sim::Fault_Options faults = {},
                            std::vector<int> units = {0})
        : Model(units, settings), Server(Model, faults) {
        Rig.Line.Server = &Server;
    }
};

TEST(Simulated_Controller, AnswersAllElevenCommands) {
    Unit_Settings settings;
    settings.Low_Limit = -50;
    settings.High_Limit = 1300;
    Simulated_Kiln kiln(settings);
    InOut_Functions& io = kiln.Rig.Protocol;
    FrontPanel& panel = kiln.Rig.Panel;
    std::uint8_t& a = kiln.Address;

    std::int16_t set_value = 600;
    io.Write_SV(a, set_value);
    EXPECT_TRUE(panel.Command_Executed);
    EXPECT_EQ(io.Read_SV(a), 600);
    io.Read_PV(a);
    EXPECT_TRUE(panel.Command_Executed);
    EXPECT_EQ(io.Last_PV, 20);
    EXPECT_TRUE(panel.Alarm_1);          // far below the set value
    EXPECT_EQ(io.Read_Output(a), 1000);  // a cold kiln gets full power
    io.Read_Limits(a);
    EXPECT_EQ(io.Low_Set_Limit, -50);
    EXPECT_EQ(io.High_Set_Limit, 1300);
    io.Read_Status(a);
    EXPECT_EQ(panel.Controller_Input_Type, "2");
    EXPECT_EQ(panel.Controller_Temp_Scale, 0);

    io.Set_Write_Mode_RAM(a);
    EXPECT_TRUE(panel.Command_Executed);
    set_value = 700;
    io.Write_SV(a, set_value);
    io.Read_PV(a);
    EXPECT_TRUE(panel.RamWrite);
    EXPECT_TRUE(panel.MemDiff);
    io.Save_RAM_To_NV(a);
    EXPECT_NE(panel.User_Interface.find("RAM Values copied to NV RAM\r\n"), std::string::npos);
    io.Read_PV(a);
    EXPECT_FALSE(panel.MemDiff);
    io.Set_Write_Mode_Backup(a);
    io.Read_PV(a);
    EXPECT_FALSE(panel.RamWrite);

    io.Start_Auto_Tune(a);
    EXPECT_TRUE(panel.Command_Executed);
    io.Read_PV(a);
    EXPECT_TRUE(panel.AutoTuning);
    io.Stop_Auto_Tune(a);
    io.Read_PV(a);
    EXPECT_FALSE(panel.AutoTuning);

    set_value = -100;  // below the low limit
    io.Write_SV(a, set_value);
    EXPECT_FALSE(panel.Command_Executed);
    EXPECT_EQ(panel.User_Interface, "Command cannot be executed\r\n");
    EXPECT_EQ(io.Read_SV(a), 700);
}

TEST(Simulated_Controller, TheKilnFollowsTheSetValueAtABelievableRate) {
    Simulated_Kiln kiln;
    std::int16_t set_value = 900;
    kiln.Rig.Protocol.Write_SV(kiln.Address, set_value);
    sim::Controller_Unit& unit = *kiln.Model.Unit(0);
    unit.Advance(600);  // ten minutes at full power
    double rise = unit.Temperature() - 20;
    EXPECT_GT(rise, 100);  // between 10 and 30 degrees a minute
    EXPECT_LT(rise, 300);
    unit.Advance(4 * 3600);
    EXPECT_NEAR(unit.Process_Value(), 900, 3);
    int holding_900 = unit.Output_Tenths();
    EXPECT_GT(holding_900, 300);
    EXPECT_LT(holding_900, 1000);
    set_value = 400;
    kiln.Rig.Protocol.Write_SV(kiln.Address, set_value);
    unit.Advance(60);
    EXPECT_EQ(unit.Output_Tenths(), 0);  // cooling: the heater is off
    unit.Advance(8 * 3600);
    EXPECT_NEAR(unit.Process_Value(), 400, 3);
    EXPECT_LT(unit.Output_Tenths(), holding_900);
}

TEST(Simulated_Controller, PlatinumSensorsAndFahrenheitReadAsConfigured) {
    Unit_Settings settings;
    settings.Input_Type = 6;
    settings.Fahrenheit = true;
    settings.Start_Temperature = 100.5;
    Simulated_Kiln kiln(settings);
    kiln.Rig.Protocol.Read_PV(kiln.Address);
    EXPECT_EQ(kiln.Rig.Protocol.Last_PV, 1005);  // tenths of a degree
    kiln.Rig.Protocol.Read_Status(kiln.Address);
    EXPECT_EQ(kiln.Rig.Panel.Controller_Input_Type, "6");
    EXPECT_EQ(kiln.Rig.Panel.Controller_Temp_Scale, 1);
    kiln.Rig.Protocol.Read_Limits(kiln.Address);
    EXPECT_EQ(kiln.Rig.Protocol.Low_Set_Limit, -999);  // -100.0 F does not fit the field
    EXPECT_EQ(kiln.Rig.Protocol.High_Set_Limit, 8000);
}

TEST(Simulated_Faults, ShowUpAsTheProtocolExpects) {
    sim::Fault_Options faults;
    faults[Fault::No_Reply] = sim::Parse_Fault_Selector("at:1");
    faults[Fault::Corrupt_FCS] = sim::Parse_Fault_Selector("at:2");
    faults[Fault::Lower_Case_FCS] = sim::Parse_Fault_Selector("at:3");
    faults[Fault::Garbage] = sim::Parse_Fault_Selector("at:4");
    faults[Fault::End_Code_0D] = sim::Parse_Fault_Selector("at:5");
    faults[Fault::Thermocouple_Break] = sim::Parse_Fault_Selector("at:6,7");
    Simulated_Kiln kiln({}, faults);
    InOut_Functions& io = kiln.Rig.Protocol;
    std::uint8_t& a = kiln.Address;

    io.Read_PV(a);
    EXPECT_TRUE(io.Comm_Error);
    EXPECT_TRUE(io.Reply_Buffer.empty());
    io.Read_PV(a);
    EXPECT_TRUE(io.Comm_Error);
    io.Set_Write_Mode_RAM(a);  // "@00MA004C": the lower-case fcs 4c fails
    EXPECT_TRUE(io.Comm_Error);
    EXPECT_EQ(io.Reply_Buffer.substr(7, 2), "4c");
    io.Read_PV(a);
    EXPECT_TRUE(io.Comm_Error);
    EXPECT_NE(io.Reply_Buffer.front(), '@');
    io.Read_PV(a);
    EXPECT_FALSE(io.Comm_Error);
    EXPECT_FALSE(kiln.Rig.Panel.Command_Executed);
    io.Read_PV(a);
    EXPECT_TRUE(kiln.Rig.Panel.InputError);
    io.Start_Auto_Tune(a);  // nothing to tune on with the sensor open
    EXPECT_EQ(kiln.Rig.Panel.User_Interface, "Command cannot be executed\r\n");
    io.Read_PV(a);
    EXPECT_FALSE(kiln.Rig.Panel.InputError);
    EXPECT_TRUE(kiln.Rig.Panel.Command_Executed);
}

TEST(Simulated_Faults, ThreeDigitAddressesAndBadFramesGetNoGoodReply) {
    Controller_Model model({0, 10}, {});
    EXPECT_FALSE(model.Reply_Body("@05RX014E*"));           // nobody at 5
    EXPECT_EQ(*model.Reply_Body("@00RX0100*"), "@00RX13");  // FCS error
    auto frame = [](std::string body) { return body + Compute_FCS(body) + "*"; };
    EXPECT_EQ(*model.Reply_Body(frame("@00ZZ01")), "@00ZZIC");       // unknown command
    EXPECT_EQ(*model.Reply_Body(frame("@00WS01")), "@00WS14");       // value missing
    EXPECT_EQ(*model.Reply_Body(frame("@00WS01F0X0")), "@00WS14");   // not a number
    EXPECT_EQ(model.Reply_Body("@100RX017A*")->substr(5, 2), "IC");  // no unit 100
}

TEST(Fault_Selectors, AreAProbabilityOrExchangeNumbers) {
    std::mt19937 random(1);
    sim::Fault_Selector at = sim::Parse_Fault_Selector("at:2,5");
    EXPECT_FALSE(at.Selects(1, random));
    EXPECT_TRUE(at.Selects(2, random));
    EXPECT_TRUE(at.Selects(5, random));
    EXPECT_TRUE(sim::Parse_Fault_Selector("1").Selects(9, random));
    EXPECT_FALSE(sim::Parse_Fault_Selector("0").Selects(9, random));
    int hits = 0;
    sim::Fault_Selector half = sim::Parse_Fault_Selector("0.5");
    for (int i = 0; i < 1000; ++i) hits += half.Selects(i, random);
    EXPECT_GT(hits, 400);
    EXPECT_LT(hits, 600);
    for (const char* bad : {"", "1.5", "-0.1", "at:", "at:0", "at:3,x", "often"}) {
        EXPECT_THROW(sim::Parse_Fault_Selector(bad), std::invalid_argument) << bad;
    }
}

TEST(Frame_Reader, SplitsRequestsAtCarriageReturns) {
    sim::Frame_Reader reader;
    EXPECT_TRUE(reader.Add("@00RX0").empty());
    EXPECT_EQ(reader.Add("14B*\r\n@00RS0140*\r"),
              (std::vector<std::string>{"@00RX014B*", "@00RS0140*"}));
    EXPECT_EQ(reader.Add("\n\r"), std::vector<std::string>{""});
}

}  // namespace
}  // namespace corvanel::testing
