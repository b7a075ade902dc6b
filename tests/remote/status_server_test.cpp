// The status server over real loopback sockets, and the page in a real browser during a
// firing against kiln-sim.

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
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
#include "program_rig.h"
#include "remote/remote_monitoring.h"
#include "remote/remote_monitoring_window.h"
#include "remote/status_server.h"

namespace corvanel::testing {
namespace {

// Sends the raw request and returns the whole response once the server has sent it all
// (Content-Length says when), running the event loop meanwhile: the server shares it.
std::string Exchange(quint16 port, const std::string& request) {
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, port);
    if (!Eventually([&] { return socket.state() == QAbstractSocket::ConnectedState; }, 10000)) {
        return "not connected";
    }
    socket.write(QByteArray::fromStdString(request));
    std::string response;
    auto complete = [&] {
        response += socket.readAll().toStdString();
        std::size_t end = response.find("\r\n\r\n");
        if (end == std::string::npos) return socket.state() != QAbstractSocket::ConnectedState;
        QRegularExpressionMatch length =
            QRegularExpression("Content-Length: (\\d+)")
                .match(QString::fromStdString(response.substr(0, end)));
        return length.hasMatch() && response.size() >= end + 4 + length.captured(1).toULongLong();
    };
    Eventually(complete, 10000);
    return response;
}

std::string Get(quint16 port, const std::string& target, const std::string& headers = "") {
    return Exchange(port, "GET " + target + " HTTP/1.1\r\nHost: 127.0.0.1\r\n" + headers + "\r\n");
}

quint16 Free_Port() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

// A port another program holds: one clear message, and the run's seam goes on serving
// its other observers.
TEST(Status_Server, APortInUseIsSaidOnceAndNothingElseStops) {
    Make_Application();
    Temp_Folder folder;
    Program_Paths paths(folder.Path());
    QTcpServer holder;
    ASSERT_TRUE(holder.listen(QHostAddress::LocalHost, 0));
    Save_Remote_Settings(paths, {true, holder.serverPort(), false, ""});
    Firing_Status_Seam firing;
    std::vector<std::string> shown;
    Remote_Monitoring remote(paths, firing,
                             [&](const std::string& text) { shown.push_back(text); });
    remote.Apply_Settings();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].rfind("The status page could not be started on port " +
                                 std::to_string(holder.serverPort()) + ": ",
                             0),
              0u)
        << shown[0];
    EXPECT_NE(shown[0].find("\r\nThe firing goes on without it"), std::string::npos);
    EXPECT_EQ(remote.Server(), nullptr);
    Firing_Status status;
    status.Measured = 99;
    firing.Publish(status, Firing_Event::Tick);
    EXPECT_EQ(remote.Snapshot().Status().Measured, 99);
}

std::string Chromium() {
    for (const char* name : {"chromium", "chromium-browser", "google-chrome"}) {
        QString path = QStandardPaths::findExecutable(name);
        if (!path.isEmpty()) return path.toStdString();
    }
    return "";
}

using Status_Page = Program_Rig;

// The program fires the quick test against kiln-sim with the page turned on. A real HTTP
// client gets the status line, no-store and JSON, and nothing outside the routes however
// the path is spelt; headless Chromium loads the page and shows what kiln-sim measured,
// with the chart drawn.
TEST_F(Status_Page, AnswersOnTheWireAndShowsAFiringInABrowser) {
    quint16 port = Free_Port();
    Save_Remote_Settings(Paths, {true, port, false, ""});
    Start_Kiln_Sim({"--speed=60"});
    Start_Program();
    ASSERT_NE(Messages().find("Status page at http://127.0.0.1:" + std::to_string(port) + "/"),
              std::string::npos)
        << Messages();
    Open_Quick_Test();
    Choose_Log("firing.txt");
    QTest::mouseClick(Window().Start_Profile, Qt::LeftButton);
    const Status_Snapshot& snapshot = Program->Remote().Snapshot();
    ASSERT_TRUE(Eventually([&] { return snapshot.Trace().size() >= 2; })) << Messages();
    Clock.Advance(60);
    ASSERT_TRUE(Eventually([&] { return snapshot.Trace().size() >= 3; })) << Messages();

    std::string reply = Get(port, "/api/status");
    EXPECT_EQ(reply.substr(0, 15), "HTTP/1.1 200 OK") << reply;
    EXPECT_NE(reply.find("Cache-Control: no-store\r\n"), std::string::npos) << reply;
    EXPECT_NE(reply.find("Content-Type: application/json"), std::string::npos) << reply;
    EXPECT_NE(Get(port, "/api/trace").find("{\"points\":[["), std::string::npos);
    EXPECT_NE(Get(port, "/api/trace?since=1e9").find("{\"points\":[]}"), std::string::npos);
    for (const std::string& path :
         {std::string("/../Setup/ThermalDeviceName.txt"), std::string("/api/status/x"),
          std::string("/%2e%2e/Setup/Check_Flag.txt"), "/" + std::string(10 * 1024, 'x')}) {
        EXPECT_EQ(Get(port, path).substr(0, 12), "HTTP/1.1 404") << path.substr(0, 40);
    }
    EXPECT_EQ(Exchange(port, "POST /api/status HTTP/1.1\r\nHost: x\r\nContent-Length: 2\r\n\r\n{}")
                  .substr(0, 12),
              "HTTP/1.1 405");

    std::string chromium = Chromium();
    if (chromium.empty()) GTEST_SKIP() << "chromium is not installed (scripts/install-deps)";
    QTemporaryDir profile;
    QProcess browser;
    browser.start(
        QString::fromStdString(chromium),
        {"--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
         "--disable-background-networking", "--disable-component-update", "--disable-sync",
         "--user-data-dir=" + profile.path(), "--virtual-time-budget=10000", "--dump-dom",
         QString("http://127.0.0.1:%1/").arg(port)});
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
    QRegularExpressionMatch line = QRegularExpression("id=\"pv_line\"[^>]*points=\"([^\"]*)\"")
                                       .match(QString::fromStdString(dom));
    ASSERT_TRUE(line.hasMatch()) << dom;
    EXPECT_GE(line.captured(1).split(' ', Qt::SkipEmptyParts).size(), 3) << dom;
    EXPECT_NE(dom.find("id=\"state\" class=\"running\""), std::string::npos) << dom;
}

using Remote_Monitoring_Dialog = Program_Rig;

// SetUp -> "Remote Monitoring" as the operator uses it: a bad port is refused in the
// dialog; the network choice makes a token and shows the address; OK stores the settings
// and the page answers at once, only with the token.
TEST_F(Remote_Monitoring_Dialog, StoresTheSettingsAndStartsThePageOnOk) {
    Start_Kiln_Sim();
    Start_Program();
    auto* item = Window().findChild<QAction*>("mnuRemoteMonitoring");
    ASSERT_NE(item, nullptr);
    EXPECT_TRUE(Window().mnuSetUp->actions().contains(item));
    EXPECT_EQ(item->text(), "Remote Monitoring");
    const quint16 port = Free_Port();
    QString token, address, refusal;
    bool stayed_open = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = Window().findChild<Remote_Monitoring_Window*>();
        ASSERT_NE(dialog, nullptr);
        QPushButton* ok = dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
        dialog->Enable_Page->click();
        dialog->Port->clear();
        QTest::keyClicks(dialog->Port, "0");
        ok->click();
        refusal = dialog->Message->text();
        stayed_open = dialog->isVisible();
        dialog->Port->clear();
        QTest::keyClicks(dialog->Port, QString::number(port));
        dialog->Listen_Network->click();
        token = dialog->Token->text();
        address = dialog->Address->text();
        ok->click();
    });
    item->trigger();
    EXPECT_EQ(refusal, "The port must be a whole number from 1 to 65535");
    EXPECT_TRUE(stayed_open);
    ASSERT_EQ(token.size(), 32);
    EXPECT_TRUE(address.endsWith(QString(":%1/?token=%2").arg(port).arg(token)))
        << address.toStdString();
    EXPECT_NE(Messages().find("Status page at http://"), std::string::npos) << Messages();
    EXPECT_EQ(Messages().find(token.toStdString()), std::string::npos) << "the token stays private";
    EXPECT_EQ(Get(port, "/api/status").substr(0, 12), "HTTP/1.1 401");
    EXPECT_EQ(Get(port, "/api/status", "Authorization: Bearer " + token.toStdString() + "\r\n")
                  .substr(0, 12),
              "HTTP/1.1 200");
}

}  // namespace
}  // namespace corvanel::testing
