#include "run/smtp_mail_sender.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <thread>

#include "setup/setup_files.h"
#include "support/temp_folder.h"

namespace corvanel {
namespace {

// A real SMTP server on loopback, for the length of one test.
class Smtp_Sink {
  public:
    explicit Smtp_Sink(const std::filesystem::path& folder) : Folder_(folder) {
        // We write to its input ("quit" stops it); its port comes back through a file.
        std::filesystem::path port_file = folder / "port";
        std::string command = "/usr/bin/python3 '" SMTP_SINK_SCRIPT "' '" + folder.string() +
                              "' 120 > '" + port_file.string() + "'";
        Process_ = popen(command.c_str(), "w");
        for (int i = 0; i < 600 && Port_.empty(); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            std::string text = Read_Whole_File(port_file.string());
            if (!text.empty() && text.back() == '\n') Port_ = text.substr(0, text.size() - 1);
        }
    }
    ~Smtp_Sink() {
        if (Process_) {
            std::fputs("quit\n", Process_);
            pclose(Process_);
        }
    }
    const std::string& Port() const { return Port_; }

    // The n-th message received, waiting for it for up to 30 seconds.
    std::string Message(int n) const {
        std::filesystem::path file = Folder_ / ("mail-" + std::to_string(n) + ".txt");
        for (int i = 0; i < 600 && !std::filesystem::exists(file); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return Read_Whole_File(file.string());
    }

  private:
    std::filesystem::path Folder_;
    FILE* Process_ = nullptr;
    std::string Port_;
};

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
