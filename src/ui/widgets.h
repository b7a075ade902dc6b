// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

class QDialog;
class QDialogButtonBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QAction;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;
class QWidget;

namespace corvanel {

// The small jobs every window does with its widgets, done one way.

inline QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

// A text box shows the model's text. It is set only when it differs, so the caret of a
// box being typed into stays, and without signals, so showing is never taken for typing.
void Show_Text(QLineEdit& box, const std::string& text);
// Every text box of a window's refresh, each showing its text so.
struct Shown_Text {
    QLineEdit* Box;
    const std::string& Text;
};
void Show_Texts(std::initializer_list<Shown_Text> boxes);

// A widget takes a look (a style sheet) only when it differs from the one it has: a new
// sheet repolishes the widget, and every repolish leaves another picture of its controls
// in Qt's pixmap cache, which a refresh each tick would fill over a long firing.
void Show_Style(QWidget& widget, const char* style_sheet);

// A message box shows the model's messages: each CR LF a line break, no empty line after
// the last, scrolled to the end. `shown` remembers the text on show, so an unchanged
// text costs nothing.
void Show_Message_Lines(QPlainTextEdit& box, std::string& shown, const std::string& text);

// Controls named as the operator's manual names them.
QLabel* Label_For(QWidget* parent, const char* name, const char* caption, QWidget* buddy);
QPushButton* Button(QWidget* parent, const char* name, const char* caption,
                    const char* tip = nullptr);
QLineEdit* Text_Box(QWidget* parent, const char* name, const char* tip = nullptr,
                    bool read_only = true);
QGroupBox* Frame(QWidget* parent, const char* name, const char* caption);
// A message area: read-only, shown through Show_Message_Lines.
QPlainTextEdit* Message_View(QWidget* parent, const char* name, const char* tip = nullptr);

// Menus and their entries, named as the manual names them: a menu of the window's menu
// bar or one inside another menu; an entry with a check mark when `checkable`.
QMenu* Menu(QMenuBar& bar, const char* name, const char* caption);
QMenu* Menu(QMenu& parent, const char* name, const char* caption);
QAction* Menu_Item(QMenu& menu, const char* name, const char* caption, bool checkable = false);

// The OK and Cancel of a settings dialog. OK closes the dialog only when `take` says the
// entries were taken, and then runs `saved` if it is set; otherwise the dialog stays open
// and `show` shows why. Cancel closes it and keeps what was stored.
QDialogButtonBox* Ok_Cancel_Buttons(QDialog& dialog, std::function<bool()> take,
                                    std::function<void()> show,
                                    const std::function<void()>* saved = nullptr);

// Each column of the grid at its design width, or wider where its title needs it, so no
// title is clipped in any language.
void Fit_Columns_To_Titles(QTableWidget& grid, const std::vector<int>& design_widths);

}  // namespace corvanel
