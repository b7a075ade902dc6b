// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/firing_history.h"
#include "run/firing_chart.h"

#include <gtest/gtest.h>

#include "common/text.h"
#include "history/firing_report.h"
#include "history/firing_summary.h"
#include "language/translate.h"
#include "run/firing_record.h"
#include "setup/setup_files.h"
#include "support/fake_platform.h"
#include "support/temp_folder.h"

namespace corvanel {
namespace {

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

// Two firings chosen are overlaid from elapsed 0 in the first one's units: the bisque in
// minutes and Fahrenheit beside the glaze. Their report is printed or said not to be; the
// table is exported with each firing's energy and no cost for a bad price, or said to be
// cancelled.
TEST(History, OverlaysTwoChosenFiringsPrintsTheirReportAndExportsTheTable) {
    Temp_Folder folder;
    Program_Paths paths{folder.Path()};
    Fake_File_Dialog dialog;
    std::vector<std::string> printed;
    std::optional<std::string> printer_answer = std::string();
    Firing_History model{
        paths, dialog,
        [&](const Firing_Chart&, const std::vector<std::string>& lines, const std::string&) {
            printed = lines;  // where the PDF goes is shown by the history window's own test
            return printer_answer;
        }};
    Write_Whole_File(paths.Logfile("bisque.firing.csv"),
                     Record_Text("bisque.txt", "C", "H", {2027, 1, 5, 8, 0, 0}, 120, 520));
    Write_Whole_File(paths.Logfile("glaze.firing.csv"),
                     Record_Text("glaze.txt", "F", "M", {2027, 2, 1, 9, 0, 0}, 60, 212));
    Write_Whole_File(paths.Logfile("glaze.txt"), "125.00   1000 998  \r\n");  // not a record
    model.Form_Load();
    ASSERT_EQ(model.Rows.size(), 2u);  // the records only, newest first
    EXPECT_EQ(model.Rows[0][1], "glaze.txt");
    EXPECT_FALSE(model.Print_Report_Enabled);
    model.Firings_Chosen({0, 1});
    ASSERT_EQ(model.Chart.Series.size(), 6u);
    const Chart_Series& bisque = model.Chart.Series[5];
    EXPECT_EQ(bisque.Name, "bisque.txt (2) measured");
    EXPECT_EQ(bisque.Points.front(), std::make_pair(0.0, 68.0));
    EXPECT_DOUBLE_EQ(bisque.Points.back().first, 120);   // 2 hours as minutes
    EXPECT_DOUBLE_EQ(bisque.Points.back().second, 968);  // 520 C
    EXPECT_EQ(model.Chart.X_Max, 120);
    EXPECT_NE(model.Summary.find("Profile: glaze.txt\r\n"), std::string::npos);
    EXPECT_NE(model.Summary.find("Profile: bisque.txt\r\n"), std::string::npos);
    EXPECT_TRUE(model.Print_Report_Enabled);

    model.Print_Report_Click();
    EXPECT_EQ(Join_Lines(printed), model.Summary);
    EXPECT_TRUE(model.Messages.ends_with("Report printed\r\n"));
    printer_answer.reset();
    model.Print_Report_Click();
    EXPECT_TRUE(
        model.Messages.ends_with("Report could not be printed\r\nCheck that the printer "
                                 "is on and ready, then print again\r\n"));

    // A price that is not a number of 0 or more stays unset and is named.
    Write_Text_File(paths.Setup_File("KilnPower.txt"), "12");
    Write_Text_File(paths.Setup_File("EnergyPrice.txt"), "-3");
    model.Form_Load();
    EXPECT_NE(model.Messages.find("Price per kWh: \"-3\" is not a number of 0 or more, so "
                                  "nothing is used."),
              std::string::npos)
        << model.Messages;
    EXPECT_EQ(model.Messages.find("Kiln Power"), std::string::npos) << model.Messages;
    model.Export_CSV_Click();
    EXPECT_TRUE(model.Messages.ends_with("Export cancelled\r\n"));
    const std::string out = folder.File("book.csv");
    dialog.Answers.push_back(File_Dialog_Result::Chosen(out));
    model.Export_CSV_Click();
    // Plain numbers for a spreadsheet, the units in the column names.
    EXPECT_EQ(
        Read_Whole_File(out),
        "start,profile,kiln,duration_min,peak,scale,outcome,energy_kWh,cost,record\r\n"
        "2027-02-01T09:00:00,glaze.txt,,60.0,212.0,F,unfinished,6.10,,glaze.firing.csv\r\n"
        "2027-01-05T08:00:00,bisque.txt,,120.0,520.0,C,unfinished,12.10,,bisque.firing.csv\r\n");
    // The table in German: decimal comma, the day first; what the potter reads.
    CurrentLanguage = "german";
    model.Now = [] { return Date_Time{2027, 2, 1, 12, 0, 0}; };
    model.Form_Load();
    CurrentLanguage = "";
    EXPECT_EQ(
        Join_Lines({model.Rows[0].begin(), model.Rows[0].end()}),
        Join_Lines({"09:00", "glaze.txt", "-", "1 h 00 min", "212 °F", "unfinished", "6,10", "-"}));
    EXPECT_EQ(model.Rows[1][0], "05.01.2027, 08:00");

    // Notes kept beside the record, found by the search, shown in the report.
    model.Firings_Chosen({1});
    ASSERT_TRUE(model.Notes_Enabled);
    model.Save_Notes_Click("Celadon test tiles, cone 6 bent at 3 o'clock");
    EXPECT_EQ(Read_Whole_File(paths.Logfile("bisque.notes")),
              "Celadon test tiles, cone 6 bent at 3 o'clock");
    model.Search_Changed("CELADON");
    ASSERT_EQ(model.Rows.size(), 1u);
    model.Firings_Chosen({0});
    EXPECT_EQ(model.Notes, "Celadon test tiles, cone 6 bent at 3 o'clock");
    EXPECT_NE(model.Summary.find("Notes:\r\nCeladon test tiles"), std::string::npos)
        << model.Summary;
    model.Firings_Chosen({});
    EXPECT_FALSE(model.Notes_Enabled);
    EXPECT_EQ(model.Chart.Empty_Hint, "Choose one or more firings in the table to see their chart");
    // A place that cannot be written (a file stands where the folder would be).
    dialog.Answers.push_back(File_Dialog_Result::Chosen(out + "/inside_a_file.csv"));
    model.Export_CSV_Click();
    EXPECT_NE(model.Messages.find("The firing table could not be written to "), std::string::npos);
    EXPECT_TRUE(model.Messages.ends_with("and export again\r\n")) << model.Messages;
}

// The watch after a run: its readings count for the peak, the time near it and the
// chart's measured trace; the duration, the ticks, the energy and the outcome stay the
// run's, and the report says how long the kiln was watched without listing each reading.
TEST(History, ReadingsAfterTheRunCountForThePeakAndTheChartNotForTheRun) {
    std::string text = Record_Text("glaze.txt", "F", "M", {2027, 2, 1, 9, 0, 0}, 60, 212);
    Firing_Record_Line line;
    line.Clock = {2027, 2, 1, 10, 0, 0};
    line.Elapsed = 60, line.Set_Value = line.Measured = 212;
    line.Event = "soft off";
    text += Firing_Record_Line_Text(line);
    line.Event = After_Run_Event;
    line.Set_Value = 70;
    for (int i = 1; i <= 3; ++i) {  // a welded relay
        line.Clock = Date_Time_Of_Seconds(Seconds_Of(line.Clock) + 60);
        line.Elapsed = 60 + i, line.Measured = 212 + 100 * i;
        text += Firing_Record_Line_Text(line);
    }
    line.Event = "alarm raised", line.Detail = "Kiln heating with output off";
    text += Firing_Record_Line_Text(line);
    line.Event = "after run ended", line.Detail = "new firing";
    text += Firing_Record_Line_Text(line);
    const Firing_Record record = Parse_Firing_Record(text);
    const Firing_Summary summary = Summarise(record, Energy_Settings{12.0, {}});
    EXPECT_EQ(summary.Peak, 512);
    EXPECT_EQ(summary.Seconds_Near_Peak, 60);
    EXPECT_EQ(summary.Duration_Seconds, 3600);
    EXPECT_EQ(summary.Seconds_After_Run, 180);
    EXPECT_EQ(summary.Ticks, 61u);
    EXPECT_DOUBLE_EQ(*summary.Energy_kWh, 61 * 0.5 * 12 / 60);
    const std::vector<std::string> report = Firing_Report_Lines(record, summary, Report_Style{});
    const std::string events = Join_Lines(report);
    EXPECT_NE(events.find("\r\nWatched after the run: 3 min\r\n"), std::string::npos) << events;
    EXPECT_EQ(events.find("after run\r\n"), std::string::npos) << events;
    EXPECT_TRUE(
        events.ends_with("10:03  alarm raised: Kiln heating with output off\r\n"
                         "1 Feb 2027, 10:03  after run ended: new firing"))
        << events;
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
    EXPECT_EQ(Axis_Ticks(0, 8, 8), (std::vector<double>{0, 1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(Round_Step(7, 1), 10);  // one part: the whole span, rounded up
    EXPECT_EQ(Axis_Ticks(-40, 125, 4), (std::vector<double>{0, 50, 100}));
    EXPECT_EQ(Axis_Ticks(995, 1005, 5), (std::vector<double>{996, 998, 1000, 1002, 1004}));
    EXPECT_EQ(Axis_Ticks(0, 0.1 + 0.2, 3).size(), 4u);
    EXPECT_LE(Axis_Ticks(1e17, 1e17 + 64, 64).size(), 65u);
    EXPECT_TRUE(Axis_Ticks(5, 5, 6).empty());
    EXPECT_EQ(Axis_Ticks(0, 1800, 2), (std::vector<double>{0, 1000}));  // past 5: the next ten
}

}  // namespace
}  // namespace corvanel
