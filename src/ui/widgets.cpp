// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/widgets.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTableWidget>
#include <algorithm>

#include "language/translate.h"

namespace corvanel {

void Show_Text(QLineEdit& box, const std::string& text) {
    const QString value = Q(text);
    if (box.text() == value) return;
    QSignalBlocker quiet(&box);
    box.setText(value);
}

void Show_Style(QWidget& widget, const char* style_sheet) {
    const QString wanted = QString::fromUtf8(style_sheet);
    if (widget.styleSheet() != wanted) widget.setStyleSheet(wanted);
}

void Show_Texts(std::initializer_list<Shown_Text> boxes) {
    for (const Shown_Text& shown : boxes) Show_Text(*shown.Box, shown.Text);
}

void Show_Message_Lines(QPlainTextEdit& box, std::string& shown, const std::string& text) {
    if (shown == text) return;
    shown = text;
    QString lines = Q(text);
    lines.replace("\r\n", "\n");
    if (lines.endsWith('\n')) lines.chop(1);
    box.setPlainText(lines);
    box.verticalScrollBar()->setValue(box.verticalScrollBar()->maximum());
}

QLabel* Label_For(QWidget* parent, const char* name, const char* caption, QWidget* buddy) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(name);
    if (buddy) label->setBuddy(buddy);
    return label;
}

QPushButton* Button(QWidget* parent, const char* name, const char* caption, const char* tip) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    if (tip) button->setToolTip(tip);
    return button;
}

QLineEdit* Text_Box(QWidget* parent, const char* name, const char* tip, bool read_only) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    if (tip) box->setToolTip(tip);
    box->setReadOnly(read_only);
    return box;
}

QGroupBox* Frame(QWidget* parent, const char* name, const char* caption) {
    auto* frame = new QGroupBox(caption, parent);
    frame->setObjectName(name);
    return frame;
}

QPlainTextEdit* Message_View(QWidget* parent, const char* name, const char* tip) {
    auto* area = new QPlainTextEdit(parent);
    area->setObjectName(name);
    area->setReadOnly(true);
    if (tip) area->setToolTip(tip);
    return area;
}

QMenu* Menu(QMenuBar& bar, const char* name, const char* caption) {
    QMenu* menu = bar.addMenu(caption);
    menu->setObjectName(name);
    return menu;
}

QMenu* Menu(QMenu& parent, const char* name, const char* caption) {
    QMenu* menu = parent.addMenu(caption);
    menu->setObjectName(name);
    return menu;
}

QAction* Menu_Item(QMenu& menu, const char* name, const char* caption, bool checkable) {
    QAction* action = menu.addAction(caption);
    action->setObjectName(name);
    action->setCheckable(checkable);
    return action;
}

void Fit_Columns_To_Titles(QTableWidget& grid, const std::vector<int>& design_widths) {
    const QFontMetrics metrics(grid.horizontalHeader()->font());
    for (int col = 0; col < grid.columnCount() && col < static_cast<int>(design_widths.size());
         ++col) {
        QTableWidgetItem* title = grid.horizontalHeaderItem(col);
        // The header's own margins and a sort indicator's room come on top of the text.
        const int needed = title ? metrics.horizontalAdvance(title->text()) + 18 : 0;
        grid.setColumnWidth(col, std::max(design_widths[static_cast<std::size_t>(col)], needed));
    }
}

QDialogButtonBox* Ok_Cancel_Buttons(QDialog& dialog, std::function<bool()> take,
                                    std::function<void()> show,
                                    const std::function<void()>* saved) {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    buttons->button(QDialogButtonBox::Ok)->setText(Q(TranslateText("OK")));
    buttons->button(QDialogButtonBox::Cancel)->setText(Q(TranslateText("Cancel")));
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog,
                     [&dialog, take = std::move(take), show = std::move(show), saved] {
                         if (!take()) return show();
                         dialog.accept();
                         if (saved && *saved) (*saved)();
                     });
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    return buttons;
}

}  // namespace corvanel
