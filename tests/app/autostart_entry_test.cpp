// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/autostart_entry.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "support/temp_folder.h"

namespace corvanel {
namespace {

// "Start Corvanel when I log in" for two kilns: an entry each in the session's autostart
// folder, starting each kiln's program; turned off, only that kiln's entry goes.
TEST(Start_At_Login, EachProgramFolderHasItsOwnEntryUntilTurnedOff) {
    Temp_Folder config;
    const char* before = std::getenv("XDG_CONFIG_HOME");
    const std::string kept = before ? before : "";
    ::setenv("XDG_CONFIG_HOME", config.Path().c_str(), 1);
    std::string error;
    ASSERT_TRUE(
        Keep_Autostart_Entry(true, "/home/potter/kiln 1", "/home/potter/kiln 1/corvanel", error))
        << error;
    ASSERT_TRUE(Keep_Autostart_Entry(true, "/home/potter/kiln 2", "/opt/a$b\"c/corvanel", error));
    const auto first = Autostart_Entry_Path("/home/potter/kiln 1");
    const auto second = Autostart_Entry_Path("/home/potter/kiln 2");
    EXPECT_EQ(first.parent_path(), config.Path() / "autostart");
    EXPECT_NE(first, second);
    EXPECT_NE(Read_Whole_File(first.string()).find("\nExec=\"/home/potter/kiln 1/corvanel\"\n"),
              std::string::npos);
    EXPECT_NE(Read_Whole_File(second.string()).find("\nExec=\"/opt/a\\\\$b\\\\\"c/corvanel\"\n"),
              std::string::npos)
        << Read_Whole_File(second.string());
    ASSERT_TRUE(Keep_Autostart_Entry(false, "/home/potter/kiln 1", "", error));
    EXPECT_FALSE(std::filesystem::exists(first));
    EXPECT_TRUE(std::filesystem::exists(second));
    if (before) {
        ::setenv("XDG_CONFIG_HOME", kept.c_str(), 1);
    } else {
        ::unsetenv("XDG_CONFIG_HOME");
    }
}

}  // namespace
}  // namespace corvanel
