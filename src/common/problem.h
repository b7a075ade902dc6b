// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <iosfwd>
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

// How bad a problem is. The message area says every one alike; what else the operator
// is shown follows it: a fault that stops the program before its window is up is also
// put in a message box.
enum class Severity {
    Notice,   // nothing was lost: a line skipped, a check that could not be made
    Warning,  // something did not happen; the program goes on
    Fault,    // the program, the tool or the firing cannot go on
};

// Something that went wrong, for the operator: what happened and what to do about it.
// A routine that can fail returns one (or none); one routine shows it. A message the
// program has always shown in fixed words is carried as a Value, unchanged.
struct Problem {
    Operator_Text What;
    Operator_Text To_Do;  // may be empty
    Severity Level = Severity::Warning;

    // A problem in the fixed words it has always been said in.
    static Problem Fixed(std::string what, Severity level = Severity::Warning) {
        return {Operator_Text::Value(std::move(what)), {}, level};
    }

    // What happened and, on the next line, what to do.
    std::string Text(const Translate_Function& translate) const;
    std::string English() const;
};

using Maybe_Problem = std::optional<Problem>;

// A problem that ends what a routine was doing, carried to the one place that says it
// (a tool's command). Thrown only where a return would have to cross many calls. Not a
// std::exception, so that a handler's catch-all for failed statements never takes it.
class Problem_Error {
  public:
    explicit Problem_Error(Problem problem) : Carried(std::move(problem)) {}
    explicit Problem_Error(std::string fixed_words)
        : Problem_Error(Problem::Fixed(std::move(fixed_words), Severity::Fault)) {}
    Problem Carried;
};

// How a command-line tool says a problem: one line, "tool: what happened", on `err`;
// always English, as the tools' output is. What to do is in the tool's help.
void Report_Tool_Problem(std::ostream& err, std::string_view tool, const Problem& problem);

}  // namespace corvanel
