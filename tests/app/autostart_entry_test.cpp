// SPDX-License-Identifier: GPL-3.0-or-later
// The autostart entry's Exec line read back as a desktop session reads it: the string
// escapes first, then the field codes, then the quoted argument; an entry for each kiln.

#include "app/autostart_entry.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string_view>

#include "setup/setup_files.h"
#include "support/temp_folder.h"

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

// "Start Corvanel when I log in" for two kilns: an entry each in the session's autostart
// folder, starting each kiln's program; turned off, only that kiln's entry goes.
TEST(Start_At_Login, EachProgramFolderHasItsOwnEntryUntilTurnedOff) {
    Temp_Folder config;
    const char* before = std::getenv("XDG_CONFIG_HOME");
    const std::string kept = before ? before : "";
    ::setenv("XDG_CONFIG_HOME", config.Path().c_str(), 1);
    ASSERT_FALSE(Keep_Autostart_Entry(true, "/home/potter/kiln 1", "/home/potter/kiln 1/corvanel"));
    ASSERT_FALSE(Keep_Autostart_Entry(true, "/home/potter/kiln 2", "/opt/corvanel"));
    const auto first = Autostart_Entry_Path("/home/potter/kiln 1");
    const auto second = Autostart_Entry_Path("/home/potter/kiln 2");
    EXPECT_EQ(first.parent_path(), config.Path() / "autostart");
    EXPECT_NE(first, second);
    EXPECT_NE(Read_Whole_File(first.string()).find("\nExec=\"/home/potter/kiln 1/corvanel\"\n"),
              std::string::npos);
    ASSERT_FALSE(Keep_Autostart_Entry(false, "/home/potter/kiln 1", ""));
    EXPECT_FALSE(std::filesystem::exists(first));
    EXPECT_TRUE(std::filesystem::exists(second));
    before ? ::setenv("XDG_CONFIG_HOME", kept.c_str(), 1) : ::unsetenv("XDG_CONFIG_HOME");
}

}  // namespace
}  // namespace corvanel
