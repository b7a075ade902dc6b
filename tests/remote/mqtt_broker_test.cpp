// The program publishing to a real Mosquitto broker during firings against kiln-sim: the
// state at every tick, availability and the last will, discovery, a refused password, and
// a broker that goes away mid-firing and comes back.

#include <signal.h>

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <algorithm>

#include "mosquitto_rig.h"
#include "program_rig.h"
#include "remote/mqtt_client.h"
#include "remote/mqtt_publishing.h"
#include "remote/mqtt_settings.h"
#include "remote/mqtt_setup_window.h"

namespace corvanel::testing {
namespace {

const std::string Prefix = "corvanel/studio_kiln";

QJsonObject Json_Of(const std::string& payload) {
    return QJsonDocument::fromJson(QByteArray::fromStdString(payload)).object();
}

std::size_t Count(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

// Every status the run publishes, and when it came.
struct Tick_Recorder : Firing_Observer {
    std::vector<Firing_Status> Ticks;
    std::vector<qint64> Tick_Times;
    QElapsedTimer Clock;
    Tick_Recorder() { Clock.start(); }
    void Firing_Changed(const Firing_Status& status, Firing_Event event,
                        const std::string&) override {
        if (event != Firing_Event::Tick) return;
        Ticks.push_back(status);
        Tick_Times.push_back(Clock.elapsed());
    }
};

class Mqtt_Publishing_Test : public Program_Rig {
  protected:
    void Publish_To(const Mosquitto_Broker& broker, const std::string& user = "",
                    const std::string& password = "") {
        Write_Text_File(Paths.Setup_File("ThermalDeviceName.txt"), "Studio Kiln");
        Mqtt_Settings settings;
        settings.Enabled = true;
        settings.Host = "127.0.0.1";
        settings.Port = broker.Port;
        settings.User_Name = user;
        settings.Password = password;
        Save_Mqtt_Settings(Paths, settings);
    }
    // The program, and from then on every line its message area is given: the area
    // empties itself past its limit, the lines stay here.
    void Start_Program_Hearing_Messages() {
        Start_Program();
        QObject::connect(Window().User_Message_Box, &QPlainTextEdit::textChanged, [this] {
            std::string now = Messages();
            Said += now.rfind(Shown_, 0) == 0 ? now.substr(Shown_.size()) : now;
            Shown_ = now;
        });
        Said = Shown_ = Messages();
    }
    void Start_Firing() {
        Model().Firing.Attach(Recorder);
        Open_Quick_Test();
        Choose_Log("firing.txt");
        QTest::mouseClick(Window().Start_Profile, Qt::LeftButton);
    }
    void TearDown() override {
        if (Program) Model().Firing.Detach(Recorder);
        Program_Rig::TearDown();
    }
    Tick_Recorder Recorder;
    std::string Said;

  private:
    std::string Shown_;
};

// A firing with the broker up: "online" and the six discovery configs, retained; then one
// state per control tick with that tick's values; the state stays retained for a new
// subscriber; and the program's end says "offline".
TEST_F(Mqtt_Publishing_Test, PublishesEveryTickWithDiscoveryAndSaysOfflineAtTheEnd) {
    Mosquitto_Broker broker;
    ASSERT_NO_FATAL_FAILURE(broker.Start());
    Publish_To(broker);
    Mqtt_Subscriber all(broker.Port, "#");
    Start_Kiln_Sim({"--speed=60"});
    Start_Program_Hearing_Messages();
    ASSERT_TRUE(Eventually([&] { return all.Last_On(Prefix + "/availability") == "online"; }))
        << Said;
    EXPECT_EQ(
        Count(Said, "Publishing to the MQTT broker at 127.0.0.1:" + std::to_string(broker.Port)),
        1u)
        << Said;

    const char* fields[] = {"measured", "set_value", "output", "segment", "time_left", "state"};
    for (const char* field : fields) {
        std::string topic =
            "homeassistant/sensor/corvanel_studio_kiln/" + std::string(field) + "/config";
        ASSERT_TRUE(Eventually([&] { return !all.On(topic).empty(); })) << topic;
        QJsonParseError error;
        QJsonDocument parsed =
            QJsonDocument::fromJson(QByteArray::fromStdString(all.Last_On(topic)), &error);
        ASSERT_EQ(error.error, QJsonParseError::NoError) << topic << ": " << all.Last_On(topic);
        QJsonObject config = parsed.object();
        EXPECT_EQ(config["unique_id"].toString().toStdString(),
                  "corvanel_studio_kiln_" + std::string(field));
        EXPECT_EQ(config["state_topic"].toString().toStdString(), Prefix + "/state");
        EXPECT_EQ(config["availability_topic"].toString().toStdString(), Prefix + "/availability");
        EXPECT_TRUE(config["value_template"].toString().contains(
            field == std::string("time_left") ? "seconds_left" : field));
        EXPECT_EQ(config["device"].toObject()["name"].toString(), "Studio Kiln");
        EXPECT_EQ(config["device"].toObject()["identifiers"].toArray().first().toString(),
                  "corvanel_studio_kiln");
    }
    EXPECT_EQ(
        Json_Of(all.Last_On(
            "homeassistant/sensor/corvanel_studio_kiln/measured/config"))["unit_of_measurement"]
            .toString(),
        "°F");

    Start_Firing();
    for (int tick = 0; tick < 4; ++tick) {
        Clock.Advance(30);
        std::size_t before = Recorder.Ticks.size();
        ASSERT_TRUE(Eventually([&] { return Recorder.Ticks.size() > before; })) << Said;
    }
    // One state for each tick, told apart by the length of the trace, each with what
    // that tick measured and set.
    auto running_states = [&] {
        std::vector<QJsonObject> states;
        for (const std::string& payload : all.On(Prefix + "/state")) {
            QJsonObject state = Json_Of(payload);
            if (state["state"].toString() == "running") states.push_back(state);
        }
        return states;
    };
    ASSERT_TRUE(Eventually([&] {
        std::vector<QJsonObject> states = running_states();
        return !states.empty() &&
               states.back()["trace_points"].toInt() >= int(Recorder.Ticks.size());
    }));
    std::vector<QJsonObject> states = running_states();
    for (std::size_t i = 0; i < Recorder.Ticks.size(); ++i) {
        const Firing_Status& tick = Recorder.Ticks[i];
        int told = int(std::count_if(states.begin(), states.end(), [&](const QJsonObject& state) {
            return state["trace_points"].toInt() == int(i) + 1;
        }));
        EXPECT_EQ(told, 1) << "states for tick " << i + 1;
        auto found = std::find_if(states.begin(), states.end(), [&](const QJsonObject& state) {
            return state["trace_points"].toInt() == int(i) + 1 &&
                   state["elapsed"].toDouble() == tick.Elapsed &&
                   state["measured"].toDouble() == tick.Measured &&
                   state["set_value"].toDouble() == tick.Set_Value;
        });
        EXPECT_NE(found, states.end()) << "no state with the values of tick " << i + 1;
    }

    Mqtt_Subscriber late(broker.Port, Prefix + "/state");
    ASSERT_TRUE(Eventually([&] { return !late.All().empty(); }));
    EXPECT_TRUE(late.All().front().Retained);
    EXPECT_EQ(Json_Of(late.All().front().Payload)["state"].toString(), "running");

    Model().Firing.Detach(Recorder);
    Program.reset();
    ASSERT_TRUE(Eventually([&] { return all.Last_On(Prefix + "/availability") == "offline"; }));
}

// The broker goes away mid-firing: the ticks go on at their pace, the message area says
// so once while the program keeps trying; back again, it publishes the firing as it is.
TEST_F(Mqtt_Publishing_Test, ABrokerStoppedMidFiringLeavesTheTicksAloneAndIsPublishedToAgain) {
    Mosquitto_Broker broker;
    ASSERT_NO_FATAL_FAILURE(broker.Start());
    Publish_To(broker);
    Start_Kiln_Sim({"--speed=60"});
    Start_Program_Hearing_Messages();
    ASSERT_TRUE(Eventually([&] { return Program->Mqtt().Client()->Is_Connected(); })) << Said;
    Start_Firing();
    ASSERT_TRUE(Eventually([&] { return Recorder.Ticks.size() >= 2; })) << Said;

    broker.Stop();
    ASSERT_TRUE(Eventually([&] {
        return Said.find("the connection was lost") != std::string::npos;
    })) << Said;
    std::size_t down_at = Recorder.Ticks.size();
    // Four more ticks: long enough for three attempts to connect (after 1, 2 and 4 s).
    ASSERT_TRUE(Eventually([&] { return Recorder.Ticks.size() >= down_at + 4; }, 60000));
    EXPECT_EQ(Count(Said, "MQTT broker"), 2u) << Said;  // the first, the loss
    EXPECT_FALSE(Program->Mqtt().Client()->Is_Connected());
    std::uintmax_t log_size = std::filesystem::file_size(Paths.Logfile("firing.txt"));
    EXPECT_EQ(log_size % 21, 0u);
    EXPECT_GE(log_size / 21, down_at + 4) << "a record for every tick";

    broker.Run();
    Mqtt_Subscriber again(broker.Port, Prefix + "/#");
    // Back off of at most 8 s at this point, then the current state and "online".
    ASSERT_TRUE(
        Eventually([&] { return again.Last_On(Prefix + "/availability") == "online"; }, 60000))
        << Said;
    double elapsed_before = Recorder.Ticks.back().Elapsed;
    Clock.Advance(30);
    ASSERT_TRUE(Eventually(
        [&] {
            std::string state = again.Last_On(Prefix + "/state");
            return !state.empty() && Json_Of(state)["elapsed"].toDouble() > elapsed_before;
        },
        30000));
    EXPECT_EQ(Count(Said, "Publishing to the MQTT broker at"), 2u) << Said;

    // The ticks kept their pace throughout: no gap near a broker's time-outs.
    qint64 widest = 0;
    for (std::size_t i = 1; i < Recorder.Tick_Times.size(); ++i) {
        widest = std::max(widest, Recorder.Tick_Times[i] - Recorder.Tick_Times[i - 1]);
    }
    EXPECT_LT(widest, 20000) << "ms between two control ticks";
}

// A broker with a password file refuses a wrong password: the message area says so once,
// not at every attempt; the password put right in SetUp -> "MQTT" is kept private and
// the program publishes at once.
TEST_F(Mqtt_Publishing_Test, AWrongPasswordIsSaidOnceAndTheDialogPutsItRight) {
    Mosquitto_Broker broker;
    ASSERT_NO_FATAL_FAILURE(broker.Start("potter", "glaze-06"));
    Publish_To(broker, "potter", "wrong");
    Start_Kiln_Sim();
    Start_Program_Hearing_Messages();
    const std::string refused = "MQTT broker 127.0.0.1:" + std::to_string(broker.Port) +
                                ": refused the user name or password";
    ASSERT_TRUE(Eventually([&] { return Said.find(refused) != std::string::npos; })) << Said;
    QTest::qWait(8000);  // attempts after 1, 2 and 4 s
    EXPECT_EQ(Count(Said, refused), 1u) << Said;
    EXPECT_FALSE(Program->Mqtt().Client()->Is_Connected());

    auto* item = Window().findChild<QAction*>("mnuMqtt");
    ASSERT_NE(item, nullptr);
    EXPECT_TRUE(Window().mnuSetUp->actions().contains(item));
    QString shown_prefix;
    QTimer::singleShot(0, [&] {
        auto* dialog = Window().findChild<Mqtt_Setup_Window*>();
        ASSERT_NE(dialog, nullptr);
        shown_prefix = dialog->Topic_Prefix->placeholderText();
        dialog->Password->clear();
        QTest::keyClicks(dialog->Password, "glaze-06");
        dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    });
    item->trigger();
    EXPECT_EQ(shown_prefix.toStdString(), Prefix);
    auto perms = std::filesystem::status(Paths.Setup_File(Mqtt_Password_File)).permissions();
    EXPECT_EQ(perms & (std::filesystem::perms::group_all | std::filesystem::perms::others_all),
              std::filesystem::perms::none);
    Mqtt_Subscriber subscriber(broker.Port, Prefix + "/availability", "potter", "glaze-06");
    ASSERT_TRUE(Eventually([&] {
        return subscriber.Last_On(Prefix + "/availability") == "online";
    })) << Said;
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
    Program_Paths paths(folder.Path());
    Write_Text_File(paths.Setup_File("ThermalDeviceName.txt"), "Studio Kiln");
    Mqtt_Settings settings;
    settings.Enabled = true;
    settings.Host = "127.0.0.1";
    settings.Port = broker.Port;
    Save_Mqtt_Settings(paths, settings);
    Mqtt_Subscriber subscriber(broker.Port, Prefix + "/availability");

    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    program.setProcessEnvironment(environment);
    program.start(QString::fromStdString(folder.File("corvanel")), {});
    ASSERT_TRUE(program.waitForStarted(10000));
    ASSERT_TRUE(Eventually([&] { return subscriber.Last_On(Prefix + "/availability") == "online"; },
                           60000));
    ::kill(static_cast<pid_t>(program.processId()), SIGKILL);
    ASSERT_TRUE(program.waitForFinished(10000));
    ASSERT_TRUE(
        Eventually([&] { return subscriber.Last_On(Prefix + "/availability") == "offline"; }));
}

}  // namespace
}  // namespace corvanel::testing
