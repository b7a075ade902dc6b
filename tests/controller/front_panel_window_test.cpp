// The front panel window on the offscreen platform, driven as the operator drives it:
// controls found by what the operator reads, the indicators clicked at, a line typed,
// the scan followed live, EXIT.

#include "controller/front_panel.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "controller_model.h"
#include "fake_line.h"
#include "support/accessible_tree.h"
#include "support/qt_rig.h"

namespace corvanel::testing {
namespace {

// The pause of the fake line, with a look at the window after each one.
struct Watched_Pause : Reply_Waiter {
    Fake_Line& Line;
    std::function<void(int)> After_Pause;
    int Pauses = 0;
    explicit Watched_Pause(Fake_Line& line) : Line(line) {}
    void Wait(double seconds) override {
        Line.Wait(seconds);
        if (After_Pause) After_Pause(++Pauses);
    }
};

TEST(Front_Panel_Window, TheOperatorReadsAFaultyKilnTypesALineScansAndLeaves) {
    Make_Application();
    sim::Controller_Model model({0}, {});
    sim::Fault_Options faults;  // the thermocouple is open at the eleventh exchange only
    faults[sim::Fault::Thermocouple_Break] = sim::Parse_Fault_Selector("at:11");
    sim::Kiln_Sim_Server server(model, faults);
    Fake_Line line;
    Watched_Pause pause{line};
    FrontPanel panel;
    Recorded_Messages main_window;
    InOut_Functions protocol{panel, pause};
    Serial_Port serial{line, panel, main_window, protocol.Reply_Buffer};
    line.Server = &server;
    line.Link = &serial;
    protocol.Connect(serial);
    panel.Link = &serial;
    panel.Connect(protocol);
    panel.Load_Serial_Window = [&] { serial.Form_Load(1); };
    FrontPanel_Window window{panel};
    window.Form_Load();
    window.show();
    EXPECT_EQ(window.windowTitle(), "Controller Front Panel");

    Accessible_Nodes tree = Accessible_Tree(window);
    auto click = [&](const char* caption) {
        QWidget* button = Found_Widget(tree, caption, QAccessible::Button);
        ASSERT_NE(button, nullptr) << caption;
        QTest::mouseClick(button, Qt::LeftButton);
    };
    auto box = [&](const char* caption) {
        return qobject_cast<QCheckBox*>(Found_Widget(tree, caption, QAccessible::CheckBox));
    };
    // Every button sends its own command.
    const std::pair<const char*, const char*> buttons[] = {
        {"Read Set Value", "RS"},    {"Write Set Value", "WS"}, {"NV Ram", "ME"},
        {"RamOnly", "MA"},           {"NVSave", "MW"},          {"Read Status", "RU"},
        {"Read Output Value", "RO"}, {"Read Set Limits", "RL"}, {"AutoTune", "AS"},
        {"StopTune", "AP"}};
    for (auto [caption, code] : buttons) {
        click(caption);
        EXPECT_EQ(line.Sent.back().substr(3, 2), code) << caption;
    }
    QLineEdit* address =
        qobject_cast<QLineEdit*>(Found_Widget(tree, "Unit Address", QAccessible::EditableText));
    QPlainTextEdit* response = qobject_cast<QPlainTextEdit*>(
        Found_Widget(tree, "Unit Response String", QAccessible::EditableText));
    ASSERT_TRUE(address && response && box("Input Error"));

    // The process value of a kiln whose thermocouple is open (the eleventh exchange).
    click(">");
    click("<");
    click("Read Process Value");
    EXPECT_EQ(line.Sent.back(), "@00RX014B*\r\n");
    EXPECT_EQ(Found_Widget(tree, "Process Value Display", QAccessible::EditableText),
              window.Process_Value);
    EXPECT_EQ(window.Process_Value->text().toStdString(), panel.Process_Value);
    EXPECT_TRUE(box("Comm Status")->isChecked() && box("Command Executed")->isChecked());
    EXPECT_TRUE(box("Input Error")->isChecked());
    // The indicators show the controller, not the operator's clicks.
    QTest::mouseClick(box("Input Error"), Qt::LeftButton);
    box("Remote/ *Local")->click();  // as a screen reader's press would
    EXPECT_TRUE(box("Input Error")->isChecked());
    EXPECT_FALSE(box("Remote/ *Local")->isChecked());

    // A typed line goes out on Enter; its answer shows as it arrives.
    response->clear();
    response->setFocus();
    QTest::keyClicks(response, "@00RX014B*");
    QTest::keyClick(response, Qt::Key_Return);
    EXPECT_EQ(line.Sent.back(), "@00RX014B*\r");
    line.Wait(0.2);  // outside any event of the panel
    EXPECT_TRUE(Eventually([&] { return response->toPlainText().contains("@00RX00"); }));

    // The scan's indicator blinks while it runs and is off at the end.
    std::vector<bool> shown_during_scan;
    pause.Pauses = 0;
    pause.After_Pause = [&](int n) {
        if (n > 2) return;
        bool blinking = panel.Unit_Scanning_Indicator;
        EXPECT_TRUE(
            Eventually([&] { return box("Scanning Unit Addresses")->isChecked() == blinking; }));
        shown_during_scan.push_back(blinking);
    };
    click(">");
    click("Unit Addr Scan");
    EXPECT_EQ(shown_during_scan, (std::vector<bool>{true, false}));
    EXPECT_FALSE(box("Scanning Unit Addresses")->isChecked());
    EXPECT_EQ(address->text(), "1");
    EXPECT_TRUE(
        window.User_Interface->toPlainText().endsWith("Unit #100 not present\nScan finished"));

    // EXIT and the frame's close both hand back to the main window.
    int main_window_back = 0;
    panel.Exited = [&] { ++main_window_back; };
    click("EXIT");
    EXPECT_FALSE(window.isVisible());
    window.show();
    window.close();
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(main_window_back, 2);
}

}  // namespace
}  // namespace corvanel::testing
