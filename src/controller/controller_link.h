// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "common/platform.h"
#include "controller/front_panel_model.h"
#include "controller/protocol.h"
#include "controller/serial_link.h"

namespace corvanel {

// One controller's link, put together once for the program, the guard and the tests: the
// front panel, the protocol that pauses with `waiter`, and the serial link over `device`,
// each connected to the others, the device and the waiter told where replies go. What the
// link says (a port that will not open) shows on the display it is given; nothing before.
class Controller_Link {
  public:
    Controller_Link(Serial_Device& device, Reply_Waiter& waiter, Message_Area* display = nullptr);
    Controller_Link(const Controller_Link&) = delete;
    Controller_Link& operator=(const Controller_Link&) = delete;

    // Where the link's messages show from now on: often made after the link (a run window
    // built over its protocol).
    void Show_Messages_On(Message_Area& display) { Display_.Shown_On = &display; }

    FrontPanel& Panel() { return Panel_; }
    InOut_Functions& Protocol() { return Protocol_; }
    Serial_Port& Serial() { return Serial_; }
    Serial_Device& Device() { return Serial_.Device(); }

  private:
    struct Relay : Message_Area {
        Message_Area* Shown_On = nullptr;
        void Display(const std::string& text) override {
            if (Shown_On) Shown_On->Display(text);
        }
        void Clear() override {
            if (Shown_On) Shown_On->Clear();
        }
    };

    Relay Display_;
    FrontPanel Panel_;
    InOut_Functions Protocol_;
    Serial_Port Serial_;
};

}  // namespace corvanel
