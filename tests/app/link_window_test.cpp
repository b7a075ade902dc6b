// SPDX-License-Identifier: GPL-3.0-or-later
// The link coming back by itself against kiln-sim on a real pseudo-terminal: the far end
// closed and opened again, and a controller silent for a while. The model tests pin the
// schedule and the messages; this shows the real port doing it.

#include <QPushButton>
#include <QTimer>

#include "setup/setup_files.h"
#include "support/program_rig.h"

namespace corvanel::testing {
namespace {

class Link_Window : public Program_Rig {
  protected:
    // A firing of the quick test, with the fake clock following the real one so that
    // silences and the waits between tries pass as they do for the program.
    void Start_Firing(QStringList sim_arguments) {
        Start_Kiln_Sim(sim_arguments);
        Start_Program();
        Follower.callOnTimeout([this] { Clock.Advance(1); });
        Follower.start(1000);
        Open_Quick_Test();
        Choose_Log("link.txt");
        QTest::mouseClick(Window().Start_Profile, Qt::LeftButton);
        ASSERT_TRUE(Model().Control_Interval.Enabled) << Messages();
    }
    std::string Record() { return Read_Whole_File(Paths.Logfile("link.firing.csv")); }
    bool Restored_After(std::size_t seen) {
        return Record().find(",link restored,", seen) != std::string::npos;
    }
    // The firing goes on: the controller gets set values again and answers them.
    void Expect_Firing_Goes_On() {
        EXPECT_TRUE(Model().Control_Interval.Enabled);
        const std::size_t seen = Sim.Exchanges().size();
        EXPECT_TRUE(Eventually([&] {
            return Sim.Exchanges().find("-> @00WS00", seen) != std::string::npos;
        })) << Messages();
    }
    QTimer Follower;
};

// kiln-sim's cable is pulled from its 9th exchange to its 14th: two ticks of the run
// without an answer, on a port that stays open. Then kiln-sim ends, its terminal closes,
// and a new one opens behind the same link.
TEST_F(Link_Window, AFiringGoesOnThroughASilenceAndThroughTheLinesFarEndClosingAndComingBack) {
    Start_Firing({"--speed=60", "--cable-pulled=at:9-14"});
    ASSERT_TRUE(Eventually([&] { return Restored_After(0); }, 180000))
        << Messages() << Sim.Exchanges();
    Expect_Firing_Goes_On();

    Model().Clear();
    const std::size_t seen = Record().size();
    Sim.Stop();
    ASSERT_TRUE(Eventually([&] {
        return Model().User_Message_Box.find("The controller does not answer") != std::string::npos;
    })) << Messages();
    Start_Kiln_Sim({"--speed=60"});
    Clock.Advance(30);  // the longest wait between tries has passed
    ASSERT_TRUE(Eventually([&] { return Restored_After(seen); }, 60000)) << Messages();
    Expect_Firing_Goes_On();
}

}  // namespace
}  // namespace corvanel::testing
