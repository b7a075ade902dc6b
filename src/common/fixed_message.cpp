// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/fixed_message.h"

#include <array>

namespace corvanel {

namespace {

// In the order of the enum; the words exactly as the operator has always read them.
const std::array<std::string, 16> Words = {
    "Comm port init error",
    "Invalid Port Number",
    "Error encountered closing serial port",
    "Inter module message error",
    "Comm port not open",
    "OnComm transmission error",
    "Command cannot be executed",
    "Read status Error",
    "SetValue Routine error",
    "ReadValue Routine Error",
    "Set Value Communications Error",
    "Read Value Communications Error",
    "If condition persists unplug kiln",
    "Thermocouple Input Fault",
    "Monitor Mode",
    "No language selected",
};

static_assert(Words.size() == static_cast<std::size_t>(Fixed_Message::No_Language_Selected) + 1);

}  // namespace

const std::string& Words_Of(Fixed_Message message) {
    return Words[static_cast<std::size_t>(message)];
}

}  // namespace corvanel
