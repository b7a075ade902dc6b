// Every control of the run window as assistive technology finds it: by the caption or
// label the operator reads, with the tool tip as its description.

#include <QAccessible>
#include <QMenu>
#include <QMenuBar>
#include <map>
#include <vector>

#include "language/caption_table.h"
#include "program_rig.h"
#include "support/accessible_tree.h"

namespace corvanel::testing {
namespace {

using Run_Window_Accessibility = Program_Rig;

TEST_F(Run_Window_Accessibility, ButtonsMenusAndTextBoxesAreFoundAsTheOperatorSeesThem) {
    Start_Kiln_Sim();
    Start_Program();
    auto tree = Accessible_Tree(Window());

    for (const char* caption : {" RUN PROFILE", "SOFT OFF"}) {
        EXPECT_TRUE(Has(tree, caption, QAccessible::Button)) << caption;
    }
    // Every menu and item on the window, by caption.
    int menu_entries = 0;
    for (const Caption_Entry& entry : Caption_Table()) {
        if (entry.Window != Caption_Window::Traj_form || entry.Control.substr(0, 3) != "mnu")
            continue;
        QObject* item = Window().findChild<QObject*>(
            QString::fromUtf8(entry.Control.data(), entry.Control.size()));
        if (!item) continue;  // menus of windows still to come
        const QString caption = QString::fromUtf8(entry.English.data(), entry.English.size());
        EXPECT_TRUE(Has(tree, caption, QAccessible::MenuItem)) << caption.toStdString();
        ++menu_entries;
    }
    EXPECT_EQ(menu_entries, 27);  // ten menus and seventeen items
    // The text boxes by their labels, each with its tool tip as description.
    const std::vector<std::pair<const char*, QLineEdit*>> boxes = {
        {"Time(hours)", Window().Elapsed_Time},  // no profile: the monitoring's unit
        {"Set Temp(F)", Window().Profile_Temperature},
        {"Process Temp", Window().Real_Temp_Display_1},
        {"Seg", Window().Segment_Executing},
        {"% Power", Window().Duty_Cycle},
        {"Log", Window().LogFile},
        {"Profile", Window().Profile_Name},
        {"Email", Window().Email_Notification}};
    for (auto [label, box] : boxes) {
        EXPECT_TRUE(Has(tree, label, QAccessible::EditableText, box->toolTip())) << label;
    }
    // A profile in minutes changes the time label; the box follows its label.
    Model().TimeReadOut = "Time(mins)";
    Window().Refresh();
    EXPECT_TRUE(Has(Accessible_Tree(Window()), "Time(mins)", QAccessible::EditableText,
                    Window().Elapsed_Time->toolTip()));
    EXPECT_TRUE(
        Has(tree, "User Prompt Window", QAccessible::EditableText,
            "Watch this display for messages that inform you about the state of operation "));
}

}  // namespace
}  // namespace corvanel::testing
