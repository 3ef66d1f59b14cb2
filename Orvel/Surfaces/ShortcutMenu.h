#pragma once

#include <QObject>
#include <QVariant>
#include <QtQml/qqmlregistration.h>

// The menu of a row of the shortcut list, none of its items ever disabled:
// open, move up (-1), move down (+1), edit, remove (destructive).
class ShortcutMenu : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON

public:
    using QObject::QObject;
    static QVariantList menuItems();
    Q_INVOKABLE QVariantList items() const { return menuItems(); }
    // The kind a row names under its title: "Track", "Album", …
    Q_INVOKABLE QString kindName(const QString &kind) const;
};
