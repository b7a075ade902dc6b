// SPDX-License-Identifier: GPL-3.0-or-later
// Mail beside the firing: a mail server that hangs holds up the mail, never the sender.

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "run/mail_outbox.h"

namespace corvanel::testing {
namespace {

// A mail server that answers only when the test lets it.
struct Hanging_Server : Mail_Sender {
    std::mutex Lock;
    std::condition_variable Changed;
    bool Open = false;
    std::vector<std::string> Delivered;

    bool Send(const Mail_Message& message) override {
        std::unique_lock<std::mutex> lock(Lock);
        Changed.wait(lock, [this] { return Open; });
        Delivered.push_back(message.Subject);
        Changed.notify_all();
        return false;  // failed or not, the outbox goes on
    }
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
struct To_Server : Mail_Sender {
    std::shared_ptr<Hanging_Server> Server;
    bool Send(const Mail_Message& message) override { return Server->Send(message); }
};

std::unique_ptr<Mail_Sender> Sender_To(const std::shared_ptr<Hanging_Server>& server) {
    auto sender = std::make_unique<To_Server>();
    sender->Server = server;
    return sender;
}

TEST(Mail_Outbox, QueuesWhileTheServerHangsSendsInOrderAndKeepsTheNewestWhenFull) {
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
    std::lock_guard<std::mutex> lock(server->Lock);
    EXPECT_EQ(server->Delivered, (std::vector<std::string>{"first", "fourth", "fifth"}));
}

// Closing the program while the server hangs: the outbox lets go after a few seconds,
// and what it queued still goes out once the server answers.
TEST(Mail_Outbox, ClosingDoesNotWaitForAServerThatNeverAnswers) {
    auto server = std::make_shared<Hanging_Server>();
    {
        Mail_Outbox outbox(Sender_To(server));
        outbox.Send({"potter@studio", "alarm", ""});
        outbox.Send({"potter@studio", "alarm again", ""});
    }
    server->Let_Go();
    EXPECT_TRUE(server->Delivered_Count(2));
}

}  // namespace
}  // namespace corvanel::testing
