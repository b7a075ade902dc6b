#include "run/firing_history.h"
#include "run/firing_chart.h"

#include <gtest/gtest.h>

#include "common/text.h"
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

struct History : ::testing::Test {
    Temp_Folder Folder;
    Program_Paths Paths{Folder.Path()};
    Fake_File_Dialog Dialog;
    std::vector<std::string> Printed;
    std::string Printed_To;
    std::optional<std::string> Printer_Answer = std::string();
    Firing_History Model{
        Paths, Dialog,
        [this](const Firing_Chart&, const std::vector<std::string>& lines, const std::string& pdf) {
            Printed = lines;
            Printed_To = pdf;
            return Printer_Answer;
        }};
    void SetUp() override {
        Write_Whole_File(Paths.Logfile("bisque.firing.csv"),
                         Record_Text("bisque.txt", "C", "H", {2027, 1, 5, 8, 0, 0}, 120, 520));
        Write_Whole_File(Paths.Logfile("glaze.firing.csv"),
                         Record_Text("glaze.txt", "F", "M", {2027, 2, 1, 9, 0, 0}, 60, 212));
        Write_Whole_File(Paths.Logfile("glaze.txt"), "125.00   1000 998  \r\n");  // not a record
        Model.Form_Load();
    }
};

// Two firings chosen are overlaid from elapsed 0 in the first one's units: the bisque in
// minutes and Fahrenheit beside the glaze. Their report is printed or said not to be; the
// table is exported with each firing's energy and no cost for a bad price, or said to be
// cancelled.
TEST_F(History, OverlaysTwoChosenFiringsPrintsTheirReportAndExportsTheTable) {
    ASSERT_EQ(Model.Rows.size(), 2u);  // the records only, newest first
    EXPECT_EQ(Model.Rows[0][1], "glaze.txt");
    EXPECT_FALSE(Model.Print_Report_Enabled);
    Model.Firings_Chosen({0, 1});
    ASSERT_EQ(Model.Chart.Series.size(), 6u);
    const Chart_Series& bisque = Model.Chart.Series[5];
    EXPECT_EQ(bisque.Name, "bisque.txt (2) measured");
    EXPECT_EQ(bisque.Points.front(), std::make_pair(0.0, 68.0));
    EXPECT_DOUBLE_EQ(bisque.Points.back().first, 120);   // 2 hours as minutes
    EXPECT_DOUBLE_EQ(bisque.Points.back().second, 968);  // 520 C
    EXPECT_EQ(Model.Chart.X_Max, 120);
    EXPECT_NE(Model.Summary.find("Profile: glaze.txt\r\n"), std::string::npos);
    EXPECT_NE(Model.Summary.find("Profile: bisque.txt\r\n"), std::string::npos);
    EXPECT_TRUE(Model.Print_Report_Enabled);

    Model.Print_Report_Click();
    EXPECT_EQ(Printed_To, (Folder.Path() / "Printouts" / "glaze_report.pdf").string());
    EXPECT_EQ(Join_Lines(Printed), Model.Summary);
    EXPECT_TRUE(Model.Messages.ends_with("Report printed\r\n"));
    Printer_Answer.reset();
    Model.Print_Report_Click();
    EXPECT_TRUE(Model.Messages.ends_with("Report could not be printed\r\n"));

    // A price that is not a number of 0 or more stays unset and is named.
    Write_Text_File(Paths.Setup_File("KilnPower.txt"), "12");
    Write_Text_File(Paths.Setup_File("EnergyPrice.txt"), "-3");
    Model.Form_Load();
    EXPECT_NE(Model.Messages.find("Setup/EnergyPrice.txt"), std::string::npos) << Model.Messages;
    EXPECT_EQ(Model.Messages.find("KilnPower"), std::string::npos) << Model.Messages;
    Model.Export_CSV_Click();
    EXPECT_TRUE(Model.Messages.ends_with("Export cancelled\r\n"));
    const std::string out = Folder.File("book.csv");
    Dialog.Answers.push_back(File_Dialog_Result::Chosen(out));
    Model.Export_CSV_Click();
    EXPECT_EQ(Read_Whole_File(out),
              "Start,Profile,Kiln,Duration,Peak,Outcome,Energy (kWh),Cost,Record\r\n"
              "2027-02-01 09:00,glaze.txt,-,1:00,212 F,unfinished,6.10,-,glaze.firing.csv\r\n"
              "2027-01-05 08:00,bisque.txt,-,2:00,520 C,unfinished,12.10,-,bisque.firing.csv\r\n");
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
    EXPECT_EQ(Axis_Ticks(-40, 125, 4), (std::vector<double>{0, 50, 100}));
    EXPECT_EQ(Axis_Ticks(0, 0.1 + 0.2, 3).size(), 4u);
    EXPECT_LE(Axis_Ticks(1e17, 1e17 + 64, 64).size(), 65u);
    EXPECT_TRUE(Axis_Ticks(5, 5, 6).empty());
}

}  // namespace
}  // namespace corvanel
