// The operator's two language windows inside the running program: choosing a language,
// adding one, and translating phrases in the language editor.

#include <QAccessible>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <map>

#include "language/add_a_language_window.h"
#include "language/language_editor_window.h"
#include "program_rig.h"
#include "setup/setup_files.h"
#include "support/accessible_tree.h"

namespace corvanel::testing {
namespace {

namespace fs = std::filesystem;

class Language_Windows : public Program_Rig {
  protected:
    void Start() {
        Start_Kiln_Sim();
        Program = std::make_unique<Corvanel_Program>(
            Paths, Program_Parts{&Profile_Dialog, &Log_Dialog, &Ask, &Beeper, &Mail, &Clock,
                                 &Waiter, nullptr, &Language_Dialog});
        Waiter.Reply_Buffer = &Program->Protocol().Reply_Buffer;
        Program->On_End_Program = [this] { ++Ends; };
        Program->Main();
    }

    AddALanguage_Window& Languages() { return Program->Language_Window(); }
    LanguageDataBaseInterface_Window& Editor() { return Program->Language_Editor_Window(); }

    QStringList Listed() {
        QStringList names;
        for (int i = 0; i < Languages().LanguageList->count(); ++i)
            names << Languages().LanguageList->item(i)->text();
        return names;
    }
    void Click_Language(const QString& name) {
        QListWidget& list = *Languages().LanguageList;
        auto found = list.findItems(name, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << name.toStdString();
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {},
                          list.visualItemRect(found.front()).center());
    }
    void Use_Language(const QString& name) {
        Window().mnuSelectLanguage->trigger();
        Click_Language(name);
        QTest::mouseClick(Languages().UseSelectedLanguage, Qt::LeftButton);
    }
    QString Shown(QPlainTextEdit* box) { return box->toPlainText(); }

    Fake_File_Dialog Language_Dialog;
};

TEST_F(Language_Windows, UseThisLanguageTurnsTheRunWindowGermanAtOnceAndEnglishBack) {
    Start();
    EXPECT_EQ(Window().SoftOff->text(), "SOFT OFF");
    Window().mnuSelectLanguage->trigger();
    ASSERT_TRUE(Languages().isVisible());
    EXPECT_EQ(Languages().windowTitle(), "Add or Select a Target Language");
    EXPECT_EQ(Listed(), (QStringList{"english", "german", "spanish"}));
    EXPECT_TRUE(
        Shown(Languages().AddALanguageDisplay).contains("No language was previously selected"));

    Click_Language("german");
    QTest::mouseClick(Languages().UseSelectedLanguage, Qt::LeftButton);
    EXPECT_EQ(Read_First_Line(Paths.Setup_File("InterfaceLanguage.txt")), "german.mdb");
    // Without waiting for the run window to be activated again.
    EXPECT_EQ(Window().SoftOff->text(), "SANFT AUS");
    EXPECT_EQ(Window().windowTitle(), "Temperaturprofil fahren ");
    // The Language menu and the language windows stay English in every language.
    EXPECT_EQ(Window().mnuLanguage->title(), "Language");
    EXPECT_EQ(Window().mnuEditTranslation->text(), "Edit Translation");
    EXPECT_EQ(Languages().UseSelectedLanguage->text(), "Use This Language");

    // A new language, named as typed but in lower case, joins the list.
    auto tree = Accessible_Tree(Languages());
    QWidget* name = Found_Widget(tree, "Add New Interface Language", QAccessible::EditableText);
    ASSERT_NE(name, nullptr);
    EXPECT_TRUE(Has(tree, "Instructions and results", QAccessible::EditableText));
    QTest::keyClicks(name, "Zulu-2");
    QTest::mouseClick(Found_Widget(tree, "Add This Language", QAccessible::Button), Qt::LeftButton);
    EXPECT_EQ(Languages().LanguageName->text(), "zulu-2");
    EXPECT_EQ(Shown(Languages().AddALanguageDisplay), "Language name Selected is valid.");
    EXPECT_TRUE(fs::is_regular_file(Paths.Language_Folder() + "zulu-2.mdb"));
    EXPECT_EQ(Listed(), (QStringList{"english", "german", "spanish", "zulu-2"}));
    QTest::mouseClick(Languages().cmdDone, Qt::LeftButton);
    EXPECT_FALSE(Languages().isVisible());
}

TEST_F(Language_Windows, TheEditorFindsAPhraseAndATypedTranslationIsUsedAtTheNextLookup) {
    Start();
    Use_Language("german");
    QTest::mouseClick(Languages().OpenLanguageEditor, Qt::LeftButton);
    ASSERT_TRUE(Editor().isVisible());
    EXPECT_EQ(Editor().LanguageName->text(), "german");
    QTreeWidget& map = *Editor().LanguageMap;
    EXPECT_GT(map.topLevelItemCount(), 100);

    QTest::keyClicks(Editor().SearchBox, "soft o");
    // "SOFT OFF", "SOFT OFF condition", "soft off by operator"
    ASSERT_EQ(map.topLevelItemCount(), 3);
    QTreeWidgetItem* soft_off = map.findItems("SOFT OFF", Qt::MatchExactly).value(0);
    ASSERT_NE(soft_off, nullptr);
    QTest::mouseClick(map.viewport(), Qt::LeftButton, {}, map.visualItemRect(soft_off).center());
    EXPECT_EQ(Editor().DisplayEnglish->text(), "SOFT OFF");
    EXPECT_EQ(Editor().DisplayTargetLanguage->text(), "SANFT AUS");

    Editor().DisplayTargetLanguage->selectAll();
    QTest::keyClicks(Editor().DisplayTargetLanguage, "LEISE AUS");
    EXPECT_EQ(TranslateText("SOFT OFF"), "LEISE AUS");
    EXPECT_EQ(soft_off->text(1), "LEISE AUS");

    // Exit closes the window; the edit stays, and the next caption pass shows it.
    Editor().mnuExit->trigger();
    EXPECT_FALSE(Editor().isVisible());
    Program->Apply_Language();
    EXPECT_EQ(Window().SoftOff->text(), "LEISE AUS");

    // Open Language edits another database without changing the interface.
    Window().mnuEditTranslation->trigger();
    auto tree = Accessible_Tree(Editor());
    for (const char* label : {"Search Phrases", "Messages", "Language File"})
        EXPECT_TRUE(Has(tree, label, QAccessible::EditableText)) << label;
    EXPECT_EQ(Count(tree, "Phrase", QAccessible::EditableText), 2);
    EXPECT_EQ(Found_Widget(tree, "Target Language", QAccessible::RadioButton),
              Editor().SearchTargetLanguageOption);
    Language_Dialog.Answers.push_back(File_Dialog_Result::Chosen("/elsewhere/spanish.mdb"));
    Editor().mnuOpenLanguage->trigger();
    EXPECT_EQ(Editor().LanguageName->text(), "spanish");
    EXPECT_EQ(Shown(Editor().DBInterfaceDisplay), "Opening language database: spanish");
    EXPECT_EQ(TranslateText("SOFT OFF"), "LEISE AUS");
    // A screen reader's user: the target-language option, chosen through the
    // accessibility interface, searches the translations; text inserted through it
    // searches and is saved as typed text is.
    auto accessible = [](QWidget* widget) { return QAccessible::queryAccessibleInterface(widget); };
    accessible(Editor().SearchTargetLanguageOption)
        ->actionInterface()
        ->doAction(QAccessibleActionInterface::toggleAction());
    accessible(Editor().SearchBox)->editableTextInterface()->insertText(0, "apagado s");
    ASSERT_EQ(map.topLevelItemCount(), 1);
    EXPECT_EQ(map.topLevelItem(0)->text(0), "SOFT OFF");
    EXPECT_EQ(map.topLevelItem(0)->text(1), "APAGADO SUAVE");
    QTest::mouseClick(map.viewport(), Qt::LeftButton, {},
                      map.visualItemRect(map.topLevelItem(0)).center());
    accessible(Editor().DisplayTargetLanguage)->editableTextInterface()->insertText(0, "MUY ");
    EXPECT_EQ(map.topLevelItem(0)->text(1), "MUY APAGADO SUAVE");
    CurrentLanguage = "spanish";
    EXPECT_EQ(TranslateText("SOFT OFF"), "MUY APAGADO SUAVE");
}

}  // namespace
}  // namespace corvanel::testing
