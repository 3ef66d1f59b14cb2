#pragma once

#include "Geometry.h"
#include "PanelWindow.h"
#include "QmlOwners.h"
#include "Scheduler.h"
#include "Screens.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QSet>
#include <QString>
#include <QVariant>
#include <QtQml/qqmlregistration.h>
#include <functional>
#include <memory>
#include <vector>

class Desktop;
class Preferences;
class QQmlEngine;

// The app's one list of connected displays, kept current from the system's
// screen changes. It says which displays carry panels under the user's
// display scope, and numbers the displays on screen for a moment so the user
// can tell them apart. Main thread only.
class DisplayCatalog : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    // One map per display, in the system's order: {id, number, name, title,
    // sizeText, primary, frame: {x, y, width, height}} (frame in points, y up).
    Q_PROPERTY(QVariantList displays READ displaysValue NOTIFY displaysChanged)

public:
    struct Display {
        // Stable across rearrangements and changes of output: the monitor's
        // maker, model and serial number, else the output's name, else
        // "display-" and its number (displayIdentifiers()).
        QString id;
        // 1-based position in the list at the last refresh.
        int number = 0;
        QString name;
        Rect frame;
        bool isPrimary = false;

        // "2. Name"
        QString title() const;
        // The frame's whole points: "1512 × 982".
        QString sizeText() const;
        QVariantMap toVariant() const;

        friend bool operator==(const Display &, const Display &) = default;
    };

    static constexpr Size identificationSize{280, 210};
    static constexpr double identificationSeconds = 3;
    // Can join all spaces, and full-screen auxiliary.
    static constexpr std::uint64_t identificationCollectionBehavior = 257;

    struct Services {
        Screens *screens = nullptr;
        Scheduler *scheduler = nullptr;
        // A window showing the identification content of the display.
        std::function<std::unique_ptr<PanelWindow>(const Display &)> makeIdentificationPanel;
        // Choices stored under a display's output name move to its id when it
        // is seen; without preferences nothing stored is touched.
        Preferences *preferences = nullptr;
    };

    // Identification panels on screen, in the skin and aura the engine's owners give.
    static std::function<std::unique_ptr<PanelWindow>(const Display &)> floatingPanels(
        Screens &screens, Desktop &desktop, Scheduler &scheduler, QQmlEngine &engine);

    // Reads the displays at once and follows their changes.
    explicit DisplayCatalog(Services services, QObject *parent = nullptr);
    ~DisplayCatalog() override;

    static DisplayCatalog *create(QQmlEngine *engine, QJSEngine *)
    {
        return QmlOwners::lookup<DisplayCatalog>(engine);
    }

    const QList<Display> &displays() const { return m_displays; }
    // Rebuilds the list now; one change notification.
    void refresh();

    // The ids of displays connected together, in their order.
    static QStringList identifiers(const QList<ScreenInfo> &screens);
    // The id of one of them; twins are told apart only among the others.
    static QString identifier(const ScreenInfo &screen, const QList<ScreenInfo> &among);
    static QString identifier(const ScreenInfo &screen) { return identifier(screen, {screen}); }
    // For each screen, the index of the first one it mirrors (the same frame),
    // else its own: mirrors are one display, listed and given panels once.
    static QList<qsizetype> mirrorLeaders(const QList<ScreenInfo> &screens);
    // The id under which a display is listed: its own, or for a mirror its leader's.
    QString listedID(const QString &id) const { return m_mirrors.value(id, id); }
    // The displays that carry panels under the preferences' scope.
    QSet<QString> activeDisplayIDs(const Preferences &preferences) const;
    // The same for views, in display order.
    Q_INVOKABLE QStringList activeIDs(Preferences *preferences) const;

    // Puts each display's number on it for three seconds; a second call
    // replaces the first set at once.
    Q_INVOKABLE void identify();
    const std::vector<std::unique_ptr<PanelWindow>> &identificationPanels() const
    {
        return m_identificationPanels;
    }

signals:
    void displaysChanged();

private:
    QVariantList displaysValue() const;
    void closeIdentificationPanels();

    Services m_services;
    QList<Display> m_displays;
    // The ids of the mirrors left out of the list, to the id of the display they mirror.
    QHash<QString, QString> m_mirrors;
    std::vector<std::unique_ptr<PanelWindow>> m_identificationPanels;
    TaskHandle m_identificationTask;
};
