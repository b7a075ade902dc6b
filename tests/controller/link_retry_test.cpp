// SPDX-License-Identifier: GPL-3.0-or-later
// When the port of a controller that stopped answering is opened again.

#include "controller/link_retry.h"

#include <gtest/gtest.h>

#include <vector>

namespace corvanel::testing {
namespace {

TEST(Link_Retry, AnOutageIsToldOnceAndTriedAtWaitsGrowingToThirtySeconds) {
    Link_Retry retry;
    EXPECT_FALSE(retry.Failed(100, false));  // one lost reply is no outage
    EXPECT_EQ(retry.Answered(103), std::nullopt);
    EXPECT_TRUE(retry.Failed(110, true));  // a port gone is one at once
    retry.Drop();

    EXPECT_FALSE(retry.Failed(200, false));
    EXPECT_FALSE(retry.Failed(205, false));
    EXPECT_TRUE(retry.Failed(206, false));  // six seconds without an answer
    std::vector<long long> tries;
    for (long long now = 206; now <= 400; ++now) {
        if (retry.Try_Due(now)) tries.push_back(now);
        EXPECT_FALSE(retry.Failed(now, true)) << now;  // told once
    }
    EXPECT_EQ(tries, (std::vector<long long>{206, 208, 212, 220, 236, 266, 296, 326, 356, 386}));
    EXPECT_EQ(retry.Answered(401), 201);  // from the first failed exchange
    EXPECT_FALSE(retry.Try_Due(500));
}

}  // namespace
}  // namespace corvanel::testing
