// SPDX-License-Identifier: GPL-3.0-or-later
// The autostart entry's Exec line read back as a desktop session reads it: the string
// escapes first, then the field codes, then the quoted argument.

#include "app/autostart_entry.h"

#include <gtest/gtest.h>

#include <optional>

namespace corvanel {
namespace {

// The one argument of an Exec value; nothing when it is not exactly one quoted argument
// or holds a field code other than %%.
std::optional<std::string> Program_Of_Exec(const std::string& value) {
    std::string unescaped;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '\\' || i + 1 == value.size()) {
            unescaped += value[i];
            continue;
        }
        const char next = value[++i];
        unescaped += next == 's'    ? ' '
                     : next == 'n'  ? '\n'
                     : next == 't'  ? '\t'
                     : next == 'r'  ? '\r'
                     : next == '\\' ? '\\'
                                    : '?';
    }
    std::string expanded;
    for (std::size_t i = 0; i < unescaped.size(); ++i) {
        if (unescaped[i] != '%') {
            expanded += unescaped[i];
        } else if (i + 1 < unescaped.size() && unescaped[++i] == '%') {
            expanded += '%';
        } else {
            return std::nullopt;
        }
    }
    if (expanded.size() < 2 || expanded.front() != '"' || expanded.back() != '"') return {};
    std::string argument;
    for (std::size_t i = 1; i + 1 < expanded.size(); ++i) {
        char c = expanded[i];
        if (c == '\\') {
            c = expanded[++i];
            if (c != '"' && c != '`' && c != '$' && c != '\\') return std::nullopt;
        } else if (c == '"' || c == '`' || c == '$') {
            return std::nullopt;
        }
        argument += c;
    }
    return argument;
}

TEST(Autostart_Entry, TheExecLineStartsTheProgramWhateverItsPathHolds) {
    for (const std::string program :
         {"/home/potter/kiln 1/corvanel", "/opt/a$b\"c`d/corvanel", "/opt/back\\slash/corvanel",
          "/opt/100%/corvanel", "/opt/%f %u/corvanel", "/opt/two\nlines\t/corvanel"}) {
        SCOPED_TRACE(program);
        const std::string text = Autostart_Entry_Text(program);
        const std::size_t exec = text.find("\nExec=");
        ASSERT_NE(exec, std::string::npos);
        const std::size_t end = text.find('\n', exec + 1);
        EXPECT_EQ(Program_Of_Exec(text.substr(exec + 6, end - exec - 6)), program);
        EXPECT_NE(text.find("\nIcon=corvanel\n"), std::string::npos);  // nothing broke the lines
    }
}

}  // namespace
}  // namespace corvanel
