// SPDX-License-Identifier: GPL-3.0-or-later
// The profile editor and its New From Cone dialog as the operator uses them.

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QtCharts/QAbstractAxis>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QLineSeries>
#include <filesystem>

#include "profiles/windows/new_from_cone_window.h"
#include "profiles/windows/profile_editor_window.h"
#include "support/program_rig.h"
#include "support/worked_example.h"

namespace corvanel::testing {
namespace {

class Editor_From_Run_Window : public Program_Rig {
  protected:
    Profile_Editor_Window& Editor() { return Program->Editor_Window(); }
    QModelIndex Index(int row, int col) {
        return Editor().Profile_FlexGrid->model()->index(row - 1, col);
    }
    void Click(int row, int col) {
        Editor().Profile_FlexGrid->scrollTo(Index(row, col));
        QTest::mouseClick(Editor().Profile_FlexGrid->viewport(), Qt::LeftButton, {},
                          Editor().Profile_FlexGrid->visualRect(Index(row, col)).center());
    }
    void Type(const QString& keys) { QTest::keyClicks(Editor().FloatingTextBox, keys); }
    // Click an empty cell and type; the next click commits.
    void Enter(int row, int col, const QString& text) {
        Click(row, col);
        Type(text);
    }
    QString Cell(int row, int col) {
        QTableWidgetItem* item = Editor().Profile_FlexGrid->item(row - 1, col);
        return item ? item->text() : QString();
    }
};

TEST_F(Editor_From_Run_Window, TheOperatorTypesTheWorkedExampleSavesItAndLeaves) {
    Start_Kiln_Sim();
    Start_Program();
    Window().mnuEdit->trigger();
    ASSERT_TRUE(Editor().isVisible());

    // The first segment: the box opens on the cell clicked; the next click commits.
    Click(1, Col_End_Temp);
    ASSERT_TRUE(Editor().FloatingTextBox->isVisible());
    Type("1000");
    Click(1, Col_Duration);
    EXPECT_EQ(Cell(2, Col_Start_Temp), "1000");
    Type("60");
    Click(2, Col_Duration);
    auto* points = static_cast<QLineSeries*>(Editor().EditChart->chart()->series().at(0));
    EXPECT_EQ(points->points(), (QList<QPointF>{{0, 70}, {60, 1000}}));

    // The rest of the worked example, then SaveAs.
    Editor().mnuFahrenheit->trigger();
    Editor().mnuMinutes->trigger();
    Editor().mnuSensor[2]->trigger();  // K
    // The chart's axes say the units the sheet is now in.
    const QList<QAbstractAxis*> axes = Editor().EditChart->chart()->axes();
    EXPECT_EQ(axes.at(0)->titleText(), "Time (minutes)");
    EXPECT_EQ(axes.at(1)->titleText(), "Temperature (°F)");
    Enter(1, Col_Error_Limits, "50");
    Enter(2, Col_Duration, "30");
    Enter(2, Col_End_Temp, "1000");
    Enter(3, Col_Action, "e");
    const std::string target = Paths.Profiles_Folder() + "kiln.txt";
    Editor_Dialog.Answers.push_back(File_Dialog_Result::Chosen(target));
    Editor().mnuSaveFileAs->trigger();
    EXPECT_EQ(Editor().User_Prompt->toPlainText(), "PROFILE SAVED");
    // The menus and every typed cell reached the sheet: the worked example byte for byte.
    EXPECT_TRUE(Read_Whole_File(target) == Worked_Example_Text() + "\r\n") << "saved file differs";

    // Exit asks first, and so does the frame's close button; then the editor is gone.
    Ask.Answer_OK = false;
    Editor().mnuExitEditor->trigger();
    EXPECT_TRUE(Editor().isVisible());
    Ask.Answer_OK = true;
    Editor().close();
    EXPECT_EQ(Ask.Questions, std::vector<std::string>(2, "Verify profile saved?"));
    EXPECT_FALSE(Program->Editor_Exists());
}

TEST(New_From_Cone_Window, OKFillsTheSheetThePreviewShowedAndSaveAsSuggestsItsName) {
    Make_Application();
    Temp_Folder folder;
    Program_Paths paths{folder.Path()};
    Make_Program_Folders(paths);
    Fake_File_Dialog dialog;
    Fake_Message_Box ask;
    Counting_Beeper beeper;
    Settings_Store settings{paths};
    Profile_Editor_Window window(paths, settings, dialog, ask, beeper);
    window.Form_Load();
    window.show();
    window.mnuNewFromCone->trigger();
    auto* cone = window.findChild<New_From_Cone_Window*>("New_From_Cone");
    ASSERT_TRUE(cone && cone->isVisible());
    cone->cboCone->setCurrentIndex(0);  // the chart's first cone counts like any other
    EXPECT_TRUE(cone->lblMessage->text().contains("File name=cone022_"))
        << cone->lblMessage->text().toStdString();
    cone->cboCone->setCurrentText("04");
    cone->cboSpeed->setCurrentIndex(0);  // slow
    QTest::keyClicks(cone->txtPreheat, "2");
    ASSERT_EQ(cone->grdPreview->rowCount(), 5);
    EXPECT_EQ(cone->grdPreview->item(3, Col_End_Temp)->text(), "1063");
    EXPECT_EQ(cone->lblMessage->text(), "Peak temperature=1,063 °C  File name=cone04_slow.txt");
    // Each column and each box says its unit, and each box what it takes.
    EXPECT_EQ(cone->grdPreview->horizontalHeaderItem(Col_Ramp_Rate)->text(), "Ramp Rate (°C/h)");
    // Its times as a potter says them, where the sheet writes hours.
    EXPECT_EQ(cone->grdPreview->horizontalHeaderItem(Col_Start_Time)->text(), "Start Time");
    EXPECT_EQ(cone->grdPreview->item(0, Col_Duration)->text() + "|" +
                  cone->grdPreview->item(1, Col_Duration)->text(),
              "43 min|2 h 00 min");
    EXPECT_EQ(cone->txtHold->placeholderText(), "1 – 6,000 min");
    EXPECT_EQ(cone->txtErrorLimit->placeholderText(), "1 – 9,999 °C");
    EXPECT_EQ(cone->txtCoolTemp->placeholderText(), "-200 – 1,062 °C") << "up to below the peak";
    EXPECT_TRUE(cone->chkHeatWork->isChecked());
    QTest::mouseClick(cone->cmdOk, Qt::LeftButton);
    EXPECT_FALSE(cone->isVisible());
    for (int row = 0; row < 5; ++row) {
        for (int col = 0; col < New_From_Cone::Preview_Columns; ++col) {
            if (col == Col_Start_Time || col == Col_Duration) continue;
            QTableWidgetItem* cell = window.Profile_FlexGrid->item(row, col);
            EXPECT_EQ(cell ? cell->text() : "", cone->grdPreview->item(row, col)->text());
        }
    }
    EXPECT_TRUE(window.mnuHours->isChecked());

    dialog.Answers.push_back(File_Dialog_Result::Chosen(folder.File("cone04_slow.txt")));
    window.mnuSaveFileAs->trigger();
    ASSERT_EQ(dialog.Save_Requests.size(), 1u);
    EXPECT_EQ(dialog.Save_Requests[0].File_Name, "cone04_slow.txt");
    EXPECT_EQ(window.User_Prompt->toPlainText(), "PROFILE SAVED");
    // The cone it ends on by heat-work is kept beside it; unticked, the firing keeps its peak.
    EXPECT_EQ(Read_Whole_File(folder.File("cone04_slow.txt.heat-work")),
              "end on heat-work: cone 04\r\n");
    window.mnuNewFromCone->trigger();
    cone->chkHeatWork->click();
    QTest::mouseClick(cone->cmdOk, Qt::LeftButton);
    dialog.Answers.push_back(File_Dialog_Result::Chosen(folder.File("fixed.txt")));
    window.mnuSaveFileAs->trigger();
    EXPECT_TRUE(std::filesystem::exists(folder.File("fixed.txt")));
    EXPECT_FALSE(std::filesystem::exists(folder.File("fixed.txt.heat-work")));

    // The conversion's item names the scale it goes to, and follows the sheet's scale.
    EXPECT_EQ(window.mnuConvertScale->text(), "Convert Sheet to Fahrenheit");
    window.mnuConvertScale->trigger();
    EXPECT_TRUE(window.mnuFahrenheit->isChecked());
    EXPECT_EQ(window.Profile_FlexGrid->item(0, Col_Start_Temp)->text(), "70");  // from 21 C
    EXPECT_EQ(window.mnuConvertScale->text(), "Convert Sheet to Celsius");
}

// New From Cone on a Fahrenheit kiln: in the editor's own scale (Celsius on a first start)
// until the run window has read the controller's, then in the kiln's; the editor keeps its own.
TEST_F(Editor_From_Run_Window, NewFromConeStartsInTheKilnsScaleOnceTheRunWindowKnowsIt) {
    Start_Kiln_Sim();
    Start_Program();
    auto cone_scale = [this] {
        Window().mnuEdit->trigger();
        Editor().mnuNewFromCone->trigger();
        auto* cone = Editor().findChild<New_From_Cone_Window*>("New_From_Cone");
        const QString scale = cone ? cone->cboScale->currentText() : "<no dialog>";
        if (cone) cone->reject();
        return scale;
    };
    // The monitoring tick reads the kiln's scale, with or without a profile; the editor's
    // own scale stays as it was.
    EXPECT_TRUE(Eventually([&] { return cone_scale() == "Fahrenheit"; })) << Messages();
    EXPECT_TRUE(Editor().mnuCelcius->isChecked());
}

}  // namespace
}  // namespace corvanel::testing
