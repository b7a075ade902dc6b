// SPDX-License-Identifier: GPL-3.0-or-later
#include "fault_plan.h"

#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>

namespace corvanel::sim {
namespace {

constexpr const char* Read_PV_Frame = "@00RX014B*";  // the process-value read of unit 0

// One character for each of seven exchanges a second apart: "-" for no reply, else the process
// value's change from the kiln's temperature ("0" when the reading is true, "+" or "!" off by the
// spike).
std::string Replies(Fault fault, const char* when) {
    Controller_Model model({0}, {});
    Fault_Options options;
    options[fault] = Parse_Fault_Selector(when);
    options.Spike_Degrees = 150;
    Kiln_Sim_Server server(model, options);
    std::string seen;
    for (int i = 0; i < 7; ++i) {
        std::vector<Timed_Chunk> reply = server.Serve(Read_PV_Frame);
        int off = reply.empty() ? 0
                                : *Value_Of_Field(reply.at(0).Bytes.substr(7, 4)) -
                                      std::lround(model.Unit(0)->Temperature());
        seen += reply.empty() ? '-' : off == 0 ? '0' : off == 150 ? '+' : '!';
        model.Advance(1.0);
    }
    return seen;
}

TEST(Fault_Selector, NumbersAndSpansPickTheirExchangesAndAKilnFaultEndsOnlyAfterASpan) {
    const std::tuple<Fault, const char*, const char*> cases[] = {
        {Fault::Cable_Pulled, "at:3-5", "00---00"},    // the cable comes back
        {Fault::Cable_Pulled, "at:3", "00-----"},      // pulled for good
        {Fault::Cable_Pulled, "at:6,2-3", "0--00--"},  // back, then pulled again
        {Fault::No_Reply, "at:2-3,6", "0--00-0"},      // a span of passing faults
        {Fault::Spike, "at:2,5", "0+00+00"},           // one reply each, then true again
        {Fault::Spike, "1", "+++++++"},                // by probability
    };
    for (auto [fault, when, expected] : cases) {
        SCOPED_TRACE(when);
        EXPECT_EQ(Replies(fault, when), expected);
    }
}

TEST(Fault_Selector, ABadSelectorIsRefusedWithItsReason) {
    const std::pair<const char*, const char*> cases[] = {
        {"at:", "not a list"},
        {"at:0", "start at 1"},
        {"at:5-", "not a list"},
        {"at:4-5-6", "not a list"},
        {"at:40-5", "ends before"},
        {"1.5", "neither"},
        {"at:99999999999", "not a list"},  // too long to be a number, not a crash
    };
    for (auto [text, reason] : cases) {
        SCOPED_TRACE(text);
        try {
            Parse_Fault_Selector(text);
            ADD_FAILURE() << "accepted";
        } catch (const std::invalid_argument& error) {
            EXPECT_NE(std::string(error.what()).find(reason), std::string::npos) << error.what();
        }
    }
}

}  // namespace
}  // namespace corvanel::sim
