// SPDX-License-Identifier: GPL-3.0-or-later
// Mail beside the firing: the alert timer, the sender that gives up without a server, and
// the outbox, where a mail server that hangs holds up the mail, never the sender.

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "profiles/run_profile.h"
#include "run/mail_outbox.h"
#include "run/run_alerts.h"
#include "run/smtp_mail_sender.h"
#include "setup/setup_files.h"
#include "support/recording_mail.h"
#include "support/temp_folder.h"

namespace corvanel::testing {
namespace {

// A mail server that answers only when the test lets it.
struct Hanging_Server {
    std::mutex Lock;
    std::condition_variable Changed;
    bool Open = false;
    std::vector<std::string> Delivered;

    void Let_Go() {
        std::lock_guard<std::mutex> lock(Lock);
        Open = true;
        Changed.notify_all();
    }
    bool Delivered_Count(std::size_t count) {
        std::unique_lock<std::mutex> lock(Lock);
        return Changed.wait_for(lock, std::chrono::seconds(60),
                                [&] { return Delivered.size() >= count; });
    }
};

// The outbox owns its sender; the test keeps the server to look at it afterwards.
std::unique_ptr<Mail_Sender> Sender_To(std::shared_ptr<Hanging_Server> server) {
    struct To_Server : Mail_Sender {
        std::shared_ptr<Hanging_Server> Server;
        bool Send(const Mail_Message& message) override {
            std::unique_lock<std::mutex> lock(Server->Lock);
            Server->Changed.wait(lock, [this] { return Server->Open; });
            Server->Delivered.push_back(message.Subject);
            Server->Changed.notify_all();
            return false;  // failed or not, the outbox goes on
        }
    };
    auto sender = std::make_unique<To_Server>();
    sender->Server = std::move(server);
    return sender;
}

// Closing the program while the server hangs: the outbox lets go after a few seconds,
// and what it queued still goes out once the server answers.
TEST(Mail_Outbox, QueuesWhileTheServerHangsKeepsTheNewestAndClosingDoesNotWaitForIt) {
    auto server = std::make_shared<Hanging_Server>();
    Mail_Outbox outbox(Sender_To(server), 2);
    // Each returns at once although the server holds the first.
    outbox.Send({"potter@studio", "first", ""});
    for (int i = 0; i < 6000 && outbox.Waiting() > 0; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ASSERT_EQ(outbox.Waiting(), 0u) << "the first is with the server";
    for (const char* subject : {"second", "third", "fourth", "fifth"}) {
        EXPECT_TRUE(outbox.Send({"potter@studio", subject, ""}));
    }
    EXPECT_EQ(outbox.Waiting(), 2u);
    EXPECT_EQ(outbox.Dropped(), 2u);
    server->Let_Go();
    ASSERT_TRUE(server->Delivered_Count(3));
    {
        std::lock_guard<std::mutex> lock(server->Lock);
        EXPECT_EQ(server->Delivered, (std::vector<std::string>{"first", "fourth", "fifth"}));
    }

    auto hung = std::make_shared<Hanging_Server>();
    {
        Mail_Outbox closing(Sender_To(hung));
        closing.Send({"potter@studio", "alarm", ""});
        closing.Send({"potter@studio", "alarm again", ""});
    }
    hung->Let_Go();
    EXPECT_TRUE(hung->Delivered_Count(2));
}

// The alert timer arms when the kiln strays beyond the segment's limit (a blank limit
// stands for 3000) and mails the list every fifteenth of its ticks.
TEST(Run_Alerts, ArmBeyondTheLimitAndMailEveryFifteenTicks) {
    Recording_Mail mail;
    Run_Alerts alerts(mail);
    alerts.Arm(1000, 950, 50);  // exactly the limit: no alert
    EXPECT_FALSE(alerts.Timer().Enabled);
    alerts.Arm(1000, 940, 50);
    EXPECT_TRUE(alerts.Timer().Enabled);
    const std::string list = "potter@studio.example";
    for (int tick = 0; tick < 225; ++tick) alerts.Timer_Tick(list, 1000, 940);  // to count 225
    std::vector<int> mail_ticks;
    for (int tick = 0; tick < 60; ++tick) {
        std::size_t before = mail.Sent.size();
        alerts.Timer_Tick(list, 1000, 940);
        if (mail.Sent.size() > before) mail_ticks.push_back(tick);
    }
    // Counts 225, 240, 255, then (after the wrap) 15, 30: fifteen ticks apart throughout.
    EXPECT_EQ(mail_ticks, (std::vector<int>{0, 15, 30, 45}));
    EXPECT_EQ(mail.Sent.at(0).Recipients + "|" + mail.Sent[0].Body,
              "potter@studio.example|\r\nDesired Temp=1000\r\nMeasured Temp=940");
    alerts.Disarm();
    alerts.Arm(2999, 0, No_Error_Limit);
    EXPECT_FALSE(alerts.Timer().Enabled);
    alerts.Arm(3001, 0, No_Error_Limit);
    EXPECT_TRUE(alerts.Timer().Enabled);
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
}  // namespace corvanel::testing
