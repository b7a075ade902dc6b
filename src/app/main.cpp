// SPDX-License-Identifier: GPL-3.0-or-later
// Corvanel: runs a firing profile on a kiln through its temperature controller.

#include <QApplication>

#include "app/program.h"
#include "app/smoke_check.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName("Corvanel");
    corvanel::Corvanel_Program program(corvanel::Program_Paths::Of_Executable());
    program.Main();
    if (QApplication::arguments().contains("--smoke-test")) corvanel::Start_Smoke_Check(program);
    return QApplication::exec();
}
