// SPDX-License-Identifier: GPL-3.0-or-later
#include <algorithm>
#include <iostream>
#include <string>
#include <vector>

#include "setup/program_paths.h"
#include "tools/log_tool.h"

#ifdef CORVANEL_LOG_PLOT
#include <QGuiApplication>
#include <memory>

#include "history/firing_chart_painter.h"
#endif

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 1 && args[0] == "--version") {
        std::cout << "corvanel-log (Corvanel) " CORVANEL_PROGRAM_VERSION "\n"
                  << "Copyright (C) 2026 Corvanel developers\n"
                  << "License GPL-3.0-or-later <https://www.gnu.org/licenses/gpl-3.0.html>.\n";
        return 0;
    }
    corvanel::Chart_File_Writer write_chart;
#ifdef CORVANEL_LOG_PLOT
    // Fonts and painting need a GUI application; no display is needed for files.
    std::unique_ptr<QGuiApplication> application;
    write_chart = [&](const corvanel::Firing_Chart& chart, const std::string& path) {
        if (!application) {
            if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
                qputenv("QT_QPA_PLATFORM", "offscreen");
            }
            application = std::make_unique<QGuiApplication>(argc, argv);
        }
        return corvanel::Write_Chart_File(chart, path);
    };
#endif
    // The usage needs no program folder: finding it would make one in the user's home.
    const bool help = std::any_of(args.begin(), args.end(), [&](const std::string& arg) {
        return arg == "--help" || arg == "-h" || (arg == "help" && &arg == &args[0]);
    });
    return corvanel::Run_Log_Tool(
        args, help ? std::string() : corvanel::Program_Paths::Of_Executable().Folder().string(),
        write_chart, std::cout, std::cerr);
}
