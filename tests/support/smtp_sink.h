// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>

#include "support/temp_folder.h"

namespace corvanel {

// A real SMTP server on loopback, for the length of one test.
class Smtp_Sink {
  public:
    explicit Smtp_Sink(const std::filesystem::path& folder) : Folder_(folder) {
        // We write to its input ("quit" stops it); its port comes back through a file.
        std::filesystem::path port_file = folder / "port";
        std::string command = "/usr/bin/python3 '" CORVANEL_TEST_DATA "/run/smtp_sink.py' '" +
                              folder.string() + "' 120 > '" + port_file.string() + "'";
        Process_ = popen(command.c_str(), "w");
        for (int i = 0; i < 600 && Port_.empty(); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            std::string text = Read_Whole_File(port_file.string());
            if (!text.empty() && text.back() == '\n') Port_ = text.substr(0, text.size() - 1);
        }
    }
    ~Smtp_Sink() {
        if (Process_) {
            std::fputs("quit\n", Process_);
            pclose(Process_);
        }
    }
    const std::string& Port() const { return Port_; }

    // The n-th message received, waiting for it for up to 30 seconds.
    std::string Message(int n) const {
        std::filesystem::path file = Folder_ / ("mail-" + std::to_string(n) + ".txt");
        for (int i = 0; i < 600 && !std::filesystem::exists(file); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return Read_Whole_File(file.string());
    }

  private:
    std::filesystem::path Folder_;
    FILE* Process_ = nullptr;
    std::string Port_;
};

}  // namespace corvanel
