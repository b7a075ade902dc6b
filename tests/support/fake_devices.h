// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Fake /dev and /sys trees shaped as the kernel lays out serial devices.

#include <filesystem>
#include <string>
#include <vector>

#include "controller/serial_ports.h"
#include "support/temp_folder.h"

namespace corvanel::testing {

// One serial device as the kernel shows it.
struct Fake_Tty {
    std::string Kernel_Name = "";  // ttyS0, ttyUSB0
    std::string Type = "4";        // built-in ports: the UART type, "0" for a port not there
    std::string By_Id = "";        // adapters: the stable name, empty when there is none
    bool In_Sys = true;            // the kernel lists a device for it
};

class Fake_Devices {
  public:
    Fake_Devices() : Tree{Root.Path() / "dev", Root.Path() / "sys"} {
        std::filesystem::create_directories(Tree.Dev);
        Write_Whole_File((Tree.Dev / "tty0").string(), "");  // a console, not a serial port
        Write_Whole_File((Tree.Dev / "ttyUSBfoo").string(), "");
    }

    void Add(const Fake_Tty& tty) {
        Write_Whole_File((Tree.Dev / tty.Kernel_Name).string(), "");
        const std::filesystem::path tty_folder = Tree.Sys / "class" / "tty" / tty.Kernel_Name;
        std::filesystem::create_directories(tty_folder);
        if (!tty.In_Sys) return;
        if (tty.Kernel_Name.rfind("ttyS", 0) == 0) {
            std::filesystem::create_directories(Tree.Sys / "devices" / "platform" / "serial8250");
            std::filesystem::create_symlink(Tree.Sys / "devices" / "platform" / "serial8250",
                                            tty_folder / "device");
            Write_Whole_File((tty_folder / "type").string(), tty.Type + "\n");
            return;
        }
        // A USB adapter: the tty hangs off an interface of the USB device.
        const std::filesystem::path usb =
            Tree.Sys / "devices" / "pci0000:00" / "usb1" / ("1-" + tty.Kernel_Name);
        const std::filesystem::path interface = usb / "1-1:1.0" / tty.Kernel_Name;
        std::filesystem::create_directories(interface);
        Write_Whole_File((usb / "idVendor").string(), "0403\n");
        Write_Whole_File((usb / "idProduct").string(), "6001\n");
        std::filesystem::create_symlink(interface, tty_folder / "device");
        if (!tty.By_Id.empty()) {
            std::filesystem::create_directories(Tree.Dev / "serial" / "by-id");
            std::filesystem::create_symlink("../../" + tty.Kernel_Name,
                                            Tree.Dev / "serial" / "by-id" / tty.By_Id);
        }
    }

    std::vector<std::string> Listed() const {
        std::vector<std::string> names;
        for (const Serial_Port_Entry& entry : List_Serial_Ports(Tree)) {
            names.push_back(
                std::filesystem::path(entry.Device).lexically_relative(Tree.Dev).string());
        }
        return names;
    }

    Temp_Folder Root;
    Device_Tree Tree;
};

}  // namespace corvanel::testing
