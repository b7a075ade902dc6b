// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "language/add_a_language.h"

class QGroupBox;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace corvanel {

// The language window: the widgets of AddALanguage bound to its model. Every event goes
// to the model, then the widgets are brought in line with it (Refresh).
class AddALanguage_Window : public QWidget {
    Q_OBJECT
  public:
    AddALanguage_Window(Program_Paths paths, Settings_Store& settings, QWidget* parent = nullptr);

    // Shows the window; an unloaded window is loaded afresh, a loaded one comes forward.
    void Open();
    void Refresh();
    AddALanguage& Model() { return Model_; }

    // After "Use This Language": the program applies the new language to its windows.
    std::function<void()> Language_Chosen;
    // "Edit This Language": the program shows the language editor.
    std::function<void()> Show_Language_Editor;

    QGroupBox *AddNewLanguageFrame, *LanguageSelectionFrame;
    QLineEdit* LanguageName;
    QListWidget* LanguageList;
    QPushButton *MakeDataBaseFile, *UseSelectedLanguage, *OpenLanguageEditor, *cmdDone;
    QPlainTextEdit* AddALanguageDisplay;

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    template <typename Handler>
    void Handle(Handler handler) {
        handler();
        Refresh();
    }
    void Unload();

    Program_Paths Paths_;
    AddALanguage Model_;
    std::vector<std::string> Shown_List_;
    std::string Shown_Display_;
    bool Refreshing_ = false;
};

}  // namespace corvanel
