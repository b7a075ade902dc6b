// The New From Cone dialog as the operator uses it from the profile editor's File menu.

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

#include "profiles/new_from_cone.h"
#include "profiles/profile_editor.h"
#include "program_rig.h"

namespace corvanel::testing {
namespace {

class New_From_Cone_Window_Test : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { Make_Application(); }

    void SetUp() override {
        Make_Program_Folders(Paths);
        Window = std::make_unique<Profile_Editor_Window>(Paths, Dialog, Ask, Beeper);
        Window->Form_Load();
        Window->show();
        Window->mnuNewFromCone->trigger();
        Cone = Window->findChild<New_From_Cone_Window*>("New_From_Cone");
        ASSERT_NE(Cone, nullptr);
    }

    QString Cell(int row, int col) {
        QTableWidgetItem* item = Window->Profile_FlexGrid->item(row - 1, col);
        return item ? item->text() : QString();
    }

    Temp_Folder Folder;
    Program_Paths Paths{Folder.Path()};
    Fake_File_Dialog Dialog;
    Fake_Message_Box Ask;
    Counting_Beeper Beeper;
    std::unique_ptr<Profile_Editor_Window> Window;
    New_From_Cone_Window* Cone = nullptr;
};

TEST_F(New_From_Cone_Window_Test, OKFillsTheSheetThePreviewShowedAndSaveAsSuggestsItsName) {
    EXPECT_TRUE(Cone->isVisible());
    EXPECT_EQ(Cone->cboScale->currentText(), "Celcius");  // the editor's first-start scale
    Cone->cboCone->setCurrentText("10");                  // too hot for the K thermocouple
    EXPECT_FALSE(Cone->cmdOk->isEnabled());
    EXPECT_EQ(Cone->lblMessage->text(),
              "The cone temperature is above the sensor's limit: 1305 > 1300 (K)");
    Cone->cboSensor->setCurrentText("S");
    EXPECT_TRUE(Cone->cmdOk->isEnabled());

    Cone->cboCone->setCurrentText("04");
    Cone->cboSpeed->setCurrentIndex(0);  // slow
    QTest::keyClicks(Cone->txtPreheat, "2");
    ASSERT_EQ(Cone->grdPreview->rowCount(), 5);
    EXPECT_EQ(Cone->grdPreview->item(3, Col_End_Temp)->text(), "1063");
    QTest::mouseClick(Cone->cmdOk, Qt::LeftButton);
    EXPECT_FALSE(Cone->isVisible());
    for (int row = 1; row <= 5; ++row) {
        for (int col = 0; col < New_From_Cone::Preview_Columns; ++col)
            EXPECT_EQ(Cell(row, col), Cone->grdPreview->item(row - 1, col)->text());
    }
    EXPECT_TRUE(Window->mnuHours->isChecked());

    Dialog.Answers.push_back(File_Dialog_Result::Chosen(Folder.File("cone04_slow.txt")));
    Window->mnuSaveFileAs->trigger();
    ASSERT_EQ(Dialog.Save_Requests.size(), 1u);
    EXPECT_EQ(Dialog.Save_Requests[0].File_Name, "cone04_slow.txt");
    EXPECT_EQ(Window->User_Prompt->toPlainText(), "PROFILE SAVED");
}

}  // namespace
}  // namespace corvanel::testing
