// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QKeyEvent;

namespace corvanel {

// The character a key press types, as a key filter sees it: backspace, Enter and Escape
// as their control characters; 0 for keys that type nothing (they only move the caret).
char Typed_Char_Of(const QKeyEvent& event);

}  // namespace corvanel
