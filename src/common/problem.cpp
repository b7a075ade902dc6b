// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/problem.h"

#include <ostream>

#include "common/text.h"

namespace corvanel {

std::string Operator_Text::Text(const Translate_Function& translate) const {
    if (!Translated) return Pattern;
    const std::string pattern = translate ? translate(Pattern) : Pattern;
    std::string text;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char next = i + 1 < pattern.size() ? pattern[i + 1] : '\0';
        const std::size_t part = static_cast<std::size_t>(next - '1');
        if (pattern[i] == '%' && next >= '1' && next <= '9' && part < Parts.size()) {
            text += Parts[part].Text(translate);
            ++i;
        } else {
            text += pattern[i];
        }
    }
    return text;
}

std::string Operator_Text::English() const {
    return Text(nullptr);
}

std::string Problem::Text(const Translate_Function& translate) const {
    if (To_Do.Empty()) return What.Text(translate);
    return Join_Lines({What.Text(translate), To_Do.Text(translate)});
}

std::string Problem::English() const {
    return Text(nullptr);
}

void Report_Tool_Problem(std::ostream& err, std::string_view tool, const Problem& problem) {
    err << tool << ": " << problem.What.English() << '\n';
}

}  // namespace corvanel
