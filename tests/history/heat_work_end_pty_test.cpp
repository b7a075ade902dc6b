// SPDX-License-Identifier: GPL-3.0-or-later
// A cone 019 firing that ends on heat-work, fired by a kiln run on kiln-sim with weak
// elements over a pseudo-terminal, without Qt: the kiln falls behind the last climb, the
// peak comes down by the chart's difference for the rate it reached, the hold ends once
// the cone is reached by heat-work, and no set value passes the limits.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>

#include "history/heat_work_end.h"
#include "profiles/cone_firing.h"
#include "profiles/detached_editor.h"
#include "profiles/editor_typing.h"
#include "run/firing_record_writer.h"
#include "support/pty_kiln_run.h"

namespace corvanel::testing {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t Cone_019 = 3;  // its place in the chart
constexpr double Kiln_Speed = 180;   // kiln seconds a real second

// The program's hands on the kiln, as the features are given them.
struct Run_Access : Kiln_Access {
    explicit Run_Access(Kiln_Run& run) : Run(run) {}
    std::string Opened_Device() const override { return ""; }
    void Stop_Firing() override { Run.Soft_Off(); }
    void Ask_Change(const Asked_Change& change) override { Run.Ask_Change(change); }
    Kiln_Run& Run;
};

struct Moved_Peak {
    double From = 0, To = 0, Rate = 0, Measured = 0;
};

TEST(Heat_Work_End_On_Kiln_Sim, WeakElementsBringThePeakDownByTheChartAndTheHoldEndsAtTheCone) {
    Temp_Folder folder;
    const Program_Paths paths{folder.Path() / "studio"};
    fs::create_directories(paths.Folder() / "Profiles");
    // Cone 019 at medium speed with a two-hour hold, made and saved as New From Cone does.
    Cone_Firing_Choice choice;
    choice.Cone = "019";
    choice.Hold_Minutes = "120";
    const Cone_Firing_Plan plan = Plan_Cone_Firing(choice);
    ASSERT_EQ(plan.Peak_Temp, 1283);
    const std::string profile = paths.Profile_File("cone019.txt");
    {
        Detached_Editor editor;
        Type_Profile(editor.Editor, plan.Profile);
        editor.Save_To(profile);
        editor.Editor.mnuSaveFileAs_Click();
        ASSERT_TRUE(fs::exists(profile + ".heat-work")) << editor.Editor.User_Prompt;
    }

    // The elements give half their power from the first exchange: the kiln levels off
    // near 1,300 F, so it climbs the last 200 F well below the profile's 270 F/h.
    Settings_Store settings{paths};
    Pty_Kiln_Run kiln(folder, paths, settings, "kiln",
                      {"--units=0", "--scale=F", "--start-temp=820", "--weak-elements=at:1",
                       "--speed=" + std::to_string(static_cast<int>(Kiln_Speed))});
    Kiln_Run& run = kiln.Run;
    Run_Access access{run};
    Heat_Work_End end{paths, settings, access};
    end.Attach(run.Firing());
    Firing_Record_Writer record_writer{paths, "Corvanel"};
    run.Firing().Attach(record_writer);
    ASSERT_NO_FATAL_FAILURE(kiln.Load(profile, "cone019.txt", true));
    const double planned_end = run.Profile().Total_Time();
    // Part-way up the first ramp, where the plan is near the kiln.
    run.Begin_At(2.5);
    // The run's clock follows the kiln's: each tick it has moved on as far as the kiln has.
    const auto real_start = std::chrono::steady_clock::now();
    long long advanced = 0;
    run.Start_Profile();
    ASSERT_TRUE(run.Running()) << kiln.Sim.Log();
    while (run.Running()) {
        const double real =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - real_start).count();
        ASSERT_LT(real, 600) << "the firing did not end";
        const auto kiln_seconds = static_cast<long long>(real * Kiln_Speed);
        kiln.Clock.Advance(kiln_seconds - advanced);
        advanced = kiln_seconds;
        run.Control_Interval_Timer();
    }
    run.Firing().Detach(record_writer);

    const Firing_Record record =
        Parse_Firing_Record(Read_Whole_File(paths.Logfile("cone019.firing.csv")));
    std::vector<Moved_Peak> moves;
    const Firing_Record_Line* finished = nullptr;
    for (const Firing_Record_Line& line : record.Lines) {
        Moved_Peak move;
        move.Measured = line.Measured;
        const std::size_t why = line.Detail.find("; peak moved");
        if (line.Event == "segment changed" && why != std::string::npos &&
            std::sscanf(line.Detail.c_str() + why,
                        "; peak moved from %lf F to %lf F: the kiln climbed at %lf F/h", &move.From,
                        &move.To, &move.Rate) == 3)
            moves.push_back(move);
        if (line.Event == "profile finished") finished = &line;
    }
    ASSERT_FALSE(moves.empty()) << Read_Whole_File(paths.Logfile("cone019.firing.csv"));
    EXPECT_LE(moves.size(), static_cast<std::size_t>(Heat_Work_Most_Moves));
    EXPECT_EQ(moves.front().From, 1283);
    for (const Moved_Peak& move : moves) {
        SCOPED_TRACE(move.Rate);
        // Slower than the profile's 270 F/h, the peak comes down by the chart's difference
        // for the rate reached (to the whole degree the rate and peak are said in).
        EXPECT_LT(move.Rate, 270);
        EXPECT_NEAR(move.To - 1283, Chart_Temperature(Cone_019, move.Rate, "F") - 1283, 1.5);
        EXPECT_GE(move.To, move.Measured);
    }
    // The kiln's whole last climb, read from the record afterwards: the last peak asked is
    // the chart's for the rate it climbed at, within half the chart's spread for cone 019
    // between 108 and 270 F/h (its rate was still falling as the peak moved, and how far
    // depends on how the machine kept pace with the sped-up kiln).
    const Cone_Reached reached = Cone_Of_Firing(record);
    const double spread =
        Chart_Temperature(Cone_019, 270, "F") - Chart_Temperature(Cone_019, 108, "F");
    EXPECT_NEAR(moves.back().To, Chart_Temperature(Cone_019, reached.Climb_Rate, "F"), spread / 2)
        << reached.Climb_Rate;
    // The hold ended when the heat-work reached the cone, before the profile's own end, and
    // the record reads the cone.
    ASSERT_NE(finished, nullptr);
    EXPECT_EQ(finished->Detail, "cone 019 reached by heat-work");
    EXPECT_LT(finished->Elapsed, planned_end);
    EXPECT_EQ(Cone_Reached_Text(reached).English(), "cone 019");
    // Never beyond the limits: no set value above the chart's hottest figure for the cone
    // and its margin.
    for (int sent : kiln.Sim.Set_Values_Sent()) EXPECT_LE(sent, 1283 + 18);
}

}  // namespace
}  // namespace corvanel::testing
