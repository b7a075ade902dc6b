// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/smoke_check.h"

#include <QCoreApplication>
#include <QTimer>
#include <chrono>
#include <cstdio>

#include "app/program.h"
#include "app/windows/traj_form_window.h"
#include "controller/serial_ports.h"

namespace corvanel {

namespace {

bool Run_Window_Live(Corvanel_Program& program) {
    return program.Main_Window().isVisible() && program.Protocol().Command_OK &&
           !program.Protocol().Comm_Error;
}

void Report(Corvanel_Program& program, bool passed) {
    Traj_form& model = program.Model();
    const std::string port = Serial_Port_Text(model.Comm_Port_Number, program.Settings(), {});
    std::printf("corvanel: %s\n",
                passed ? "run window shown, the controller answered" : "smoke test failed");
    std::printf("  window shown: %s\n", program.Main_Window().isVisible() ? "yes" : "no");
    std::printf("  program folder: %s\n", program.Paths().Folder().c_str());
    std::printf("  port %d: %s\n", model.Comm_Port_Number, port.c_str());
    std::printf("  controller answered: %s\n", program.Protocol().Command_OK ? "yes" : "no");
    std::printf("  measured: %d\n", model.Run().Measured_Temp());
    std::printf("  message area:\n%s\n", model.User_Message_Box.c_str());
    std::fflush(stdout);
}

}  // namespace

void Start_Smoke_Check(Corvanel_Program& program, int seconds) {
    auto* poll = new QTimer(QCoreApplication::instance());
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    QObject::connect(poll, &QTimer::timeout, poll, [&program, poll, deadline] {
        const bool live = Run_Window_Live(program);
        if (!live && std::chrono::steady_clock::now() < deadline) return;
        poll->stop();
        Report(program, live);
        QCoreApplication::exit(live ? 0 : 1);
    });
    poll->start(200);
}

}  // namespace corvanel
