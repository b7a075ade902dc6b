// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/windows/serial_port_window.h"

#include <QLabel>
#include <QVBoxLayout>

namespace corvanel {

Serial_Port_Window::Serial_Port_Window(Settings_Store& settings, FrontPanel& panel,
                                       Message_Area& main_display, std::string& reply_buffer)
    : Device_(settings, this), Link_(Device_, panel, main_display, reply_buffer) {
    setObjectName("Serial_Port");
    setWindowTitle("Form1");
    Port_Label = new QLabel("Serial_Port.frx", this);
    Port_Label->setObjectName("Port_Label");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Port_Label);
    Device_.Deliver_To(Link_);
}

}  // namespace corvanel
