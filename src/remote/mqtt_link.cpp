// SPDX-License-Identifier: GPL-3.0-or-later
#include "remote/mqtt_link.h"

#include <algorithm>

#include "common/text.h"
#include "language/translate.h"

namespace corvanel {

Mqtt_Link::Mqtt_Link(std::string broker) : Broker_(std::move(broker)) {}

std::string Mqtt_Link::Connected() {
    Connected_ = true;
    Next_Delay_ = 1;
    // The first connection is said, and being back after trouble; a quiet reconnection
    // (a short loss that was never said) is not.
    bool say = !Ever_Connected_ || Said_Trouble_;
    Ever_Connected_ = true;
    Said_Trouble_ = false;
    return say ? TranslateText("Publishing to the MQTT broker at") + " " + Broker_ : "";
}

Maybe_Problem Mqtt_Link::Failed(Mqtt_Trouble trouble, const std::string& reason) {
    Connected_ = false;
    Delay_ = Next_Delay_;
    Next_Delay_ = std::min(Next_Delay_ * 2, 60.0);
    // After a loss the next try fails as unreachable while the broker is away: that is
    // the same trouble, said once.
    if (trouble == Mqtt_Trouble::Unreachable && Said_Trouble_ && Said_ == Mqtt_Trouble::Lost) {
        return std::nullopt;
    }
    if (Said_Trouble_ && Said_ == trouble) return std::nullopt;
    Said_Trouble_ = true;
    Said_ = trouble;
    std::string what;
    switch (trouble) {
        case Mqtt_Trouble::Unreachable:
            what = TranslateText("cannot be reached");
            break;
        case Mqtt_Trouble::Bad_Credentials:
            what = TranslateText("refused the user name or password");
            break;
        case Mqtt_Trouble::Refused:
            what = TranslateText("refused the connection");
            break;
        case Mqtt_Trouble::Lost:
            what = TranslateText("the connection was lost");
            break;
    }
    std::string first = TranslateText("MQTT broker") + " " + Broker_ + ": " + what;
    if (!reason.empty()) first += ": " + reason;
    // Worded now, in the language of the moment, as the messages always were.
    return Problem{Operator_Text::Value(first),
                   Operator_Text::Value(TranslateText("The firing goes on; publishing resumes "
                                                      "when the broker can be reached"))};
}

bool Mqtt_Link::Offer(const Mqtt_Message& message) {
    if (Connected_) return true;
    if (message.Qos > 0 && !message.Retain) {
        if (Kept_.size() >= Kept_Limit) Kept_.pop_front();
        Kept_.push_back(message);
    }
    return false;
}

std::deque<Mqtt_Message> Mqtt_Link::Take_Kept() {
    std::deque<Mqtt_Message> kept;
    kept.swap(Kept_);
    return kept;
}

}  // namespace corvanel
