// SPDX-License-Identifier: GPL-3.0-or-later
#include "controller/controller_link.h"

namespace corvanel {

Controller_Link::Controller_Link(Serial_Device& device, Reply_Waiter& waiter, Message_Area* display)
    : Protocol_(Panel_, waiter), Serial_(device, Panel_, Display_, Protocol_.Reply_Buffer) {
    Display_.Shown_On = display;
    Protocol_.Connect(Serial_);
    Panel_.Link = &Serial_;
    Panel_.Connect(Protocol_);
    device.Deliver_To(Serial_);
    waiter.Listen(Serial_, Protocol_.Reply_Buffer);
}

}  // namespace corvanel
