// SPDX-License-Identifier: GPL-3.0-or-later
#include "controller/serial_ports.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <system_error>

#include "common/text.h"
#include "language/translate.h"
#include "setup/program_paths.h"
#include "setup/program_settings.h"
#include "setup/settings_store.h"
#include "setup/setup_files.h"

#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>
#endif

namespace corvanel {

namespace fs = std::filesystem;

namespace {

// The number at the end of a kernel name (ttyUSB12 -> 12); 0 when there is none.
long Trailing_Number(const std::string& name) {
    return std::strtol(name.c_str() + name.find_last_not_of("0123456789") + 1, nullptr, 10);
}

// The prefix and then only digits, at least one: ttyS0, ttyUSB12.
bool Named(const std::string& name, const std::string& prefix) {
    return name.size() > prefix.size() && name.compare(0, prefix.size(), prefix) == 0 &&
           name.find_first_not_of("0123456789", prefix.size()) == std::string::npos;
}

std::string Attribute(const fs::path& file) {
    std::string line = Read_First_Line(file.string());
    while (!line.empty() && (line.back() == ' ' || line.back() == '\t')) line.pop_back();
    return line;
}

// The kernel's tty folder of a device name: /sys/class/tty/<name>.
fs::path Tty_Folder(const Device_Tree& tree, const std::string& kernel_name) {
    return tree.Sys / "class" / "tty" / kernel_name;
}

// A built-in port the kernel made a node for is real hardware only when its UART type
// is known: the 8250 driver registers ports that are not there with type 0.
bool Is_Real_Builtin(const Device_Tree& tree, const std::string& kernel_name) {
    std::error_code error;
    fs::path tty = Tty_Folder(tree, kernel_name);
    if (!fs::exists(tty / "device", error)) return false;
    std::string type = Attribute(tty / "type");
    return type.empty() || type != "0";
}

// Maker, product and serial number of a USB adapter: read from the first folder above
// the tty's device that describes a USB device.
std::string Usb_Description(const Device_Tree& tree, const std::string& kernel_name) {
    std::error_code error;
    fs::path device = fs::canonical(Tty_Folder(tree, kernel_name) / "device", error);
    if (error) return "";
    const fs::path top = fs::weakly_canonical(tree.Sys, error);
    for (fs::path folder = device; !folder.empty() && folder != top && folder != folder.root_path();
         folder = folder.parent_path()) {
        if (!fs::exists(folder / "idVendor", error)) continue;
        std::vector<std::string> parts;
        for (const char* name : {"manufacturer", "product"}) {
            std::string value = Attribute(folder / name);
            if (!value.empty()) parts.push_back(value);
        }
        std::string serial = Attribute(folder / "serial");
        if (!serial.empty()) parts.push_back(TranslateText("serial number") + " " + serial);
        if (parts.empty()) {
            parts.push_back("USB " + Attribute(folder / "idVendor") + ":" +
                            Attribute(folder / "idProduct"));
        }
        std::string text;
        for (const std::string& part : parts) text += (text.empty() ? "" : ", ") + part;
        return text;
    }
    return "";
}

// The kernel name a device path leads to (/dev/serial/by-id/usb-... -> ttyUSB0).
std::string Kernel_Name_Of(const fs::path& device) {
    std::error_code error;
    fs::path target = fs::canonical(device, error);
    return error ? device.filename().string() : target.filename().string();
}

Serial_Port_Entry Entry_Of(const Device_Tree& tree, const std::string& device,
                           const std::string& kernel_name) {
    Serial_Port_Entry entry{device, kernel_name, ""};
    if (Named(kernel_name, "ttyS")) {
        entry.Description = TranslateText("built-in serial port");
    } else if (!kernel_name.empty()) {
        entry.Description = Usb_Description(tree, kernel_name);
    }
    return entry;
}

std::vector<std::string> Names_In(const fs::path& folder) {
    std::vector<std::string> names;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        names.push_back(it->path().filename().string());
    }
    return names;
}

void Sort_By_Number(std::vector<std::string>& names) {
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return Trailing_Number(a) < Trailing_Number(b);
    });
}

}  // namespace

std::vector<Serial_Port_Entry> List_Serial_Ports(const Device_Tree& tree) {
    std::vector<Serial_Port_Entry> ports;
    const std::vector<std::string> dev_names = Names_In(tree.Dev);

    std::vector<std::string> builtin;
    for (const std::string& name : dev_names) {
        if (Named(name, "ttyS") && Is_Real_Builtin(tree, name)) builtin.push_back(name);
    }
    Sort_By_Number(builtin);
    for (const std::string& name : builtin) {
        ports.push_back(Entry_Of(tree, (tree.Dev / name).string(), name));
    }

    std::vector<std::string> by_id = Names_In(tree.Dev / "serial" / "by-id");
    std::sort(by_id.begin(), by_id.end());
    std::vector<std::string> named_adapters;
    for (const std::string& link : by_id) {
        fs::path device = tree.Dev / "serial" / "by-id" / link;
        std::string kernel_name = Kernel_Name_Of(device);
        named_adapters.push_back(kernel_name);
        ports.push_back(Entry_Of(tree, device.string(), kernel_name));
    }

    for (const char* prefix : {"ttyACM", "ttyUSB"}) {
        std::vector<std::string> adapters;
        for (const std::string& name : dev_names) {
            if (Named(name, prefix) && std::find(named_adapters.begin(), named_adapters.end(),
                                                 name) == named_adapters.end()) {
                adapters.push_back(name);
            }
        }
        Sort_By_Number(adapters);
        for (const std::string& name : adapters) {
            ports.push_back(Entry_Of(tree, (tree.Dev / name).string(), name));
        }
    }
    return ports;
}

std::string Stable_Device_Name(const std::string& device, const Device_Tree& tree) {
    const fs::path by_id = tree.Dev / "serial" / "by-id";
    if (fs::path(device).parent_path() == by_id) return device;
    std::error_code error;
    const fs::path target = fs::canonical(device, error);
    if (error) return device;
    for (const std::string& link : Names_In(by_id)) {
        const fs::path name = by_id / link;
        if (fs::canonical(name, error) == target && !error) return name.string();
    }
    return device;
}

std::optional<Serial_Port_Entry> Serial_Port_Of(int port, const Settings_Store& settings,
                                                const Device_Tree& tree) {
    if (port < 1) return std::nullopt;
    // Its keys are port numbers the operator adds freely, not settings declared beforehand.
    if (std::optional<std::string> device =
            settings.Free_Value(Comm_Port_Map_File, Format_Whole(port))) {
        std::error_code error;
        std::string kernel_name = fs::exists(*device, error) ? Kernel_Name_Of(*device) : "";
        Serial_Port_Entry entry = Entry_Of(tree, *device, kernel_name);
        if (entry.Description.empty())
            entry.Description = TranslateText("set by hand for this port number");
        return entry;
    }
    std::vector<Serial_Port_Entry> ports = List_Serial_Ports(tree);
    if (static_cast<std::size_t>(port) > ports.size()) return std::nullopt;
    return ports[static_cast<std::size_t>(port) - 1];
}

std::string Serial_Port_Text(int port, const Settings_Store& settings, const Device_Tree& tree) {
    std::optional<Serial_Port_Entry> entry = Serial_Port_Of(port, settings, tree);
    if (!entry) return TranslateText("no serial device for this port number");
    std::string text = entry->Device;
    // A stable name hides which tty it is today; a pseudo-terminal's number says nothing.
    if (entry->Kernel_Name.rfind("tty", 0) == 0 &&
        fs::path(entry->Device).filename() != entry->Kernel_Name) {
        text += " (" + entry->Kernel_Name + ")";
    }
    if (!entry->Description.empty()) text += ": " + entry->Description;
    return text;
}

std::vector<std::string> Port_Open_Advice(const std::string& device, Error_Number number) {
    if (device.empty()) return {};
    const std::string named = TranslateText("Serial device") + " " + device + ": ";
    if (number == Error_Number::No_Such_Port) {
        return {
            named + TranslateText("not found"),
            TranslateText(
                "Check that the adapter is plugged in, or choose its port number in SetUp -> CommPortNumber")};
    }
    if (number != Error_Number::Permission_Denied) return {};
#ifndef _WIN32
    // The port's own open says only "permission"; the system says whether it is the
    // file's permissions or another program holding the port.
    if (::access(device.c_str(), R_OK | W_OK) != 0 && errno == EACCES) {
        const char* user = std::getenv("USER");
        return {named + TranslateText("permission denied"),
                TranslateText("Add your user to the dialout group, then log in again"),
                "    sudo usermod -a -G dialout " + std::string(user && *user ? user : "$USER")};
    }
#endif
    return {named + TranslateText("in use by another program"),
            TranslateText("Close the other program that uses the port, then try again")};
}

bool Serial_Port_Details_Shown(Settings_Store& settings) {
    // Read each time: a change made in the file is seen at once; a value not understood
    // is the default, as it always was.
    const Setting& details = Program_Setting::SerialPortDetails;
    Settings_Store::Reading reading = settings.Read(details);
    return (reading.Problem ? details.Default : reading.Value) == details.On_Word;
}

}  // namespace corvanel
