// SPDX-License-Identifier: GPL-3.0-or-later
// Corvanel: runs a firing profile on a kiln through its temperature controller.

#include <QApplication>
#include <QMessageBox>
#include <algorithm>
#include <cstring>
#include <iostream>

#include "app/program.h"
#include "app/second_start.h"
#include "app/smoke_check.h"
#include "common/problem.h"
#include "setup/program_lock.h"

#include <sys/resource.h>

namespace {

const char* const Help =
    "Usage: corvanel [--smoke-test]\n"
    "Fires an electric kiln along a firing profile. The run window moves the set value of\n"
    "the kiln's digital temperature controller along the profile's ramps and holds over a\n"
    "serial line, reads back the kiln's temperature and output power, logs the firing and\n"
    "mails alerts when the kiln strays from the profile. Between firings it watches the\n"
    "kiln. Profiles are written in the program's own editor or made from a cone number.\n"
    "\n"
    "Options:\n"
    "  --smoke-test   start as always, and once the run window is shown and the\n"
    "                 controller has answered, print what was seen and exit with status 0\n"
    "                 (1 when that has not happened within a minute)\n"
    "  --help         print this help and exit\n"
    "  --version      print the version and exit\n"
    "\n"
    "The controller is on serial port 1 unless SetUp -> Comm Port Config chooses\n"
    "another. Opening a serial device needs membership of the dialout group.\n"
    "\n"
    "The program folder holds Setup (the settings), Profiles, Logfiles, Printouts and\n"
    "LanguageFiles. Installed, it is $XDG_DATA_HOME/corvanel, by default\n"
    "~/.local/share/corvanel, filled at the first start with the shipped languages and\n"
    "sample profiles; run from a build folder it is the executable's own folder.\n"
    "\n"
    "One program runs on a program folder at a time: a second start on the same folder\n"
    "says which process runs there, changes nothing and exits with status 2.\n";

const char* const Version =
    "corvanel " CORVANEL_PROGRAM_VERSION
    "\n"
    "Copyright (C) 2026 Corvanel developers\n"
    "License GPL-3.0-or-later <https://www.gnu.org/licenses/gpl-3.0.html>.\n"
    "This is free software: you are free to change and redistribute it.\n"
    "There is NO WARRANTY, to the extent permitted by law.\n";

// Room for the log, the record, the port and the page's clients whatever the session's
// default: a file that cannot be opened must never be the record of a tick.
void Raise_Open_Files_Limit() {
    rlimit files{};
    if (::getrlimit(RLIMIT_NOFILE, &files) != 0) return;
    const rlim_t wanted = std::min<rlim_t>(files.rlim_max, 16384);
    if (files.rlim_cur >= wanted) return;
    files.rlim_cur = wanted;
    ::setrlimit(RLIMIT_NOFILE, &files);
}

// The one way trouble at start-up is told: on standard error, and a fault also in a
// message box when there is a display to show one on (the application is up by then).
void Tell_Start_Problem(const corvanel::Problem& problem,
                        const corvanel::Translate_Function& translate) {
    const std::string text = problem.Text(translate);
    std::cerr << text << "\n";
    if (problem.Level != corvanel::Severity::Fault) return;
    const QString platform = QGuiApplication::platformName();
    if (platform != "offscreen" && platform != "minimal") {
        QMessageBox::warning(nullptr, "Corvanel", QString::fromStdString(text));
    }
}

}  // namespace

int main(int argc, char* argv[]) {
    // Answered before the application object exists, so they need no display.
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0) {
            std::cout << Help;
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::cout << Version;
            return 0;
        }
    }
    Raise_Open_Files_Limit();
    const corvanel::Program_Paths paths = corvanel::Program_Paths::Of_Executable();
    // Held until the program ends; taken before anything in the folder or the port is used.
    const corvanel::Program_Lock lock = corvanel::Program_Lock::Take(paths.Folder());
    if (lock.Result() == corvanel::Program_Lock::Outcome::Not_Locked) {
        Tell_Start_Problem(corvanel::Unlocked_Folder_Problem(paths.Folder(), lock.Error()),
                           nullptr);
    }
    QApplication application(argc, argv);
    QApplication::setApplicationName("Corvanel");
    if (lock.Result() == corvanel::Program_Lock::Outcome::Held) {
        Tell_Start_Problem(corvanel::Second_Start_Problem(lock.Holder()),
                           corvanel::Folder_Language(paths));
        return corvanel::Second_Start_Status;
    }
    corvanel::Corvanel_Program program(paths);
    program.Main();
    if (QApplication::arguments().contains("--smoke-test")) corvanel::Start_Smoke_Check(program);
    return QApplication::exec();
}
