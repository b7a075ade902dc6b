// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAccessible>
#include <QMenu>
#include <QString>
#include <QWidget>
#include <map>

// A window as assistive technology reads it: every named node of its accessible tree,
// menus opened as a screen reader opens them (an item is reached from the menu bar and
// from its open menu).
struct Accessible_Node {
    QAccessible::Role Role;
    QObject* Object;
};
using Accessible_Nodes = std::multimap<QString, Accessible_Node>;

inline void Walk_Accessible(QAccessibleInterface* node, Accessible_Nodes& found, int depth = 0) {
    if (!node || depth > 40) return;
    QString name = node->text(QAccessible::Name);
    if (!name.isEmpty()) found.insert({name, {node->role(), node->object()}});
    for (int i = 0; i < node->childCount(); ++i) Walk_Accessible(node->child(i), found, depth + 1);
}

inline Accessible_Nodes Accessible_Tree(QWidget& window) {
    Accessible_Nodes found;
    Walk_Accessible(QAccessible::queryAccessibleInterface(&window), found);
    for (QMenu* menu : window.findChildren<QMenu*>()) {
        Walk_Accessible(QAccessible::queryAccessibleInterface(menu), found);
    }
    return found;
}

// The widget the first node with that name and role stands for, or nullptr.
inline QWidget* Found_Widget(const Accessible_Nodes& tree, const QString& name,
                             QAccessible::Role role) {
    auto [from, to] = tree.equal_range(name);
    for (auto it = from; it != to; ++it)
        if (it->second.Role == role) return qobject_cast<QWidget*>(it->second.Object);
    return nullptr;
}
