// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

#include "run/mail.h"

namespace corvanel::testing {

// Mail kept instead of sent; every send fails, as if no server answered.
struct Recording_Mail : Mail_Sender {
    std::vector<Mail_Message> Sent;
    bool Send(const Mail_Message& message) override {
        Sent.push_back(message);
        return false;
    }
};

}  // namespace corvanel::testing
