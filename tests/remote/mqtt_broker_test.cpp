// The program publishing to a real Mosquitto broker during firings against kiln-sim.

#include <signal.h>

#include <algorithm>

#include <QDialogButtonBox>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include "mosquitto_rig.h"
#include "program_rig.h"
#include "remote/mqtt_client.h"
#include "remote/mqtt_publishing.h"
#include "remote/mqtt_setup_window.h"
#include "setup/setup_files.h"

namespace corvanel::testing {
namespace {

const std::string Prefix = "corvanel/studio_kiln";

QJsonObject Json_Of(const std::string& payload) {
    return QJsonDocument::fromJson(QByteArray::fromStdString(payload)).object();
}

int Count(const std::string& text, const std::string& part) {
    return QString::fromStdString(text).count(QString::fromStdString(part));
}

void Publish_To(const Program_Paths& paths, quint16 port, const std::string& user = "",
                const std::string& password = "", const std::string& certificate = "") {
    Write_Text_File(paths.Setup_File("ThermalDeviceName.txt"), "Studio Kiln");
    Save_Mqtt_Settings(paths, {true, "127.0.0.1", port, user, password, !certificate.empty(),
                               certificate, "", true});
}

class Mqtt_Publishing_Test : public Program_Rig, public Firing_Observer {
  protected:
    // The program; from then on every line of its message area is kept in Said, which
    // the area's own limit cannot empty.
    void Start() {
        Start_Program();
        QObject::connect(Window().User_Message_Box, &QPlainTextEdit::textChanged, [this] {
            std::string now = Messages();
            Said += now.rfind(Shown_, 0) == 0 ? now.substr(Shown_.size()) : now;
            Shown_ = now;
        });
        Said = Shown_ = Messages();
    }
    void Start_Firing() {
        Model().Firing.Attach(*this);
        Open_Quick_Test();
        Choose_Log("firing.txt");
        QTest::mouseClick(Window().Start_Profile, Qt::LeftButton);
    }
    void Firing_Changed(const Firing_Status& status, Firing_Event event,
                        const std::string&) override {
        if (event == Firing_Event::Tick) Ticks.push_back(status);
    }
    void TearDown() override {
        if (Program) Model().Firing.Detach(*this);
        Program_Rig::TearDown();
    }
    bool Connected() { return Program->Mqtt().Client()->Is_Connected(); }

    std::vector<Firing_Status> Ticks;
    std::string Said;
    std::string Shown_;
};

// "online" and six discovery configs that parse; one state per control tick with that
// tick's values, retained for a late subscriber. The broker stopped mid-firing: a record
// for every tick meanwhile, the loss said once while the program keeps trying; the broker
// back, the firing is published again, and "offline" when the program ends.
TEST_F(Mqtt_Publishing_Test, PublishesEveryTickThroughABrokerRestartAndSaysOfflineAtTheEnd) {
    Mosquitto_Broker broker;
    ASSERT_NO_FATAL_FAILURE(broker.Start());
    Publish_To(Paths, broker.Port);
    Mqtt_Subscriber all(broker.Port, "#");
    Start_Kiln_Sim({"--speed=60"});
    Start();
    ASSERT_TRUE(Eventually([&] { return all.Last_On(Prefix + "/availability") == "online"; }))
        << Said;
    EXPECT_EQ(
        Count(Said, "Publishing to the MQTT broker at 127.0.0.1:" + std::to_string(broker.Port)), 1)
        << Said;
    const std::vector<std::string> fields = {"measured", "set_value", "output",
                                             "segment",  "time_left", "state"};
    auto config_of = [&](const std::string& field) {
        return Json_Of(
            all.Last_On("homeassistant/sensor/corvanel_studio_kiln/" + field + "/config"));
    };
    // The configs follow "online": wait until the subscriber has heard them all.
    ASSERT_TRUE(Eventually([&] {
        return std::all_of(fields.begin(), fields.end(),
                           [&](const std::string& field) { return !config_of(field).isEmpty(); });
    }));
    for (const std::string& field : fields) {
        EXPECT_EQ(config_of(field)["unique_id"].toString().toStdString(),
                  "corvanel_studio_kiln_" + field);
    }
    EXPECT_EQ(config_of("measured")["unit_of_measurement"].toString(), "°F");

    Start_Firing();
    for (int tick = 1; tick <= 4; ++tick) {
        Clock.Advance(30);
        ASSERT_TRUE(Eventually([&] { return int(Ticks.size()) >= tick; })) << Said;
    }
    auto states = [&] {
        std::vector<QJsonObject> running;
        for (const std::string& payload : all.On(Prefix + "/state")) {
            QJsonObject state = Json_Of(payload);
            if (state["state"] == "running") running.push_back(state);
        }
        return running;
    };
    ASSERT_TRUE(Eventually(
        [&] { return !states().empty() && states().back()["trace_points"].toInt() >= 4; }));
    // The trace's length tells the ticks' states apart: each once, with its tick's values.
    for (std::size_t i = 0; i < 4; ++i) {
        std::vector<QJsonObject> told;
        for (const QJsonObject& state : states()) {
            if (state["trace_points"].toInt() == int(i) + 1) told.push_back(state);
        }
        ASSERT_EQ(told.size(), 1u) << "states for tick " << i + 1;
        EXPECT_EQ(told[0]["elapsed"].toDouble(), Ticks[i].Elapsed);
        EXPECT_EQ(told[0]["measured"].toDouble(), Ticks[i].Measured);
        EXPECT_EQ(told[0]["set_value"].toDouble(), Ticks[i].Set_Value);
    }
    Mqtt_Subscriber late(broker.Port, Prefix + "/state", {"--retained-only"});
    EXPECT_TRUE(Eventually([&] { return !late.On(Prefix + "/state").empty(); }));

    broker.Stop();
    ASSERT_TRUE(Eventually([&] { return Said.find("connection was lost") != std::string::npos; }))
        << Said;
    // Four ticks more: time for attempts after 1, 2 and 4 s, none of them said.
    std::size_t down_at = Ticks.size();
    ASSERT_TRUE(Eventually([&] { return Ticks.size() >= down_at + 4; }, 60000));
    EXPECT_EQ(Count(Said, "MQTT broker"), 2) << Said;  // the first connection and the loss
    EXPECT_GE(std::filesystem::file_size(Paths.Logfile("firing.txt")), 21 * Ticks.size());

    broker.Run();
    Mqtt_Subscriber again(broker.Port, Prefix + "/#");
    ASSERT_TRUE(Eventually([&] { return Connected(); }, 60000)) << Said;
    EXPECT_TRUE(Eventually([&] { return again.Last_On(Prefix + "/availability") == "online"; }));
    double before = Ticks.back().Elapsed;
    Clock.Advance(30);
    ASSERT_TRUE(Eventually(
        [&] { return Json_Of(again.Last_On(Prefix + "/state"))["elapsed"].toDouble() > before; }));
    EXPECT_EQ(Count(Said, "Publishing to the MQTT broker at"), 2) << Said;

    TearDown();
    ASSERT_TRUE(Eventually([&] { return again.Last_On(Prefix + "/availability") == "offline"; }));
}

// Over TLS, checked against the broker's certificate: a wrong password is said; put right
// in SetUp -> "MQTT" it is stored for its owner only and the program publishes at once.
TEST_F(Mqtt_Publishing_Test, AWrongPasswordIsSaidAndTheDialogPutsItRight) {
    Mosquitto_Broker broker;
    ASSERT_NO_FATAL_FAILURE(broker.Start("potter", "glaze-06", true));
    Publish_To(Paths, broker.Port, "potter", "wrong", broker.Certificate());
    Start_Kiln_Sim();
    Start();
    const std::string refused = "MQTT broker 127.0.0.1:" + std::to_string(broker.Port) +
                                ": refused the user name or password";
    ASSERT_TRUE(Eventually([&] { return Said.find(refused) != std::string::npos; })) << Said;

    QTimer::singleShot(0, [&] {
        auto* dialog = Window().findChild<Mqtt_Setup_Window*>();
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->Topic_Prefix->placeholderText().toStdString(), Prefix);
        dialog->Password->clear();
        QTest::keyClicks(dialog->Password, "glaze-06");
        dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    });
    Window().findChild<QAction*>("mnuMqtt")->trigger();
    auto perms = std::filesystem::status(Paths.Setup_File(Mqtt_Password_File)).permissions();
    EXPECT_EQ(perms & (std::filesystem::perms::group_all | std::filesystem::perms::others_all),
              std::filesystem::perms::none);
    ASSERT_TRUE(Eventually([&] { return Connected(); })) << Said;
}

// The program killed outright: the broker says "offline" for it, from the last will.
TEST(Mqtt_Last_Will, TheProgramKilledIsOfflineAtTheBroker) {
    Make_Application();
    Mosquitto_Broker broker;
    ASSERT_NO_FATAL_FAILURE(broker.Start());
    namespace fs = std::filesystem;
    Temp_Folder folder;
    fs::copy(fs::path(CORVANEL_PROGRAM_DIR) / "LanguageFiles", folder.Path() / "LanguageFiles",
             fs::copy_options::recursive);
    fs::copy_file(fs::path(CORVANEL_PROGRAM_DIR) / "corvanel", folder.Path() / "corvanel");
    Publish_To(Program_Paths(folder.Path()), broker.Port);
    Mqtt_Subscriber subscriber(broker.Port, Prefix + "/availability");
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    program.setProcessEnvironment(environment);
    program.start(QString::fromStdString(folder.File("corvanel")), {});
    ASSERT_TRUE(Eventually([&] { return subscriber.Last_On(Prefix + "/availability") == "online"; },
                           60000));
    ::kill(static_cast<pid_t>(program.processId()), SIGKILL);
    ASSERT_TRUE(program.waitForFinished(10000));
    ASSERT_TRUE(
        Eventually([&] { return subscriber.Last_On(Prefix + "/availability") == "offline"; }));
}

}  // namespace
}  // namespace corvanel::testing
