#pragma once

#include "Scheduler.h"
#include "WidgetEnvironment.h"
#include "WidgetPlacements.h"

#include <QDBusConnection>
#include <QFileSystemWatcher>
#include <QObject>
#include <QQmlEngine>
#include <QQuickWindow>
#include <functional>
#include <memory>
#include <vector>

// The desktop's side of the widgets: shows each placed widget in a frameless
// window kept below the others, asks its timeline, asks again at the
// timeline's reload date and whenever the app sends ReloadTimelines, and
// carries the widgets' taps out: links and the widget URL to the desktop's URL
// handler, playback intents to the running app over the bus.
class WidgetHost : public QObject {
    Q_OBJECT

public:
    static constexpr QLatin1String serviceName{"com.velbrandtoro.Orvel.WidgetHost"};
    // The app's face on the bus, where the playback intents go.
    static constexpr QLatin1String appService{"com.velbrandtoro.Orvel"};
    static constexpr QLatin1String appPath{"/com/velbrandtoro/Orvel"};
    static constexpr QLatin1String appInterface{"com.velbrandtoro.Orvel.App"};
    static constexpr QLatin1String intentMethod{"PerformPlaybackIntent"};
    static constexpr int intentTimeoutMs = 10000;

    struct Services {
        Scheduler &scheduler;
        QDBusConnection bus;
        // Opens a URL the desktop's way; QDesktopServices when empty.
        std::function<void(const QUrl &)> openURL;
        bool reduceMotion = false;
    };

    // One widget on screen.
    class Placed : public WidgetActions {
    public:
        Placed(WidgetHost &host, const WidgetPlacement &placement, const WidgetConfiguration &configuration);
        ~Placed() override;

        const WidgetPlacement placement;
        const WidgetConfiguration &configuration;
        QQuickWindow *window() const { return m_window.get(); }
        WidgetContainer *container() const { return m_container.get(); }

        void openURL(const QUrl &url) override;
        void perform(const QString &action) override;

    private:
        friend class WidgetHost;
        WidgetHost &m_host;
        std::unique_ptr<QQuickWindow> m_window;
        std::unique_ptr<WidgetContainer> m_container;
        TaskHandle m_pending;
    };

    WidgetHost(QList<WidgetConfiguration> widgets, Services services, QObject *parent = nullptr);
    ~WidgetHost() override;

    // Takes the host's name on the bus; false when another host holds it.
    bool claim();
    // Starts taking the app's ReloadTimelines signals.
    bool listen();
    // Shows exactly these widgets; unchanged ones stay as they are.
    void show(const QList<WidgetPlacement> &placements);
    // Shows the widgets of the file and follows its changes.
    void follow(const QString &path);
    // Asks every widget of the kind, or of every kind for "", for a new timeline.
    void reloadTimelines(const QString &kind);

    const std::vector<std::unique_ptr<Placed>> &placed() const { return m_placed; }
    const QList<WidgetConfiguration> &widgets() const { return m_widgets; }
    QQmlEngine &engine() { return m_engine; }

signals:
    // The app answered an intent ("ok" or its error) or could not be reached ("").
    void intentFinished(const QString &action, const QString &result);

private slots:
    void onReloadTimelines(const QString &kind);

private:
    const WidgetConfiguration *configuration(const QString &kind) const;
    void reload(Placed &placed);
    void present(Placed &placed, const WidgetEntry &entry);
    void reloadFile();

    QList<WidgetConfiguration> m_widgets;
    Services m_services;
    QQmlEngine m_engine;
    std::vector<std::unique_ptr<Placed>> m_placed;
    QFileSystemWatcher m_watcher;
    QString m_path;
};
