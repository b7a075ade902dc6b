// SPDX-License-Identifier: GPL-3.0-or-later
// The front panel window driven as the operator drives it, controls found by what the
// operator reads: the buttons, an indicator, a line typed, a scan, the window closed.

#include "controller/windows/front_panel_window.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "support/accessible_tree.h"
#include "support/fake_line.h"
#include "support/qt_rig.h"

namespace corvanel::testing {
namespace {

TEST(Front_Panel_Window, TheOperatorReadsAFaultyKilnTypesALineScansAndLeaves) {
    Make_Application();
    sim::Fault_Options faults;  // the thermocouple is open at the eleventh exchange only
    faults[sim::Fault::Thermocouple_Break] = sim::Parse_Fault_Selector("at:11");
    Controller_Rig bench({0}, {}, faults);
    FrontPanel& panel = bench.Panel;
    FrontPanel_Window window{panel};
    window.Form_Load();
    window.show();

    Accessible_Nodes tree = Accessible_Tree(window);
    auto click = [&](const char* caption) {
        QWidget* button = Found_Widget(tree, caption, QAccessible::Button);
        ASSERT_NE(button, nullptr) << caption;
        QTest::mouseClick(button, Qt::LeftButton);
    };
    auto box = [&](const char* caption) {
        return qobject_cast<QCheckBox*>(Found_Widget(tree, caption, QAccessible::CheckBox));
    };
    auto text = [&](const char* caption) {
        return Found_Widget(tree, caption, QAccessible::EditableText);
    };
    const std::pair<const char*, const char*> buttons[] = {
        {"Read Set Value", "RS"},    {"Write Set Value", "WS"}, {"NV Ram", "ME"},
        {"RamOnly", "MA"},           {"NVSave", "MW"},          {"Read Status", "RU"},
        {"Read Output Value", "RO"}, {"Read Set Limits", "RL"}, {"AutoTune", "AS"},
        {"StopTune", "AP"}};
    for (auto [caption, code] : buttons) {
        click(caption);
        EXPECT_EQ(bench.Last_Sent().substr(3, 2), code) << caption;
    }
    auto* process_value = qobject_cast<QLineEdit*>(text("Process Value Display"));
    auto* response = qobject_cast<QPlainTextEdit*>(text("Unit Response String"));
    ASSERT_TRUE(process_value && response && box("Input Error"));

    click("Read Process Value");
    EXPECT_EQ(bench.Last_Sent(), "@00RX014B*\r\n");
    EXPECT_EQ(process_value->text().toStdString(), panel.Process_Value);
    EXPECT_TRUE(box("Input Error")->isChecked());

    // A typed line goes out on Enter; its answer shows as it arrives.
    response->clear();
    response->setFocus();
    QTest::keyClicks(response, "@00RX014B*");
    QTest::keyClick(response, Qt::Key_Return);
    EXPECT_EQ(bench.Last_Sent(), "@00RX014B*\r");
    bench.Line.Wait(0.2);  // outside any event of the panel
    EXPECT_TRUE(Eventually([&] { return response->toPlainText().contains("@00RX00"); }));
    QTest::keyClick(response, Qt::Key_Return);  // the line typed before is not sent again
    EXPECT_EQ(bench.Last_Sent(), "\r");

    // A scan's listing shows in the message box.
    click("Unit Addr Scan");
    EXPECT_TRUE(
        window.User_Interface->toPlainText().endsWith("Unit #100 not present\nScan finished"));

    // The frame's close button hands back to the main window, as EXIT does.
    int main_window_back = 0;
    panel.Exited = [&] { ++main_window_back; };
    window.close();
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(main_window_back, 1);
}

}  // namespace
}  // namespace corvanel::testing
