// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvanel {

// The routine that puts an English phrase into the operator's language. The floors that
// know the languages pass theirs; below them texts stay English until they are shown.
using Translate_Function = std::function<std::string(std::string_view)>;

// A text for the operator, kept untranslated until it is shown, so that a text made at
// start-up, before a language is chosen, is shown in the language of the moment. A
// phrase is an English pattern whose %1..%9 are filled with its parts, each a phrase of
// its own or a value shown as it is (a number, a name the operator typed). The pattern
// is translated whole, so a language can put the parts in its own order.
struct Operator_Text {
    std::string Pattern;
    std::vector<Operator_Text> Parts;
    bool Translated = true;  // false: a value, shown exactly as it is

    static Operator_Text Phrase(std::string english, std::vector<Operator_Text> parts = {}) {
        return {std::move(english), std::move(parts), true};
    }
    static Operator_Text Value(std::string shown) { return {std::move(shown), {}, false}; }

    bool Empty() const { return Pattern.empty(); }
    std::string Text(const Translate_Function& translate) const;
    std::string English() const;  // as Text with no translation
};

// Something that went wrong, for the operator: what happened and what to do about it.
// A routine that can fail returns one (or none); one routine shows it. A message the
// program has always shown in fixed words is carried as a Value, unchanged.
struct Problem {
    Operator_Text What;
    Operator_Text To_Do;  // may be empty

    // What happened and, on the next line, what to do.
    std::string Text(const Translate_Function& translate) const;
    std::string English() const;
};

using Maybe_Problem = std::optional<Problem>;

}  // namespace corvanel
