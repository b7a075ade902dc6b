// SPDX-License-Identifier: GPL-3.0-or-later
#include "run/smtp_mail_sender.h"

#include <gtest/gtest.h>

#include "setup/setup_files.h"
#include "support/temp_folder.h"

namespace corvanel {
namespace {

TEST(Smtp_Mail, NoServerOrNoAddressIsAFailedSendAndNothingMore) {
    Temp_Folder program;
    Program_Paths paths(program.Path());
    Smtp_Mail_Sender sender(paths);
    EXPECT_FALSE(sender.Send(Compose_Alert("potter@studio.example", 1, 2)));  // no server set
    Write_Text_File(paths.Setup_File("MailServer.txt"), "smtp://127.0.0.1:1");
    EXPECT_FALSE(sender.Send(Compose_Alert("", 1, 2)));                       // empty list
    EXPECT_FALSE(sender.Send(Compose_Alert("potter@studio.example", 1, 2)));  // refused
}

}  // namespace
}  // namespace corvanel
