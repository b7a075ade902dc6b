// SPDX-License-Identifier: GPL-3.0-or-later
#include <vector>

#include "high/high.h"
#include "low/low.h"
#include "../high/high.h"

int Sideways() { return High() + Low(); }
