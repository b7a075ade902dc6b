// The safety settings dialog in the program, against kiln-sim on a real pseudo-terminal.

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "app/safety_settings_window.h"
#include "program_rig.h"

namespace corvanel::testing {
namespace {

using Safety_Window = Program_Rig;

TEST_F(Safety_Window, TheSettingsDialogStaysOpenOnABadEntryAndSavesTheRest) {
    Start_Kiln_Sim();
    Start_Program();
    bool open_after_bad_entry = false;
    // The dialog is modal: it is worked from inside its own event loop.
    QTimer::singleShot(200, [&] {
        auto* dialog = qobject_cast<Safety_Settings_Window*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        auto* minutes = dialog->findChild<QLineEdit*>("Heat_Minutes");
        minutes->setText("-5");
        dialog->findChild<QCheckBox*>("Start_At_Kiln_Temperature")->setChecked(true);
        QTest::mouseClick(dialog->findChild<QPushButton*>("Safety_OK"), Qt::LeftButton);
        open_after_bad_entry = dialog->isVisible() && minutes->text() == "20";
        QTest::mouseClick(dialog->findChild<QPushButton*>("Safety_OK"), Qt::LeftButton);
    });
    Window().mnuSafetySettings->trigger();
    EXPECT_TRUE(open_after_bad_entry);
    EXPECT_TRUE(Model().Safety.Start_At_Kiln_Temperature);
    EXPECT_NE(Read_Whole_File(Paths.Setup_File("Safety.txt")).find("Heat_Minutes=20\r\n"),
              std::string::npos);
}

}  // namespace
}  // namespace corvanel::testing
