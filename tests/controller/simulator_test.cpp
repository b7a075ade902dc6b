#include <gtest/gtest.h>

#include "controller_model.h"
#include "fake_line.h"
#include "fault_plan.h"

namespace corvanel::testing {
namespace {

using sim::Parse_Fault_Selector;

// The unit's states as the front panel reads them (the plain answers run over the pty).
TEST(Simulated_Controller, KeepsRamWriteMemoryDifferenceAutoTuningAndItsLimits) {
    Controller_Rig kiln;
    sim::Unit_Settings settings;
    settings.Low_Limit = -50;
    sim::Controller_Model model({0}, settings);
    sim::Kiln_Sim_Server server(model, {});
    kiln.Line.Server = &server;
    InOut_Functions& io = kiln.Protocol;
    FrontPanel& panel = kiln.Panel;
    std::uint8_t& a = kiln.Unit;
    auto write = [&](std::int16_t value) { io.Write_SV(a, value); };

    write(600);
    io.Read_PV(a);
    EXPECT_EQ(io.Last_PV, 20);
    EXPECT_TRUE(panel.Alarm_1);  // far below the set value
    io.Set_Write_Mode_RAM(a);
    write(700);
    io.Read_PV(a);
    EXPECT_TRUE(panel.RamWrite && panel.MemDiff);
    io.Save_RAM_To_NV(a);
    io.Read_PV(a);
    EXPECT_FALSE(panel.MemDiff);
    io.Set_Write_Mode_Backup(a);
    io.Start_Auto_Tune(a);
    io.Read_PV(a);
    EXPECT_FALSE(panel.RamWrite);
    EXPECT_TRUE(panel.AutoTuning);
    io.Stop_Auto_Tune(a);
    io.Read_PV(a);
    EXPECT_FALSE(panel.AutoTuning);
    write(-100);  // below the low limit
    EXPECT_EQ(panel.User_Interface, "Command cannot be executed\r\n");
    EXPECT_EQ(io.Read_SV(a), 700);

    write(900);
    sim::Controller_Unit& unit = *model.Unit(0);
    unit.Advance(600);  // ten minutes at full power: 10 to 30 degrees a minute
    EXPECT_GT(unit.Temperature() - 20, 100);
    EXPECT_LT(unit.Temperature() - 20, 300);
    unit.Advance(4 * 3600);
    EXPECT_NEAR(unit.Process_Value(), 900, 3);
    int holding = unit.Output_Tenths();
    EXPECT_GT(holding, 300);
    EXPECT_LT(holding, 1000);
    write(400);
    unit.Advance(60);
    EXPECT_EQ(unit.Output_Tenths(), 0);  // cooling: the heater is off
    unit.Advance(8 * 3600);
    EXPECT_NEAR(unit.Process_Value(), 400, 3);
}

TEST(Simulated_Controller, PlatinumSensorsAndFahrenheitReadAsConfigured) {
    Controller_Rig kiln;
    sim::Unit_Settings settings;
    settings.Input_Type = 6;
    settings.Fahrenheit = true;
    settings.Start_Temperature = 100.5;
    sim::Controller_Model model({0}, settings);
    sim::Kiln_Sim_Server server(model, {});
    kiln.Line.Server = &server;
    kiln.Protocol.Read_PV(kiln.Unit);
    EXPECT_EQ(kiln.Protocol.Last_PV, 1005);  // tenths of a degree
    kiln.Protocol.Read_Limits(kiln.Unit);
    EXPECT_EQ(kiln.Protocol.Low_Set_Limit, -999);  // -100.0 F does not fit the field
    EXPECT_EQ(kiln.Protocol.High_Set_Limit, 8000);
}

TEST(Simulated_Faults, BadFramesGetNoGoodReplyAndFaultsAreChosenByProbabilityOrExchange) {
    sim::Controller_Model model({0, 10}, {});
    EXPECT_FALSE(model.Reply_Body("@05RX014E*"));           // nobody at 5
    EXPECT_EQ(*model.Reply_Body("@00RX0100*"), "@00RX13");  // FCS error
    auto frame = [](std::string body) { return body + Compute_FCS(body) + "*"; };
    EXPECT_EQ(*model.Reply_Body(frame("@00ZZ01")), "@00ZZIC");       // unknown command
    EXPECT_EQ(*model.Reply_Body(frame("@00WS01F0X0")), "@00WS14");   // not a number
    EXPECT_EQ(model.Reply_Body("@100RX017A*")->substr(5, 2), "IC");  // no unit 100

    std::mt19937 random(1);
    sim::Fault_Selector at = Parse_Fault_Selector("at:2,5");
    EXPECT_FALSE(at.Selects(1, random));
    EXPECT_TRUE(at.Selects(2, random) && at.Selects(5, random));
    int hits = 0;
    sim::Fault_Selector half = Parse_Fault_Selector("0.5");
    for (int i = 0; i < 1000; ++i) hits += half.Selects(i, random);
    EXPECT_GT(hits, 400);
    EXPECT_LT(hits, 600);
    for (const char* bad : {"", "1.5", "-0.1", "at:", "at:0", "at:3,x", "often"})
        EXPECT_THROW(Parse_Fault_Selector(bad), std::invalid_argument) << bad;
}

}  // namespace
}  // namespace corvanel::testing
