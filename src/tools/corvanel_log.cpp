// SPDX-License-Identifier: GPL-3.0-or-later
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
    return corvanel::Run_Log_Tool(args, corvanel::Program_Paths::Of_Executable().Folder().string(),
                                  write_chart, std::cout, std::cerr);
}
