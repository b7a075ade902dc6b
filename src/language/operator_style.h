// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/quantity_text.h"

namespace corvanel {

// How numbers and days are written in the current interface language: German and Spanish
// write "1.832,5", English and a language the operator added write "1,832.5".
Number_Style Operator_Style();

}  // namespace corvanel
