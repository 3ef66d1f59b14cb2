#pragma once

#include "Geometry.h"
#include "PanelModel.h"
#include "PanelWindow.h"
#include "Scheduler.h"
#include "ScreenGeometry.h"

#include <QObject>
#include <QString>
#include <QUuid>
#include <cstdint>
#include <functional>
#include <memory>

class Desktop;
class MenuTracker;
class QQmlEngine;
class Preferences;
class Screens;

// One floating surface on one display: binds a PanelModel to its window,
// turns the model's state into the window's level and frame whenever the
// model asks, turns header drags, nudges and resets into stored player
// positions, holds the panel open while a menu of the app is tracking, and
// tells the player whether the panel is open. Main thread only.
class SurfaceWindow : public QObject {
    Q_OBJECT
public:
    // Above the top bar, for the player at home under a notch.
    static constexpr int notchLevel = 27;
    // Joins every space, stationary, out of the window cycle, and either
    // beside full-screen windows or away from them.
    static constexpr std::uint64_t fullScreenAuxiliaryBehavior = 337;
    static constexpr std::uint64_t fullScreenNoneBehavior = 593;
    static constexpr double expansionSeconds = 0.22;
    static constexpr double shrinkDelay = 0.3;
    static constexpr double headerHeight = 38;
    // Half the compact player: how far from its centre a grab is kept.
    static constexpr double maximumGrabOffset = 142;
    // How often a pointer no window reports is looked at: resting beside an open
    // panel, where it unfolded from, or over a panel something covers.
    static constexpr double restingPointerInterval = 0.1;

    struct Services {
        Preferences *preferences = nullptr;
        Scheduler *scheduler = nullptr;
        Screens *screens = nullptr;
        // The app's menus; none counts when absent.
        MenuTracker *menus = nullptr;
        // Tells the player whether a panel is open (it polls faster then).
        std::function<void(const QUuid &, bool)> reportPanel;
        // The skill bar's room for the top player, with the model's peeking flag.
        std::function<SkillChrome(bool peeking)> chrome;
        // The window that shows the model's surface.
        std::function<std::unique_ptr<PanelWindow>(PanelModel &)> makeWindow;
    };

    // Builds the model and its window, off screen.
    SurfaceWindow(SurfaceKind kind, const ScreenGeometry &geometry, const QString &displayID,
        Services services, QObject *parent = nullptr);
    ~SurfaceWindow() override;

    static QString title(SurfaceKind kind);
    // The place the user left the player on that display, if any.
    static std::optional<PlayerPosition> storedPosition(
        const Preferences &preferences, const QString &displayID);
    // The QML type that shows a panel's surface, given the panel's model as `model`.
    static constexpr const char *surfaceViewType = "SurfaceView";
    // Floating panels showing the surface view of a model.
    static std::function<std::unique_ptr<PanelWindow>(PanelModel &)> floatingPanels(
        Screens &screens, Desktop &desktop, Scheduler &scheduler, QQmlEngine &engine);

    PanelModel &model() const { return *m_model; }
    PanelWindow &panel() const { return *m_panel; }
    const QString &displayID() const { return m_displayID; }
    int menuTrackingDepth() const { return m_menuTrackingDepth; }
    Point dragOffset() const { return m_dragOffset; }
    bool shrinkPending() const { return m_shrinkTask.isValid(); }

    // Re-lays the window from the model: behaviour, level, skill chrome, frame; reports the panel.
    void update(bool animated);
    void show();
    void hide();
    void close();
    // Stores where the player is now for this display; a place near home sends it home.
    void storePosition();
    void reprobePointer();

    // The pointer over the panel now (its shape, where the window is cut to
    // it), or over the place an open panel unfolded from where the pointer is
    // seen off windows. Where it is seen only over windows, never while it is off this one.
    bool pointerInside() const;
    // The place the panel unfolds from: the sidebar's tab, out to the display's
    // edge; the top player's folded frame.
    Rect unfoldedFrom() const;
    bool watchingRestingPointer() const { return m_restingWatch.isValid() && !m_restingWatch.isFinished(); }
    // A leave the panel's own frame change told waits for the entry that undoes it.
    bool leaveSetAside() const { return m_leaveSetAside; }

private:
    Preferences &preferences() const { return *m_services.preferences; }
    // Where the header's top edge is: the bottom 38 points of a player that opens upward.
    double headerTop(const Rect &frame) const;
    // The position of a player frame, measured at its header.
    PlayerPosition positionOf(const Rect &frame) const;
    void dragStarted(Point point);
    void dragMoved(Point point);
    void nudge(double dx, double dy);
    void resetPosition();
    void menuBegan();
    void menuEnded();
    void startShrink();
    void report();
    // `moved`: a move over the window brought the entry, rather than the window's own crossing.
    void pointerCrossed(bool inside, bool moved = false);
    void left(Point pointer, bool pointerStayed);
    void setLeaveAside();
    // Where the pointer is can be told: everywhere, or by this window's crossings.
    bool seesPointer() const;
    bool countsUnfoldedFrom() const;
    void pointerMoved();
    void onScreenChanged();
    void dismissing();
    // The panel came under the pointer without the pointer moving since it folded.
    bool restsWhereFolded(Point pointer) const;
    void watchPointer(std::function<bool()> look);
    void watchRestingPointer();
    void watchCoveredPointer();
    void stopWatchingRestingPointer();

    Services m_services;
    std::unique_ptr<PanelModel> m_model;
    std::unique_ptr<PanelWindow> m_panel;
    int m_menuTrackingDepth = 0;
    bool m_lastExpanded = false;
    const QString m_displayID;
    Point m_dragOffset;
    TaskHandle m_shrinkTask;
    QList<QMetaObject::Connection> m_menuObservers;
    // Where the pointer was at the last frame change of a panel folded since it was open.
    std::optional<Point> m_pointerAtFold;
    // The panel came under a resting pointer: its first move there is the entry.
    bool m_entrySetAside = false;
    // Under XWayland: an entry told without a move, which may be XWayland's stale pointer; a move makes it
    // one.
    bool m_entryUnmoved = false;
    // Under XWayland: the leave of the panel's own frame stood once no entry had come by the look; one
    // coming later still undoes it.
    bool m_lateEntryCounts = false;
    // Dismissed with the pointer on it: nothing opens it until the pointer leaves.
    bool m_heldByDismissal = false;
    TaskHandle m_restingWatch;
    // The screens' pointer is where the pointer is: it is over the window, or the
    // window went from under it and it has not been seen to move since.
    bool m_pointerSeen = false;
    // The window's frame changes as of the pointer's last move or crossing.
    std::uint64_t m_framesAtPointer = 0;
    bool m_leaveSetAside = false;
    TaskHandle m_leaveCheck;
};
