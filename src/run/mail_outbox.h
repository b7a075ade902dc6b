// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <functional>
#include <memory>

#include "run/mail.h"

namespace corvanel {

// Mail sent beside the firing, never in its way: Send only queues the message and a
// worker thread hands it to the real sender, one at a time, in order. A mail server that
// hangs or refuses holds up the mail, never a tick. The queue is bounded: past `limit`
// waiting messages the oldest goes (the newest says what the kiln does now).
// A message that wants to hear its fate (Mail_Message::Then) is told through `post`,
// which runs a function on the owner's thread (the program's event loop); without one,
// or once the outbox is gone, nobody is told.
class Mail_Outbox : public Mail_Sender {
  public:
    using Poster = std::function<void(std::function<void()>)>;
    explicit Mail_Outbox(std::unique_ptr<Mail_Sender> sender, std::size_t limit = 100,
                         Poster post = {});
    // Waits a few seconds for the queue to go out; a send still hanging then is left to
    // finish on its own.
    ~Mail_Outbox() override;
    Mail_Outbox(const Mail_Outbox&) = delete;
    Mail_Outbox& operator=(const Mail_Outbox&) = delete;

    Mail_Result Send(const Mail_Message& message) override;  // always queued

    std::size_t Waiting() const;  // queued, not yet handed to the sender
    std::size_t Dropped() const;  // gone from a full queue

  private:
    struct Shared;
    std::shared_ptr<Shared> Shared_;
};

}  // namespace corvanel
