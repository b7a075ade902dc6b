// SPDX-License-Identifier: GPL-3.0-or-later
#include "controller/posix/posix_serial_device.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <thread>

namespace corvanel {

namespace {

speed_t Speed_Of(int baud) {
    switch (baud) {
        case 1200:
            return B1200;
        case 2400:
            return B2400;
        case 4800:
            return B4800;
        case 19200:
            return B19200;
        case 38400:
            return B38400;
        case 57600:
            return B57600;
        case 115200:
            return B115200;
        default:
            return B9600;
    }
}

void Apply_Line_Settings(int file, const Line_Settings& line) {
    termios terminal{};
    if (::tcgetattr(file, &terminal) != 0) return;
    ::cfmakeraw(&terminal);
    ::cfsetispeed(&terminal, Speed_Of(line.Baud));
    ::cfsetospeed(&terminal, Speed_Of(line.Baud));
    terminal.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | CSTOPB);
    terminal.c_cflag |= CLOCAL | CREAD;
    terminal.c_cflag |= line.Data_Bits == 7   ? CS7
                        : line.Data_Bits == 6 ? CS6
                        : line.Data_Bits == 5 ? CS5
                                              : CS8;
    if (line.Parity == 'E' || line.Parity == 'O') terminal.c_cflag |= PARENB;
    if (line.Parity == 'O') terminal.c_cflag |= PARODD;
    if (line.Stop_Bits == 2) terminal.c_cflag |= CSTOPB;
    ::tcsetattr(file, TCSANOW, &terminal);  // a pseudo-terminal may refuse some of it
}

}  // namespace

Posix_Serial_Device::~Posix_Serial_Device() {
    Set_Port_Open(false);
}

void Posix_Serial_Device::Set_Port_Open(bool open) {
    if (!open) {
        if (File_ >= 0) ::close(File_);
        File_ = -1;
        return;
    }
    if (File_ >= 0) return;
    const std::string device =
        Device_.empty() ? Serial_Device_Name(Comm_Port_, Setup_) : Device_;
    File_ = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (File_ < 0) {
        const int error = errno;
        throw Port_Open_Error(error == ENOENT   ? Error_Number::No_Such_Port
                              : error == EACCES ? Error_Number::Permission_Denied
                                                : Error_Number::Device_IO_Error,
                              device, {});
    }
    // A set value written into a file or a socket stops no kiln.
    struct stat status {};
    if (::fstat(File_, &status) != 0 || !S_ISCHR(status.st_mode) || !::isatty(File_)) {
        ::close(File_);
        File_ = -1;
        throw Port_Open_Error(Error_Number::Bad_File_Name_Or_Number, device, {});
    }
    // The port is the guard's until it closes it: a program started meanwhile waits for it
    // rather than firing on through the guard's soft off.
    if (::ioctl(File_, TIOCEXCL) != 0) {
        ::close(File_);
        File_ = -1;
        throw Port_Open_Error(Error_Number::Device_IO_Error, device, {});
    }
    Apply_Line_Settings(File_, Parse_Line_Settings(Settings_));
}

void Posix_Serial_Device::Output(const std::string& text) {
    if (File_ < 0) throw Run_Time_Error(Error_Number::Port_Not_Open);
    std::size_t written = 0;
    while (written < text.size()) {
        const ssize_t now = ::write(File_, text.data() + written, text.size() - written);
        if (now < 0 && errno == EINTR) continue;
        if (now < 0 && errno == EAGAIN) {
            pollfd ready{File_, POLLOUT, 0};
            ::poll(&ready, 1, 1000);
            continue;
        }
        if (now <= 0) throw Run_Time_Error(Error_Number::Device_IO_Error);
        written += static_cast<std::size_t>(now);
    }
}

std::string Posix_Serial_Device::Input() {
    std::string waiting;
    if (File_ < 0) return waiting;
    char chunk[512];
    while (true) {
        const ssize_t got = ::read(File_, chunk, sizeof chunk);
        if (got <= 0) break;
        waiting.append(chunk, static_cast<std::size_t>(got));
    }
    return waiting;
}

void Posix_Reply_Waiter::Wait(double seconds) {
    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    const auto least = start + std::chrono::duration<double>(seconds);
    const auto most = start + std::chrono::duration<double>(std::max(seconds, Longest_));
    while (true) {
        const auto now = Clock::now();
        const bool complete = Reply_Buffer_ && Reply_Buffer_->find("*\r") != std::string::npos;
        if (now >= most || (now >= least && complete)) return;
        const auto until = complete ? least : most;
        const int milliseconds =
            static_cast<int>(
                std::chrono::duration_cast<std::chrono::milliseconds>(until - now).count()) +
            1;
        if (Device_.File() < 0 || !Serial_) {
            std::this_thread::sleep_for(until - now);
            continue;
        }
        pollfd ready{Device_.File(), POLLIN, 0};
        if (::poll(&ready, 1, milliseconds) <= 0) continue;
        if (!(ready.revents & POLLIN)) return;  // the far end went away
        // A terminal whose far end went away stays readable and gives nothing: the reply
        // is not coming, and asking again at once would only spin.
        const std::size_t had = Reply_Buffer_ ? Reply_Buffer_->size() : 0;
        Serial_->MSComm1_OnComm(Serial_Port::Comm_Event_Receive);
        const bool got = Reply_Buffer_ && Reply_Buffer_->size() > had;
        if (!got || (ready.revents & (POLLHUP | POLLERR | POLLNVAL))) return;
    }
}

}  // namespace corvanel
