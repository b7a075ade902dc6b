// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "common/error_numbers.h"
#include "common/platform.h"
#include "controller/link_retry.h"
#include "controller/serial_ports.h"

namespace corvanel {

class FrontPanel;
class Serial_Port;
class Settings_Store;

// The serial-port object the link drives. Operations that fail throw Run_Time_Error:
// opening a port that does not exist with No_Such_Port, writing to a closed port with
// Port_Not_Open.
class Serial_Device {
  public:
    virtual ~Serial_Device() = default;
    // Set only while the port is closed.
    virtual void Set_Comm_Port(int port) = 0;
    virtual int Comm_Port() const = 0;
    // "9600,E,7,2": baud, parity, data bits, stop bits.
    virtual void Set_Settings(const std::string& settings) = 0;
    virtual void Set_Port_Open(bool open) = 0;
    virtual bool Port_Open() const = 0;
    // Writes the whole text at once.
    virtual void Output(const std::string& text) = 0;
    // Every character waiting, removed from the receive buffer; "" when none.
    virtual std::string Input() = 0;
    // Closes the port if open and opens the same device again; fails as opening does.
    virtual void Reopen() {
        if (Port_Open()) Set_Port_Open(false);
        Set_Port_Open(true);
    }
    // The device last opened, by the name that finds it again after other adapters come
    // and go (its /dev/serial/by-id name when it has one); "" when none has opened.
    virtual std::string Opened_Device() const { return ""; }
    // The serial link whose receive event gets the characters, for a device that delivers
    // them as they arrive; one that is read in the pause needs none.
    virtual void Deliver_To(Serial_Port& /*serial*/) {}
};

// Where a request goes to be transmitted.
class Request_Sink {
  public:
    virtual ~Request_Sink() = default;
    virtual void Transmit(const std::string& text) = 0;
};

// The line settings the link applies.
inline constexpr const char* Line_Settings_Text = "9600,E,7,2";

struct Line_Settings {
    int Baud = 9600;
    char Parity = 'E';  // N, E, O, M or S
    int Data_Bits = 7;
    int Stop_Bits = 2;
};
// Parses "9600,E,7,2"; throws Run_Time_Error(Type_Mismatch) on anything else.
Line_Settings Parse_Line_Settings(const std::string& settings);

// The device behind port number `port`: COMn on Windows; elsewhere the line "n=device"
// of Setup/CommPortMap.txt when there is one, else the nth serial device of the machine
// (List_Serial_Ports). A port with no device throws Run_Time_Error(No_Such_Port).
std::string Serial_Device_Name(int port, const Settings_Store& settings,
                               const Device_Tree& tree = Device_Tree{});

// The serial window: it owns the port, transmits what is put into
// Inter_Module_Message and hands every received chunk to the protocol's reply buffer
// and to the front panel's raw view.
class Serial_Port : public Request_Sink {
  public:
    Serial_Port(Serial_Device& device, FrontPanel& panel, Message_Area& main_display,
                std::string& reply_buffer);

    // Opens the port `Comm_Port_Number` with the line settings, at the first load only.
    void Form_Load(int comm_port_number);
    // Closes the port.
    void Form_Unload();
    // Close if open, select the port, open it. Failures go to the caller. A port chosen
    // ends the reconnecting of an outage.
    void Switch_Port(int port);

    // ---- the way back after the controller went silent or its port went away ----
    // The run tells the link of each exchange at `seconds` (Seconds_Of the run's clock);
    // the schedule is Link_Retry's.
    // True when this failed exchange starts an outage: the moment to say so, once.
    bool Exchange_Failed(long long seconds) { return Retry_.Failed(seconds, !Device_.Port_Open()); }
    // The length of the outage an answered exchange ends; nothing when there was none.
    std::optional<long long> Exchange_Answered(long long seconds) {
        return Retry_.Answered(seconds);
    }
    // Before an exchange: the port opened again when a try is due. A port that will not
    // open yet is tried again later, without a word: the outage has been told once.
    // True when the port opened.
    bool Reconnect_If_Due(long long seconds);
    bool Reconnecting() const { return Retry_.Outage(); }

    // Setting the text fires its change event only when the text actually changes;
    // the event writes a non-empty text to the port and empties the box.
    void Set_Inter_Module_Message(const std::string& text);
    const std::string& Inter_Module_Message() const { return Inter_Module_Message_; }
    void Transmit(const std::string& text) override { Set_Inter_Module_Message(text); }

    // The port's receive event; only event 2 (characters received) is handled.
    static constexpr int Comm_Event_Receive = 2;
    void MSComm1_OnComm(int comm_event);

    Serial_Device& Device() { return Device_; }
    // How many times a port has been opened: another port, or the adapter plugged in
    // again, may be another controller, whose scale and limits are learned afresh.
    int Openings() const { return Openings_; }

  private:
    void Inter_Module_Message_Change();

    Serial_Device& Device_;
    FrontPanel& Panel_;
    Message_Area& Main_Display_;
    std::string& Reply_Buffer_;
    std::string Inter_Module_Message_;
    bool Loaded_ = false;
    int Openings_ = 0;
    Link_Retry Retry_;
};

}  // namespace corvanel
