// SPDX-License-Identifier: GPL-3.0-or-later
// The program's link coming back by itself against kiln-sim on a real pseudo-terminal:
// the far end closed and opened again, and a controller silent for a while. The model
// tests pin the schedule and the messages; this shows the real port doing it.

#include <QPushButton>
#include <QTimer>
#include <algorithm>

#include "run/firing_record.h"
#include "setup/setup_files.h"
#include "support/program_rig.h"

namespace corvanel::testing {
namespace {

class Link_Window : public Program_Rig {
  protected:
    // The fake clock follows the real one, so that the run's silences and the tries'
    // waits pass as they do for the program.
    void Follow_Real_Time() {
        Follower.callOnTimeout([this] { Clock.Advance(1); });
        Follower.start(1000);
    }

    void Start_Firing() {
        Start_Program();
        Follow_Real_Time();
        Open_Quick_Test();
        Choose_Log("link.txt");
        QTest::mouseClick(Window().Start_Profile, Qt::LeftButton);
        ASSERT_TRUE(Model().Control_Interval.Enabled) << Messages();
    }

    std::vector<std::string> Record_Events() {
        std::vector<std::string> events;
        const std::string text = Read_Whole_File(Paths.Logfile("link.firing.csv"));
        for (const Firing_Record_Line& line : Parse_Firing_Record(text).Lines) {
            if (!line.Is_Tick() && line.Event != "communication error") {
                events.push_back(line.Event);
            }
        }
        return events;
    }
    bool Recorded(const std::string& event) {
        const std::vector<std::string> events = Record_Events();
        return std::find(events.begin(), events.end(), event) != events.end();
    }

    QTimer Follower;
};

TEST_F(Link_Window, AFiringGoesOnWhenTheLinesFarEndClosesAndComesBack) {
    Start_Kiln_Sim({"--speed=60"});
    Start_Firing();
    ASSERT_TRUE(Eventually([&] { return Sim.Exchanges().find("WS01") != std::string::npos; }));

    Sim.Stop();
    ASSERT_TRUE(Eventually(
        [&] { return Messages().find("The controller does not answer") != std::string::npos; },
        60000))
        << Messages();
    const std::size_t seen = Sim.Exchanges().size();
    Start_Kiln_Sim({"--speed=60"});  // a new terminal behind the same link
    Clock.Advance(30);               // the longest wait between tries has passed
    ASSERT_TRUE(Eventually([&] { return Recorded("link restored"); }, 60000)) << Messages();
    ASSERT_TRUE(Eventually([&] { return Sim.Exchanges().find("WS01", seen) != std::string::npos; }))
        << Sim.Exchanges().substr(seen);
    EXPECT_TRUE(Model().Control_Interval.Enabled);
    EXPECT_EQ(Record_Events().front(), "start");
}

// kiln-sim's cable is pulled from its 30th exchange to its 35th: two ticks of the run
// without an answer, on a port that stays open.
TEST_F(Link_Window, AFiringGoesOnWhenTheControllerFallsSilentAndAnswersAgain) {
    Start_Kiln_Sim({"--speed=60", "--cable-pulled=at:30-35"});
    Start_Firing();
    ASSERT_TRUE(Eventually([&] { return Recorded("link restored"); }, 180000))
        << Messages() << Sim.Exchanges();
    EXPECT_TRUE(Model().Control_Interval.Enabled);
    const std::size_t seen = Sim.Exchanges().size();
    ASSERT_TRUE(Eventually([&] { return Sim.Exchanges().find("WS01", seen) != std::string::npos; }))
        << Messages();
    EXPECT_NE(Sim.Exchanges().find("-> @00WS00", seen), std::string::npos) << Sim.Exchanges();
}

}  // namespace
}  // namespace corvanel::testing
