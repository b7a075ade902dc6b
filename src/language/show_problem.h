// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "common/platform.h"
#include "common/problem.h"

namespace corvanel {

// A problem in the operator's language: what happened and, on the next line, what to do.
std::string Problem_Text(const Problem& problem);
std::string Operator_Text_Shown(const Operator_Text& text);

// The one way a problem reaches the operator: the message area says it.
void Show_Problem(Message_Area& area, const Problem& problem);

}  // namespace corvanel
