// SPDX-License-Identifier: GPL-3.0-or-later
// One program per program folder; the refused second start is pinned with the program's own.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "setup/program_lock.h"
#include "support/temp_folder.h"

namespace corvanel::testing {
namespace {

TEST(Program_Lock, AStaleLockIsTakenOverAndEachFolderHasItsOwn) {
    Temp_Folder kiln, other_kiln;
    const std::string file = kiln.File("corvanel.lock");
    // Left by a program that was killed: the file is there, nobody holds it.
    Write_Whole_File(file, "99999999\n");
    {
        const Program_Lock first = Program_Lock::Take(kiln.Path());
        ASSERT_EQ(first.Result(), Program_Lock::Outcome::Taken) << first.Error();
        EXPECT_EQ(Read_Whole_File(file), std::to_string(::getpid()) + "\n");

        // A second kiln's folder is a lock of its own.
        EXPECT_EQ(Program_Lock::Take(other_kiln.Path()).Result(), Program_Lock::Outcome::Taken);
    }
    // The first one gone, the next start takes the folder.
    EXPECT_EQ(Program_Lock::Take(kiln.Path()).Result(), Program_Lock::Outcome::Taken);
    // A folder where no file can be made: the program runs, unlocked, and says why.
    const Program_Lock nowhere = Program_Lock::Take(kiln.Path() / "no" / "such" / "folder");
    EXPECT_EQ(nowhere.Result(), Program_Lock::Outcome::Not_Locked);
    EXPECT_FALSE(nowhere.Error().empty());
    // A link in the lock's place is not followed: the file it points at keeps its text.
    Write_Whole_File(other_kiln.File("notes.txt"), "glaze notes\n");
    std::filesystem::remove(file);
    std::filesystem::create_symlink(other_kiln.File("notes.txt"), file);
    const Program_Lock linked = Program_Lock::Take(kiln.Path());
    EXPECT_EQ(linked.Result(), Program_Lock::Outcome::Not_Locked);
    EXPECT_EQ(Read_Whole_File(other_kiln.File("notes.txt")), "glaze notes\n");
}

}  // namespace
}  // namespace corvanel::testing
