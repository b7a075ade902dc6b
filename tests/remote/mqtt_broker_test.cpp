// The program publishing to a real Mosquitto broker during a firing against kiln-sim.

#include <QCheckBox>
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
        Model().Firing.Attach(*this);
    }
    void Firing_Changed(const Firing_Status& status, Firing_Event event,
                        const std::string&) override {
        if (event == Firing_Event::Tick) Ticks.push_back(status);
    }
    void TearDown() override {
        if (Program) Model().Firing.Detach(*this);
        Program_Rig::TearDown();
    }

    std::vector<Firing_Status> Ticks;
    std::string Said;
    std::string Shown_;
};

// Turned on in SetUp -> "MQTT": "online" and the discovery configs; one state per control
// tick with that tick's values, retained for a late subscriber. The broker stopped
// mid-firing: the firing and its log go on, the loss is said once while the program keeps
// trying; the broker back, the firing is published again, and "offline" when the program
// ends.
TEST_F(Mqtt_Publishing_Test, TurnedOnItPublishesEveryTickThroughABrokerRestart) {
    Mosquitto_Broker broker;
    ASSERT_NO_FATAL_FAILURE(broker.Start());
    Write_Text_File(Paths.Setup_File("ThermalDeviceName.txt"), "Studio Kiln");
    Mqtt_Subscriber all(broker.Port, "#");
    Start_Kiln_Sim({"--speed=60"});
    Start();
    QTimer::singleShot(0, [&] {
        auto* dialog = Window().findChild<Mqtt_Setup_Window*>();
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->Topic_Prefix->placeholderText().toStdString(), Prefix);
        dialog->Enable_Publishing->click();
        for (auto [box, text] : {std::pair{dialog->Host, QString("127.0.0.1")},
                                 {dialog->Port, QString::number(broker.Port)}}) {
            box->clear();
            QTest::keyClicks(box, text);
        }
        dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    });
    Window().findChild<QAction*>("mnuMqtt")->trigger();
    ASSERT_TRUE(Eventually([&] { return all.Last_On(Prefix + "/availability") == "online"; }))
        << Said;
    EXPECT_EQ(
        Count(Said, "Publishing to the MQTT broker at 127.0.0.1:" + std::to_string(broker.Port)), 1)
        << Said;
    // The discovery configs follow "online".
    EXPECT_TRUE(Eventually([&] {
        return Json_Of(all.Last_On("homeassistant/sensor/corvanel_studio_kiln/measured/config"))
                   ["unit_of_measurement"] == "°F";
    }));

    Open_Quick_Test();
    Choose_Log("firing.txt");
    QTest::mouseClick(Window().Start_Profile, Qt::LeftButton);
    for (int tick = 1; tick <= 4; ++tick) {
        Clock.Advance(30);
        ASSERT_TRUE(Eventually([&] { return int(Ticks.size()) >= tick; })) << Said;
    }
    // The trace's length tells the ticks' states apart: each once, with its tick's values.
    auto states_at = [&](int trace_points) {
        std::vector<QJsonObject> told;
        for (const std::string& payload : all.On(Prefix + "/state")) {
            QJsonObject state = Json_Of(payload);
            if (state["state"] == "running" && state["trace_points"] == trace_points)
                told.push_back(state);
        }
        return told;
    };
    ASSERT_TRUE(Eventually([&] { return !states_at(4).empty(); }));
    for (int i = 0; i < 4; ++i) {
        std::vector<QJsonObject> told = states_at(i + 1);
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
    ASSERT_TRUE(Eventually([&] { return Program->Mqtt().Client()->Is_Connected(); }, 60000))
        << Said;
    EXPECT_TRUE(Eventually([&] { return again.Last_On(Prefix + "/availability") == "online"; }));
    double before = Ticks.back().Elapsed;
    Clock.Advance(30);
    ASSERT_TRUE(Eventually(
        [&] { return Json_Of(again.Last_On(Prefix + "/state"))["elapsed"].toDouble() > before; }));
    EXPECT_EQ(Count(Said, "Publishing to the MQTT broker at"), 2) << Said;

    TearDown();
    ASSERT_TRUE(Eventually([&] { return again.Last_On(Prefix + "/availability") == "offline"; }));
}

}  // namespace
}  // namespace corvanel::testing
