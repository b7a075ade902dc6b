#include "main_window_rig.h"

namespace corvanel::testing {
namespace {

struct Controls_Test : ::testing::Test {
    Main_Window_Rig Rig;
    void SetUp() override { Rig.Form.Form_Load(); }
};

// The panel's open and close are the run window's menu story; here what it refuses.
TEST_F(Controls_Test, LockingOrARunKeepsTheFrontPanelShutAndLockingStopsAutoTune) {
    Rig.Form.mnuLockControls_Click();
    EXPECT_EQ(Rig.Line.Sent.back(), Build_Request(0, "AP01"));
    EXPECT_FALSE(Rig.Form.Start_Profile_Enabled);
    Rig.Form.mnuFrontPanel_Click();
    EXPECT_FALSE(Rig.Form.mnuFrontPanel || Rig.Windows.Front_Panel_Shown);
    EXPECT_TRUE(
        Rig.Said("Controls locked and or profile running\r\n"
                 "Unlock and stop run to access front panel\r\n"));
    std::size_t frames = Rig.Line.Sent.size();
    Rig.Form.mnuLockControls_Click();
    EXPECT_TRUE(Rig.Form.Start_Profile_Enabled);
    EXPECT_EQ(Rig.Line.Sent.size(), frames);  // unlocking sends nothing

    Rig.Form.Set_Polling_Mode("run");
    Rig.Form.mnuFrontPanel_Click();
    EXPECT_FALSE(Rig.Windows.Front_Panel_Shown);
    EXPECT_TRUE(Rig.Form.Control_Interval.Enabled);
    Rig.Form.mnuEdit_Click();
    EXPECT_TRUE(Rig.Windows.Editor_Shown);
    Rig.Form.Set_Polling_Mode("Run");  // modes are exact words
    EXPECT_FALSE(Rig.Form.Control_Interval.Enabled || Rig.Form.Monitor_Interval.Enabled);
    EXPECT_TRUE(Rig.Said("Ambiguous Polling Mode, polling = OFF\r\n"));
}

TEST_F(Controls_Test, TheQuickPortItemsSaveTheNumberEvenWhenThePortIsMissing) {
    Rig.Form.mnuComm_Click(2);
    EXPECT_EQ(Rig.Form.User_Message_Box, "Comm port 2 set error\r\nInvalid port number\r\n");
    EXPECT_EQ(Rig.Form.mnuComm, (std::array<bool, 3>{false, true, false}));
    EXPECT_EQ(Rig.Form.Comm_Port_Number, 2);
    EXPECT_EQ(Read_First_Line(Rig.Paths.Setup_File("CommPortNumber.txt")), "2");
    Rig.Form.mnuComm_Click(1);
    EXPECT_EQ(Rig.Form.User_Message_Box, "Comm port 1 set\r\n");
    EXPECT_EQ(Rig.Line.Comm_Port(), 1);
    EXPECT_TRUE(Rig.Line.Port_Open());
}

TEST_F(Controls_Test, TheNotificationListUnlocksForEditingAndTheSwitchExplainsItself) {
    Rig.Form.mnuEditNotificationList_Click();
    EXPECT_FALSE(Rig.Form.Email_Notification_Locked);
    EXPECT_TRUE(Rig.Form.Email_Notification_Enabled);
    EXPECT_TRUE(Rig.Said("Separate addresses with single comma\r\n"));
    Rig.Form.mnuEditNotificationList_Click();
    EXPECT_TRUE(Rig.Form.Email_Notification_Locked);
    EXPECT_EQ(Rig.Form.User_Message_Box, "Email edit field locked\r\n");
    Rig.Form.mnuEnableEmailNotification_Click();
    EXPECT_TRUE(Rig.Said("Email Alert enabled, verify connection via Email Menu"));
    Rig.Form.mnuTestNotication_Click();
    EXPECT_EQ(Rig.Mail.Sent.size(), 1u);  // a failed send is not reported
}

TEST_F(Controls_Test, TheDeviceNameIsTakenOnOkAndKeptOnCancel) {
    Rig.Name.Typed = "Big Skutt";
    Rig.Form.mnuSetUpName_Click();
    Rig.Name.Answer = 2;  // Cancel: the message still shows what was typed
    Rig.Name.Typed = "Test Kiln";
    Rig.Form.mnuSetUpName_Click();
    EXPECT_EQ(Rig.Form.OvenName, "Big Skutt");
    EXPECT_EQ(Read_First_Line(Rig.Paths.Setup_File("ThermalDeviceName.txt")), "Big Skutt");
    EXPECT_TRUE(Rig.Said("Thermal Device Name set == Test Kiln\r\n"));
}

}  // namespace
}  // namespace corvanel::testing
