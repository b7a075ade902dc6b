// The profile editor window as the operator uses it: mouse clicks in the grid, keys
// typed into the floating text box, the menus; and opened from the run window.

#include <QAccessible>
#include <QLabel>
#include <QMenu>
#include <QScrollBar>
#include <QTableWidget>
#include <QValueAxis>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QLineSeries>
#include <map>

#include "language/caption_table.h"
#include "profiles/profile_editor.h"
#include "profiles/sensor_table.h"
#include "program_rig.h"
#include "support/accessible_tree.h"
#include "worked_example.h"

namespace corvanel::testing {
namespace {

// A new editor in a program folder of its own, with a dialog, a message box and a
// beeper that tests answer and count.
class Editor_Window : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { Make_Application(); }

    void SetUp() override {
        Make_Program_Folders(Paths);
        Open_Editor();
    }

    void Open_Editor() {
        Window = std::make_unique<Profile_Editor_Window>(Paths, Dialog, Ask, Beeper);
        Window->Form_Load();
        Window->show();
    }

    QModelIndex Index(int row, int col) {
        return Window->Profile_FlexGrid->model()->index(row - 1, col);
    }
    void Click(int row, int col) {
        Window->Profile_FlexGrid->scrollTo(Index(row, col));
        QTest::mouseClick(Window->Profile_FlexGrid->viewport(), Qt::LeftButton, {},
                          Window->Profile_FlexGrid->visualRect(Index(row, col)).center());
    }
    void Type(const QString& keys) { QTest::keyClicks(Window->FloatingTextBox, keys); }
    // Click the cell, rub out what the box shows, type, and click the cell again.
    void Enter(int row, int col, const QString& text) {
        Click(row, col);
        for (auto n = Window->FloatingTextBox->text().size(); n > 0; --n) {
            QTest::keyClick(Window->FloatingTextBox, Qt::Key_Backspace);
        }
        Type(text);
        Click(row, col);
    }
    QString Cell(int row, int col) {
        QTableWidgetItem* item = Window->Profile_FlexGrid->item(row - 1, col);
        return item ? item->text() : QString();
    }
    QString Prompt() { return Window->User_Prompt->toPlainText(); }

    void Type_Worked_Example() {
        Window->mnuFahrenheit->trigger();
        Window->mnuMinutes->trigger();
        Window->mnuSensor[2]->trigger();  // K
        Enter(1, Col_End_Temp, "1000");
        Enter(1, Col_Duration, "60");
        Enter(1, Col_Error_Limits, "50");
        Enter(2, Col_Duration, "30");
        Enter(2, Col_End_Temp, "1000");
        Enter(3, Col_Action, "e");
    }

    Temp_Folder Folder;
    Program_Paths Paths{Folder.Path()};
    Fake_File_Dialog Dialog;
    Fake_Message_Box Ask;
    Counting_Beeper Beeper;
    std::unique_ptr<Profile_Editor_Window> Window;
};

TEST_F(Editor_Window, TheOperatorTypesTheFirstSegmentAndTheGridAndChartFollow) {
    EXPECT_EQ(Window->windowTitle(), "PROFILE EDITOR");
    EXPECT_EQ(Window->Profile_FlexGrid->horizontalHeaderItem(Col_End_Temp)->text(), "End Temp");
    EXPECT_EQ(Cell(1, Col_Start_Temp), "70");
    EXPECT_FALSE(Window->FloatingTextBox->isVisible());

    Click(1, Col_End_Temp);
    ASSERT_TRUE(Window->FloatingTextBox->isVisible());
    EXPECT_EQ(Window->FloatingTextBox->geometry(),
              Window->Profile_FlexGrid->visualRect(Index(1, Col_End_Temp)));
    Type("1000");
    EXPECT_EQ(Window->FloatingTextBox->text(), "1000");
    Click(1, Col_Duration);  // commits End Temp
    EXPECT_EQ(Cell(2, Col_Start_Temp), "1000");
    EXPECT_EQ(Cell(1, Col_Action), "r");
    Type("60");
    Click(2, Col_Duration);
    EXPECT_EQ(Cell(1, Col_Ramp_Rate), "15.50");
    EXPECT_EQ(Cell(2, Col_Start_Time), "60.00");
    auto points = Window->EditChart->chart()->series().at(0);
    EXPECT_EQ(static_cast<QLineSeries*>(points)->points(), (QList<QPointF>{{0, 70}, {60, 1000}}));

    // A letter in Duration beeps and never reaches the box.
    Type("x");
    EXPECT_EQ(Beeper.Beeps, 1);
    EXPECT_EQ(Window->FloatingTextBox->text(), "");
    // Start Temp of a later row is worked out, not typed; the prompt says why.
    Click(2, Col_Start_Temp);
    Type("5");
    EXPECT_EQ(Beeper.Beeps, 2);
    EXPECT_EQ(Window->FloatingTextBox->text(), "1000");
    EXPECT_TRUE(Prompt().contains("This entry derived from your previous segment end time"));

    // The Action cell holds one letter: a new one replaces it, an upper-case one beeps
    // and brings back the cell's letter.
    Click(1, Col_Action);
    Type("h");
    EXPECT_EQ(Window->FloatingTextBox->text(), "h");
    Type("R");
    EXPECT_EQ(Beeper.Beeps, 3);
    EXPECT_EQ(Window->FloatingTextBox->text(), "r");

    // Scrolling the grid hides the box until the next click.
    Window->Profile_FlexGrid->verticalScrollBar()->setValue(100);
    EXPECT_FALSE(Window->FloatingTextBox->isVisible());
}

TEST_F(Editor_Window, SaveAsWritesTheWorkedExampleAndOpenShowsItAgain) {
    Type_Worked_Example();
    const std::string target = Paths.Profiles_Folder() + "kiln.txt";
    Dialog.Answers.push_back(File_Dialog_Result::Chosen(target));
    Window->mnuSaveFileAs->trigger();
    EXPECT_EQ(Prompt(), "PROFILE SAVED");
    EXPECT_EQ(Window->Edit_Profile_Name->text(), "kiln.txt");
    EXPECT_TRUE(Read_Whole_File(target) == Worked_Example_Text() + "\r\n") << "saved file differs";

    Window->mnuNew->trigger();
    Window->mnuCelcius->trigger();
    Window->mnuHours->trigger();
    EXPECT_EQ(Cell(1, Col_Ramp_Rate), "");
    EXPECT_EQ(Window->Edit_Profile_Name->text(), "");

    Dialog.Answers.push_back(File_Dialog_Result::Chosen("/elsewhere/kiln.txt"));
    Window->mnuFileOpen->trigger();
    EXPECT_TRUE(Prompt().startsWith("Profile is valid")) << Prompt().toStdString();
    EXPECT_EQ(Window->Edit_Profile_Name->text(), "kiln.txt");
    // The cells keep the file's fixed-width fields; the grid aligns them right anyway.
    EXPECT_EQ(Cell(1, Col_Ramp_Rate).trimmed(), "15.50");
    EXPECT_EQ(Cell(3, Col_Action).trimmed(), "e");
    EXPECT_TRUE(Window->mnuFahrenheit->isChecked());
    EXPECT_FALSE(Window->mnuCelcius->isChecked());
    EXPECT_TRUE(Window->mnuMinutes->isChecked());
    EXPECT_EQ(Window->TempScale->text(), "Deg-F");
    EXPECT_EQ(Window->TimeScale->text(), "Minutes");
}

TEST_F(Editor_Window, ExitAsksFirstAndTheNextEditorStartsWithTheLastSettings) {
    Window->mnuSensor[3]->trigger();  // J
    Window->mnuMinutes->trigger();
    Enter(1, Col_End_Temp, "500");

    Ask.Answer_OK = false;
    Window->mnuExitEditor->trigger();
    EXPECT_TRUE(Window->isVisible());
    EXPECT_EQ(Cell(1, Col_End_Temp), "500");

    int closed = 0;
    Window->On_Closed = [&closed] { ++closed; };
    Ask.Answer_OK = true;
    Window->close();  // the frame's close button asks the same question
    EXPECT_EQ(Ask.Questions,
              (std::vector<std::string>{"Verify profile saved?", "Verify profile saved?"}));
    EXPECT_FALSE(Window->isVisible());
    EXPECT_EQ(closed, 1);

    Open_Editor();
    EXPECT_EQ(Cell(1, Col_End_Temp), "");
    EXPECT_TRUE(Window->mnuSensor[3]->isChecked());
    EXPECT_TRUE(Window->mnuMinutes->isChecked());
    EXPECT_TRUE(Window->mnuCelcius->isChecked());
}

// Each sensor item checks itself alone and names its sensor in the prompt.
class Sensor_Item : public Editor_Window, public ::testing::WithParamInterface<int> {};

TEST_P(Sensor_Item, ChecksItselfAloneAndNamesTheSensor) {
    const int index = GetParam();
    Window->mnuSensor[static_cast<std::size_t>(index)]->trigger();
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(Window->mnuSensor[static_cast<std::size_t>(i)]->isChecked(), i == index) << i;
    }
    EXPECT_TRUE(Prompt().endsWith(QString(" =>") + Sensor_Types[index].Set_Phrase))
        << Prompt().toStdString();
}

INSTANTIATE_TEST_SUITE_P(AllTen, Sensor_Item, ::testing::Range(0, 10), [](const auto& info) {
    return std::string(Sensor_Types[info.param].Caption);
});

TEST_F(Editor_Window, MenusAreFoundByCaptionAndTextBoxesByTheirLabels) {
    Accessible_Nodes tree = Accessible_Tree(*Window);
    int menu_entries = 0;
    for (const Caption_Entry& entry : Caption_Table()) {
        if (entry.Window != Caption_Window::Profile_Editor || entry.Control.substr(0, 3) != "mnu")
            continue;
        const QString caption = QString::fromUtf8(entry.English.data(), entry.English.size());
        EXPECT_TRUE(Has(tree, caption, QAccessible::MenuItem)) << caption.toStdString();
        ++menu_entries;
    }
    EXPECT_EQ(menu_entries, 24);
    EXPECT_TRUE(Has(tree, "User Prompt Window", QAccessible::EditableText,
                    "Watch for messages that guide you when creating profiles"));
    EXPECT_TRUE(Has(tree, "File Name Display", QAccessible::EditableText,
                    Window->Edit_Profile_Name->toolTip()));
}

// From the run window: the Editor menu shows the one editor; after Exit the next
// showing is a new editor with a new sheet.
using Editor_From_Run_Window = Program_Rig;

TEST_F(Editor_From_Run_Window, EditCreateProfileShowsTheEditorAndExitEndsIt) {
    Start_Kiln_Sim();
    Start_Program();
    ASSERT_TRUE(Program->Editor_Exists());  // the first caption pass made it, hidden
    EXPECT_FALSE(Program->Editor_Window().isVisible());
    Window().mnuEdit->trigger();
    Profile_Editor_Window& editor = Program->Editor_Window();
    EXPECT_TRUE(editor.isVisible());
    EXPECT_EQ(editor.windowTitle(), "PROFILE EDITOR");
    EXPECT_EQ(editor.mnuSaveFileAs->text(), "SaveAs");
    editor.Model().Profile_FlexGrid_Click(1, Col_End_Temp);
    editor.Model().Type_Text("900");
    editor.Model().Profile_FlexGrid_Click(1, Col_End_Temp);
    editor.Refresh();
    EXPECT_EQ(editor.Profile_FlexGrid->item(0, Col_End_Temp)->text(), "900");

    Ask.Answer_OK = true;
    editor.mnuExitEditor->trigger();
    EXPECT_FALSE(Program->Editor_Exists());
    QTest::qWait(50);  // the closed window is deleted once its close event is over

    Window().mnuEdit->trigger();
    Profile_Editor_Window& next = Program->Editor_Window();
    EXPECT_TRUE(next.isVisible());
    EXPECT_EQ(next.Profile_FlexGrid->item(0, Col_End_Temp), nullptr);
    EXPECT_TRUE(Window().isVisible());  // the run window goes on meanwhile
}

}  // namespace
}  // namespace corvanel::testing
