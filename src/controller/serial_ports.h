// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "common/error_numbers.h"

namespace corvanel {

class Settings_Store;

// Where the system describes its devices: /dev and /sys on a real machine, a folder
// of the test's own in tests.
struct Device_Tree {
    std::filesystem::path Dev = "/dev";
    std::filesystem::path Sys = "/sys";
};

// One serial device a port number can stand for.
struct Serial_Port_Entry {
    std::string Device;       // the path opened: /dev/ttyS0, /dev/serial/by-id/usb-...
    std::string Kernel_Name;  // ttyS0, ttyUSB0; empty when the device is not in the tree
    std::string Description;  // maker, product and serial number as far as known
};

// Every serial device of the machine in a stable order: the built-in ports that are
// real hardware (by number), then USB adapters under their stable by-id names (by
// name), then adapters that have no such name (ttyACM*, then ttyUSB*, by number).
// Port N without a line in CommPortMap.txt is the Nth of them, so an adapter keeps
// its number whichever socket it is plugged into.
std::vector<Serial_Port_Entry> List_Serial_Ports(const Device_Tree& tree);

inline constexpr const char* Comm_Port_Map_File = "CommPortMap.txt";

// The device port `port` stands for: the line "port=device" of Setup/CommPortMap.txt
// when there is one, else the port-th of List_Serial_Ports; nothing when neither.
std::optional<Serial_Port_Entry> Serial_Port_Of(int port, const Settings_Store& settings,
                                                const Device_Tree& tree);

// The name to open `device` again by after it went away: the stable by-id name of
// tree.Dev/serial/by-id that leads to the same device when there is one (an adapter
// plugged back may come back as another ttyUSB), else `device` itself.
std::string Stable_Device_Name(const std::string& device, const Device_Tree& tree);

// The text shown beside a port number: its device and what is known of it.
std::string Serial_Port_Text(int port, const Settings_Store& settings, const Device_Tree& tree);

// A port that could not be opened: the device that was tried and what the operator
// can do about it (empty when the details are turned off or there is nothing to say).
class Port_Open_Error : public Run_Time_Error {
  public:
    Port_Open_Error(Error_Number number, std::string device, std::vector<std::string> advice)
        : Run_Time_Error(number), Device(std::move(device)), Advice(std::move(advice)) {}
    std::string Device;
    std::vector<std::string> Advice;
};

// What the operator can do about a device that would not open: the device, the reason
// and the fix, one message line each. Empty when there is nothing useful to say.
std::vector<std::string> Port_Open_Advice(const std::string& device, Error_Number number);

// The setting file that turns the devices beside port numbers and the advice off.
inline constexpr const char* Serial_Port_Details_File = "SerialPortDetails.txt";
// Whether the devices and the advice are shown ("checked" or "unchecked"; on by default).
bool Serial_Port_Details_Shown(Settings_Store& settings);

// Shows the advice a failed port operation carries, after the messages it already gave.
template <typename Show>
void Show_Port_Open_Advice(const Run_Time_Error& error, Show show) {
    if (const auto* open_error = dynamic_cast<const Port_Open_Error*>(&error)) {
        for (const std::string& line : open_error->Advice) show(line);
    }
}

}  // namespace corvanel
