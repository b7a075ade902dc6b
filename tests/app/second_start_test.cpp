// SPDX-License-Identifier: GPL-3.0-or-later
// A second start of the real program on the folder of a firing in progress.

#include <unistd.h>

#include <QProcess>
#include <QPushButton>
#include <QTimer>
#include <filesystem>

#include "setup/program_lock.h"
#include "support/program_rig.h"
#include "support/tick_count.h"

namespace corvanel::testing {
namespace {

namespace fs = std::filesystem;

// Every file of the folder with its contents, in one text.
std::string Snapshot(const fs::path& folder) {
    std::string all;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (entry.is_regular_file()) {
            all += entry.path().string() + "\n" + Read_Whole_File(entry.path().string());
        }
    }
    return all;
}

using Second_Start = Program_Rig;

TEST_F(Second_Start, SaysWhoRunsTheKilnChangesNothingAndTheFiringGoesOnTickForTick) {
    // Taken as the program's own start takes it.
    const Program_Lock lock = Program_Lock::Take(Folder.Path());
    ASSERT_EQ(lock.Result(), Program_Lock::Outcome::Taken) << lock.Error();
    Start_Kiln_Sim({"--speed=60"});
    Start_Program();
    Open_Quick_Test();
    Choose_Log("kiln.txt");
    Tick_Counter counter;
    Model().Firing.Attach(counter);
    QTest::mouseClick(Window().Start_Profile, Qt::LeftButton);
    const std::string record = Paths.Logfile(Firing_Record_Name("kiln.txt"));
    ASSERT_TRUE(Eventually([&] { return Tick_Lines(record) >= 1; })) << Messages();

    const std::string setup_before = Snapshot(Folder.Path() / "Setup");
    const std::string exchanges_before = Sim.Exchanges();
    // The program's executable in this program folder makes it the program's folder.
    const fs::path second_copy = Folder.Path() / "corvanel";
    fs::copy_file(CORVANEL_PATH, second_copy);
    QProcess second;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    second.setProcessEnvironment(environment);
    second.start(QString::fromStdString(second_copy.string()), {});
    // Ticks go on while it starts and ends: the event loop keeps running.
    ASSERT_TRUE(Eventually([&] { return second.state() == QProcess::NotRunning; }, 120000));
    EXPECT_EQ(second.exitCode(), 2);
    const std::string said = second.readAllStandardError().toStdString();  // after Qt's notes
    EXPECT_TRUE(said.ends_with("Corvanel is already running for this kiln (process " +
                               std::to_string(::getpid()) +
                               ")\r\nUse its window, which is still open, or close it before "
                               "starting Corvanel again. Nothing was changed.\n"))
        << said;

    const int ticks = counter.Ticks;
    ASSERT_TRUE(Eventually([&] { return counter.Ticks >= ticks + 2; })) << Messages();
    EXPECT_EQ(Tick_Lines(record), counter.Ticks);  // not one tick lost
    EXPECT_TRUE(Window().Control_Interval->isActive());
    EXPECT_EQ(Snapshot(Folder.Path() / "Setup"), setup_before);
    // The second program never spoke on the port: what kiln-sim heard since is the first's.
    const std::string heard = Sim.Exchanges().substr(exchanges_before.size());
    EXPECT_EQ(heard.find("MA01"), std::string::npos) << heard;
    Model().Firing.Detach(counter);
}

}  // namespace
}  // namespace corvanel::testing
