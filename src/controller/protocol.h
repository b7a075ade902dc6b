// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace corvanel {

class FrontPanel;
class Request_Sink;
class Serial_Port;

// The fixed pause after every request. The program lets window events run while it
// waits (the receive event among them); tests advance a clock and deliver replies.
class Reply_Waiter {
  public:
    virtual ~Reply_Waiter() = default;
    virtual void Wait(double seconds) = 0;
    // The link whose replies it waits for, and the buffer they gather in: a waiter that
    // reads the port itself hands the link each chunk and stops at the reply's end.
    virtual void Listen(Serial_Port& /*serial*/, const std::string& /*reply_buffer*/) {}
};

// The exclusive-or of the character codes, as two upper-case hexadecimal digits.
std::string Compute_FCS(std::string_view text);

// The unit address field: two digits below 100 ("05"), the plain number from 100 on.
std::string Unit_Address_Field(std::uint8_t unit_address);

// Only -999 to 9999 fit the four-character number field.
inline constexpr int Number_Field_Min = -999;
inline constexpr int Number_Field_Max = 9999;
// The four-character number field of a value inside the field's range: 0005, 1250,
// F005 for -5.
std::string Number_Field(int value);

// "@" + address + command code + data + FCS + "*" + CR LF.
std::string Build_Request(std::uint8_t unit_address, std::string_view command_code,
                          std::string_view data = {});

// The eleven controller commands and their shared state. Every routine sends one
// request, pauses, checks the reply's FCS and end code and decodes its data into this
// state and the front panel. Outcomes travel in Comm_Error / Command_OK and the
// panel's two indicators; no routine reports an error to its caller.
class InOut_Functions {
  public:
    InOut_Functions(FrontPanel& panel, Reply_Waiter& waiter);

    // The serial link that transmits requests; until it is connected requests go nowhere.
    void Connect(Request_Sink& link) { Link_ = &link; }

    void Write_SV(std::uint8_t& unit_address, std::int16_t& set_value);
    std::int16_t Read_SV(std::uint8_t& unit_address);
    void Read_PV(std::uint8_t& unit_address);
    void Set_Write_Mode_Backup(std::uint8_t& unit_address);
    void Set_Write_Mode_RAM(std::uint8_t& unit_address);
    void Save_RAM_To_NV(std::uint8_t& unit_address);
    void Read_Status(std::uint8_t& unit_address);
    std::int16_t Read_Output(std::uint8_t& unit_address);
    void Read_Limits(std::uint8_t& unit_address);
    // The same command for the run's own use: the high set limit when the controller told
    // it, the front panel's read-outs and messages left as they are.
    std::optional<std::int16_t> Read_High_Set_Limit(std::uint8_t unit_address);
    void Start_Auto_Tune(std::uint8_t& unit_address);
    void Stop_Auto_Tune(std::uint8_t& unit_address);

    // The 0.2 s pause after every request.
    static constexpr double Reply_Pause_Seconds = 0.2;
    void Reply_Wait();

    // Reads the process value of every address from 0 to 100 and lists who answered.
    void Scan_Unit_Addresses();

    // Every character received since the current command started.
    std::string Reply_Buffer;
    bool Comm_Error = false;
    bool Command_OK = false;
    std::int16_t Last_PV = 0;
    std::int16_t Low_Set_Limit = 0;
    std::int16_t High_Set_Limit = 0;
    std::string Status_High;
    std::string Status_Mid;
    std::string Status_Low;
    // True when the last Write_SV had to send the nearest value the field can carry.
    bool Set_Value_Clamped = false;
    std::string Set_Value_Clamped_Message;  // what the operator was told, "" otherwise

  private:
    // Steps 1 to 7 of every command; true when the reply's FCS over its first n
    // characters matched, with Communication_Status then checked.
    bool Exchange(std::uint8_t unit_address, std::string_view code, std::string_view data,
                  std::size_t n, bool clear_messages);
    // ME01, MA01 and MW01: no data either way; true when the controller took it.
    bool Memory_Mode_Command(std::uint8_t unit_address, std::string_view code);
    std::string End_Code() const;
    std::string Reply_Chars(std::size_t position, std::size_t length) const;

    FrontPanel& Panel_;
    Reply_Waiter& Waiter_;
    Request_Sink* Link_ = nullptr;
};

}  // namespace corvanel
