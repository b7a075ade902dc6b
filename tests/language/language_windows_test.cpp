// SPDX-License-Identifier: GPL-3.0-or-later
// The operator's two language windows inside the running program: choosing a language,
// adding one, and translating phrases in the language editor, also by screen reader.

#include <QAccessible>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>

#include "language/windows/add_a_language_window.h"
#include "language/windows/language_database_interface_window.h"
#include "support/accessible_tree.h"
#include "support/program_rig.h"

namespace corvanel::testing {
namespace {

class Language_Windows : public Program_Rig {
  protected:
    AddALanguage_Window& Languages() { return Program->Language_Window(); }
    LanguageDataBaseInterface_Window& Editor() { return Program->Language_Editor_Window(); }
};

TEST_F(Language_Windows, GermanIsChosenExtendedAndEditedAlsoThroughTheAccessibilityInterface) {
    auto click = [](auto& view, auto* item) {
        ASSERT_NE(item, nullptr);
        QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, view.visualItemRect(item).center());
    };
    auto accessible = [](QWidget* widget) { return QAccessible::queryAccessibleInterface(widget); };
    Start_Kiln_Sim();
    Start_Program();
    Window().mnuSelectLanguage->trigger();
    ASSERT_TRUE(Languages().isVisible());
    QListWidget& list = *Languages().LanguageList;
    click(list, list.findItems("german", Qt::MatchExactly).value(0));
    QTest::mouseClick(Languages().UseSelectedLanguage, Qt::LeftButton);
    // At once, without the run window being activated again; the Language menu stays English.
    EXPECT_EQ(Window().SoftOff->text(), "SANFT AUS");
    EXPECT_EQ(Window().mnuLanguage->title(), "Language");

    auto tree = Accessible_Tree(Languages());
    QWidget* name = Found_Widget(tree, "Add New Interface Language", QAccessible::EditableText);
    ASSERT_NE(name, nullptr);
    QTest::keyClicks(name, "Zulu-2");
    QTest::mouseClick(Found_Widget(tree, "Add This Language", QAccessible::Button), Qt::LeftButton);
    EXPECT_EQ(list.findItems("zulu-2", Qt::MatchExactly).size(), 1);

    QTest::mouseClick(Languages().OpenLanguageEditor, Qt::LeftButton);
    ASSERT_TRUE(Editor().isVisible());
    QTreeWidget& map = *Editor().LanguageMap;
    QTest::keyClicks(Editor().SearchBox, "soft o");
    click(map, map.findItems("SOFT OFF", Qt::MatchExactly).value(0));
    EXPECT_EQ(Editor().DisplayTargetLanguage->text(), "SANFT AUS");

    // A screen reader's user: the option chosen and the text put in through the
    // accessibility interface search the translations and are saved as typed text is.
    QWidget* target =
        Found_Widget(Accessible_Tree(Editor()), "Target Language", QAccessible::RadioButton);
    ASSERT_EQ(target, Editor().SearchTargetLanguageOption);
    accessible(target)->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    accessible(Editor().SearchBox)->editableTextInterface()->replaceText(0, 6, "sanft a");
    ASSERT_EQ(map.topLevelItemCount(), 1);
    EXPECT_EQ(map.topLevelItem(0)->text(0), "SOFT OFF");
    click(map, map.topLevelItem(0));
    accessible(Editor().DisplayTargetLanguage)->editableTextInterface()->insertText(0, "SEHR ");
    EXPECT_EQ(map.topLevelItem(0)->text(1), "SEHR SANFT AUS");
    EXPECT_EQ(TranslateText("SOFT OFF"), "SEHR SANFT AUS");

    // Exit closes the editor; the next caption pass shows the edit.
    Editor().mnuExit->trigger();
    EXPECT_FALSE(Editor().isVisible());
    Program->Apply_Language();
    EXPECT_EQ(Window().SoftOff->text(), "SEHR SANFT AUS");
}

}  // namespace
}  // namespace corvanel::testing
