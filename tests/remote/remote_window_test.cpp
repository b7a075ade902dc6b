// SPDX-License-Identifier: GPL-3.0-or-later
// The program's remote features during a firing against kiln-sim, over real loopback
// sockets: the status page in a real browser, publishing to a real Mosquitto broker, and
// clients that misuse the page.

#include <gmock/gmock.h>

#include <QCheckBox>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QFile>
#include <QGuiApplication>
#include <QHttpServerRequest>
#include <QHttpServerResponder>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTimer>
#include <atomic>
#include <filesystem>
#include <functional>
#include <thread>

#include <dlfcn.h>
#include <netdb.h>
#include <sys/resource.h>
#include <unistd.h>

#include "common/quantity_text.h"
#include "common/text.h"
#include "language/windows/add_a_language_window.h"
#include "remote/qt/mqtt_client.h"
#include "remote/qt/status_server.h"
#include "remote/remote_settings.h"
#include "remote/status_json.h"
#include "remote/windows/remote_monitoring.h"
#include "setup/setup_files.h"
#include "support/mosquitto_broker.h"
#include "support/program_rig.h"
#include "support/tick_count.h"

// Names under slow.test take as long to look up as a name server that does not answer:
// each lookup waits until the test lets it go (10 s at most), then finds 127.0.0.1. Every
// other name is looked up as usual. Lookups are counted, and those on the test's own
// thread, which runs the event loop.
namespace {
std::atomic<int> Slow_Lookups{0}, Slow_Lookups_Let_Go{0}, Slow_Lookups_Done{0},
    Slow_Lookups_On_Event_Loop{0};
std::thread::id Event_Loop_Thread;
}  // namespace

extern "C" int getaddrinfo(const char* node, const char* service, const addrinfo* hints,
                           addrinfo** found) noexcept {
    using Lookup = int (*)(const char*, const char*, const addrinfo*, addrinfo**);
    static const auto real = reinterpret_cast<Lookup>(dlsym(RTLD_NEXT, "getaddrinfo"));
    if (node && std::string_view(node).ends_with(".slow.test")) {
        const int number = ++Slow_Lookups;
        if (std::this_thread::get_id() == Event_Loop_Thread) ++Slow_Lookups_On_Event_Loop;
        for (int waited = 0; Slow_Lookups_Let_Go < number && waited < 1000; ++waited) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        ++Slow_Lookups_Done;
        node = "127.0.0.1";
    }
    return real(node, service, hints, found);
}

namespace corvanel::testing {
namespace {

using ::testing::HasSubstr, ::testing::Not;

// What `phone` receives up to the end of the answer's headers, running the event loop
// meanwhile: the server shares it.
std::string Answer_Head(QTcpSocket& phone) {
    std::string answer;
    Eventually([&] {
        answer += phone.readAll().toStdString();
        return answer.find("\r\n\r\n") != std::string::npos;
    });
    return answer;
}

// The status line of the answer to GET `path`.
std::string Status_Line(quint16 port, const std::string& path) {
    QTcpSocket phone;
    phone.connectToHost(QHostAddress::LocalHost, port);
    phone.write(QByteArray::fromStdString("GET " + path + " HTTP/1.1\r\nHost: kiln\r\n\r\n"));
    const std::string answer = Answer_Head(phone);
    return answer.substr(0, answer.find("\r\n"));
}

// What a barcode reader (zbarimg) reads in the label's picture; "" for nothing.
std::string Scanned(const QLabel& label) {
    const QString zbarimg = QStandardPaths::findExecutable("zbarimg");
    if (zbarimg.isEmpty()) {
        ADD_FAILURE() << "zbarimg is not installed (scripts/install-deps)";
        return "";
    }
    QTemporaryDir folder;
    const QString picture = folder.filePath("code.png");
    if (label.pixmap().isNull() || !label.pixmap().save(picture)) return "";
    QProcess reader;
    reader.start(zbarimg, {"--raw", "-q", picture});
    Eventually([&] { return reader.state() == QProcess::NotRunning; }, 30000);
    return reader.readAllStandardOutput().trimmed().toStdString();
}

// What headless Chromium shows at `url` once the page's scripts have run for a while; with
// a picture's name, what it draws on a screen of that size instead.
void Headless_Dom(const QString& url, std::string& dom, const QString& picture = {},
                  QSize screen = {}) {
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
         "--user-data-dir=" + profile.path(), "--virtual-time-budget=10000", "--hide-scrollbars",
         picture.isEmpty() ? QString("--dump-dom") : "--screenshot=" + picture,
         QString("--window-size=%1,%2")
             .arg(screen.isEmpty() ? 1280 : screen.width())
             .arg(screen.isEmpty() ? 900 : screen.height()),
         url});
    ASSERT_TRUE(Eventually([&] { return browser.state() == QProcess::NotRunning; }, 90000))
        << "chromium did not finish";
    dom = browser.readAllStandardOutput().toStdString();
    ASSERT_EQ(browser.exitCode(), 0) << browser.readAllStandardError().toStdString();
}

// A snapshot of a firing that started as `status` and then ticked `ticks` times, each tick's
// values set by `step`.
void Fire(Status_Snapshot& snapshot, Firing_Status status, int ticks,
          const std::function<void(Firing_Status&, int)>& step) {
    snapshot.Firing_Changed(status, Firing_Event::Start, "");
    for (int tick = 0; tick < ticks; ++tick) {
        step(status, tick);
        snapshot.Firing_Changed(status, Firing_Event::Tick, "");
    }
}

class Remote_Features : public Program_Rig, public Firing_Observer {
  protected:
    void Firing_Changed(const Firing_Status& status, Firing_Event event,
                        const std::string&) override {
        if (event == Firing_Event::Tick) Ticks.push_back(status);
    }
    void TearDown() override {
        if (Program) Model().Run().Firing().Detach(*this);
        Program_Rig::TearDown();
    }
    bool Ticked(std::size_t more, int timeout = 30000) {
        const std::size_t ticks = Ticks.size() + more;
        return Eventually([&] { return Ticks.size() >= ticks; }, timeout);
    }

    void In_Dialog(const char* action, const char* name,
                   const std::function<void(QDialog&)>& work) {
        QTimer::singleShot(0, [&] {
            auto* dialog = Window().findChild<QDialog*>(name);
            ASSERT_NE(dialog, nullptr);
            work(*dialog);
        });
        Window().findChild<QAction*>(action)->trigger();
    }
    static QLineEdit& Box(QDialog& dialog, const char* name) {
        return *dialog.findChild<QLineEdit*>(name);
    }
    static std::string Ok(QDialog& dialog) {
        dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
        return dialog.findChild<QLabel*>("Message")->text().toStdString();
    }

    // Turned on in SetUp -> "Remote Monitoring" for the network on `port`: the dialog
    // refuses a bad port or token in their own words, makes a token, a new one on request,
    // and shows the address with it. The page asks for the token.
    std::string Turn_On_The_Page(quint16 port) {
        QString token;
        In_Dialog("mnuRemoteMonitoring", "RemoteMonitoring", [&](QDialog& dialog) {
            Box(dialog, "Port").setText("70000");
            EXPECT_EQ(Ok(dialog), "The port must be a whole number from 1 to 65535");
            Box(dialog, "Port").setText(QString::number(port));
            EXPECT_TRUE(dialog.findChild<QLabel*>("Address_Code")->isHidden())
                << "no code to scan while only this computer may open the page";
            Box(dialog, "Token").setText("short");
            EXPECT_EQ(Ok(dialog), "The access token must be 8 to 64 letters, digits, - or _");
            Box(dialog, "Token").clear();
            dialog.findChild<QRadioButton*>("Listen_Network")->click();  // makes a token
            const QString first = Box(dialog, "Token").text();
            dialog.findChild<QPushButton*>("New_Token")->click();
            token = Box(dialog, "Token").text();
            EXPECT_TRUE(first.size() == 32 && token != first) << first.toStdString();
            EXPECT_EQ(Box(dialog, "Address").text().toStdString(),
                      "http://" + Network_Host_Name() + ":" + std::to_string(port) +
                          "/?token=" + token.toStdString());
            EXPECT_TRUE(dialog.findChild<QLabel*>("Who_Can_Open")->text().startsWith("A phone"));
            dialog.findChild<QPushButton*>("Copy_Address")->click();
            EXPECT_EQ(QGuiApplication::clipboard()->text(), Box(dialog, "Address").text());
            // What a phone's camera reads off the dialog's code is the whole address.
            EXPECT_EQ(Scanned(*dialog.findChild<QLabel*>("Address_Code")),
                      Box(dialog, "Address").text().toStdString());
            Ok(dialog);
        });
        const std::string file = Paths.Setup_File("RemoteMonitoringToken.txt");
        EXPECT_EQ(Read_Whole_File(file), token.toStdString() + "\r\n");
        EXPECT_THAT(Messages(), Not(HasSubstr(token.toStdString()))) << "kept private";
        EXPECT_EQ(Status_Line(port, "/api/status").substr(0, 12), "HTTP/1.1 401");
        return token.toStdString();
    }

    // Turned on in SetUp -> "MQTT": the dialog refuses a bad host, and a CA file that is
    // not there while TLS is on, in their own words; greys the CA file without TLS; stores
    // the kiln's default prefix empty.
    void Turn_On_Publishing(quint16 port) {
        In_Dialog("mnuMqtt", "MqttSetup", [&](QDialog& dialog) {
            dialog.findChild<QCheckBox*>("Enable_Publishing")->click();
            Box(dialog, "Host").setText("kiln lan");
            EXPECT_EQ(Ok(dialog), "The broker's host must be a name or an address without spaces");
            Box(dialog, "Host").clear();
            QTest::keyClicks(&Box(dialog, "Host"), "127.0.0.1");
            Box(dialog, "Port").setText(QString::number(port));
            dialog.findChild<QCheckBox*>("Use_Tls")->click();
            Box(dialog, "Ca_File").setText("/no/such/ca.pem");
            EXPECT_EQ(Ok(dialog), "The CA file does not exist: /no/such/ca.pem");
            dialog.findChild<QCheckBox*>("Use_Tls")->click();
            EXPECT_FALSE(Box(dialog, "Ca_File").isEnabled());
            Box(dialog, "Topic_Prefix").setText("corvanel/studio_kiln");
            Ok(dialog);
        });
        EXPECT_EQ(Read_Whole_File(Paths.Setup_File("MqttTopicPrefix.txt")), "\r\n");
    }

    // The features' entries end the SetUp menu and take a language chosen at once.
    void Expect_The_Entries_In_German() {
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

    // Clients that misuse the page: two that ask without end and never read their answers,
    // with the token and without, and one that sends its headers a byte at a time, are each
    // dropped; then a thousand idle connections take no place from the operator's phone.
    // The firing goes on tick for tick, every tick in its record.
    void Misuse_The_Page(quint16 port, const std::string& token, const std::string& log) {
        const std::string phone = "/api/status?token=" + token;
        auto client = [&](QProcess& process, const QStringList& arguments) {
            process.start("python3",
                          QStringList{CORVANEL_SOURCE_ROOT "/tests/remote/hostile_client.py",
                                      arguments[0], QString::number(port)} +
                              arguments.mid(1));
        };
        auto said = [](QProcess& process, const char* word) {
            return Eventually(
                [&] { return process.canReadLine() && process.readLine().trimmed() == word; },
                120000);
        };
        auto tick_for_tick = [&] {
            ASSERT_TRUE(Ticked(2, 60000)) << Messages();
            EXPECT_EQ(Tick_Lines(Paths.Logfile(Firing_Record_Name(log))), int(Ticks.size()));
            EXPECT_TRUE(Window().Control_Interval->isActive());
        };
        QProcess with_token, without_token, slow, idle;
        client(with_token, {"pipeline", QString::fromStdString("/?token=" + token)});
        client(without_token, {"pipeline", "/api/status"});
        client(slow, {"slow"});
        ASSERT_TRUE(said(with_token, "dropped"));
        ASSERT_TRUE(said(without_token, "dropped"));
        EXPECT_EQ(Status_Line(port, phone), "HTTP/1.1 200 OK");
        ASSERT_TRUE(said(slow, "dropped"));
        tick_for_tick();
        client(idle, {"idle", "1000"});
        ASSERT_TRUE(said(idle, "ready")) << idle.readAllStandardError().toStdString();
        EXPECT_EQ(Status_Line(port, phone), "HTTP/1.1 200 OK");
        EXPECT_LE(Program->Remote().Server()->Open_Connections(), 64);
        tick_for_tick();
        EXPECT_EQ(Status_Line(port, phone), "HTTP/1.1 200 OK");
    }

    std::vector<Firing_Status> Ticks;
};

// On a port another program holds the page cannot start: the message area says so and
// that the firing goes on. Turned on in their dialogs, the page and publishing follow a
// firing of the quick test: "online" under the kiln's own topics, then the state of every
// control tick; the broker stopped, the firing and its log go on; misused, the page lets
// its clients go; headless Chromium, given the address with the token, shows what kiln-sim
// measured and the chart.
TEST_F(Remote_Features, AreTurnedOnInTheirDialogsAndFollowAFiringThroughTrouble) {
    Mosquitto_Broker broker;
    ASSERT_NO_FATAL_FAILURE(broker.Run());
    Write_Text_File(Paths.Setup_File("ThermalDeviceName.txt"), "Studio Kiln");
    QTcpServer holder;
    ASSERT_TRUE(holder.listen(QHostAddress::LocalHost, 0));
    const quint16 port = Free_Port();
    Settings_Store settings(Paths);
    Save_Remote_Settings(settings, {true, holder.serverPort(), false, ""});
    Start_Kiln_Sim({"--speed=60"});
    Start_Program();
    EXPECT_THAT(Messages(), HasSubstr("The status page could not be started on port " +
                                      std::to_string(holder.serverPort()) + ": "));
    EXPECT_THAT(Messages(), HasSubstr("\nThe firing goes on without it"));

    const std::string token = Turn_On_The_Page(port);
    Turn_On_Publishing(broker.Port);
    const std::string prefix = "corvanel/studio_kiln/";
    ASSERT_TRUE(Eventually([&] {
        return broker.Retained(prefix + "availability")["said"].toString() == "online";
    })) << Messages();
    EXPECT_THAT(Messages(), HasSubstr("Publishing to the MQTT broker at 127.0.0.1:" +
                                      std::to_string(broker.Port)));
    Expect_The_Entries_In_German();

    Model().Run().Firing().Attach(*this);
    Open_Quick_Test();
    Choose_Log("firing.txt");
    QTest::mouseClick(Window().Start_Profile, Qt::LeftButton);
    for (int tick = 1; tick <= 4; ++tick) {
        Clock.Advance(30);
        ASSERT_TRUE(Eventually([&] { return int(Ticks.size()) >= tick; })) << Messages();
    }
    auto last_state = [&] { return broker.Retained(prefix + "state"); };
    ASSERT_TRUE(Eventually([&] { return last_state()["trace_points"] == 4; })) << Messages();
    EXPECT_EQ(last_state()["elapsed"].toDouble(), Ticks[3].Elapsed);
    broker.Stop();
    ASSERT_TRUE(Ticked(4, 60000));
    EXPECT_GE(std::filesystem::file_size(Paths.Logfile("firing.txt")), 21 * Ticks.size());
    ASSERT_NO_FATAL_FAILURE(Misuse_The_Page(port, token, "firing.txt"));

    std::string dom;
    ASSERT_NO_FATAL_FAILURE(Headless_Dom(
        QString("http://127.0.0.1:%1/?token=%2").arg(port).arg(QString::fromStdString(token)),
        dom));

    // The big read-out holds one of the temperatures kiln-sim reported during the firing.
    QRegularExpressionMatch measured =
        QRegularExpression("id=\"measured\">([^<]+)<").match(QString::fromStdString(dom));
    ASSERT_TRUE(measured.hasMatch()) << dom;
    bool reported = false;
    for (const Trace_Point& point : Program->Remote().Snapshot().Trace()) {
        reported |=
            Temperature_Shown(point.Measured, "F", {}) == measured.captured(1).toStdString();
    }
    EXPECT_TRUE(reported) << "page shows " << measured.captured(1).toStdString();
    QRegularExpressionMatch line =
        QRegularExpression("id=\"pv_line\"[^>]*d=\"(M[^\"]*)\"").match(QString::fromStdString(dom));
    ASSERT_TRUE(line.hasMatch()) << dom;
    EXPECT_GE(line.captured(1).split(QRegularExpression("[ML]"), Qt::SkipEmptyParts).size(), 3)
        << dom;
    EXPECT_THAT(dom, HasSubstr("id=\"state\" class=\"running\""));
}

// The status page served with one more file: a page that holds it at a phone's width and a
// desktop's, side by side, and lists every two read-outs whose boxes meet and every one
// that leaves the screen.
class Layout_Check_Server : public Status_Server {
  public:
    using Status_Server::Status_Server;

  protected:
    bool handleRequest(const QHttpServerRequest& request, QTcpSocket* socket) override {
        if (request.url().path() != "/check.html")
            return Status_Server::handleRequest(request, socket);
        makeResponder(request, socket).write(Check_Page, "text/html");
        return true;
    }

  private:
    static constexpr const char* Check_Page = R"html(<!DOCTYPE html>
<html><body style="margin:0">
<iframe id="phone" src="/" style="width:360px;height:1600px;border:0"></iframe>
<iframe id="desktop" src="/" style="width:1280px;height:1200px;border:0"></iframe>
<pre id="result">waiting</pre>
<script>
const read_outs = "h1, #state, .label, .value, .note, dt, dd, #chart_title, #chart, #no_chart, " +
                  ".legend > span, #problem";
function faults(frame) {
  const doc = frame.contentDocument, width = doc.documentElement.clientWidth;
  const name = e => e.id || e.className || e.tagName + " " + e.textContent.slice(0, 20);
  const boxes = [...doc.querySelectorAll(read_outs)].map(e => [name(e), e.getBoundingClientRect()])
                  .filter(([, r]) => r.width > 0 && r.height > 0);
  const found = [];
  if (doc.documentElement.scrollWidth > width) found.push("the page scrolls sideways");
  for (const [n, r] of boxes) if (r.left < 0 || r.right > width + 0.5) found.push(n + " leaves the screen");
  for (let i = 0; i < boxes.length; ++i)
    for (let j = i + 1; j < boxes.length; ++j) {
      const [a, p] = boxes[i], [b, q] = boxes[j];
      const x = Math.min(p.right, q.right) - Math.max(p.left, q.left);
      const y = Math.min(p.bottom, q.bottom) - Math.max(p.top, q.top);
      if (x > 0.5 && y > 0.5) found.push(a + " meets " + b);
    }
  return found;
}
const wait = setInterval(() => {
  const frames = [phone, desktop];
  if (!frames.every(f => f.contentDocument && f.contentDocument.getElementById("state") &&
                         f.contentDocument.getElementById("state").textContent !== "-")) return;
  clearInterval(wait);
  result.textContent = frames.map(f => f.id + ": " + (faults(f).join("; ") || "clear")).join("\n");
}, 200);
</script></body></html>)html";
};

// The trace of a two-day firing in minutes, a tick every 3 s, is well over a megabyte: the
// phone asking for it from bed gets it whole, however much more that is than a client may
// leave unread. Only a client that leaves earlier answers unread is let go.
TEST(Status_Page, ServesTheWholeTraceOfATwoDayFiring) {
    Make_Application();
    Status_Snapshot snapshot;
    Fire(snapshot, {.State = Firing_State::Running, .Time_Unit = "M"}, 48 * 3600 / 3,
         [](Firing_Status& tick, int i) {
             tick.Real_Elapsed = i / 20.0;
             tick.Set_Value = 70 + i / 25.0;
         });
    Status_Server server(snapshot);
    ASSERT_EQ(server.Start({.Enabled = true, .Port = 0}), "");
    QTcpSocket phone;
    phone.connectToHost(QHostAddress::LocalHost, server.Port());
    phone.write("GET /api/trace?since=0 HTTP/1.1\r\nHost: localhost\r\n\r\n");
    std::string answer;
    std::size_t length = std::string::npos, body = std::string::npos;
    ASSERT_TRUE(Eventually(
        [&] {
            answer += phone.readAll().toStdString();
            if (body == std::string::npos &&
                (body = answer.find("\r\n\r\n")) != std::string::npos) {
                body += 4;
                const std::size_t at = answer.find("Content-Length: ") + 16;
                length = std::stoul(answer.substr(at, answer.find("\r\n", at) - at));
            }
            return body != std::string::npos && answer.size() >= body + length;
        },
        60000))
        << answer.substr(0, 200) << " ... " << answer.size() << " bytes";
    EXPECT_TRUE(answer.starts_with("HTTP/1.1 200 OK")) << answer.substr(0, 100);
    EXPECT_GT(length, std::size_t{1024 * 1024});
    EXPECT_EQ(phone.state(), QAbstractSocket::ConnectedState);
    EXPECT_THAT(answer.substr(answer.size() - 200), HasSubstr("2879.95"));
    EXPECT_THAT(Status_Json(snapshot), HasSubstr("\"trace_ticks_per_point\":1,")) << "drawn whole";
}

// Out of open files the listener cannot take a waiting phone; once files are free it takes
// it and answers, instead of stopping for good. On this computer only it answers to this
// computer's own names, and every answer keeps the address from the pages it links to.
TEST(Status_Page, TakesConnectionsAgainWhenFilesAreFreeAndAnswersOnlyItsOwnNames) {
    Make_Application();
    Status_Snapshot snapshot;
    Status_Server server(snapshot);
    ASSERT_EQ(server.Start({.Enabled = true, .Port = 0}), "");
    const quint16 port = server.Port();
    bool refused = false;
    QObject::connect(server.findChild<QTcpServer*>(), &QTcpServer::acceptError,
                     [&] { refused = true; });
    QTcpSocket phone;
    phone.connectToHost(QHostAddress::LocalHost, port);
    ASSERT_TRUE(phone.waitForConnected(10000));
    phone.write(QByteArray::fromStdString(
        "GET /api/status HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(port) + "\r\n\r\n"));
    ASSERT_TRUE(phone.waitForBytesWritten(10000));
    // The phone waits in the queue while every file this process may open is taken.
    rlimit limit{};
    ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &limit), 0);
    const rlimit before = limit;
    int highest = 0;
    for (const auto& file : std::filesystem::directory_iterator("/proc/self/fd")) {
        highest = std::max(highest, std::stoi(file.path().filename().string()));
    }
    limit.rlim_cur = std::min<rlim_t>(limit.rlim_cur, highest + 16);
    ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &limit), 0);
    std::vector<int> taken;
    for (int file; (file = dup(0)) >= 0;) taken.push_back(file);
    EXPECT_TRUE(Eventually([&] { return refused; }, 30000)) << "the listener was never short";
    for (int file : taken) close(file);
    ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &before), 0);
    const std::string answer = Answer_Head(phone);
    EXPECT_TRUE(answer.starts_with("HTTP/1.1 200 OK")) << answer.substr(0, 200);
    EXPECT_THAT(answer, HasSubstr("Referrer-Policy: no-referrer\r\n"));
    EXPECT_EQ(Status_Line(port, "/api/status"), "HTTP/1.1 403 Forbidden")
        << "asked for host \"kiln\", a name that may have been made to point here";
}

// A broker whose name takes long to look up, with TLS, where the library looks the name
// up itself: both lookups (the client's check of the name, the library's) run off the
// event loop, which goes on meanwhile.
TEST(Mqtt_Client, LooksTheBrokersNameUpOffTheEventLoop) {
    Make_Application();
    Event_Loop_Thread = std::this_thread::get_id();
    Status_Snapshot snapshot;
    int turns = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] { ++turns; });
    timer.start(10);
    {
        Mqtt_Client client(
            {.Enabled = true, .Host = "broker.slow.test", .Port = Free_Port(), .Tls = true},
            snapshot, "kiln", {});
        for (int lookup = 1; lookup <= 2; ++lookup) {
            SCOPED_TRACE(lookup);
            ASSERT_TRUE(Eventually([&] { return Slow_Lookups >= lookup; }, 30000));
            const int before = turns;
            EXPECT_TRUE(Eventually([&] { return turns >= before + 5; }, 30000));
            EXPECT_LT(Slow_Lookups_Done, lookup) << "the event loop waited for the lookup";
            ++Slow_Lookups_Let_Go;
        }
        // No broker answers there: once this attempt has given up, the next begins with a
        // new lookup. Waited for, so the attempt's own thread is through its TLS set-up
        // before the process ends and a leak check at exit finds nothing half made.
        ASSERT_TRUE(Eventually([&] { return Slow_Lookups >= 3; }, 30000));
    }
    Slow_Lookups_Let_Go = 1000;  // the retry's lookup still waiting
    EXPECT_EQ(Slow_Lookups_On_Event_Loop, 0);
}

// A long kiln name and a long profile name without a blank to break at, on a 360-px phone
// and a 1280-px desktop: no two read-outs overlap and nothing leaves the screen.
TEST(Status_Page, KeepsLongNamesApartOnAPhoneAndADesktop) {
    Make_Application();
    Status_Snapshot snapshot;
    Fire(snapshot,
         {.State = Firing_State::Running,
          .Clock = {2027, 3, 9, 14, 0, 0},
          .Kiln_Name = "The big studio kiln by the north window of the pottery",
          .Profile_Name = "Cone6_glaze_with_slow_cool_for_the_stoneware_shelf_of_March_2027.txt",
          .Segment = 12,
          .Total_Time = 600,
          .Output_Percent = 87,
          .Plan = std::make_shared<const Plan_Points>(
              Plan_Points{{0, 0}, {0, 70}, {240, 1100}, {480, 2232}, {600, 2232}}),
          .Has_Reading = true,
          .Last_Reading = {2027, 3, 9, 14, 0, 0}},
         31, [](Firing_Status& status, int tick) {
             status.Elapsed = status.Real_Elapsed = tick * 10;  // minutes
             status.Set_Value = 70 + status.Elapsed * 4;
             status.Measured = status.Set_Value - 12;
         });
    Layout_Check_Server server(snapshot);
    ASSERT_EQ(server.Start({true, 0, false, ""}), "");
    std::string dom;
    ASSERT_NO_FATAL_FAILURE(
        Headless_Dom(QString("http://127.0.0.1:%1/check.html").arg(server.Port()), dom));
    const std::size_t result = dom.find("<pre id=\"result\">");
    ASSERT_NE(result, std::string::npos) << dom;
    EXPECT_EQ(dom.substr(result, dom.find("</pre>", result) - result),
              "<pre id=\"result\">phone: clear\ndesktop: clear");
    // The picture in docs/, taken when scripts/screenshots asks for it.
    if (const char* pictures = std::getenv("CORVANEL_SCREENSHOTS")) {
        const QString picture = QString(pictures) + "/status_page_phone.png";
        ASSERT_NO_FATAL_FAILURE(Headless_Dom(QString("http://127.0.0.1:%1/").arg(server.Port()),
                                             dom, picture, QSize(360, 960)));
        EXPECT_TRUE(QFile::exists(picture));
    }
}

}  // namespace
}  // namespace corvanel::testing
