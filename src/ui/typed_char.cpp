// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/typed_char.h"

#include <QKeyEvent>

namespace corvanel {

char Typed_Char_Of(const QKeyEvent& event) {
    switch (event.key()) {
        case Qt::Key_Backspace:
            return 8;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return 13;
        case Qt::Key_Escape:
            return 27;
        default: {
            QString text = event.text();
            if (text.size() == 1 && text[0].unicode() >= 32 && text[0].unicode() < 127) {
                return static_cast<char>(text[0].unicode());
            }
            return 0;
        }
    }
}

}  // namespace corvanel
