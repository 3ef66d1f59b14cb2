#pragma once

#include "Scheduler.h"
#include "WidgetEnvironment.h"
#include "WidgetPlacements.h"

#include <QDBusConnection>
#include <QFileSystemWatcher>
#include <QLockFile>
#include <QObject>
#include <QQmlEngine>
#include <QQuickWindow>
#include <QScreen>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class WidgetGallery;

// A widget's window: dragged with the left button, a menu on the right one.
class WidgetWindow : public QQuickWindow {
    Q_OBJECT

public:
    WidgetWindow();

    bool dragging() const { return m_dragging; }

signals:
    // The drag ended with the window at its new place.
    void dropped();
    void menuRequested(QPoint globalPosition);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    std::optional<QPoint> m_pressedAt;
    QPoint m_startedAt;
    bool m_dragging = false;
};

// Held by the running host for as long as it runs, in the user's runtime
// folder: a second host stands down, with a session bus or without one. The
// lock of a host that died is taken over.
class WidgetHostInstance {
public:
    // $XDG_RUNTIME_DIR/com.velbrandtoro.Orvel.WidgetHost.lock
    static QString standardPath();
    explicit WidgetHostInstance(const QString &path);
    // False while another live host holds it. Where no lock can be made at
    // all, the host runs (with a warning) rather than not at all.
    bool claim();

private:
    QLockFile m_lock;
};

// The desktop's side of the widgets: shows each placed widget in a frameless
// window kept below the others, asks its timeline, asks again at the
// timeline's reload date and whenever the app sends ReloadTimelines, and
// carries the widgets' taps out: links and the widget URL to the desktop's URL
// handler, playback intents to the app over the bus (started by the bus when
// it is not running). It is also the desktop's widget editor: the gallery
// adds widgets, a drag moves one, its menu removes it; every change goes to
// the list file.
class WidgetHost : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "com.velbrandtoro.Orvel.WidgetHost")

public:
    static constexpr QLatin1String serviceName{"com.velbrandtoro.Orvel.WidgetHost"};
    static constexpr QLatin1String objectPath{"/com/velbrandtoro/Orvel/WidgetHost"};
    static constexpr QLatin1String interface {
        "com.velbrandtoro.Orvel.WidgetHost"
    };
    // The app's face on the bus, where the playback intents go.
    static constexpr QLatin1String appService{"com.velbrandtoro.Orvel"};
    static constexpr QLatin1String appPath{"/com/velbrandtoro/Orvel"};
    static constexpr QLatin1String appInterface{"com.velbrandtoro.Orvel.App"};
    static constexpr QLatin1String intentMethod{"PerformPlaybackIntent"};
    // Long enough for the bus to start Orvel and for it to send the command.
    static constexpr int intentTimeoutMs = 30000;

    struct Services {
        Scheduler &scheduler;
        QDBusConnection bus;
        // Opens a URL the desktop's way; QDesktopServices when empty.
        std::function<void(const QUrl &)> openURL;
        bool reduceMotion = false;
        // The program the autostart entry starts; none is written when empty.
        QString program;
    };

    // One widget on screen.
    class Placed : public WidgetActions {
    public:
        Placed(WidgetHost &host, const WidgetPlacement &placement, const WidgetConfiguration &configuration);
        ~Placed() override;

        const WidgetPlacement &placement() const { return m_placement; }
        const WidgetConfiguration &configuration;
        WidgetWindow *window() const { return m_window.get(); }
        WidgetContainer *container() const { return m_container.get(); }

        void openURL(const QUrl &url) override;
        void perform(const QString &action) override;

    private:
        friend class WidgetHost;
        WidgetPlacement m_placement;
        WidgetHost &m_host;
        std::unique_ptr<WidgetWindow> m_window;
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
    // Shows the widgets of the file and follows its changes. A file that
    // cannot be read is set aside here, at the start, and never later.
    void follow(const QString &path);
    // Asks every widget of the kind, or of every kind for "", for a new
    // timeline; an open gallery draws its previews of the kind afresh.
    void reloadTimelines(const QString &kind);
    // The desktop's Reduce Motion, for every widget shown.
    void setReduceMotion(bool reduceMotion);

    // Places a widget at the first free place on the screen and keeps it.
    WidgetPlacement add(const QString &kind, WidgetFamily family, QScreen *screen);
    // Keeps the widget where its window now lies, moved onto its screen.
    void keepWhereDropped(Placed &placed);
    void remove(const WidgetPlacement &placement);
    void showMenu(const WidgetPlacement &placement, QPoint globalPosition);

    // The gallery of every widget there is; made on first use.
    WidgetGallery &gallery();

    const std::vector<std::unique_ptr<Placed>> &placed() const { return m_placed; }
    const QList<WidgetConfiguration> &widgets() const { return m_widgets; }
    QQmlEngine &engine() { return m_engine; }

public slots:
    // Asked by a second `orvel-widget-host --gallery`.
    Q_SCRIPTABLE void ShowGallery();

signals:
    // The app answered an intent ("ok" or its error) or could not be reached ("").
    void intentFinished(const QString &action, const QString &result);

private slots:
    void onReloadTimelines(const QString &kind);

private:
    const WidgetConfiguration *configuration(const QString &kind) const;
    void reload(Placed &placed);
    void present(Placed &placed, const WidgetEntry &entry);
    // Where its placement says, at that screen's scale; a widget being dragged is left to the drag.
    void place(Placed &placed);
    // Its size in points and its outline at the scale of the screen it is on now.
    void fitToScale(Placed &placed);
    // Every widget again, once the screens have settled: one turn later, once however many changed.
    void placeAllLater();
    void placeAll();
    void followScreen(QScreen *screen);
    // Reads the file once it has been quiet for WidgetPlacementFile::quietSeconds.
    void fileChanged();
    void readFile();
    void watchFile();
    // Changes the list as the file has it, with its lock held, and shows it.
    // A change that cannot be saved is shown all the same and saved with the next one.
    using Edit = std::function<void(QList<WidgetPlacement> &)>;
    void change(Edit edit);
    // Makes or removes the login entry for the list just saved; a failure is only logged.
    void followAutostart(const QList<WidgetPlacement> &placements);

    QList<WidgetConfiguration> m_widgets;
    Services m_services;
    QQmlEngine m_engine;
    std::vector<std::unique_ptr<Placed>> m_placed;
    QFileSystemWatcher m_watcher;
    QString m_path;
    // The whole list shown, widgets of kinds this version lacks too.
    QList<WidgetPlacement> m_list;
    // The host's own changes the file does not have yet, in order.
    std::vector<Edit> m_unsaved;
    TaskHandle m_quiet;
    // What was said last about reading and saving the file, so it is said once.
    QString m_readProblem;
    QString m_saveProblem;
    std::unique_ptr<WidgetGallery> m_gallery;
    bool m_placeDue = false;
};
