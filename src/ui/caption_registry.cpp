// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/caption_registry.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QWidget>

#include "common/error_numbers.h"

namespace corvanel {

void Set_Design_Text(QWidget& window, const Caption_Entry& entry, const std::string& text) {
    const QString value = QString::fromStdString(text);
    if (entry.Property == Caption_Property::Window_Caption) {
        window.setWindowTitle(value);
        return;
    }
    const QString name =
        QString::fromUtf8(entry.Control.data(), static_cast<int>(entry.Control.size()));
    QObject* control = window.findChild<QObject*>(name);
    if (!control) throw Run_Time_Error(Error_Number::Subscript_Out_Of_Range);

    if (entry.Property == Caption_Property::ToolTipText) {
        auto* widget = qobject_cast<QWidget*>(control);
        if (!widget) throw Run_Time_Error(Error_Number::Subscript_Out_Of_Range);
        widget->setToolTip(value);
        return;
    }
    if (auto* menu = qobject_cast<QMenu*>(control)) {
        menu->setTitle(value);
    } else if (auto* action = qobject_cast<QAction*>(control)) {
        action->setText(value);
    } else if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        button->setText(value);
    } else if (auto* label = qobject_cast<QLabel*>(control)) {
        label->setText(value);
    } else if (auto* frame = qobject_cast<QGroupBox*>(control)) {
        frame->setTitle(value);
    } else {
        throw Run_Time_Error(Error_Number::Subscript_Out_Of_Range);
    }
}

void Qt_Window_Registry::Set_Text(const Caption_Entry& entry, const std::string& text) {
    QWidget* window = Window_Of_(entry.Window);
    if (!window) throw Run_Time_Error(Error_Number::Subscript_Out_Of_Range);
    if (auto* owner = dynamic_cast<Caption_Owner*>(window)) {
        if (owner->Set_Own_Text(entry, text)) return;
    }
    Set_Design_Text(*window, entry, text);
}

}  // namespace corvanel
