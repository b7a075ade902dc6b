// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <filesystem>
#include <functional>
#include <memory>

#include "app/program.h"
#include "app/windows/dlg_get_name.h"
#include "app/windows/traj_form_window.h"
#include "language/translate.h"
#include "support/answering_change_dialog.h"
#include "support/fake_clock.h"
#include "support/fake_platform.h"
#include "support/qt_rig.h"
#include "support/recording_mail.h"
#include "support/temp_folder.h"

namespace corvanel::testing {

// The whole program in a program folder of its own, laid out as the build lays it out,
// with port 1 mapped to kiln-sim on a pseudo-terminal. The dialogs, the clock and the
// mail are stand-ins; the windows, the serial port and the controller link are real.
class Program_Rig : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { Make_Application(); }

    void SetUp() override {
        namespace fs = std::filesystem;
        fs::copy(fs::path(CORVANEL_PROGRAM_DIR) / "LanguageFiles", Folder.Path() / "LanguageFiles",
                 fs::copy_options::recursive);
        fs::create_directories(Folder.Path() / "Profiles");
        fs::copy(fs::path(CORVANEL_PROGRAM_DIR) / "Profiles" / "quick_test.txt",
                 Folder.Path() / "Profiles" / "quick_test.txt");
    }

    // kiln-sim with its exchanges logged, port 1 mapped to it.
    void Start_Kiln_Sim(QStringList arguments = {}) {
        // The sample profiles are Fahrenheit profiles; so is the kiln unless told otherwise.
        if (arguments.filter("--scale").isEmpty()) arguments << "--scale=F";
        Sim.Start(Folder, Paths, arguments);
    }

    void Start_Program() {
        Program_Parts parts{&Profile_Dialog, &Log_Dialog, &Ask, &Beeper, &Mail, &Clock, &Waiter};
        if (Real_Mail) parts.Mail = nullptr;  // the program's own outbox, over SMTP
        parts.Editor_Dialog = &Editor_Dialog;
#ifdef CORVANEL_GUARD_PATH
        parts.Guard_Program = CORVANEL_GUARD_PATH;  // the build's, not an installed one
#endif
        parts.Guard_Seconds = Guard_Seconds;
        if (!Own_Change_Dialog) parts.Change_Dialog = &Change_Dialog;
        Program = std::make_unique<Corvanel_Program>(Paths, parts);
        Program->On_End_Program = [this] { ++Ends; };
        Program->Main();
    }

    void TearDown() override { Program.reset(); }

    // The top-level window of that name that shows, if one does.
    static QWidget* Shown_Window(const QString& name) {
        for (QWidget* window : QApplication::topLevelWidgets())
            if (window->isVisible() && window->objectName() == name) return window;
        return nullptr;
    }

    Traj_form_Window& Window() { return Program->Main_Window(); }
    Traj_form& Model() { return Program->Model(); }
    std::string Messages() { return Window().User_Message_Box->toPlainText().toStdString(); }

    void Open_Quick_Test() {
        Profile_Dialog.Answers.push_back(File_Dialog_Result::Chosen("/elsewhere/quick_test.txt"));
        Window().mnuFileOpen->trigger();
    }
    void Choose_Log(const std::string& name) {
        Log_Dialog.Answers.push_back(File_Dialog_Result::Chosen("/elsewhere/" + name));
        Window().mnuSpecifyLogFile->trigger();
    }

    Temp_Folder Folder;
    Program_Paths Paths{Folder.Path()};
    Kiln_Sim_Process Sim;
    Fake_File_Dialog Profile_Dialog, Log_Dialog, Editor_Dialog;
    Fake_Message_Box Ask;
    Counting_Beeper Beeper;
    Recording_Mail Mail;
    Fake_Clock Clock;
    Patient_Waiter Waiter;
    int Ends = 0;
    Answering_Change_Dialog Change_Dialog;
    bool Own_Change_Dialog = false;  // the program's own dialog instead of Change_Dialog
    double Guard_Seconds = 0;  // the kiln guard's wait; 0 for the safety setting's
    bool Real_Mail = false;
    std::unique_ptr<Corvanel_Program> Program;
};

}  // namespace corvanel::testing

// Texts of widgets print as text when a check fails.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}
