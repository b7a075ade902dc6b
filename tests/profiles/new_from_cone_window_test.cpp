// SPDX-License-Identifier: GPL-3.0-or-later
// The New From Cone dialog as the operator uses it from the profile editor's File menu.

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

#include "profiles/windows/new_from_cone_window.h"
#include "profiles/windows/profile_editor_window.h"
#include "support/program_rig.h"

namespace corvanel::testing {
namespace {

TEST(New_From_Cone_Window, OKFillsTheSheetThePreviewShowedAndSaveAsSuggestsItsName) {
    Make_Application();
    Temp_Folder folder;
    Program_Paths paths{folder.Path()};
    Make_Program_Folders(paths);
    Fake_File_Dialog dialog;
    Fake_Message_Box ask;
    Counting_Beeper beeper;
    Profile_Editor_Window window(paths, dialog, ask, beeper);
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
    EXPECT_EQ(cone->grdPreview->horizontalHeaderItem(Col_Start_Time)->text(), "Start Time (h)");
    EXPECT_EQ(cone->txtHold->placeholderText(), "1 – 6,000 min");
    EXPECT_EQ(cone->txtCoolTemp->placeholderText(), "-200 – 1,062 °C") << "up to below the peak";
    QTest::mouseClick(cone->cmdOk, Qt::LeftButton);
    EXPECT_FALSE(cone->isVisible());
    for (int row = 0; row < 5; ++row) {
        for (int col = 0; col < New_From_Cone::Preview_Columns; ++col) {
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
}

}  // namespace
}  // namespace corvanel::testing
