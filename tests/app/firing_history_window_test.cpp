// The firing record and the Firing History window in the whole program: a firing against
// kiln-sim leaves its record, File -> "Firing History" lists it, draws it and prints it.

#include <QAction>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>

#include "program_rig.h"
#include "run/firing_chart_painter.h"
#include "run/firing_history_window.h"
#include "run/firing_record.h"

namespace corvanel::testing {
namespace {

using Firing_History_Window_Test = Program_Rig;

TEST_F(Firing_History_Window_Test, AFiringIsListedDrawnAndPrintedFromItsRecord) {
    Start_Kiln_Sim();
    Start_Program();
    Open_Quick_Test();
    Choose_Log("quick.txt");
    Window().Start_Profile->click();
    const std::string record = Paths.Logfile("quick.firing.csv");
    ASSERT_TRUE(Eventually([&] {
        return Parse_Firing_Record(Read_Whole_File(record)).Lines.size() >= 3;  // start, 2 ticks
    }));
    Window().SoftOff->click();

    Window().mnuFiringHistory->trigger();
    Firing_History_Window& history = Program->History_Window();
    EXPECT_TRUE(history.isVisible());
    ASSERT_EQ(history.Firings->rowCount(), 1);
    EXPECT_EQ(history.Firings->item(0, 1)->text(), "quick_test.txt");
    EXPECT_EQ(history.Firings->item(0, 5)->text(), "soft off by operator");
    EXPECT_FALSE(history.PrintReport->isEnabled());

    history.Firings->selectRow(0);
    ASSERT_EQ(history.FiringChart->Chart().Series.size(), 3u);  // plan, set value, measured
    EXPECT_TRUE(history.Firing_Summary->toPlainText().contains("Outcome: soft off by operator"));
    history.PrintReport->click();  // no printer here: a PDF
    const std::string pdf = (Folder.Path() / "Printouts" / "quick_report.pdf").string();
    EXPECT_TRUE(history.History_Messages->toPlainText().contains(
        QString::fromStdString("Report saved to " + pdf)));
    EXPECT_EQ(Read_Whole_File(pdf).substr(0, 5), "%PDF-");
}

// The tool's plot files: each kind by its extension, with its own signature.
TEST(Chart_Files, EachKindIsWrittenByItsExtension) {
    Make_Application();
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
}  // namespace corvanel::testing
