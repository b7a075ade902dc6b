// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What every test that runs Qt's event loop shares: the application object, waiting for
// a condition, the patient reply pause and kiln-sim on a pseudo-terminal.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QTest>
#include <QTimer>
#include <functional>
#include <string>

#include "controller/qt/qt_serial_device.h"
#include "setup/program_paths.h"
#include "support/temp_folder.h"

#ifdef QT_WIDGETS_LIB
#include <QApplication>
#endif

namespace corvanel::testing {

// The one application object of the test program, on the offscreen platform.
inline void Make_Application() {
    static int argc = 1;
    static char name[] = "corvanel_tests";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    if (QCoreApplication::instance()) return;
#ifdef QT_WIDGETS_LIB
    new QApplication(argc, argv);
#else
    new QCoreApplication(argc, argv);
#endif
}

// Runs the event loop until the condition holds or the time is up.
inline bool Eventually(const std::function<bool()>& condition, int milliseconds = 20000) {
    QElapsedTimer waited;
    waited.start();
    while (!condition()) {
        if (waited.elapsed() > milliseconds) return false;
        QTest::qWait(20);
    }
    return true;
}

// The program's pause first; then, so that a busy machine cannot make a test flaky, the
// event loop keeps running until the reply's terminator is in or `longest` seconds have
// passed (on the clock the process sees: a sped-up program's is faked). Extended counts
// the short waits added after the program's pause.
class Patient_Waiter : public Reply_Waiter {
  public:
    explicit Patient_Waiter(double longest = 5) : Longest_(longest) {}
    const std::string* Reply_Buffer = nullptr;
    void Listen(Serial_Port&, const std::string& reply_buffer) override {
        Reply_Buffer = &reply_buffer;
    }
    void Wait(double seconds) override {
        Program_Waiter_.Wait(seconds);
        QElapsedTimer waited;
        waited.start();
        while (Reply_Buffer && Reply_Buffer->find("*\r") == std::string::npos &&
               waited.elapsed() < Longest_ * 1000) {
            // Once the application is ending a loop returns at once (-1) and no reply
            // comes in: waiting on would only spin, leaving a timer behind each time.
            QEventLoop loop;
            QTimer::singleShot(20, Qt::PreciseTimer, &loop, &QEventLoop::quit);
            if (loop.exec() == -1) break;
            ++Extended_;
        }
    }
    long Extended() const { return Extended_; }

  private:
    Qt_Reply_Waiter Program_Waiter_;
    double Longest_;
    long Extended_ = 0;
};

#ifdef KILN_SIM_PATH
// kiln-sim serving a pseudo-terminal reached through a link in the folder, with its
// exchanges logged; port 1 of the program folder is mapped to it.
class Kiln_Sim_Process {
  public:
    void Start(const Temp_Folder& folder, const Program_Paths& paths, QStringList arguments = {}) {
        std::string link = folder.File("kiln-port");
        arguments << "--verbose" << QString::fromStdString("--link=" + link);
        Process_.start(KILN_SIM_PATH, arguments);
        ASSERT_TRUE(Process_.waitForStarted(10000)) << "kiln-sim did not start";
        ASSERT_TRUE(Eventually([&] { return Process_.canReadLine(); }, 10000));
        ASSERT_EQ(Process_.readLine().left(5), "/dev/");
        Write_Whole_File(paths.Setup_File("CommPortMap.txt"), "1=" + link + "\r\n");
    }
    // The requests kiln-sim has received so far, as it logged them.
    std::string Exchanges() {
        Log_ += Process_.readAllStandardError().toStdString();
        return Log_;
    }
    // Ends kiln-sim: the far end of the terminal closes and the link goes. Start may
    // follow, on the same link.
    void Stop() {
        if (Process_.state() == QProcess::NotRunning) return;
        Process_.terminate();
        if (!Process_.waitForFinished(5000)) {
            Process_.kill();
            Process_.waitForFinished(5000);
        }
        Exchanges();
    }
    ~Kiln_Sim_Process() { Stop(); }

  private:
    QProcess Process_;
    std::string Log_;
};
#endif

}  // namespace corvanel::testing
