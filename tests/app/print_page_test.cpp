#include <gtest/gtest.h>

#include <QLabel>

#include "run/firing_chart_painter.h"
#include "run/firing_record.h"
#include "support/qt_rig.h"
#include "ui/print_profile.h"

namespace corvanel {
namespace {

TEST(Print_Page, WithoutAPrinterThePageBecomesAPdfWithTheChartAndTheTable) {
    testing::Make_Application();
    Temp_Folder folder;
    QLabel chart("a chart");
    chart.resize(400, 200);
    Printout printout{"Profile Name=quick_test.txt", {"Seg", "Start-Time"}, {}};
    for (int row = 0; row < 120; ++row) printout.Rows.push_back({std::to_string(row) + ".00", "r"});
    std::string pdf = folder.File("Printouts/quick_test.pdf");
    EXPECT_EQ(Print_Profile_Page(printout, &chart, pdf, false), pdf);
    std::string content = Read_Whole_File(pdf);
    ASSERT_GT(content.size(), 1000u);
    EXPECT_EQ(content.substr(0, 5), "%PDF-");
    EXPECT_NE(content.find("/Count 2"), std::string::npos);  // 120 rows run onto a second page

    EXPECT_EQ(Print_Profile_Page(printout, &chart, "/proc/no/such/place.pdf", false), "");
}

// The tool's plot files: each kind by its extension, with its own signature.
TEST(Chart_Files, EachKindIsWrittenByItsExtension) {
    testing::Make_Application();
    Temp_Folder folder;
    Firing_Record record = Parse_Firing_Record(
        "# plan: 0 20; 10 500\r\n2027-04-03T14:05:00+02:00,1.00,1,50,48,80,,\r\n"
        "2027-04-03T14:06:00+02:00,2.00,1,98,90,80,,\r\n");
    const Firing_Chart chart = Build_Firing_Chart({&record});
    for (auto [name, signature] : std::vector<std::pair<std::string, std::string>>{
             {"a.png", "\x89PNG"}, {"a.svg", "<?xml"}, {"a.pdf", "%PDF"}}) {
        EXPECT_EQ(Write_Chart_File(chart, folder.File(name)), "") << name;
        EXPECT_EQ(Read_Whole_File(folder.File(name)).substr(0, signature.size()), signature);
    }
    EXPECT_EQ(Write_Chart_File(chart, "/proc/no/such/a.svg"), "cannot be written");
}

}  // namespace
}  // namespace corvanel
