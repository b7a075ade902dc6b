// SPDX-License-Identifier: GPL-3.0-or-later
#include "run/mail_outbox.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace corvanel {

// Kept alive by the worker as well, so a worker left with a hanging send outlives the
// outbox safely.
struct Mail_Outbox::Shared {
    std::unique_ptr<Mail_Sender> Sender;
    Poster Post;  // dropped when the outbox goes: its owner may be gone too
    std::size_t Limit = 0;
    mutable std::mutex Lock;
    std::condition_variable Changed;
    std::deque<Mail_Message> Queue;
    std::size_t Dropped = 0;
    bool Sending = false;
    bool Closing = false;

    void Work() {
        std::unique_lock<std::mutex> lock(Lock);
        for (;;) {
            Changed.wait(lock, [this] { return Closing || !Queue.empty(); });
            if (Queue.empty()) return;
            Mail_Message message = std::move(Queue.front());
            Queue.pop_front();
            Sending = true;
            lock.unlock();
            const Mail_Result result = Sender->Send(message);
            lock.lock();
            if (message.Then && Post)
                Post([then = std::move(message.Then), result] { then(result); });
            Sending = false;
            Changed.notify_all();
        }
    }
};

Mail_Outbox::Mail_Outbox(std::unique_ptr<Mail_Sender> sender, std::size_t limit, Poster post)
    : Shared_(std::make_shared<Shared>()) {
    Shared_->Sender = std::move(sender);
    Shared_->Post = std::move(post);
    Shared_->Limit = limit == 0 ? 1 : limit;
    std::thread([shared = Shared_] { shared->Work(); }).detach();
}

Mail_Outbox::~Mail_Outbox() {
    std::unique_lock<std::mutex> lock(Shared_->Lock);
    Shared_->Closing = true;
    Shared_->Changed.notify_all();
    Shared_->Changed.wait_for(lock, std::chrono::seconds(5),
                              [this] { return Shared_->Queue.empty() && !Shared_->Sending; });
    Shared_->Post = nullptr;
}

Mail_Result Mail_Outbox::Send(const Mail_Message& message) {
    std::lock_guard<std::mutex> lock(Shared_->Lock);
    if (Shared_->Queue.size() >= Shared_->Limit) {
        Shared_->Queue.pop_front();
        ++Shared_->Dropped;
    }
    Shared_->Queue.push_back(message);
    Shared_->Changed.notify_all();
    return Mail_Result::Queued();
}

std::size_t Mail_Outbox::Waiting() const {
    std::lock_guard<std::mutex> lock(Shared_->Lock);
    return Shared_->Queue.size();
}

std::size_t Mail_Outbox::Dropped() const {
    std::lock_guard<std::mutex> lock(Shared_->Lock);
    return Shared_->Dropped;
}

}  // namespace corvanel
