// The front panel window on the offscreen platform, driven as the operator drives it:
// buttons found by caption, typing into the response box, the indicators clicked at.

#include "controller/front_panel.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <functional>
#include <map>

#include "controller_model.h"
#include "fake_line.h"
#include "fault_plan.h"
#include "support/accessible_tree.h"

namespace corvanel::testing {
namespace {

void Make_Application() {
    static int argc = 1;
    static char name[] = "controller_window_tests";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    if (!QApplication::instance()) new QApplication(argc, argv);
}

// Runs the event loop until the condition holds or the time is up.
bool Eventually(const std::function<bool()>& condition, int milliseconds = 10000) {
    QElapsedTimer waited;
    waited.start();
    while (!condition()) {
        if (waited.elapsed() > milliseconds) return false;
        QTest::qWait(20);
    }
    return true;
}

// The pause of the fake line, with a look at the window after each one.
struct Watched_Pause : Reply_Waiter {
    Fake_Line& Line;
    std::function<void(int)> After_Pause;
    int Pauses = 0;
    explicit Watched_Pause(Fake_Line& line) : Line(line) {}
    void Wait(double seconds) override {
        Line.Wait(seconds);
        ++Pauses;
        if (After_Pause) After_Pause(Pauses);
    }
};

// The panel window over the protocol and a simulated controller at unit 0, shown.
class Front_Panel_Window : public ::testing::Test {
  protected:
    Front_Panel_Window() : Model({0}, {}), Server(Model, {}) {
        Line.Server = &Server;
        Line.Link = &Serial;
        Protocol.Connect(Serial);
        Panel.Link = &Serial;
        Panel.Connect(Protocol);
        Panel.Load_Serial_Window = [this] { Serial.Form_Load(1); };
        Window.Form_Load();
        Window.show();
    }

    QWidget* Found(const QString& name, QAccessible::Role role) {
        Accessible_Nodes tree = Accessible_Tree(Window);
        return Found_Widget(tree, name, role);
    }
    void Click(const char* caption) {
        QWidget* button = Found(caption, QAccessible::Button);
        ASSERT_NE(button, nullptr) << caption;
        QTest::mouseClick(button, Qt::LeftButton);
    }

    bool Application_Made = (Make_Application(), true);  // before any widget
    Fake_Line Line;
    sim::Controller_Model Model;
    sim::Kiln_Sim_Server Server;
    Watched_Pause Pause{Line};
    FrontPanel Panel;
    Recorded_Messages Main_Window;
    InOut_Functions Protocol{Panel, Pause};
    Serial_Port Serial{Line, Panel, Main_Window, Protocol.Reply_Buffer};
    FrontPanel_Window Window{Panel};
};

TEST_F(Front_Panel_Window, EveryControlIsFoundByWhatTheOperatorReads) {
    EXPECT_EQ(Window.objectName(), "FrontPanel");
    EXPECT_EQ(Window.windowTitle(), "Controller Front Panel");
    for (const char* caption :
         {"<", ">", "Read Set Value", "Write Set Value", "Read Process Value", "NV Ram", "RamOnly",
          "NVSave", "Read Status", "Read Output Value", "Read Set Limits", "AutoTune", "StopTune",
          "Unit Addr Scan", "EXIT"}) {
        EXPECT_NE(Found(caption, QAccessible::Button), nullptr) << caption;
    }
    for (const char* caption :
         {"OverFlow", "UnderFlow", "Input Error", "A/D Converter Failure",
          "Heater Burnout Detection", "Ram Data Error", "MemDiff  /  *MemSame", "Input Shift On",
          "Alarm 1 On ", "Alarm 2 On", "AutoTuning", "RamWriteOnly / *BackUp",
          "Manual / *AutoOutput", "Remote/ *Local", "Scanning Unit Addresses", "Command Executed",
          "Comm Status"}) {
        EXPECT_NE(Found(caption, QAccessible::CheckBox), nullptr) << caption;
    }
    const std::pair<const char*, QWidget*> labelled[] = {
        {"Unit Address", Window.Unit_Address_Display},
        {"Set Point Display", Window.Set_Point},
        {"Process Value Display", Window.Process_Value},
        {"Output Value", Window.Output_Display},
        {"Low Set Limit", Window.Low_Limit_Display},
        {"High Set Limit", Window.High_Limit_Display},
        {"Unit Response String", Window.Response_Box}};
    for (auto [label, box] : labelled) {
        EXPECT_EQ(Found(label, QAccessible::EditableText), box) << label;
    }
    EXPECT_NE(Found("Unit Status Display", QAccessible::StaticText), nullptr);
    EXPECT_EQ(Window.Unit_Address_Display->text(), "0");
}

// A controller whose thermocouple is open at the first exchange only.
sim::Fault_Options Thermocouple_Open_At_First_Read() {
    sim::Fault_Options faults;
    faults[sim::Fault::Thermocouple_Break] = sim::Parse_Fault_Selector("at:1");
    return faults;
}

TEST_F(Front_Panel_Window, ReadProcessValueFillsTheReadOutAndTheStatusBoxes) {
    sim::Kiln_Sim_Server broken(Model, Thermocouple_Open_At_First_Read());
    Line.Server = &broken;
    Click(">");
    Click("<");
    Click("Read Process Value");

    EXPECT_EQ(Line.Sent.back(), "@00RX014B*\r\n");
    EXPECT_EQ(Window.Process_Value->text().toStdString(), Panel.Process_Value);
    EXPECT_FALSE(Window.Process_Value->text().isEmpty());
    EXPECT_TRUE(Window.Communication_Status->isChecked());
    EXPECT_TRUE(Window.Command_Executed->isChecked());
    EXPECT_TRUE(Window.InputError->isChecked());
    for (QCheckBox* clear : {Window.OverFlow, Window.Underflow, Window.AD_Fail, Window.Remote}) {
        EXPECT_FALSE(clear->isChecked()) << clear->objectName().toStdString();
    }
    EXPECT_TRUE(Window.Response_Box->toPlainText().startsWith("@00RX00"));

    // The thermocouple mended, the next read clears the box.
    Click("Read Process Value");
    EXPECT_FALSE(Window.InputError->isChecked());
}

TEST_F(Front_Panel_Window, TheIndicatorsIgnoreTheOperatorsClicks) {
    sim::Kiln_Sim_Server broken(Model, Thermocouple_Open_At_First_Read());
    Line.Server = &broken;
    Click("Read Process Value");
    for (QCheckBox* box : {Window.InputError, Window.Remote, Window.Command_Executed}) {
        bool shown = box->isChecked();
        QTest::mouseClick(box, Qt::LeftButton);
        box->click();  // as a screen reader's press would
        EXPECT_EQ(box->isChecked(), shown) << box->objectName().toStdString();
    }
    EXPECT_TRUE(Panel.InputError && Panel.Command_Executed);
    EXPECT_FALSE(Panel.Remote);
}

TEST_F(Front_Panel_Window, ATypedLineGoesOutOnEnterAndTheAnswerShowsAsItArrives) {
    Window.Response_Box->setFocus();
    QTest::keyClicks(Window.Response_Box, "@00RX014B*");
    EXPECT_EQ(Window.Response_Box->toPlainText(), "@00RX014B*");
    QTest::keyClick(Window.Response_Box, Qt::Key_Return);
    EXPECT_EQ(Line.Sent, std::vector<std::string>{"@00RX014B*\r"});

    Line.Wait(0.2);  // the reply arrives outside any event of the panel
    EXPECT_TRUE(Eventually([&] { return Window.Response_Box->toPlainText().contains("@00RX00"); }))
        << Window.Response_Box->toPlainText().toStdString();

    QTest::keyClick(Window.Response_Box, Qt::Key_Return);
    EXPECT_EQ(Line.Sent.back(), "\r");
}

TEST_F(Front_Panel_Window, TheScanIsFollowedLiveAndEndsWithTheIndicatorOff) {
    std::vector<bool> shown_during_scan;
    Pause.After_Pause = [&](int pause) {
        if (pause > 2) return;
        bool blinking = Panel.Unit_Scanning_Indicator;
        EXPECT_TRUE(
            Eventually([&] { return Window.Unit_Scanning_Indicator->isChecked() == blinking; }));
        shown_during_scan.push_back(Window.Unit_Scanning_Indicator->isChecked());
    };
    Click(">");
    Click("Unit Addr Scan");

    EXPECT_EQ(shown_during_scan, (std::vector<bool>{true, false}));
    EXPECT_FALSE(Window.Unit_Scanning_Indicator->isChecked());
    EXPECT_EQ(Window.Unit_Address_Display->text(), "1");
    QString messages = Window.User_Interface->toPlainText();
    EXPECT_TRUE(messages.startsWith("Unit #0 present\nUnit #1 not present\n"));
    EXPECT_TRUE(messages.endsWith("Unit #100 not present\nScan finished"));
}

TEST_F(Front_Panel_Window, ExitAndTheFrameCloseBothHandBackToTheMainWindow) {
    int main_window_back = 0;
    Panel.Exited = [&] { ++main_window_back; };
    Click(">");
    Click("EXIT");
    EXPECT_FALSE(Window.isVisible());
    EXPECT_EQ(main_window_back, 1);

    Window.show();
    Window.close();
    EXPECT_FALSE(Window.isVisible());
    EXPECT_EQ(main_window_back, 2);
    Window.show();  // the panel and its state outlive hiding
    EXPECT_EQ(Window.Unit_Address_Display->text(), "1");
}

}  // namespace
}  // namespace corvanel::testing
