// SPDX-License-Identifier: GPL-3.0-or-later
#include "language/show_problem.h"

#include "language/translate.h"

namespace corvanel {

std::string Problem_Text(const Problem& problem) {
    return problem.Text(Translate_Phrase);
}

std::string Operator_Text_Shown(const Operator_Text& text) {
    return text.Text(Translate_Phrase);
}

void Show_Problem(Message_Area& area, const Problem& problem) {
    area.Display(Problem_Text(problem));
}

}  // namespace corvanel
