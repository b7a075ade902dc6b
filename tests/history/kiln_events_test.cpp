// SPDX-License-Identifier: GPL-3.0-or-later
// Marking a kiln event keeps every line already there, one it cannot read too.

#include "history/kiln_events.h"

#include <gtest/gtest.h>

#include "support/temp_folder.h"

namespace corvanel {
namespace {

TEST(Kiln_Events, AddingOneNeverDropsTheOthers) {
    const Kiln_Event relined{{2027, 2, 1}, Kiln_Event_Kind::Kiln_Relined, "new floor"};
    const struct {
        const char* Name;
        std::string Before;  // "" no file
        std::string After;
    } cases[] = {
        {"no file", "", "2027-02-01,kiln relined,new floor\r\n"},
        {"in date order, a line typed by hand stays where it was",
         "2027-01-25,elements replaced,\r\n2027-01-26,new paint\r\n2027-03-01,relay replaced,\r\n",
         "2027-01-25,elements replaced,\r\n2027-01-26,new paint\r\n"
         "2027-02-01,kiln relined,new floor\r\n2027-03-01,relay replaced,\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        Temp_Folder folder;
        const std::string file = folder.File(Kiln_Events_File);
        if (!c.Before.empty()) Write_Whole_File(file, c.Before);
        EXPECT_FALSE(Add_Kiln_Event(folder.Path().string(), relined));
        EXPECT_EQ(Read_Whole_File(file), c.After);
    }
}

}  // namespace
}  // namespace corvanel
