// SPDX-License-Identifier: GPL-3.0-or-later
// The status server over real loopback sockets, and the page in a real browser during a
// firing against kiln-sim.

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTimer>

#include "common/text.h"
#include "language/windows/add_a_language_window.h"
#include "remote/remote_settings.h"
#include "remote/windows/remote_monitoring.h"
#include "support/program_rig.h"

namespace corvanel::testing {
namespace {

// Sends the raw request and returns the response's status line and headers, running the
// event loop meanwhile: the server shares it.
std::string Head_Of(quint16 port, const std::string& request) {
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, port);
    socket.write(QByteArray::fromStdString(request));
    std::string response;
    Eventually(
        [&] {
            response += socket.readAll().toStdString();
            return response.find("\r\n\r\n") != std::string::npos;
        },
        10000);
    return response.substr(0, response.find("\r\n\r\n") + 2);
}

using Status_Page = Program_Rig;

// Turned on in SetUp -> "Remote Monitoring" for the network (the dialog refuses a bad port
// or token in their own words, makes a token, a new one on request, and shows the address
// with it), the page asks for the token the dialog made and stored for its owner only; during a
// firing of the quick test headless Chromium, given the address with the token, shows what kiln-sim
// measured and the chart.
TEST_F(Status_Page, IsTurnedOnInTheDialogAndShowsAFiringInABrowser) {
    QTcpServer probe;
    ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
    const quint16 port = probe.serverPort();
    probe.close();
    Settings_Store settings(Paths);
    Save_Remote_Settings(settings, {false, port, false, ""});
    Start_Kiln_Sim({"--speed=60"});
    Start_Program();
    QString token;
    QTimer::singleShot(0, [&] {
        auto* dialog = Window().findChild<QDialog*>("RemoteMonitoring");
        ASSERT_NE(dialog, nullptr);
        auto box = [&](const char* name) { return dialog->findChild<QLineEdit*>(name); };
        auto ok = [&] {
            dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
            return dialog->findChild<QLabel*>("Message")->text().toStdString();
        };
        dialog->findChild<QCheckBox*>("Enable_Page")->click();
        box("Port")->setText("70000");
        EXPECT_EQ(ok(), "The port must be a whole number from 1 to 65535");
        box("Port")->setText(QString::number(port));
        box("Token")->setText("short");
        EXPECT_EQ(ok(), "The access token must be 8 to 64 letters, digits, - or _");
        box("Token")->clear();
        dialog->findChild<QRadioButton*>("Listen_Network")->click();  // makes a token
        const QString first = box("Token")->text();
        dialog->findChild<QPushButton*>("New_Token")->click();
        token = box("Token")->text();
        EXPECT_TRUE(first.size() == 32 && token != first) << first.toStdString();
        EXPECT_EQ(box("Address")->text().toStdString(), "http://" + Network_Host_Name() + ":" +
                                                            std::to_string(port) +
                                                            "/?token=" + token.toStdString());
        ok();
    });
    Window().findChild<QAction*>("mnuRemoteMonitoring")->trigger();
    ASSERT_EQ(token.size(), 32);
    EXPECT_EQ(Read_Whole_File(Paths.Setup_File("RemoteMonitoringToken.txt")),
              token.toStdString() + "\r\n");
    EXPECT_EQ(std::filesystem::status(Paths.Setup_File("RemoteMonitoringToken.txt")).permissions(),
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    EXPECT_EQ(Messages().find(token.toStdString()), std::string::npos) << "the token stays private";
    EXPECT_EQ(Head_Of(port, "GET /api/status HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n").substr(0, 12),
              "HTTP/1.1 401");

    Open_Quick_Test();
    Choose_Log("firing.txt");
    QTest::mouseClick(Window().Start_Profile, Qt::LeftButton);
    const Status_Snapshot& snapshot = Program->Remote().Snapshot();
    ASSERT_TRUE(Eventually([&] { return snapshot.Trace().size() >= 2; })) << Messages();
    Clock.Advance(60);
    ASSERT_TRUE(Eventually([&] { return snapshot.Trace().size() >= 3; })) << Messages();

    QString chromium;
    for (const char* name : {"chromium", "chromium-browser", "google-chrome"}) {
        if (chromium.isEmpty()) chromium = QStandardPaths::findExecutable(name);
    }
    if (chromium.isEmpty()) GTEST_SKIP() << "chromium is not installed (scripts/install-deps)";
    QTemporaryDir profile;
    QProcess browser;
    browser.start(
        chromium,
        {"--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
         "--disable-background-networking", "--disable-component-update", "--disable-sync",
         "--user-data-dir=" + profile.path(), "--virtual-time-budget=10000", "--dump-dom",
         QString("http://127.0.0.1:%1/?token=%2").arg(port).arg(token)});
    ASSERT_TRUE(Eventually([&] { return browser.state() == QProcess::NotRunning; }, 90000))
        << "chromium did not finish";
    std::string dom = browser.readAllStandardOutput().toStdString();
    ASSERT_EQ(browser.exitCode(), 0) << browser.readAllStandardError().toStdString();

    // The big read-out holds one of the temperatures kiln-sim reported during the firing.
    QRegularExpressionMatch measured =
        QRegularExpression("id=\"measured\">([-0-9.]+)°F<").match(QString::fromStdString(dom));
    ASSERT_TRUE(measured.hasMatch()) << dom;
    bool reported = false;
    for (const Trace_Point& point : snapshot.Trace()) {
        reported |= Format_Number(point.Measured) == measured.captured(1).toStdString();
    }
    EXPECT_TRUE(reported) << "page shows " << measured.captured(1).toStdString();
    QRegularExpressionMatch line = QRegularExpression("id=\"pv_line\"[^>]*d=\"(M[^\"]*)\"")
                                       .match(QString::fromStdString(dom));
    ASSERT_TRUE(line.hasMatch()) << dom;
    EXPECT_GE(line.captured(1).split(QRegularExpression("[ML]"), Qt::SkipEmptyParts).size(), 3)
        << dom;
    EXPECT_NE(dom.find("id=\"state\" class=\"running\""), std::string::npos) << dom;
}

// A port another program holds: the message area says what happened and that the firing
// goes on. The features' entries end the SetUp menu and take a language chosen at once.
TEST_F(Status_Page, PortInUseIsSaidAndTheEntriesFollowTheLanguageChosen) {
    QTcpServer holder;
    ASSERT_TRUE(holder.listen(QHostAddress::LocalHost, 0));
    Settings_Store settings(Paths);
    Save_Remote_Settings(settings, {true, holder.serverPort(), false, ""});
    Start_Kiln_Sim();
    Start_Program();
    EXPECT_NE(Messages().find("The status page could not be started on port " +
                              std::to_string(holder.serverPort()) + ": "),
              std::string::npos)
        << Messages();
    EXPECT_NE(Messages().find("\nThe firing goes on without it"), std::string::npos) << Messages();

    Window().mnuSelectLanguage->trigger();
    AddALanguage_Window& languages = Program->Language_Window();
    QListWidget& list = *languages.LanguageList;
    list.setCurrentItem(list.findItems("german", Qt::MatchExactly).value(0));
    languages.UseSelectedLanguage->click();
    const QList<QAction*> setup = Window().mnuSetUp->actions();
    ASSERT_GE(setup.size(), 2);
    EXPECT_EQ(setup[setup.size() - 2]->objectName(), "mnuRemoteMonitoring");
    EXPECT_EQ(setup[setup.size() - 2]->text(), "Fernüberwachung");
    EXPECT_EQ(setup.back()->objectName(), "mnuMqtt");
}

}  // namespace
}  // namespace corvanel::testing
