#pragma once

#include "DashboardState.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QUrl>
#include <functional>
#include <memory>
#include <optional>
#include <qcoro/qcorotask.h>

class DashboardWindow;
class PanelManager;
class Preferences;
class QQmlEngine;
class Scheduler;
class StatusItem;

// Wires the process together once launching has finished: tray item, playback
// engine, panels and the dashboard. Main thread only.
class AppDelegate : public QObject {
    Q_OBJECT
public:
    enum class MenuAction {
        openDashboard,
        openShortcuts,
        showPlayer,
        toggleNotch,
        toggleSidebar,
        openSpotify,
        quit
    };

    struct MenuItem {
        QString title; // empty for a separator
        std::optional<MenuAction> action; // nothing: a disabled item
        QString key; // lower-case character for Ctrl+<key>, or empty
        std::optional<bool> checked; // nothing: not a checkable item

        bool isSeparator() const { return title.isEmpty() && !action; }
        bool isEnabled() const { return action.has_value(); }
        friend bool operator==(const MenuItem &, const MenuItem &) = default;
    };

    // The playback engine as the delegate drives it.
    struct Engine {
        std::function<void()> start;
        std::function<void()> flush;
        std::function<QCoro::Task<void>()> refresh;
        std::function<QCoro::Task<void>(bool activates)> openSpotify;
        std::function<std::optional<QString>()> trackTitle;
        bool isPreview = false;
    };

    struct Services {
        Engine engine;
        Preferences &preferences;
        PanelManager &panels;
        DashboardState &dashboardState;
        Scheduler &scheduler;
        QQmlEngine &qml; // the engine of the app's windows
        bool makeStatusItem = true; // only where a widget application runs
        std::function<void()> quit; // nothing: quit the event loop
    };

    explicit AppDelegate(Services services, QObject *parent = nullptr);
    ~AppDelegate() override;

    void applicationDidFinishLaunching();
    // The status menu's items as they stand now, and as they stand for a
    // track title and the two panels' switches.
    QList<MenuItem> statusMenuItems() const;
    static QList<MenuItem> statusMenuItems(const std::optional<QString> &track, bool notch, bool sidebar);
    void perform(MenuAction action);
    bool applicationShouldTerminateAfterLastWindowClosed() const { return false; }
    bool applicationShouldHandleReopen();
    // A burst of URLs: each kind of effect once, as its last URL asks.
    void open(const QList<QUrl> &urls);
    void handle(const QUrl &url);
    void applicationWillTerminate();
    void openDashboard(DashboardSection section, std::optional<int> skillSlot = std::nullopt);

    PanelManager &panels() const { return m_services.panels; }
    Preferences &preferences() const { return m_services.preferences; }
    DashboardState &dashboardState() const { return m_services.dashboardState; }
    DashboardWindow *dashboard() const { return m_dashboard.get(); }
    StatusItem *statusItem() const { return m_statusItem.get(); }

public slots:
    // The hand-over of a second launch.
    void showDashboardRequested();

signals:
    // What the status menu shows may have changed (track, availability, a
    // panel switched): a tray host may read its layout at any moment.
    void statusMenuChanged();

private:
    void startTask(std::function<QCoro::Task<void>()> work);

    Services m_services;
    std::unique_ptr<StatusItem> m_statusItem;
    std::unique_ptr<DashboardWindow> m_dashboard;
    bool m_terminated = false;
};
