// SPDX-License-Identifier: GPL-3.0-or-later
// The front panel's address and scan as the maintenance operator uses them, against
// simulated controllers on the line.

#include "controller/front_panel_model.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/fake_line.h"

namespace corvanel::testing {
namespace {

void Step_To(FrontPanel& panel, int address) {
    while (panel.Unit_Address < address) panel.Increment_Unit_Addr_Click();
}

// The address stays within 0 to 100 and every button uses it; a scan lists who answers,
// blinks the indicator and keeps the address.
TEST(Front_Panel, TheAddressStaysInRangeAndAScanListsWhoAnswers) {
    Controller_Rig bench({0, 3});
    FrontPanel& panel = bench.Panel;
    panel.User_Interface = "old message\r\n";
    panel.Decrement_Unit_Addr_Click();  // "<" at 0
    EXPECT_EQ(panel.Unit_Address_Display + panel.User_Interface, "0");
    Step_To(panel, 100);
    panel.Increment_Unit_Addr_Click();  // ">" at 100
    EXPECT_EQ(panel.Unit_Address_Display, "100");
    panel.RV_Command_Click();
    EXPECT_EQ(bench.Last_Sent(), "@100RX017A*\r\n");
    while (panel.Unit_Address > 1) panel.Decrement_Unit_Addr_Click();
    panel.Decrement_Unit_Addr_Click();  // "<" at 1
    EXPECT_EQ(panel.Unit_Address_Display, "0");
    EXPECT_EQ(panel.Unit_Address, 0);

    Step_To(panel, 42);
    panel.Unit_Scanning_Indicator = true;
    std::vector<bool> blinking;  // the indicator as each of the first requests goes out
    bench.Line.On_Send = [&](const std::string&) {
        if (blinking.size() < 3) blinking.push_back(panel.Unit_Scanning_Indicator);
    };
    bench.Line.Sent.clear();
    panel.User_Interface.clear();
    panel.Unit_Addr_Scan_Click();
    ASSERT_EQ(bench.Line.Sent.size(), 101u);
    const std::string& lines = panel.User_Interface;
    EXPECT_EQ(lines.substr(0, 18), "Unit #0 present\r\nU");
    EXPECT_NE(lines.find("Unit #3 present\r\n"), std::string::npos);
    EXPECT_NE(lines.find("Unit #100 not present\r\nScan finished\r\n"), std::string::npos);
    EXPECT_EQ(blinking, (std::vector<bool>{false, true, false}));
    EXPECT_FALSE(panel.Unit_Scanning_Indicator);
    EXPECT_EQ(panel.Unit_Address_Display, "42");
}

}  // namespace
}  // namespace corvanel::testing
