#include "main_window_rig.h"

namespace corvanel::testing {
namespace {

constexpr const char* No_Log = "No log file: this firing is not being logged";

int Times_Said(const std::string& box, const std::string& text) {
    int times = 0;
    for (std::size_t at = box.find(text); at != std::string::npos; at = box.find(text, at + 1))
        ++times;
    return times;
}

TEST(No_Log_File_Warning, AFiringWithoutALogSaysSoOnceAtItsStartAndRunsOn) {
    Main_Window_Rig rig;
    rig.Form.Form_Load();
    rig.Write_Short_Profile();
    rig.Open_Profile("short.txt");
    Traj_form& form = rig.Form;

    form.Start_Profile_Click();
    EXPECT_TRUE(form.Control_Interval.Enabled);
    EXPECT_EQ(Times_Said(form.User_Message_Box, No_Log), 1) << form.User_Message_Box;
    form.Start_Profile_Click();  // suspend
    form.Start_Profile_Click();  // resume: the same firing, said already
    EXPECT_TRUE(form.Control_Interval.Enabled);
    EXPECT_EQ(Times_Said(form.User_Message_Box, No_Log), 0) << form.User_Message_Box;

    form.SoftOff_Click();
    rig.Setup_File("WarnWithoutLogFile.txt", "unchecked");
    form.Start_Profile_Click();
    EXPECT_EQ(Times_Said(form.User_Message_Box, No_Log), 0) << form.User_Message_Box;
    rig.Setup_File("WarnWithoutLogFile.txt", "checked");

    form.SoftOff_Click();
    rig.Log_Dialog.Answers.push_back(File_Dialog_Result::Chosen("/elsewhere/short_log.txt"));
    form.mnuSpecifyLogFile_Click();
    form.Start_Profile_Click();
    EXPECT_EQ(Times_Said(form.User_Message_Box, No_Log), 0) << form.User_Message_Box;
}

}  // namespace
}  // namespace corvanel::testing
