// SPDX-License-Identifier: GPL-3.0-or-later
#include "language/show_problem.h"

#include "language/translate.h"

namespace corvanel {

namespace {

std::string Translated(std::string_view english) { return TranslateText(std::string(english)); }

}  // namespace

std::string Problem_Text(const Problem& problem) { return problem.Text(Translated); }

std::string Operator_Text_Shown(const Operator_Text& text) { return text.Text(Translated); }

void Show_Problem(Message_Area& area, const Problem& problem) {
    area.Display(Problem_Text(problem));
}

}  // namespace corvanel
