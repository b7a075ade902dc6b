#include <gtest/gtest.h>

#include <QLabel>

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

}  // namespace
}  // namespace corvanel
