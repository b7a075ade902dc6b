// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/windows/serial_port_window.h"

#include <QLabel>
#include <QVBoxLayout>

namespace corvanel {

Serial_Port_Window::Serial_Port_Window(Qt_Serial_Device& device, Serial_Port& link)
    : Device_(device), Link_(link) {
    setObjectName("Serial_Port");
    setWindowTitle("Form1");
    Port_Label = new QLabel("Serial_Port.frx", this);
    Port_Label->setObjectName("Port_Label");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Port_Label);
}

}  // namespace corvanel
