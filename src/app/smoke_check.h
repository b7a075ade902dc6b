// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace corvanel {

class Corvanel_Program;

// "corvanel --smoke-test": the program starts as always; as soon as the run window is
// shown and the controller has answered an exchange, it prints what it saw and ends
// with status 0. When that has not happened within `seconds`, it prints what is missing
// and the message area, and ends with status 1. Used to check an installed package.
void Start_Smoke_Check(Corvanel_Program& program, int seconds = 60);

}  // namespace corvanel
