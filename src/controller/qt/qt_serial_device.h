// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QSerialPort>

#include "controller/protocol.h"
#include "controller/serial_link.h"
#include "setup/settings_store.h"

namespace corvanel {

// The serial port of the program: a QSerialPort behind the link's device interface.
// Received characters are handed to the serial window's receive event on the window
// thread, as soon as they arrive.
class Qt_Serial_Device : public QObject, public Serial_Device {
    Q_OBJECT
  public:
    explicit Qt_Serial_Device(Settings_Store& settings, QObject* parent = nullptr);

    // The serial window whose receive event gets the characters.
    void Deliver_To(Serial_Port& serial) override { Serial_ = &serial; }

    // A port chosen forgets the device the last one was opened again by.
    void Set_Comm_Port(int port) override {
        Comm_Port_ = port;
        Reopen_Name_.clear();
    }
    int Comm_Port() const override { return Comm_Port_; }
    void Set_Settings(const std::string& settings) override;
    void Set_Port_Open(bool open) override;
    bool Port_Open() const override { return Port_.isOpen(); }
    void Output(const std::string& text) override;
    std::string Input() override;
    // Opens again by the stable name of the device last opened (an adapter plugged back
    // may come back under another ttyUSB number), else by the port number.
    void Reopen() override;
    std::string Opened_Device() const override { return Reopen_Name_; }

    // The device the port number stands for, once opened.
    QString Device_Name() const { return Port_.portName(); }

  private:
    void Apply_Line_Settings();
    void Open_Device(const std::string& device);

    Settings_Store& Settings_;
    QSerialPort Port_;
    Serial_Port* Serial_ = nullptr;
    int Comm_Port_ = 1;
    std::string Reopen_Name_;  // empty until a port has opened
    Line_Settings Line_;
};

// The pause after a request: a nested event loop, so the window stays live and the
// receive event runs, while the thread sleeps instead of spinning.
class Qt_Reply_Waiter : public Reply_Waiter {
  public:
    void Wait(double seconds) override;
};

}  // namespace corvanel
