// SPDX-License-Identifier: GPL-3.0-or-later
// The firing history's table, chart and report, and the kiln's health read from its records.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "common/text.h"
#include "history/firing_history.h"
#include "history/firing_report.h"
#include "history/firing_summary.h"
#include "history/kiln_health.h"
#include "history/kiln_health_model.h"
#include "history/kiln_health_reading.h"
#include "history/kiln_pace_check.h"
#include "history/witness_cones.h"
#include "language/translate.h"
#include "profiles/cone_table.h"
#include "run/firing_chart.h"
#include "run/firing_record.h"
#include "setup/setup_files.h"
#include "support/fake_platform.h"
#include "support/temp_folder.h"
#include "support/worked_example.h"
#include "synthetic_firing.h"

namespace corvanel {
namespace {

using ::testing::AllOf, ::testing::EndsWith, ::testing::HasSubstr, ::testing::Not;

// A record of a ramp from 20 to `peak`: one tick a minute for `minutes` minutes.
std::string Record_Text(const std::string& profile, const std::string& scale,
                        const std::string& unit, Date_Time start, int minutes, double peak) {
    Firing_Record_Header header;
    header.Profile_Name = profile;
    header.Temp_Scale = scale;
    header.Time_Unit = unit;
    header.Tick_Length = 60;
    header.Plan = {{0, 20}, {unit == "H" ? minutes / 60.0 : minutes, peak}};
    std::string text = Firing_Record_Header_Text(header);
    Firing_Record_Line line;
    for (int i = 0; i <= minutes; ++i) {
        line.Clock = Date_Time_Of_Seconds(Seconds_Of(start) + i * 60);
        line.Elapsed = unit == "H" ? i / 60.0 : i;
        line.Set_Value = line.Measured = 20 + (peak - 20) * i / minutes;
        line.Output_Percent = 50;
        text += Firing_Record_Line_Text(line);
    }
    return text;
}

// A program folder of the test's own, its settings and its file dialog.
struct Program_Folder : ::testing::Test {
    Temp_Folder Folder;
    Program_Paths Paths{Folder.Path()};
    Settings_Store Settings{Paths};
    Fake_File_Dialog Dialog;
};
using History = Program_Folder;
using Kiln_Health = Program_Folder;

// Two firings chosen are overlaid from elapsed 0 in the first one's units: the bisque in
// minutes and Fahrenheit beside the glaze. Their report is printed or said not to be; the
// table is exported with each firing's energy and no cost for a bad price, or said to be
// cancelled.
TEST_F(History, OverlaysTwoChosenFiringsPrintsTheirReportAndExportsTheTable) {
    std::vector<std::string> printed;
    std::optional<std::string> printer_answer = std::string();
    Firing_History model{
        Paths, Settings, Dialog,
        [&](const Firing_Chart&, const std::vector<std::string>& lines, const std::string&) {
            printed = lines;  // where the PDF goes is shown by the history window's own test
            return printer_answer;
        }};
    Write_Whole_File(Paths.Logfile("bisque.firing.csv"),
                     Record_Text("bisque.txt", "C", "H", {2027, 1, 5, 8, 0, 0}, 120, 520));
    Write_Whole_File(Paths.Logfile("glaze.firing.csv"),
                     Record_Text("glaze.txt", "F", "M", {2027, 2, 1, 9, 0, 0}, 60, 212));
    Write_Whole_File(Paths.Logfile("glaze.txt"), "125.00   1000 998  \r\n");  // not a record
    model.Form_Load();
    ASSERT_EQ(model.Rows.size(), 2u);  // the records only (newest first: the German table)
    EXPECT_FALSE(model.Print_Report_Enabled);
    model.Firings_Chosen({0, 1});
    ASSERT_EQ(model.Chart.Series.size(), 6u);
    const Chart_Series& bisque = model.Chart.Series[5];
    EXPECT_EQ(bisque.Name, "bisque.txt (2) measured");
    EXPECT_EQ(bisque.Points.front(), std::make_pair(0.0, 68.0));
    EXPECT_DOUBLE_EQ(bisque.Points.back().first, 120);   // 2 hours as minutes
    EXPECT_DOUBLE_EQ(bisque.Points.back().second, 968);  // 520 C
    EXPECT_EQ(model.Chart.X_Max, 120);
    EXPECT_THAT(model.Summary, HasSubstr("Profile: glaze.txt\r\n"));
    EXPECT_THAT(model.Summary, HasSubstr("Profile: bisque.txt\r\n"));
    EXPECT_TRUE(model.Print_Report_Enabled);

    model.Print_Report_Click();
    EXPECT_EQ(Join_Lines(printed), model.Summary);
    EXPECT_THAT(model.Messages, EndsWith("Report printed\r\n"));
    printer_answer.reset();
    model.Print_Report_Click();
    EXPECT_THAT(model.Messages, EndsWith("Report could not be printed\r\nCheck that the printer "
                                         "is on and ready, then print again\r\n"));

    Write_Text_File(Paths.Setup_File("KilnPower.txt"), "12");
    Write_Text_File(Paths.Setup_File("EnergyPrice.txt"), "-3");
    model.Form_Load();
    EXPECT_THAT(model.Messages, HasSubstr("Price per kWh: \"-3\" is not a number of 0 or more, so "
                                          "nothing is used."));
    EXPECT_THAT(model.Messages, Not(HasSubstr("Kiln Power")));
    model.Export_CSV_Click();
    EXPECT_THAT(model.Messages, EndsWith("Export cancelled\r\n"));
    const std::string out = Folder.File("book.csv");
    Dialog.Answers.push_back(File_Dialog_Result::Chosen(out));
    model.Export_CSV_Click();
    // Plain numbers for a spreadsheet, the units in the column names.
    EXPECT_EQ(Read_Whole_File(out),
              "start,profile,kiln,duration_min,peak,scale,outcome,cone,energy_kWh,cost,record\r\n"
              "2027-02-01T09:00:00,glaze.txt,,60.0,212.0,F,unfinished,below cone 022,6.10,,"
              "glaze.firing.csv\r\n"
              "2027-01-05T08:00:00,bisque.txt,,120.0,520.0,C,unfinished,below cone 022,12.10,,"
              "bisque.firing.csv\r\n");
    // The table in German: decimal comma, the day first; what the potter reads.
    CurrentLanguage = "german";
    model.Now = [] { return Date_Time{2027, 2, 1, 12, 0, 0}; };
    model.Form_Load();
    CurrentLanguage = "";
    EXPECT_EQ(Join_Lines({model.Rows[0].begin(), model.Rows[0].end()}),
              Join_Lines({"09:00", "glaze.txt", "not named (SetUp -> SetDeviceName)", "1 h 00 min",
                          "212 °F", "unfinished", "below cone 022", "6,10", "-"}));
    EXPECT_EQ(model.Rows[1][0], "05.01.2027, 08:00");

    // Notes kept beside the record, found by the search, shown in the report.
    model.Firings_Chosen({1});
    ASSERT_TRUE(model.Notes_Enabled);
    model.Save_Notes_Click("Celadon test tiles, cone 6 bent at 3 o'clock");
    EXPECT_EQ(Read_Whole_File(Paths.Logfile("bisque.notes")),
              "Celadon test tiles, cone 6 bent at 3 o'clock");
    model.Search_Changed("CELADON");
    ASSERT_EQ(model.Rows.size(), 1u);
    model.Firings_Chosen({0});
    EXPECT_EQ(model.Notes, "Celadon test tiles, cone 6 bent at 3 o'clock");
    EXPECT_THAT(model.Summary, HasSubstr("Notes:\r\nCeladon test tiles"));
    model.Firings_Chosen({});
    EXPECT_FALSE(model.Notes_Enabled);
    EXPECT_EQ(model.Chart.Empty_Hint, "Choose one or more firings in the table to see their chart");
    // A place that cannot be written (a file stands where the folder would be).
    Dialog.Answers.push_back(File_Dialog_Result::Chosen(out + "/inside_a_file.csv"));
    model.Export_CSV_Click();
    EXPECT_THAT(model.Messages, HasSubstr("The firing table could not be written to "));
    EXPECT_THAT(model.Messages, EndsWith("and export again\r\n"));
}

// Witness cones are kept beside a record and read against the program's cone; after
// three firings of a kiln its offset is proposed, and shown only once the operator takes it
// (the window's own test shows the table unchanged until then).
TEST_F(History, WitnessConesOfThreeFiringsProposeTheKilnsOffsetWhichTheOperatorTakes) {
    Firing_History model{Paths, Settings, Dialog, nullptr};
    Write_Synthetic_Firings(Paths.Logfiles_Folder(), {4, 5, 6},
                            [](Synthetic_Firing& firing, int day) {
                                firing.Peak = 2080 + 15 * day;
                                firing.Kiln = "Kiln A";
                            });
    std::vector<std::string> witness;  // newest first, as the table lists them
    for (int day = 4; day <= 6; ++day) {
        const Firing_Record record = Parse_Firing_Record(
            Read_Whole_File(Paths.Logfile("glaze" + std::to_string(day) + ".firing.csv")));
        // The potter saw the cone after the program's nearest one go down.
        const Cone_Reached cone = Summarise(record, {}).Cone;
        ASSERT_EQ(cone.Reached, Cone_Reached::Reach::On_Chart);
        const auto next = static_cast<std::size_t>(std::lround(cone.Position)) + 1;
        witness.insert(witness.begin(), std::string(Cone_Table()[next].Cone) + " down, " +
                                            std::string(Cone_Table()[next + 1].Cone) + " standing");
    }
    model.Form_Load();
    ASSERT_EQ(model.Rows.size(), 3u);
    model.Firings_Chosen({0});
    model.Save_Witness_Cones_Click("5 wobbly");
    EXPECT_THAT(model.Messages, HasSubstr("could not be read at \"5 wobbly\""));
    EXPECT_FALSE(std::filesystem::exists(Paths.Logfile("glaze6.cones")));
    for (int row = 0; row < 3; ++row) {
        model.Firings_Chosen({row});
        EXPECT_FALSE(model.Take_Cone_Offset_Enabled) << row;
        EXPECT_THAT(model.Cone_Offset_Proposal,
                    HasSubstr(std::to_string(3 - row) + " more firings"));
        model.Save_Witness_Cones_Click(witness[static_cast<std::size_t>(row)]);
    }
    EXPECT_THAT(model.Summary, HasSubstr("Witness cones: " + witness[2] + " (cone "));
    EXPECT_THAT(model.Cone_Offset_Proposal, HasSubstr("last 3 firings of this kiln read +"));
    ASSERT_TRUE(model.Take_Cone_Offset_Enabled);
    model.Take_Cone_Offset_Click();
    EXPECT_FALSE(model.Take_Cone_Offset_Enabled);
    EXPECT_THAT(model.Messages, HasSubstr("Cone offset taken: +"));
    const Cone_Offset taken = Read_Cone_Offset(Settings);
    EXPECT_NEAR(taken.Cones, 1, 0.5);
    model.Form_Load();
    model.Firings_Chosen({0});
    EXPECT_THAT(model.Summary, HasSubstr("Cone offset of this kiln: +"));
    EXPECT_THAT(model.Cone_Offset_Proposal, HasSubstr("read +"));
}

// The watch after a run: its readings count for the peak, the time near it and the
// chart's measured trace; the duration, the ticks, the energy and the outcome stay the
// run's, and the report says how long the kiln was watched without listing each reading.
TEST_F(History, ReadingsAfterTheRunCountForThePeakAndTheChartNotForTheRun) {
    const Firing_Record record = Parse_Firing_Record(
        Record_Text("glaze.txt", "F", "M", {2027, 2, 1, 9, 0, 0}, 60, 212) +
        "2027-02-01T10:00:00+00:00,60.00,0,212,212,0,soft off,\r\n"
        "2027-02-01T10:01:00+00:00,61.00,0,70,312,0,after run,\r\n"  // a welded relay
        "2027-02-01T10:02:00+00:00,62.00,0,70,412,0,after run,\r\n"
        "2027-02-01T10:03:00+00:00,63.00,0,70,512,0,after run,\r\n"
        "2027-02-01T10:03:00+00:00,63.00,0,70,512,0,alarm raised,Kiln heating with output off\r\n"
        "2027-02-01T10:03:00+00:00,63.00,0,70,512,0,after run ended,new firing\r\n");
    const Firing_Summary summary = Summarise(record, Energy_Settings{12.0, {}});
    EXPECT_EQ(summary.Peak, 512);
    EXPECT_EQ(summary.Seconds_Near_Peak, 60);
    EXPECT_EQ(summary.Duration_Seconds, 3600);
    EXPECT_EQ(summary.Seconds_After_Run, 180);
    EXPECT_EQ(summary.Ticks, 61u);
    EXPECT_DOUBLE_EQ(*summary.Energy_kWh, 61 * 0.5 * 12 / 60);
    const std::vector<std::string> report = Firing_Report_Lines(record, summary, Report_Style{});
    const std::string events = Join_Lines(report);
    EXPECT_THAT(events, HasSubstr("\r\nWatched after the run: 3 min\r\n"));
    EXPECT_THAT(events, Not(HasSubstr("after run\r\n")));
    EXPECT_THAT(events, EndsWith("10:03  alarm raised: Kiln heating with output off\r\n"
                                 "1 Feb 2027, 10:03  after run ended: new firing"));
    // Ended by an alarm: the report names it, and how to name a kiln that has no name.
    const Firing_Record alarmed = Parse_Firing_Record(
        Record_Text("glaze.txt", "F", "M", {2027, 2, 1, 9, 0, 0}, 60, 212) +
        "2027-02-01T10:00:00+00:00,60.00,0,212,212,0,alarm raised,Over-temperature\r\n"
        "2027-02-01T10:00:00+00:00,60.00,0,70,212,0,soft off,\r\n");
    EXPECT_THAT(Join_Lines(Firing_Report_Lines(alarmed, Summarise(alarmed, {}), Report_Style{})),
                AllOf(HasSubstr("Kiln: not named (SetUp -> SetDeviceName)\r\n"),
                      HasSubstr("How it ended: alarm: Over-temperature\r\n")));
    Firing_Summary brief = summary;
    brief.Seconds_After_Run = 1;  // one reading a second after the run is still said
    EXPECT_THAT(Join_Lines(Firing_Report_Lines(record, brief, Report_Style{})),
                HasSubstr(": 1 s\r\n"));
    const Firing_Chart chart = Build_Firing_Chart({&record});
    ASSERT_EQ(chart.Series.size(), 3u);
    EXPECT_EQ(chart.Series[1].Points.back(), std::make_pair(60.0, 212.0));  // set value
    EXPECT_EQ(chart.Series[2].Points.back(), std::make_pair(63.0, 512.0));  // measured
}

// A firing of a single tick is still drawn on an axis: one time unit wide. The labels are
// round steps; far from zero, where a step is below the values' precision, they still come
// to an end.
TEST(Firing_Chart, ASingleTickGetsAnAxisAndTheLabelsAreRoundSteps) {
    Firing_Record record = Parse_Firing_Record(Firing_Record_Header_Text({}) +
                                               "2027-01-05T08:00:00+00:00,5,1,100,100,0,,\r\n");
    ASSERT_EQ(record.Lines.size(), 1u);
    const Firing_Chart chart = Build_Firing_Chart({&record});
    EXPECT_EQ(chart.X_Min, 5);
    EXPECT_EQ(chart.X_Max, 6);
    EXPECT_EQ(chart.Y_Max, 105);
    record = Parse_Firing_Record(Firing_Record_Header_Text({}) +
                                 "2027-01-05T08:00:00+00:00,5,1,0,0,0,,\r\n");  // and reads 0
    EXPECT_DOUBLE_EQ(Build_Firing_Chart({&record}).Y_Max, 1.05) << "a degree tall";
    EXPECT_EQ(Axis_Ticks(0, 8, 8), (std::vector<double>{0, 1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(Round_Step(7, 1), 10);  // one part: the whole span, rounded up
    EXPECT_EQ(Axis_Ticks(-40, 125, 4), (std::vector<double>{0, 50, 100}));
    EXPECT_EQ(Axis_Ticks(995, 1005, 5), (std::vector<double>{996, 998, 1000, 1002, 1004}));
    EXPECT_EQ(Axis_Ticks(0, 0.1 + 0.2, 3).size(), 4u);
    EXPECT_LE(Axis_Ticks(1e17, 1e17 + 64, 64).size(), 65u);
    EXPECT_TRUE(Axis_Ticks(5, 5, 6).empty());
    EXPECT_EQ(Axis_Ticks(0, 1800, 2), (std::vector<double>{0, 1000}));  // past 5: the next ten
}

double Rate(const Firing_Health& health, std::size_t band) {
    return health.Full_Power_Rate[band].Value.value_or(-1);
}

TEST_F(Kiln_Health, RatesAtFullOutputAreReadInEachBandTheFiringCrossed) {
    const Firing_Health glaze = Synthetic_Firing{}.Health();
    for (auto [band, rate] : {std::pair{0, 600.0}, {1, 480.0}, {2, 300.0}})
        EXPECT_NEAR(Rate(glaze, band), rate, rate / 100) << band;
    // The last 200 F climbed at 300 F/h: 40 minutes.
    EXPECT_NEAR(glaze.Last_200_Minutes.Value.value_or(0), 40, 1);
    // Half the ticks-worth of the hold at half output: the share is the climb's ticks.
    EXPECT_GT(glaze.Full_Output_Share.Value.value_or(0), 0.8);
    EXPECT_LT(glaze.Full_Output_Share.Value.value_or(1), 1);
    EXPECT_NEAR(glaze.Ramp_Lag.Value.value_or(0), 40, 1);
    EXPECT_EQ(glaze.Outcome, Firing_Outcome::Finished);

    // A bisque to 1,200 F: the top band is not reached; the middle one is read from what
    // it climbed of it.
    Synthetic_Firing bisque;
    bisque.Peak = 1200;
    const Firing_Health low = bisque.Health();
    EXPECT_NEAR(Rate(low, 1), 480, 5);
    EXPECT_FALSE(low.Full_Power_Rate[2].Value);
    EXPECT_EQ(low.Full_Power_Rate[2].Omitted, "the firing did not reach this band");

    // A kiln held back by its controller has no rate at full output to give.
    Synthetic_Firing slow;
    slow.Output = 60;
    const Firing_Health held = slow.Health();
    for (const Health_Figure& rate : held.Full_Power_Rate) {
        EXPECT_EQ(rate.Omitted, "the kiln did not heat through this band at full power");
    }
    EXPECT_EQ(held.Full_Output_Share.Value, 0);

    // A Celsius firing on the same kiln gives the same figures, kept in Fahrenheit.
    const Firing_Health c = Synthetic_Firing{}.Celsius().Health();
    EXPECT_EQ(c.Temp_Scale, "C");
    EXPECT_NEAR(Rate(c, 0), 600, 6);
    EXPECT_NEAR(Rate(c, 2), 300, 3);

    // A gap is not climbed through, and a cut-off last climb is not timed.
    Synthetic_Firing cut;
    cut.Gap_At = 1950, cut.Gap_Minutes = 45;
    const Firing_Health health = cut.Health();
    EXPECT_NEAR(Rate(health, 2), 300, 3);
    EXPECT_FALSE(health.Last_200_Minutes.Value);
    EXPECT_EQ(health.Last_200_Minutes.Omitted, "the firing was cut off during its last climb");
    cut.Gap_At = 2097.5;  // the last tick before the peak
    EXPECT_EQ(cut.Health().Last_200_Minutes.Omitted, health.Last_200_Minutes.Omitted);
}

TEST_F(Kiln_Health, HostileRecordsGiveReasonsNeverACrash) {
    EXPECT_EQ(Work_Out_Health(Parse_Firing_Record("")).Ramp_Lag.Omitted,
              "the record holds no readings of a run");
    std::mt19937 random(7);
    const std::string good = Synthetic_Firing{}.Text();
    for (int round = 0; round < 200; ++round) {
        std::string text = good.substr(0, random() % good.size());
        if (text.empty()) continue;
        for (int k = 0; k < 20; ++k) text[random() % text.size()] = static_cast<char>(random());
        const Firing_Health health = Work_Out_Health(Parse_Firing_Record(text));
        for (const Health_Figure& figure : health.Full_Power_Rate) {
            EXPECT_NE(figure.Value.has_value(), !figure.Omitted.empty());
        }
    }
}

TEST_F(Kiln_Health, FiguresAreKeptBesideTheRecordAndWorkedOutAgainWhenItChanges) {
    const std::string record = Folder.File("glaze.firing.csv");
    Write_Whole_File(record, Synthetic_Firing{}.Text());
    const std::string kept = Folder.File("glaze.health");
    ASSERT_TRUE(Kept_Health(record));
    ASSERT_TRUE(std::filesystem::exists(kept));

    // The kept figures stand for the record: a changed number there is what is read.
    std::string text = Read_Whole_File(kept);
    const std::size_t at = text.find("rate_1=");
    text.replace(at, text.find('\n', at) - at, "rate_1=123");
    Write_Whole_File(kept, text);
    EXPECT_EQ(Rate(*Kept_Health(record), 0), 123);

    // A record that grew, or a torn kept file, is worked out again.
    Write_Whole_File(record, Synthetic_Firing{}.Text() + "\r\n");
    EXPECT_NEAR(Rate(*Kept_Health(record), 0), 600, 6);
    Write_Whole_File(kept, Read_Whole_File(kept).substr(0, 40));
    EXPECT_NEAR(Rate(*Kept_Health(record), 0), 600, 6);
    // An older method's figures are not taken.
    text = Read_Whole_File(kept);
    text.replace(0, text.find('\n'), "method=0");
    text.replace(text.find("rate_1="), 10, "rate_1=123");
    Write_Whole_File(kept, text);
    EXPECT_NEAR(Rate(*Kept_Health(record), 0), 600, 6);
}

// Firings of a kiln whose top band slows by `loss` each firing from `from` on.
std::vector<Firing_Health> Wearing_Kiln(int count, double loss, int from = 0) {
    std::vector<Firing_Health> firings;
    double top = 300;
    for (int i = 0; i < count; ++i) {
        Firing_Health firing;
        firing.Has_Start = true;
        firing.Start = Date_Time_Of_Seconds(Seconds_Of({2027, 1, 4, 8, 0, 0}) + i * 7 * 86400LL);
        if (i >= from) top *= 1 - loss;
        firing.Full_Power_Rate[1].Value = 480;
        firing.Full_Power_Rate[2].Value = top;
        firing.Last_200_Minutes.Value = 200 / top * 60;
        firings.push_back(firing);
    }
    return firings;
}

TEST_F(Kiln_Health, TheReadingComparesTheLatestFiringsWithTheBaseline) {
    const Kiln_Health_Settings settings;
    std::vector<Health_Reading> readings =
        Read_Kiln_Health(Wearing_Kiln(3, 0.05), {}, settings, "F");
    EXPECT_EQ(readings.front().Says, Health_Reading::Level::Too_Few);

    readings = Read_Kiln_Health(Wearing_Kiln(12, 0.02, 3), {}, settings, "F");
    // Baseline 300, 300, 300; the last three 300 * 0.98^7..9: about 15.5% slower.
    EXPECT_EQ(readings.front().Says, Health_Reading::Level::Watch);
    EXPECT_EQ(readings.front().Text.English(),
              "At full power the kiln now heats 15% slower between 1,500 °F and 2,000 °F than in "
              "its first firings from 4 January 2027: the elements are wearing; watch the next "
              "firings.");
    // The trend that shows it is the band's; the pace of the last nine firings, on.
    EXPECT_EQ(readings.front().Measure, Health_Measure::Rate_Band_3);
    ASSERT_EQ(readings.size(), 3u);
    EXPECT_EQ(readings[1].Text.English(),
              "At this pace it is 20% slower, where new elements are due, in about 3 firings.");
    EXPECT_EQ(readings[2].Text.English(),
              "The last climb to the peak now takes 18% longer than in its first firings from "
              "4 January 2027.");

    readings = Read_Kiln_Health(Wearing_Kiln(12, 0.04, 3), {}, settings, "C");
    EXPECT_EQ(readings.front().Says, Health_Reading::Level::Replace);
    EXPECT_THAT(readings.front().Text.English(), HasSubstr("between 815 °C and 1,095 °C"));
}

TEST_F(Kiln_Health, BeforeAFiringTheSegmentsTheKilnCannotFollowAreSaid) {
    std::vector<Firing_Health> firings = Wearing_Kiln(4, 0);
    for (Firing_Health& firing : firings) firing.Full_Power_Rate[2].Value = 210;
    firings.front().Full_Power_Rate[2].Value = 150;  // not among the latest three
    const Date_Time now = Date_Time_Of_Seconds(Seconds_Of(firings.back().Start) + 86400);
    // Four segments; the fourth asks 300 F/h from 1,800 to 2,100 F (an hour), where the
    // kiln managed 210: 300/210 h, about 26 minutes behind. The others it can follow.
    const Plan_Points plan = {{0, 0}, {0, 70}, {120, 1000}, {360, 1800}, {420, 1800}, {480, 2100}};
    std::vector<Operator_Text> said = Check_Profile_Pace(plan, "F", "M", firings, {}, {}, now);
    ASSERT_EQ(said.size(), 1u);
    EXPECT_EQ(said[0].English(),
              "Segment 4 asks 300 °F/h above 1,800 °F; your kiln managed 210 °F/h there last "
              "month: expect about 26 min behind the plan.");
    Plan_Points in_hours = plan;
    for (auto& point : in_hours) point.first /= 60;
    const auto hours = Check_Profile_Pace(in_hours, "F", "H", firings, {}, {}, now);
    ASSERT_EQ(hours.size(), 1u);
    EXPECT_EQ(hours[0].English(), said[0].English()) << "the same plan in hours";
    // A kiln with no firing through the band, or only before new elements, says nothing.
    EXPECT_TRUE(Check_Profile_Pace(plan, "F", "M", {}, {}, {}, now).empty());
    const Kiln_Event fitted{
        {now.Year, now.Month, now.Day, 0, 0, 0}, Kiln_Event_Kind::Elements_Replaced, ""};
    EXPECT_TRUE(Check_Profile_Pace(plan, "F", "M", firings, {fitted}, {}, now).empty());
}

// The potter's kiln managed 500 F/h up to 1,000 F in its last firings; the worked example
// asks 930 F/h from 70 to 1,000 F. RUN PROFILE says so (the firing starts all the same),
// and so does the editor's check of the profile file, until the setting turns it off.
TEST_F(Kiln_Health, RunProfileAndTheEditorSayWhatTheKilnCannotFollow) {
    Write_Synthetic_Firings(
        Paths.Logfiles_Folder(), {4, 11, 18},
        [](Synthetic_Firing& firing, int) { firing.Rates.front().second = 500; });
    const std::string profile = Paths.Profile_File("example.txt");
    Write_Whole_File(profile, Worked_Example_Text());
    Recorded_Messages said;
    Kiln_Pace_Check check(Paths, Settings, said, said);
    Firing_Status status;
    Firing_Record_Header header;
    ASSERT_TRUE(Header_Of_Profile_File(profile, header));
    status.Plan = std::make_shared<const Plan_Points>(header.Plan);
    status.Clock = {2027, 2, 1, 9, 0, 0};
    check.Firing_Changed(status, Firing_Event::Tick, "");
    EXPECT_TRUE(said.Lines.empty());
    check.Firing_Changed(status, Firing_Event::Start, "");
    const std::vector<std::string> expected = {
        "Segment 1 asks 930 °F/h above 600 °F; your kiln managed 500 °F/h there last month: "
        "expect about 22 min behind the plan."};
    EXPECT_EQ(said.Lines, expected);
    said.Clear();
    check.Check_Profile_File(profile, status.Clock);
    EXPECT_EQ(said.Lines, expected);

    // Once the records have settled the kiln's model says it, from the kiln's own rate all
    // the way from 70 F: 930 F/h asked of a kiln that climbs 500 F/h there, 930/500 of the
    // planned hour.
    for (int day : {4, 11, 18}) {
        std::filesystem::last_write_time(
            Paths.Logfile("glaze" + std::to_string(day) + ".firing.csv"),
            std::filesystem::file_time_type::clock::now() - std::chrono::hours(1));
    }
    said.Clear();
    check.Check_Profile_File(profile, status.Clock);
    EXPECT_EQ(said.Lines, std::vector<std::string>{
                              "Segment 1 asks 930 °F/h above 70 °F; your kiln managed 500 °F/h "
                              "there last month: expect about 51 min behind the plan."});

    said.Clear();
    check.Check_Profile_File(Paths.Logfile("glaze4.firing.csv"), status.Clock);
    ASSERT_EQ(said.Lines.size(), 1u);
    EXPECT_EQ(said.Lines[0].substr(0, 49), "glaze4.firing.csv is not a profile that can be ch");

    Write_Whole_File(Folder.File("Setup/KilnHealth.txt"), "Check_At_Start=0\r\n");
    said.Clear();
    check.Firing_Changed(status, Firing_Event::Start, "");
    EXPECT_TRUE(said.Lines.empty());
}

// The Kiln Health window's model: the trend of a measure with its baseline, and an event
// marked on a day starts a new baseline; a day that is not one is refused in words.
TEST_F(Kiln_Health, TheWindowShowsTheTrendAndMarksEventsThatStartANewBaseline) {
    Write_Synthetic_Firings(
        Paths.Logfiles_Folder(), {0, 1, 2, 3, 4, 5, 6, 7}, [](Synthetic_Firing& firing, int week) {
            firing.Start =
                Date_Time_Of_Seconds(Seconds_Of({2027, 1, 4, 8, 0, 0}) + week * 7 * 86400LL);
            firing.Rates.back().second = week < 3 ? 300 : 240;
        });
    Kiln_Health_Model model(Paths, Settings);
    model.Form_Load();
    EXPECT_EQ(model.Firings, 8u);
    ASSERT_EQ(model.Trend.size(), 8u);
    EXPECT_TRUE(model.Trend[2].In_Baseline);
    EXPECT_FALSE(model.Trend[3].In_Baseline);
    EXPECT_NEAR(model.Baseline.value_or(0), 300, 3);
    EXPECT_EQ(model.Readings.substr(0, 48), "At full power the kiln now heats 20% slower betw");

    model.Mark_Event_Click(Kiln_Event_Kind::Elements_Replaced, "2027-02-30", "");
    EXPECT_EQ(model.Messages,
              "2027-02-30 is not a day the kiln's event can be marked on\r\n"
              "Type the day as year-month-day, for example 2027-03-12\r\n");
    model.Clear();
    model.Mark_Event_Click(Kiln_Event_Kind::Elements_Replaced, "2027-01-25",
                           "new set, \"Kanthal\"");
    ASSERT_EQ(model.Events.size(), 1u);
    EXPECT_EQ(model.Events[0].Text, "elements replaced");
    EXPECT_EQ(Read_Kiln_Events(Paths.Logfiles_Folder())[0].Note, "new set, \"Kanthal\"");
    EXPECT_NEAR(model.Baseline.value_or(0), 240, 3);
    EXPECT_EQ(model.Readings,
              "At full power the kiln heats about as fast as with the elements "
              "fitted on 25 January 2027.");
    // A line that is no event (typed in by hand) is left out and said.
    const std::string events = Paths.Logfile(Kiln_Events_File);
    Write_Whole_File(events, Read_Whole_File(events) + "2027-01-26,new paint\r\n");
    std::vector<Problem> problems;
    EXPECT_EQ(Read_Kiln_Events(Paths.Logfiles_Folder(), &problems).size(), 1u);
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_THAT(problems[0].English(), HasSubstr("2027-01-26,new paint"));
}

}  // namespace
}  // namespace corvanel
