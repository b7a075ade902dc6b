// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMainWindow>
#include <string>
#include <vector>

#include "common/platform.h"
#include "language/language_database_interface_model.h"

class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QRadioButton;
class QTreeWidget;

namespace corvanel {

// The language editor's window over the shared form object (the one TranslateText asks):
// every event goes to the form object, then the widgets follow its state (Refresh). The
// form object is reached afresh each time, since a new program folder starts a new one.
class LanguageDataBaseInterface_Window : public QMainWindow {
    Q_OBJECT
  public:
    explicit LanguageDataBaseInterface_Window(File_Dialog& dialog, QWidget* parent = nullptr);

    // Shows the window non-modally; an unloaded window loads first, an open one comes
    // forward and keeps the language it shows.
    void Open();
    void Refresh();
    LanguageDataBaseInterface& Model();

    QTreeWidget* LanguageMap;
    QLineEdit *LanguageName, *DisplayEnglish, *DisplayEnglishExplanation, *DisplayTargetLanguage,
        *DisplayTargetLanguageExplanation, *EntryDateOfLastUpdate, *SearchBox;
    QPlainTextEdit* DBInterfaceDisplay;
    QRadioButton *SearchLanguageOption, *SearchTargetLanguageOption;
    QGroupBox *PhraseMapFrame, *LanguageFileFrame, *MessagesFrame, *PhrasesFrame,
        *EnglishPhraseFrame, *TargetLanguageFrame, *SearchFrame;
    QLabel *EnglishPhraseLabel, *EnglishCommentLabel, *TargetPhraseLabel, *TargetCommentLabel,
        *EntryDateLabel;
    QMenu* mnuFile;
    QAction *mnuOpenLanguage, *mnuExit;

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    template <typename Handler>
    void Handle(Handler handler) {
        handler();
        Refresh();
    }
    void Refresh_Map();

    File_Dialog& Dialog_;
    std::vector<Language_Map_Row> Shown_Map_;
    std::string Shown_Display_;
    bool Refreshing_ = false;  // the widgets are following the form object, not the operator
};

}  // namespace corvanel
