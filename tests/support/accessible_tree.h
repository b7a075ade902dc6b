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
    QString Description;
    QObject* Object;
};
using Accessible_Nodes = std::multimap<QString, Accessible_Node>;

inline void Walk_Accessible(QAccessibleInterface* node, Accessible_Nodes& found, int depth = 0) {
    if (!node || depth > 40) return;
    QString name = node->text(QAccessible::Name);
    if (!name.isEmpty()) {
        found.insert({name, {node->role(), node->text(QAccessible::Description), node->object()}});
    }
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

// The first node that reads `name` with the role (and the description, when one is given).
inline const Accessible_Node* Find_Node(const Accessible_Nodes& tree, const QString& name,
                                        QAccessible::Role role, const QString& description = {}) {
    auto [from, to] = tree.equal_range(name);
    for (auto it = from; it != to; ++it) {
        if (it->second.Role == role &&
            (description.isEmpty() || it->second.Description == description))
            return &it->second;
    }
    return nullptr;
}

inline bool Has(const Accessible_Nodes& tree, const QString& name, QAccessible::Role role,
                const QString& description = {}) {
    return Find_Node(tree, name, role, description) != nullptr;
}

// The widget a node with that name and role stands for, or nullptr.
inline QWidget* Found_Widget(const Accessible_Nodes& tree, const QString& name,
                             QAccessible::Role role) {
    const Accessible_Node* node = Find_Node(tree, name, role);
    return node ? qobject_cast<QWidget*>(node->Object) : nullptr;
}
