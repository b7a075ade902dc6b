// The run window's menu items that open the other windows: the front panel and the port
// set-up window.

#include <QAction>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include "app/comm_setup.h"
#include "app/serial_port_window.h"
#include "controller/front_panel.h"
#include "program_rig.h"

namespace corvanel::testing {
namespace {

using Run_Window_Menus = Program_Rig;

TEST_F(Run_Window_Menus, TheFrontPanelAndThePortSetUpTakeOverTheLineAndGiveItBack) {
    Start_Kiln_Sim();
    Start_Program();
    Window().mnuFrontPanel->trigger();
    FrontPanel_Window& panel = Program->Front_Panel_Window();
    EXPECT_TRUE(panel.isVisible());
    EXPECT_FALSE(Window().isVisible());
    EXPECT_FALSE(Window().Monitor_Interval->isActive());

    panel.RV_Command->click();
    ASSERT_TRUE(Eventually([&] { return !panel.Process_Value->text().isEmpty(); }));
    panel.Exit_FrontPanel->click();
    EXPECT_FALSE(panel.isVisible());
    EXPECT_TRUE(Window().isVisible());
    EXPECT_TRUE(Window().Monitor_Interval->isActive());
    EXPECT_FALSE(Window().mnuFrontPanel->isChecked());
    EXPECT_TRUE(Messages().ends_with("Polling turned off\nMonitor Mode")) << Messages();

    // The port set-up window stops the ticks too, and finds the controller on port 1.
    Window().frmCommPortConfig->trigger();
    CommSetUp_Window& setup = Program->Port_Setup_Window();
    EXPECT_TRUE(setup.isVisible());
    EXPECT_EQ(setup.CommPortNumber->text(), "1");
    EXPECT_FALSE(Window().Monitor_Interval->isActive());

    setup.ScanPortNumber->click();  // port 1 answers; the others are not mapped here
    EXPECT_TRUE(setup.SerialPortPrompt->toPlainText().contains(
        "Serial Port #1  Temperature controller seen on this port number *"));
    setup.close();
    EXPECT_TRUE(Window().Monitor_Interval->isActive());
    EXPECT_TRUE(Program->Serial_Window().Link().Device().Port_Open());
}

}  // namespace
}  // namespace corvanel::testing
