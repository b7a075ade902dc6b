// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/shutdown_signals.h"

#include <fcntl.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <csignal>

namespace corvanel {

namespace {

constexpr int Heard_Signals[] = {SIGTERM, SIGHUP, SIGINT};
int Signal_Pipe[2] = {-1, -1};  // made once, for the life of the process

void Write_Signal(int signal) {
    const int saved = errno;
    const auto byte = static_cast<unsigned char>(signal);
    [[maybe_unused]] const ssize_t written = ::write(Signal_Pipe[1], &byte, 1);
    errno = saved;
}

}  // namespace

Shutdown_Signals::Shutdown_Signals(std::function<void(int)> heard, QObject* parent)
    : QObject(parent), Heard_(std::move(heard)) {
    if (Signal_Pipe[0] < 0 && ::pipe2(Signal_Pipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
    Notifier_ = new QSocketNotifier(Signal_Pipe[0], QSocketNotifier::Read, this);
    connect(Notifier_, &QSocketNotifier::activated, this, [this] {
        unsigned char byte = 0;
        while (::read(Signal_Pipe[0], &byte, 1) == 1) Heard_(byte);
    });
    struct sigaction action {};
    action.sa_handler = Write_Signal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : Heard_Signals) ::sigaction(signal, &action, nullptr);
}

Shutdown_Signals::~Shutdown_Signals() {
    for (int signal : Heard_Signals) std::signal(signal, SIG_DFL);
}

}  // namespace corvanel
