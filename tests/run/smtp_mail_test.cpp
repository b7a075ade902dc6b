#include "run/smtp_mail_sender.h"

#include <gtest/gtest.h>

#include "setup/setup_files.h"
#include "support/smtp_sink.h"
#include "support/temp_folder.h"

namespace corvanel {
namespace {

TEST(Smtp_Mail, AnAlertReachesEveryAddressWithTheSubjectAndBodyAsLaidOut) {
    Temp_Folder program, mailbox;
    Smtp_Sink sink(mailbox.Path());
    ASSERT_FALSE(sink.Port().empty()) << "the loopback SMTP server did not start";
    Program_Paths paths(program.Path());
    Write_Text_File(paths.Setup_File("MailServer.txt"), "smtp://127.0.0.1:" + sink.Port());
    Write_Text_File(paths.Setup_File("MailFrom.txt"), "kiln@studio.example");

    Smtp_Mail_Sender sender(paths);
    ASSERT_TRUE(
        sender.Send(Compose_Alert("potter@studio.example, helper@studio.example", 1000, 940)));

    std::string received = sink.Message(1);
    EXPECT_NE(
        received.find("FROM kiln@studio.example\nTO potter@studio.example,helper@studio.example\n"),
        std::string::npos)
        << received;
    EXPECT_NE(received.find("Subject: Oven Status\r\n"), std::string::npos) << received;
    EXPECT_NE(received.find("\r\n\r\n\r\nDesired Temp=1000\r\nMeasured Temp=940\r\n"),
              std::string::npos)
        << received;
}

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
