// SPDX-License-Identifier: GPL-3.0-or-later
// kiln-sim: a temperature controller and its kiln, served on a pseudo-terminal.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <iostream>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "controller_model.h"
#include "fault_plan.h"

namespace {

using namespace corvanel::sim;
using Clock = std::chrono::steady_clock;

constexpr const char* Usage = R"(Usage: kiln-sim [options]
Simulates a digital temperature controller heating a kiln and serves it on a
pseudo-terminal. Prints the terminal's path on the first line of standard output.

  --units=LIST         unit addresses served, 0..99, comma separated (default 0)
  --input-type=N       controller input type 0..9 (default 2, K thermocouple);
                       6 and 7 (platinum) read in tenths of a degree
  --scale=C|F          temperature scale (default C)
  --low-limit=N        lowest set value accepted, display units (-999..9999)
  --high-limit=N       highest set value accepted, display units (-999..9999)
                       (limits default to the sensor's range)
  --start-temp=T       kiln temperature at start, degrees (default room temperature)
  --speed=X            kiln seconds per real second (default 1; 60 makes minutes seconds)
  --aging=PERCENT      power the elements lose with each firing, 0..50, decimals
                       allowed (default 0); a firing begins when a set value more
                       than 200 degrees above room temperature follows one at most
                       50 degrees above it
  --fired=N            firings the elements did before the start, 0..10000 (default 0)
  --link=PATH          also make PATH a symbolic link to the terminal
  --seed=N             seed for the random faults (default 1)
  --verbose            log every exchange on standard error

Faults; WHEN is a probability 0..1 per exchange or exchange numbers at:3,7
(the first request received is exchange 1), where a span at:5-40 means every
exchange from 5 to 40:
  --no-reply=WHEN      send nothing
  --late-reply=WHEN    reply after --late-ms (default 600) milliseconds
  --split-reply=WHEN   reply in 2 to 4 chunks, --split-gap-ms (default 20) apart
  --corrupt-fcs=WHEN   reply with a wrong FCS
  --lower-fcs=WHEN     reply with the FCS in lower-case hexadecimal
  --end-0d=WHEN        reply end code 0D (command cannot be executed)
  --tc-break=WHEN      thermocouple open during the exchange (input error bit)
  --garbage=WHEN       1 to 4 stray characters before the reply
  --spike=WHEN         the process value in a reading reply is off by
                       --spike-degrees (default 200, may be negative); the kiln
                       itself is unchanged
Kiln faults, with the same WHEN; once struck they stay, but one struck for a
span (at:5-40) ends after its last exchange: the elements heat again, the
relay unsticks, the cable answers again. Spans count exchanges, not seconds:
the program asks at a steady rate, so exchanges measure time.
  --elements-failed=WHEN  the elements give no heat at all
  --weak-elements=WHEN    the elements give half their power
  --stuck-relay=WHEN      full power whatever the controller's output
  --cable-pulled=WHEN     no reply to that exchange or any after it

Example: kiln-sim --units=0,1 --speed=60 --link=/tmp/kiln-port --no-reply=0.05
)";

volatile std::sig_atomic_t Stop_Requested = 0;
void On_Signal(int) {
    Stop_Requested = 1;
}

struct Options {
    std::vector<int> Units{0};
    Unit_Settings Settings;
    Fault_Options Faults;
    std::string Link;
    bool Verbose = false;
};

[[noreturn]] void Fail(const std::string& reason) {
    std::cerr << "kiln-sim: " << reason << " (see --help)\n";
    std::exit(2);
}

long Whole_Of(const std::string& flag, const std::string& text, long low, long high) {
    std::size_t used = 0;
    long value = 0;
    try {
        value = std::stol(text, &used);
    } catch (const std::exception&) {
        used = 0;
    }
    if (text.empty() || used != text.size() || value < low || value > high) {
        Fail("--" + flag + " wants a whole number " + std::to_string(low) + ".." +
             std::to_string(high) + ", not '" + text + "'");
    }
    return value;
}

double Real_Of(const std::string& flag, const std::string& text) {
    std::size_t used = 0;
    double value = 0;
    try {
        value = std::stod(text, &used);
    } catch (const std::exception&) {
        used = 0;
    }
    if (text.empty() || used != text.size())
        Fail("--" + flag + " wants a number, not '" + text + "'");
    return value;
}

Options Parse_Options(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        std::string argument = argv[i];
        if (argument == "--help" || argument == "-h") {
            std::cout << Usage;
            std::exit(0);
        }
        if (argument == "--verbose") {
            options.Verbose = true;
            continue;
        }
        if (argument.rfind("--", 0) != 0) Fail("unexpected argument '" + argument + "'");
        std::string flag = argument.substr(2);
        std::string value;
        std::size_t equals = flag.find('=');
        if (equals != std::string::npos) flag.erase(equals);
        static const std::vector<std::string> Plain_Flags = {
            "units",      "input-type", "scale",        "low-limit",    "high-limit",
            "start-temp", "speed",      "aging",        "fired",        "link",
            "seed",       "late-ms",    "split-gap-ms", "spike-degrees"};
        if (std::find(Plain_Flags.begin(), Plain_Flags.end(), flag) == Plain_Flags.end() &&
            std::find(Fault_Flag_Names.begin(), Fault_Flag_Names.end(), flag) ==
                Fault_Flag_Names.end()) {
            Fail("unknown option --" + flag);
        }
        if (equals != std::string::npos) {
            value = argument.substr(2 + equals + 1);
        } else if (i + 1 < argc) {
            value = argv[++i];
        } else {
            Fail("--" + flag + " needs a value");
        }

        if (flag == "units") {
            options.Units.clear();
            std::string item;
            for (char c : value + ",") {
                if (c != ',') {
                    item += c;
                    continue;
                }
                int unit = static_cast<int>(Whole_Of(flag, item, 0, 99));
                if (std::find(options.Units.begin(), options.Units.end(), unit) ==
                    options.Units.end()) {
                    options.Units.push_back(unit);
                }
                item.clear();
            }
        } else if (flag == "input-type") {
            options.Settings.Input_Type = static_cast<int>(Whole_Of(flag, value, 0, 9));
        } else if (flag == "scale") {
            if (value != "C" && value != "F" && value != "c" && value != "f") {
                Fail("--scale wants C or F, not '" + value + "'");
            }
            options.Settings.Fahrenheit = value == "F" || value == "f";
        } else if (flag == "low-limit") {
            options.Settings.Low_Limit = static_cast<int>(Whole_Of(flag, value, -999, 9999));
        } else if (flag == "high-limit") {
            options.Settings.High_Limit = static_cast<int>(Whole_Of(flag, value, -999, 9999));
        } else if (flag == "start-temp") {
            options.Settings.Start_Temperature = Real_Of(flag, value);
        } else if (flag == "speed") {
            options.Settings.Speed = Real_Of(flag, value);
            if (!(options.Settings.Speed > 0)) Fail("--speed wants a number above 0");
        } else if (flag == "aging") {
            double percent = Real_Of(flag, value);
            if (!(percent >= 0 && percent <= 50))
                Fail("--aging wants a percentage 0..50, not '" + value + "'");
            options.Settings.Aging_Per_Firing = percent / 100.0;
        } else if (flag == "fired") {
            options.Settings.Firings_Before = static_cast<int>(Whole_Of(flag, value, 0, 10000));
        } else if (flag == "link") {
            if (value.empty()) Fail("--link wants a path");
            options.Link = value;
        } else if (flag == "seed") {
            options.Faults.Seed = static_cast<unsigned>(Whole_Of(flag, value, 0, 4294967295L));
        } else if (flag == "late-ms") {
            options.Faults.Late_Seconds = Whole_Of(flag, value, 0, 60000) / 1000.0;
        } else if (flag == "split-gap-ms") {
            options.Faults.Split_Gap_Seconds = Whole_Of(flag, value, 0, 10000) / 1000.0;
        } else if (flag == "spike-degrees") {
            options.Faults.Spike_Degrees = Whole_Of(flag, value, -9999, 9999);
        } else {
            auto fault = std::find(Fault_Flag_Names.begin(), Fault_Flag_Names.end(), flag);
            if (fault == Fault_Flag_Names.end()) Fail("unknown option --" + flag);
            try {
                options.Faults.Selectors[fault - Fault_Flag_Names.begin()] =
                    Parse_Fault_Selector(value);
            } catch (const std::invalid_argument& error) {
                Fail("--" + flag + ": " + error.what());
            }
        }
    }
    if (options.Settings.Low_Limit && options.Settings.High_Limit &&
        *options.Settings.Low_Limit > *options.Settings.High_Limit) {
        Fail("--low-limit is above --high-limit");
    }
    return options;
}

std::string Printable(const std::string& bytes) {
    std::string shown;
    for (char c : bytes) {
        if (c == '\r')
            shown += "<cr>";
        else if (c == '\n')
            shown += "<lf>";
        else if (static_cast<unsigned char>(c) < 0x20)
            shown += "<" + std::to_string(int(c)) + ">";
        else
            shown += c;
    }
    return shown;
}

struct Pending_Chunk {
    Clock::time_point Due;
    std::string Bytes;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::string(argv[1]) == "--version") {
        std::cout << "kiln-sim (Corvanel) " CORVANEL_PROGRAM_VERSION "\n"
                  << "Copyright (C) 2026 Corvanel developers\n"
                  << "License GPL-3.0-or-later <https://www.gnu.org/licenses/gpl-3.0.html>.\n";
        return 0;
    }
    Options options = Parse_Options(argc, argv);

    int master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) {
        std::perror("kiln-sim: cannot create a pseudo-terminal");
        return 1;
    }
    std::string terminal = ptsname(master);
    // Holding the terminal side open keeps the line up between clients, and raw mode
    // stops the terminal from echoing replies back to us.
    int held = open(terminal.c_str(), O_RDWR | O_NOCTTY);
    if (held >= 0) {
        termios mode{};
        tcgetattr(held, &mode);
        cfmakeraw(&mode);
        tcsetattr(held, TCSANOW, &mode);
    }
    fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);

    if (!options.Link.empty()) {
        std::error_code error;
        if (std::filesystem::is_symlink(options.Link, error))
            std::filesystem::remove(options.Link, error);
        std::filesystem::create_symlink(terminal, options.Link, error);
        if (error) {
            std::cerr << "kiln-sim: cannot make the link " << options.Link << ": "
                      << error.message() << "\n";
            return 1;
        }
    }

    std::signal(SIGINT, On_Signal);
    std::signal(SIGTERM, On_Signal);
    std::signal(SIGHUP, On_Signal);
    std::signal(SIGPIPE, SIG_IGN);

    std::cout << terminal << std::endl;
    std::cerr << "kiln-sim: serving " << options.Units.size() << " unit(s) on " << terminal
              << (options.Link.empty() ? "" : " (" + options.Link + ")") << "\n";

    Controller_Model model(options.Units, options.Settings);
    Kiln_Sim_Server server(model, options.Faults);
    Frame_Reader reader;
    std::deque<Pending_Chunk> outgoing;
    Clock::time_point last_advance = Clock::now();

    while (!Stop_Requested) {
        Clock::time_point now = Clock::now();
        int timeout_ms = 100;
        if (!outgoing.empty()) {
            auto wait = std::chrono::ceil<std::chrono::milliseconds>(outgoing.front().Due - now);
            timeout_ms = static_cast<int>(std::clamp<long long>(wait.count(), 0, 100));
        }
        pollfd line{master, POLLIN, 0};
        int ready = poll(&line, 1, timeout_ms);

        now = Clock::now();
        model.Advance(std::chrono::duration<double>(now - last_advance).count());
        last_advance = now;

        if (ready > 0 && (line.revents & POLLIN)) {
            char buffer[512];
            ssize_t count = read(master, buffer, sizeof buffer);
            if (count > 0) {
                for (const std::string& frame : reader.Add(std::string_view(buffer, count))) {
                    std::vector<Timed_Chunk> chunks = server.Serve(frame);
                    if (options.Verbose) {
                        std::string reply;
                        for (const Timed_Chunk& chunk : chunks) reply += chunk.Bytes;
                        std::cerr << "#" << server.Exchange_Count() << " <- " << Printable(frame)
                                  << "  -> " << (chunks.empty() ? "(nothing)" : Printable(reply))
                                  << "\n";
                    }
                    // One line: a reply never overtakes the one before it.
                    for (const Timed_Chunk& chunk : chunks) {
                        Clock::time_point due =
                            now + std::chrono::duration_cast<Clock::duration>(
                                      std::chrono::duration<double>(chunk.Delay_Seconds));
                        if (!outgoing.empty()) due = std::max(due, outgoing.back().Due);
                        outgoing.push_back({due, chunk.Bytes});
                    }
                }
            }
        }
        while (!outgoing.empty() && outgoing.front().Due <= Clock::now()) {
            const std::string& bytes = outgoing.front().Bytes;
            ssize_t written = write(master, bytes.data(), bytes.size());
            (void)written;
            outgoing.pop_front();
        }
    }

    if (!options.Link.empty()) {
        std::error_code ignored;
        if (std::filesystem::is_symlink(options.Link, ignored))
            std::filesystem::remove(options.Link, ignored);
    }
    if (held >= 0) close(held);
    close(master);
    return 0;
}
