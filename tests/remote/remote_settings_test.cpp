// SPDX-License-Identifier: GPL-3.0-or-later
// The status page's settings files and the dialog that writes them.

#include <gtest/gtest.h>

#include <filesystem>

#include "remote/remote_monitoring_model.h"
#include "remote/remote_settings.h"
#include "setup/setup_files.h"
#include "support/temp_folder.h"

namespace corvanel::testing {
namespace {

struct Bad_Value {
    std::string Name, File, Line;
};

class Remote_Settings_Bad_Value : public ::testing::TestWithParam<Bad_Value> {};

// Each file alone holds a value that is not understood: its default stays, the
// message names the file, and the other settings are read.
TEST_P(Remote_Settings_Bad_Value, KeepsTheDefaultAndSaysSo) {
    Temp_Folder folder;
    Program_Paths paths(folder.Path());
    Save_Remote_Settings(paths, {true, 9090, true, "goodtoken1"});
    Write_Text_File(paths.Setup_File(GetParam().File), GetParam().Line);
    std::vector<std::string> complaints;
    Remote_Settings read = Read_Remote_Settings(paths, complaints);
    ASSERT_EQ(complaints.size(), 1u);
    EXPECT_NE(complaints[0].find(GetParam().File), std::string::npos) << complaints[0];
    Remote_Settings defaults;
    bool enabled_file = GetParam().File == Remote_Enabled_File;
    EXPECT_EQ(read.Enabled, enabled_file ? defaults.Enabled : true);
    EXPECT_EQ(read.Port, GetParam().File == Remote_Port_File ? defaults.Port : 9090);
    EXPECT_EQ(read.On_Network, GetParam().File == Remote_Listen_File ? false : true);
    EXPECT_EQ(read.Token, GetParam().File == Remote_Token_File ? "" : "goodtoken1");
}

INSTANTIATE_TEST_SUITE_P(
    Files, Remote_Settings_Bad_Value,
    ::testing::Values(Bad_Value{"EnabledInOtherCase", Remote_Enabled_File, "Checked"},
                      Bad_Value{"PortZero", Remote_Port_File, "0"},
                      Bad_Value{"PortTooBig", Remote_Port_File, "65536"},
                      Bad_Value{"PortFraction", Remote_Port_File, "80.5"},
                      Bad_Value{"PortWord", Remote_Port_File, "eighty"},
                      Bad_Value{"ListenElsewhere", Remote_Listen_File, "everywhere"},
                      Bad_Value{"TokenWithSemicolon", Remote_Token_File, "abcdefgh;x=1"}),
    [](const auto& info) { return info.param.Name; });

// The dialog refuses a bad port or token; on the network it makes a token, a new one on
// request, shows the address with this computer's network address, and stores the token
// for its owner only.
TEST(Remote_Settings, TheDialogRefusesBadValuesAndStoresAPrivateToken) {
    Temp_Folder folder;
    Program_Paths paths(folder.Path());
    Remote_Monitoring_Model dialog(paths, "192.168.1.20");
    dialog.Form_Load();
    EXPECT_EQ(dialog.Address(), "http://127.0.0.1:8080/");
    dialog.Enabled = true;
    dialog.Port_Text = "70000";
    EXPECT_FALSE(dialog.OK_Click());
    EXPECT_EQ(dialog.Message, "The port must be a whole number from 1 to 65535");
    dialog.Port_Text = "8181";
    dialog.Token = "short";
    EXPECT_FALSE(dialog.OK_Click());
    EXPECT_EQ(dialog.Message, "The access token must be 8 to 64 letters, digits, - or _");
    dialog.Token = "kiln-room_2";  // dashes and underscores belong to a token
    EXPECT_TRUE(dialog.OK_Click()) << dialog.Message;
    dialog.Token.clear();
    dialog.Listen_Changed(true);
    EXPECT_EQ(dialog.Address(), "http://192.168.1.20:8181/?token=" + dialog.Token);
    std::string first = dialog.Token;
    dialog.New_Token_Click();
    EXPECT_NE(dialog.Token, first);
    ASSERT_TRUE(dialog.OK_Click()) << dialog.Message;
    std::vector<std::string> complaints;
    EXPECT_EQ(Read_Remote_Settings(paths, complaints).Token, dialog.Token);
    auto perms = std::filesystem::status(paths.Setup_File(Remote_Token_File)).permissions();
    EXPECT_EQ(perms & (std::filesystem::perms::group_all | std::filesystem::perms::others_all),
              std::filesystem::perms::none);
}

}  // namespace
}  // namespace corvanel::testing
