// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

#include "controller/qt/qt_serial_device.h"
#include "controller/serial_link.h"

class QLabel;

namespace corvanel {

// The hidden serial window over the port and the link that transmits requests and hands
// received characters to the protocol. The operator never sees it.
class Serial_Port_Window : public QWidget {
    Q_OBJECT
  public:
    Serial_Port_Window(Qt_Serial_Device& device, Serial_Port& link);

    Serial_Port& Link() { return Link_; }
    Qt_Serial_Device& Device() { return Device_; }

    QLabel* Port_Label;

  private:
    Qt_Serial_Device& Device_;
    Serial_Port& Link_;
};

}  // namespace corvanel
