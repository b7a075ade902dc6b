#include "profiles/printout.h"
#include "main_window_rig.h"

namespace corvanel::testing {
namespace {

struct Printing_Windows : Recording_Windows {
    std::vector<Printout> Printed;
    std::string Answer;
    std::string Print_Profile(const Printout& printout) override {
        Printed.push_back(printout);
        return Answer;
    }
};

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

TEST(Printout, TheMenuItemPrintsTheLoadedProfileAndNamesAPdfFile) {
    Temp_Folder folder;
    Fake_Line line;
    FrontPanel panel;
    InOut_Functions protocol{panel, line};
    Fake_Clock clock;
    Fake_File_Dialog dialog;
    Counting_Beeper beeper;
    Recording_Mail mail;
    Fake_Name_Dialog name;
    Printing_Windows windows;
    Traj_form form{{Program_Paths(folder.Path()), protocol, panel, clock, dialog, dialog, beeper,
                    mail, name, windows}};
    form.Profile_Name = "glaze.txt";
    form.mnuPrintProfile_Click();  // to a printer: nothing to say
    EXPECT_EQ(form.User_Message_Box, "");
    windows.Answer = "/kiln/Printouts/glaze.pdf";
    form.mnuPrintProfile_Click();
    EXPECT_EQ(form.User_Message_Box, "Profile printed to /kiln/Printouts/glaze.pdf\r\n");
    ASSERT_EQ(windows.Printed.size(), 2u);
    EXPECT_EQ(windows.Printed[0].Name_Line, "Profile Name=glaze.txt");
}

}  // namespace
}  // namespace corvanel::testing
