#pragma once

#include "DisplayScope.h"

#include <QColor>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>
#include <vector>

class DisplayCatalog;
class Preferences;

// The rules of the display settings page over the preferences and the display
// catalogue: the scope choices, the menu of displays, whether the chosen
// display is missing, the note, and the page's three writes, each of which
// stores the display first and the scope last.
class DisplaySettingsModel : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(Preferences *preferences READ preferences WRITE setPreferences NOTIFY changed)
    Q_PROPERTY(DisplayCatalog *catalog READ catalog WRITE setCatalog NOTIFY changed)

    // {scope, title, selected}, in the scopes' order.
    Q_PROPERTY(QVariantList scopeChoices READ scopeChoices NOTIFY changed)
    Q_PROPERTY(bool showsMenu READ showsMenu NOTIFY changed)
    // {title, tag}, in the menu's order.
    Q_PROPERTY(QVariantList menuEntries READ menuEntries NOTIFY changed)
    // The entry the menu shows as chosen; -1 for none.
    Q_PROPERTY(int menuIndex READ menuIndex NOTIFY changed)
    Q_PROPERTY(bool selectedDisplayMissing READ selectedDisplayMissing NOTIFY changed)
    Q_PROPERTY(QString noteText READ noteText NOTIFY changed)
    Q_PROPERTY(QString noteSymbol READ noteSymbol NOTIFY changed)
    // The catalogue's displays, and the ids of those that carry panels now.
    Q_PROPERTY(QVariantList displays READ displays NOTIFY changed)
    Q_PROPERTY(QStringList activeIDs READ activeIDs NOTIFY changed)
    // The system's orange, for the warning note.
    Q_PROPERTY(QColor warningColor READ warningColor CONSTANT)

public:
    struct MenuEntry {
        QString title;
        QString tag;
        friend bool operator==(const MenuEntry &, const MenuEntry &) = default;
    };

    using QObject::QObject;

    Preferences *preferences() const { return m_preferences; }
    void setPreferences(Preferences *preferences);
    DisplayCatalog *catalog() const { return m_catalog; }
    void setCatalog(DisplayCatalog *catalog);

    static QString scopeTitle(DisplayScope scope);
    QVariantList scopeChoices() const;
    bool showsMenu() const;
    std::vector<MenuEntry> menu() const;
    QVariantList menuEntries() const;
    // The stored id, or "" when none is stored.
    QString menuSelection() const;
    int menuIndex() const;
    // Scope `selected` with a stored id that no connected display has.
    bool selectedDisplayMissing() const;
    QString noteText() const;
    QString noteSymbol() const;
    QVariantList displays() const;
    QStringList activeIDs() const;
    static QColor warningColor() { return QColor::fromRgbF(1.0, 0.584, 0.0); }

    // A scope button: choosing `selected` with no stored display stores the
    // primary (else the first display, else none) before the scope.
    void choose(DisplayScope scope);
    Q_INVOKABLE void choose(const QString &scope);
    // A click on the map: that display, then scope `selected`.
    Q_INVOKABLE void selectDisplay(const QString &id);
    // A menu pick stores the entry's tag as it is ("" included); the scope stays.
    Q_INVOKABLE void pickMenuEntry(int index);
    Q_INVOKABLE void identify();

signals:
    void changed();

private:
    void rewatch();

    QPointer<Preferences> m_preferences;
    QPointer<DisplayCatalog> m_catalog;
    std::vector<QMetaObject::Connection> m_connections;
};
