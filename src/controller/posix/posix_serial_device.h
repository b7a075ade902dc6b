// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "controller/protocol.h"
#include "controller/serial_link.h"
#include "setup/settings_store.h"

namespace corvanel {

// The serial port without Qt, for the kiln guard and a run without a window: the device the program
// had open (its port number mapped as the program maps it when that is not known), opened
// read-write with the program's line settings (a pseudo-terminal refuses some of them: only a
// failure to open counts). Only a terminal is opened, and it is taken for the guard
// alone: nothing else opens it while the guard has it.
class Posix_Serial_Device : public Serial_Device {
  public:
    explicit Posix_Serial_Device(const Settings_Store& settings) : Setup_(settings) {}
    ~Posix_Serial_Device() override;
    Posix_Serial_Device(const Posix_Serial_Device&) = delete;
    Posix_Serial_Device& operator=(const Posix_Serial_Device&) = delete;

    void Set_Comm_Port(int port) override { Comm_Port_ = port; }
    // The device to open instead of the port number's; "" for the port number's.
    void Use_Device(std::string device) { Device_ = std::move(device); }
    const std::string& Used_Device() const { return Device_; }
    int Comm_Port() const override { return Comm_Port_; }
    void Set_Settings(const std::string& settings) override { Settings_ = settings; }
    void Set_Port_Open(bool open) override;
    bool Port_Open() const override { return File_ >= 0; }
    void Output(const std::string& text) override;
    std::string Input() override;

    int File() const { return File_; }

  private:
    const Settings_Store& Setup_;  // where the port number's device is mapped
    int Comm_Port_ = 1;
    std::string Device_;
    std::string Settings_ = Line_Settings_Text;
    int File_ = -1;
};

// The pause after a request: waits for the reply on the port and hands each chunk to the
// serial link as it comes, until the reply's terminator is in or the time is up (at least
// the program's own pause, at most `longest` seconds: the guard has time, not events).
class Posix_Reply_Waiter : public Reply_Waiter {
  public:
    explicit Posix_Reply_Waiter(Posix_Serial_Device& device, double longest = 3)
        : Device_(device), Longest_(longest) {}
    // Where the chunks go and where the reply is looked for; until then it only waits.
    void Listen(Serial_Port& serial, const std::string& reply_buffer) override {
        Serial_ = &serial;
        Reply_Buffer_ = &reply_buffer;
    }
    void Wait(double seconds) override;

  private:
    Posix_Serial_Device& Device_;
    Serial_Port* Serial_ = nullptr;
    const std::string* Reply_Buffer_ = nullptr;
    double Longest_;
};

}  // namespace corvanel
