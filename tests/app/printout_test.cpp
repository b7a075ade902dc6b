#include "profiles/printout.h"
#include "main_window_rig.h"

namespace corvanel::testing {
namespace {

TEST(Printout, TheWorkedExamplePrintsRowsBeforeTheEndInTwoDecimals) {
    Profile_Sheet sheet{};
    sheet[1] = {"      1", "      0", "     60", "r",       "     70",
                "   1000", "  15.50", "     50", "   wait", ""};
    sheet[2] = {"      2", "  60.00", "     30", "h", "   1000", "   1000", "      0", "", "", ""};
    sheet[3] = {"      3", "  90.00", "", "e", "   1000", "", "", "", "", ""};
    Printout printout = Build_Printout(sheet, "example.txt");
    EXPECT_EQ(printout.Name_Line, "Profile Name=example.txt");
    EXPECT_EQ(printout.Titles[1] + "|" + printout.Titles[8], "Start-Time|Notif-Time");
    ASSERT_EQ(printout.Rows.size(), 3u);  // row 0 without values, rows 1 and 2, not the end row
    EXPECT_EQ(printout.Rows[0], (std::array<std::string, 8>{}));
    EXPECT_EQ(printout.Rows[1], (std::array<std::string, 8>{"1.00", "0.00", "60.00", "r", "70.00",
                                                            "1000.00", "15.50", "50.00"}));
    EXPECT_EQ(printout.Rows[2], (std::array<std::string, 8>{"2.00", "60.00", "30.00", "h",
                                                            "1000.00", "1000.00", "0.00", ""}));
    EXPECT_TRUE(Build_Printout(Profile_Sheet{}, "").Rows.empty());  // no profile: titles only
}

}  // namespace
}  // namespace corvanel::testing
