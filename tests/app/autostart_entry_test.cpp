// SPDX-License-Identifier: GPL-3.0-or-later
// The autostart entry's Exec line read back as a desktop session reads it: the string
// escapes first, then the field codes, then the quoted argument.

#include "app/autostart_entry.h"

#include <gtest/gtest.h>

#include <optional>
#include <string_view>

namespace corvanel {
namespace {

// The one argument of an Exec value, read in a session's three passes (string escapes,
// field codes, quoting); nothing when it is not exactly one quoted argument or holds a
// field code other than %%.
std::optional<std::string> Program_Of_Exec(const std::string& value) {
    std::string unescaped, expanded, argument;
    for (std::size_t i = 0; i < value.size(); ++i) {
        const char c = value[i] == '\\' && i + 1 < value.size() ? value[++i] : 0;
        const std::size_t at = std::string_view("sntr\\").find(c);
        unescaped += !c ? value[i] : at == std::string_view::npos ? '?' : " \n\t\r\\"[at];
    }
    for (std::size_t i = 0; i < unescaped.size(); ++i) {
        if (unescaped[i] == '%' && (++i == unescaped.size() || unescaped[i] != '%')) return {};
        expanded += unescaped[i];
    }
    if (expanded.size() < 2 || expanded.front() != '"' || expanded.back() != '"') return {};
    for (std::size_t i = 1; i + 1 < expanded.size(); ++i) {
        // Escaped, only these four may stand; bare, none of them.
        const bool escaped = expanded[i] == '\\';
        const char c = expanded[i += escaped];
        if ((std::string_view("\"`$\\").find(c) != std::string_view::npos) != escaped) return {};
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
