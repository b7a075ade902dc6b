// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

#include "run/mail.h"

namespace corvanel::testing {

// Mail kept instead of sent: taken, or refused with the given reason.
struct Recording_Mail : Mail_Sender {
    std::vector<Mail_Message> Sent;
    Maybe_Problem Refusal;
    Mail_Result Send(const Mail_Message& message) override {
        Sent.push_back(message);
        return Refusal ? Mail_Result::Failed(*Refusal) : Mail_Result::Sent();
    }
};

}  // namespace corvanel::testing
