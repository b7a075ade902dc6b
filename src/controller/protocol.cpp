// SPDX-License-Identifier: GPL-3.0-or-later
#include "controller/protocol.h"
#include "common/fixed_message.h"

#include <algorithm>
#include <array>

#include "common/numeric.h"
#include "common/text.h"
#include "controller/front_panel_model.h"
#include "controller/serial_link.h"
#include "language/translate.h"

namespace corvanel {

namespace {

// Checked characters per command: the header, the end code and the command's data.
constexpr std::size_t N_No_Data = 7;
constexpr std::size_t N_One_Number = 11;
constexpr std::size_t N_Status = 12;
constexpr std::size_t N_Two_Numbers = 15;

// A decoding statement that fails is skipped; the routine goes on with the next one.
template <typename Step>
void Skip_On_Error(Step step) {
    try {
        step();
    } catch (const Run_Time_Error&) {
    }
}

// Signed form: "F" and three digits is minus that number, otherwise four digits.
std::int16_t Signed_Value_Of(const std::string& field) {
    if (!field.empty() && field.front() == 'F') {
        return static_cast<std::int16_t>(-Int16_Of(field.substr(1)));
    }
    return Int16_Of(field);
}

// The field as the read-outs show it: "-" and the three digits as received, or the
// four characters as received.
std::string Signed_Text_Of(const std::string& field) {
    if (!field.empty() && field.front() == 'F') return "-" + field.substr(1);
    return field;
}

// A hexadecimal status digit; anything else counts as 0.
int Hex_Digit_Value(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return 0;
}

}  // namespace

std::string Compute_FCS(std::string_view text) {
    unsigned x = 0;
    for (char c : text) x ^= static_cast<unsigned char>(c);
    static constexpr char Digits[] = "0123456789ABCDEF";
    return {Digits[(x >> 4) & 0xF], Digits[x & 0xF]};
}

std::string Unit_Address_Field(std::uint8_t unit_address) {
    std::string field = Format_Whole(unit_address);
    return unit_address < 10 ? "0" + field : field;
}

std::string Number_Field(int value) {
    if (value >= 0) {
        std::string digits = Format_Whole(value);
        return std::string(4 - std::min<std::size_t>(4, digits.size()), '0') + digits;
    }
    std::string digits = Format_Whole(-value);
    return "F" + std::string(3 - std::min<std::size_t>(3, digits.size()), '0') + digits;
}

std::string Build_Request(std::uint8_t unit_address, std::string_view command_code,
                          std::string_view data) {
    std::string request = "@" + Unit_Address_Field(unit_address);
    request += command_code;
    request += data;
    request += Compute_FCS(request);
    request += "*";
    request += CRLF;
    return request;
}

InOut_Functions::InOut_Functions(FrontPanel& panel, Reply_Waiter& waiter)
    : Panel_(panel), Waiter_(waiter) {}

void InOut_Functions::Reply_Wait() {
    Waiter_.Wait(Reply_Pause_Seconds);
}

std::string InOut_Functions::Reply_Chars(std::size_t position, std::size_t length) const {
    if (position - 1 >= Reply_Buffer.size()) return "";
    return Reply_Buffer.substr(position - 1, length);
}

std::string InOut_Functions::End_Code() const {
    return Reply_Chars(6, 2);
}

bool InOut_Functions::Exchange(std::uint8_t unit_address, std::string_view code,
                               std::string_view data, std::size_t n, bool clear_messages) {
    Panel_.Response_Box.clear();
    if (clear_messages) Panel_.User_Interface.clear();
    Reply_Buffer.clear();
    Comm_Error = false;
    Command_OK = false;
    Panel_.Communication_Status = false;
    Panel_.Command_Executed = false;

    std::string request = Build_Request(unit_address, code, data);
    if (Link_) Link_->Transmit(request);
    Reply_Wait();

    // Missing characters give a shorter received FCS, which never matches.
    std::string received = Reply_Chars(n + 1, 2);
    std::string computed = Compute_FCS(Reply_Buffer.substr(0, std::min(n, Reply_Buffer.size())));
    if (received != computed) {
        Comm_Error = true;
        return false;
    }
    Panel_.Communication_Status = true;
    return true;
}

void InOut_Functions::Write_SV(std::uint8_t& unit_address, std::int16_t& set_value) {
    // A value outside -999..9999 cannot be written in the field. Sending it anyway
    // would give a malformed frame; refusing would leave the controller on its old set
    // value, which may be hot. The nearest value the field carries moves the kiln the
    // way the profile asks (9999 is cooler than anything above it, -999 is cold), so
    // that is what goes out, and the operator is told.
    int value = set_value;
    Set_Value_Clamped = value < Number_Field_Min || value > Number_Field_Max;
    Set_Value_Clamped_Message.clear();
    if (Set_Value_Clamped) {
        int sent = std::clamp(value, Number_Field_Min, Number_Field_Max);
        Set_Value_Clamped_Message =
            TranslateText("Set value does not fit the controller (-999 to 9999), sent instead:") +
            " " + Format_Whole(value) + " => " + Format_Whole(sent);
        Panel_.Display(Set_Value_Clamped_Message);
        value = sent;
    }
    if (!Exchange(unit_address, "WS01", Number_Field(value), N_No_Data, false)) return;
    std::string end_code = End_Code();
    if (end_code == "00") {
        Command_OK = true;
        Panel_.Set_Point = Format_Whole(value);
        Panel_.Command_Executed = true;
    } else if (end_code == "0D") {
        Panel_.Display(Words_Of(Fixed_Message::Command_Cannot_Be_Executed));
    }
}

std::int16_t InOut_Functions::Read_SV(std::uint8_t& unit_address) {
    std::int16_t result = 0;
    if (!Exchange(unit_address, "RS01", {}, N_One_Number, false)) return 0;
    if (End_Code() == "00") {
        Command_OK = true;
        Panel_.Command_Executed = true;
        std::string field = Reply_Chars(8, 4);
        Panel_.Set_Point = Signed_Text_Of(field);
        Skip_On_Error([&] { result = Signed_Value_Of(field); });
    } else {
        Panel_.Display(TranslateText(Words_Of(Fixed_Message::Command_Cannot_Be_Executed)));
    }
    return result;
}

void InOut_Functions::Read_PV(std::uint8_t& unit_address) {
    if (!Exchange(unit_address, "RX01", {}, N_Two_Numbers, false)) return;
    if (End_Code() != "00") return;
    Command_OK = true;
    std::string field = Reply_Chars(8, 4);
    Skip_On_Error([&] { Last_PV = Signed_Value_Of(field); });
    Panel_.Process_Value = Signed_Text_Of(field);
    Panel_.Command_Executed = true;

    std::string status = Reply_Chars(12, 4);
    std::array<int, 4> digit{};
    for (std::size_t i = 0; i < 4 && i < status.size(); ++i) digit[i] = Hex_Digit_Value(status[i]);
    Panel_.Remote = digit[0] & 8;
    Panel_.Manual = digit[0] & 2;
    Panel_.RamWrite = digit[0] & 1;
    Panel_.AutoTuning = digit[1] & 8;
    Panel_.Alarm_2 = digit[1] & 4;
    Panel_.Alarm_1 = digit[1] & 2;
    Panel_.ShiftOn = digit[1] & 1;
    Panel_.MemDiff = digit[2] & 8;
    Panel_.RamDataError = digit[2] & 4;
    Panel_.HeaterBurnout = digit[2] & 2;
    Panel_.AD_Fail = digit[3] & 8;
    Panel_.InputError = digit[3] & 4;
    Panel_.Underflow = digit[3] & 2;
    Panel_.OverFlow = digit[3] & 1;
}

bool InOut_Functions::Memory_Mode_Command(std::uint8_t unit_address, std::string_view code) {
    if (!Exchange(unit_address, code, {}, N_No_Data, false)) return false;
    if (End_Code() != "00") return false;
    Command_OK = true;
    Panel_.Command_Executed = true;
    return true;
}

void InOut_Functions::Set_Write_Mode_Backup(std::uint8_t& unit_address) {
    if (Memory_Mode_Command(unit_address, "ME01"))
        Panel_.Display(TranslateText("Settings in NVRam and Volatile memory"));
}

void InOut_Functions::Set_Write_Mode_RAM(std::uint8_t& unit_address) {
    if (Memory_Mode_Command(unit_address, "MA01"))
        Panel_.Display(TranslateText("Settings in Volatile Memory only"));
}

void InOut_Functions::Save_RAM_To_NV(std::uint8_t& unit_address) {
    if (Memory_Mode_Command(unit_address, "MW01"))
        Panel_.Display(TranslateText("RAM Values copied to NV RAM"));
}

void InOut_Functions::Read_Status(std::uint8_t& unit_address) {
    if (!Exchange(unit_address, "RU01", {}, N_Status, true)) return;
    if (End_Code() != "00") return;
    // Unlike the other routines, any failing step ends the status read.
    try {
        Command_OK = true;
        Status_High = Reply_Chars(8, 1);
        Status_Mid = Reply_Chars(9, 1);
        Status_Low = Reply_Chars(10, 1);
        Panel_.Controller_Input_Type = Reply_Chars(12, 1);
        Panel_.Controller_Temp_Scale = static_cast<std::uint8_t>(Int16_Of(Status_High) & 1);
        Panel_.Display(
            Join_Lines({"Status Hi= " + Status_High, "Status Mid= " + Status_Mid,
                        "Status Low= " + Status_Low, "Input Type=" + Panel_.Controller_Input_Type,
                        "TempScale=" + Format_Whole(Panel_.Controller_Temp_Scale)}));
        Panel_.Command_Executed = true;
    } catch (const Run_Time_Error&) {
        Panel_.Display(Words_Of(Fixed_Message::Read_Status_Error));
    }
}

std::int16_t InOut_Functions::Read_Output(std::uint8_t& unit_address) {
    std::int16_t result = 0;
    if (!Exchange(unit_address, "RO01", {}, N_One_Number, false)) return 0;
    if (End_Code() != "00") return 0;
    Command_OK = true;
    Skip_On_Error([&] { result = Int16_Of(Reply_Chars(8, 4)); });
    Panel_.Output_Display = Format_Whole(result);
    Panel_.Command_Executed = true;
    return result;
}

void InOut_Functions::Read_Limits(std::uint8_t& unit_address) {
    if (!Exchange(unit_address, "RL01", {}, N_Two_Numbers, true)) return;
    if (End_Code() != "00") return;
    Command_OK = true;
    Skip_On_Error([&] { Low_Set_Limit = Signed_Value_Of(Reply_Chars(8, 4)); });
    Skip_On_Error([&] { High_Set_Limit = Int16_Of(Reply_Chars(12, 4)); });
    Panel_.Low_Limit_Display = Format_Whole(Low_Set_Limit);
    Panel_.High_Limit_Display = Format_Whole(High_Set_Limit);
    Panel_.Command_Executed = true;
}

std::optional<std::int16_t> InOut_Functions::Read_High_Set_Limit(std::uint8_t unit_address) {
    if (!Exchange(unit_address, "RL01", {}, N_Two_Numbers, false)) return std::nullopt;
    if (End_Code() != "00") return std::nullopt;
    Command_OK = true;
    Panel_.Command_Executed = true;
    return Convert_To_Int16(Reply_Chars(12, 4)).Value;
}

void InOut_Functions::Start_Auto_Tune(std::uint8_t& unit_address) {
    if (!Exchange(unit_address, "AS01", {}, N_No_Data, true)) return;
    std::string end_code = End_Code();
    if (end_code == "00") {
        Command_OK = true;
        Panel_.Command_Executed = true;
    } else if (end_code == "0D") {
        Panel_.Display(TranslateText(Words_Of(Fixed_Message::Command_Cannot_Be_Executed)));
    }
}

void InOut_Functions::Stop_Auto_Tune(std::uint8_t& unit_address) {
    if (!Exchange(unit_address, "AP01", {}, N_No_Data, true)) return;
    // Stopping is always taken as done once the reply is intact.
    Command_OK = true;
    Panel_.Command_Executed = true;
}

void InOut_Functions::Scan_Unit_Addresses() {
    Panel_.User_Interface.clear();
    for (int address = 0; address <= 100; ++address) {
        Panel_.Unit_Scanning_Indicator = !Panel_.Unit_Scanning_Indicator;
        std::uint8_t unit = static_cast<std::uint8_t>(address);
        Read_PV(unit);
        std::string outcome = Comm_Error ? TranslateText("not present") : TranslateText("present");
        Panel_.Display(TranslateText("Unit") + " #" + Format_Whole(address) + " " + outcome);
    }
    Panel_.Display(TranslateText("Scan finished"));
    Panel_.Unit_Scanning_Indicator = false;
}

}  // namespace corvanel
