#include "SurfaceWindow.h"

#include "FloatingPanel.h"
#include "MenuTracker.h"
#include "Preferences.h"
#include "Screens.h"

#include <QPointer>
#include <algorithm>
#include <utility>

namespace {
const char *flag(bool value)
{
    return value ? "1" : "0";
}

// The frame as the log has always written it: {{x, y}, {width, height}}.
QString text(const Rect &rect)
{
    return QStringLiteral("{{%1, %2}, {%3, %4}}")
        .arg(rect.minX())
        .arg(rect.minY())
        .arg(rect.width())
        .arg(rect.height());
}

bool underNotch(const PanelModel &model)
{
    const ScreenGeometry geometry = model.effectiveGeometry();
    return model.kind() == SurfaceKind::notch && geometry.notchWidth > 0 && geometry.topInset > 0;
}

QCoro::Task<void> shrinkLater(Scheduler &scheduler, QPointer<SurfaceWindow> window, TaskHandle self)
{
    const bool slept = co_await scheduler.sleep(SurfaceWindow::shrinkDelay, self);
    if (!slept || self.isCancelled() || !window)
        co_return;
    // Opened again meanwhile: the large frame stays.
    if (!window->model().isExpanded())
        window->update(false);
}

// Looks at a pointer that no window reports, every so often, for as long as `look` says.
QCoro::Task<void> followPointer(
    Scheduler &scheduler, QPointer<SurfaceWindow> window, TaskHandle self, std::function<bool()> look)
{
    for (;;) {
        const bool slept = co_await scheduler.sleep(SurfaceWindow::restingPointerInterval, self);
        if (!slept || self.isCancelled() || !window || !look())
            co_return;
    }
}
} // namespace

std::function<std::unique_ptr<PanelWindow>(PanelModel &)> SurfaceWindow::floatingPanels(
    Screens &screens, Desktop &desktop, Scheduler &scheduler, QQmlEngine &engine)
{
    return [&screens, &desktop, &scheduler, &engine](PanelModel &model) -> std::unique_ptr<PanelWindow> {
        const QByteArray view
            = QByteArrayLiteral("import QtQuick\nimport Orvel\n") + surfaceViewType + " {}\n";
        return std::make_unique<FloatingPanel>(screens, desktop, scheduler, engine, view,
            QVariantMap{{QStringLiteral("model"), QVariant::fromValue(&model)}});
    };
}

SurfaceWindow::SurfaceWindow(SurfaceKind kind, const ScreenGeometry &geometry, const QString &displayID,
    Services services, QObject *parent)
    : QObject(parent)
    , m_services(std::move(services))
    , m_displayID(displayID)
{
    if (!m_services.preferences || !m_services.scheduler || !m_services.screens || !m_services.reportPanel
        || !m_services.chrome || !m_services.makeWindow)
        qFatal("SurfaceWindow is missing a service");

    m_model = std::make_unique<PanelModel>(kind, geometry, *m_services.scheduler);
    m_model->setPosition(geometry.anchored(storedPosition(preferences(), displayID)));

    const Rect initial = kind == SurfaceKind::sidebar
        ? geometry.sidebarFrame(false)
        : geometry.playerFrame(false, m_model->position(), SkillChrome::none, false);
    m_panel = m_services.makeWindow(*m_model);
    m_panel->setFrame(initial);
    m_panel->setHasShadow(kind == SurfaceKind::sidebar);
    m_panel->setLevel(PanelWindow::floatingLevel);
    m_panel->setTitle(title(kind));

    const QPointer<SurfaceWindow> self(this);
    m_panel->escape = [self] {
        if (self)
            self->model().dismiss();
    };
    m_panel->pointerChanged = [self](bool inside) {
        if (self)
            self->pointerCrossed(inside);
    };
    m_panel->pointerMoved = [self] {
        if (self)
            self->pointerMoved();
    };
    m_panel->onScreenChanged = [self] {
        if (self)
            self->onScreenChanged();
    };

    PanelModel &model = *m_model;
    model.onChange = [self] {
        if (self)
            self->update(true);
    };
    model.pointerInside = [self] { return self && self->pointerInside(); };
    model.onDismiss = [self] {
        if (self)
            self->dismissing();
    };
    model.onDragStart = [self](Point point) {
        if (self)
            self->dragStarted(point);
    };
    model.onDragMove = [self](Point point) {
        if (self)
            self->dragMoved(point);
    };
    model.onDragEnd = [self] {
        if (self)
            self->storePosition();
    };
    model.onResetPosition = [self] {
        if (self)
            self->resetPosition();
    };
    model.onNudge = [self](double dx, double dy) {
        if (self)
            self->nudge(dx, dy);
    };

    // Each menu event is handled on a later turn, as the menu settles first.
    if (MenuTracker *menus = m_services.menus) {
        m_menuObservers.append(
            connect(menus, &MenuTracker::began, this, &SurfaceWindow::menuBegan, Qt::QueuedConnection));
        m_menuObservers.append(
            connect(menus, &MenuTracker::ended, this, &SurfaceWindow::menuEnded, Qt::QueuedConnection));
    }

    update(false);
}

SurfaceWindow::~SurfaceWindow()
{
    m_shrinkTask.cancel();
    m_restingWatch.cancel();
    m_leaveCheck.cancel();
    // The model's closures hold this window weakly; the window goes first, while they can still tell.
    m_panel.reset();
    m_model.reset();
}

QString SurfaceWindow::title(SurfaceKind kind)
{
    return kind == SurfaceKind::notch ? QStringLiteral("Orvel \u2014 Notch")
                                      : QStringLiteral("Orvel \u2014 Sidebar");
}

std::optional<PlayerPosition> SurfaceWindow::storedPosition(
    const Preferences &preferences, const QString &displayID)
{
    const auto &positions = preferences.playerPositions();
    const auto found = positions.constFind(displayID);
    return found == positions.constEnd() ? std::nullopt : std::optional<PlayerPosition>(*found);
}

bool SurfaceWindow::pointerInside() const
{
    // Where the pointer is seen only over windows, it is on none of this one's places unless it is on the
    // window.
    if (!seesPointer())
        return false;
    const Point pointer = m_services.screens->pointer();
    return m_panel->covers(pointer) || (countsUnfoldedFrom() && unfoldedFrom().contains(pointer));
}

bool SurfaceWindow::seesPointer() const
{
    return m_services.screens->seesPointerEverywhere() || m_pointerSeen;
}

bool SurfaceWindow::countsUnfoldedFrom() const
{
    // The place lies off the open panel's window: it counts only where the pointer is seen off windows.
    return m_model->isExpanded() && m_services.screens->seesPointerEverywhere();
}

Rect SurfaceWindow::unfoldedFrom() const
{
    const PanelModel &model = *m_model;
    if (model.kind() == SurfaceKind::sidebar)
        return model.geometry().sidebarTabPlace();
    return model.geometry().playerFrame(
        false, model.position(), m_services.chrome(model.peeking()), model.announcing());
}

bool SurfaceWindow::restsWhereFolded(Point pointer) const
{
    return m_pointerAtFold && *m_pointerAtFold == pointer;
}

void SurfaceWindow::pointerCrossed(bool inside, bool moved)
{
    PanelModel &model = *m_model;
    const Point pointer = m_services.screens->pointer();
    // The panel's own frame changed since the pointer last moved or crossed.
    const bool afterOwnFrame = m_panel->frameChanges() != m_framesAtPointer;
    m_framesAtPointer = m_panel->frameChanges();
    if (inside) {
        // Undoes a leave the panel's own frame change told: the pointer never left.
        if (std::exchange(m_leaveSetAside, false)) {
            m_leaveCheck.cancel();
            m_leaveCheck = {};
            return;
        }
        // XWayland tells an entry to a window that appears where it last saw the pointer, wherever the
        // pointer is now; a real entry brings a move at once, and that move makes it one.
        if (!moved && !m_services.screens->seesPointerEverywhere()
            && !std::exchange(m_lateEntryCounts, false)) {
            m_entryUnmoved = true;
            return;
        }
        m_pointerSeen = true;
    }
    m_lateEntryCounts = false;
    m_entryUnmoved = false;
    m_entrySetAside = false;
    if (inside) {
        stopWatchingRestingPointer();
        if (m_heldByDismissal) {
            qCDebug(lcHover, "dismissed under the pointer: %s stays folded", qPrintable(m_panel->title()));
            return;
        }
        // The panel moved under a pointer that has not moved since it folded: it stays folded.
        if (restsWhereFolded(pointer)) {
            qCDebug(lcHover, "resting pointer under %s", qPrintable(m_panel->title()));
            m_entrySetAside = true;
            return;
        }
        model.hover(true);
        return;
    }
    // A frame of the panel's own is no leave while the pointer is on the frame still (X re-cuts
    // a resized window's shape, a compositor finds the surface anew): the entry that undoes it follows.
    if (afterOwnFrame && m_pointerSeen && !m_leaveSetAside && model.hovered() && m_panel->isOnScreen()
        && m_panel->frame().contains(pointer)) {
        setLeaveAside();
        return;
    }
    left(pointer, afterOwnFrame);
}

void SurfaceWindow::left(Point pointer, bool pointerStayed)
{
    PanelModel &model = *m_model;
    // The window went from under a pointer that has not moved: it is where it was last seen.
    m_pointerSeen = m_pointerSeen && pointerStayed;
    m_leaveSetAside = false;
    m_leaveCheck.cancel();
    m_leaveCheck = {};
    // Left by a pointer that moved: coming back is an entry, wherever it lands.
    if (m_pointerAtFold && *m_pointerAtFold != pointer)
        m_pointerAtFold.reset();
    // The open panel slid from under a pointer that rests where it unfolded from.
    if (countsUnfoldedFrom() && model.hovered() && !m_panel->covers(pointer)
        && unfoldedFrom().contains(pointer)) {
        watchRestingPointer();
        return;
    }
    stopWatchingRestingPointer();
    model.hover(false);
    // A full-screen window taking the display is no leave of the pointer's, nor is
    // a window coming over the panel, which X tells as one with the pointer still there.
    if (m_heldByDismissal && m_panel->isOnScreen()) {
        if (pointerInside())
            watchCoveredPointer();
        else
            m_heldByDismissal = false;
    }
}

void SurfaceWindow::setLeaveAside()
{
    qCDebug(lcHover, "%s changed its frame under the pointer: no leave", qPrintable(m_panel->title()));
    m_leaveSetAside = true;
    Scheduler &scheduler = *m_services.scheduler;
    const QPointer<SurfaceWindow> self(this);
    // Seen everywhere, the pointer leaves when it leaves the frame; seen only over windows, the
    // entry has come by the first look, or the leave was the pointer's.
    const auto look = [this] {
        const Point pointer = m_services.screens->pointer();
        if (m_services.screens->seesPointerEverywhere() && m_panel->isOnScreen()
            && m_panel->frame().contains(pointer))
            return true;
        m_leaveCheck = {};
        m_lateEntryCounts = !m_services.screens->seesPointerEverywhere();
        left(pointer, false);
        return false;
    };
    m_leaveCheck = scheduler.spawn(
        [&scheduler, self, look](TaskHandle task) { return followPointer(scheduler, self, task, look); });
}

void SurfaceWindow::onScreenChanged()
{
    // Kept off its display by a full-screen window, an open panel is not looked at: no fast polling.
    report();
    // The full-screen window had the pointer's crossings: one that left the panel meanwhile ended its hold.
    if (m_heldByDismissal && m_panel->isOnScreen() && !pointerInside()) {
        qCDebug(lcHover, "pointer left %s while it was away", qPrintable(m_panel->title()));
        m_heldByDismissal = false;
    }
}

void SurfaceWindow::pointerMoved()
{
    // Moves come only over the window: where the pointer is now is known.
    m_pointerSeen = true;
    m_framesAtPointer = m_panel->frameChanges();
    // Only the entry set aside counts: a panel dismissed under the pointer stays
    // folded however it moves there, until it leaves and comes back.
    m_lateEntryCounts = false;
    if (m_entrySetAside || m_entryUnmoved)
        pointerCrossed(true, true);
}

void SurfaceWindow::dismissing()
{
    // Asked before anything is cleared, so the strip beside the open sidebar still counts.
    m_heldByDismissal = m_panel->isVisible() && pointerInside();
    m_entrySetAside = false;
    m_entryUnmoved = false;
}

void SurfaceWindow::watchPointer(std::function<bool()> look)
{
    stopWatchingRestingPointer();
    Scheduler &scheduler = *m_services.scheduler;
    const QPointer<SurfaceWindow> self(this);
    m_restingWatch = scheduler.spawn([&scheduler, self, look = std::move(look)](TaskHandle task) {
        return followPointer(scheduler, self, task, look);
    });
}

void SurfaceWindow::watchRestingPointer()
{
    if (watchingRestingPointer())
        return;
    qCDebug(lcHover, "resting pointer beside %s", qPrintable(m_panel->title()));
    // Until it leaves the panel's place.
    watchPointer([this] {
        const bool inside = pointerInside();
        if (m_model->isExpanded() && inside)
            return true;
        if (m_model->hovered() && !inside) {
            qCDebug(lcHover, "resting pointer left %s", qPrintable(m_panel->title()));
            m_model->hover(false);
        }
        return false;
    });
}

void SurfaceWindow::watchCoveredPointer()
{
    // Until it leaves the covered panel or comes back into its window; kept away, the return asks.
    watchPointer([this] {
        if (!m_heldByDismissal || !m_panel->isOnScreen())
            return false;
        if (pointerInside())
            return true;
        qCDebug(lcHover, "pointer left %s while it was covered", qPrintable(m_panel->title()));
        m_heldByDismissal = false;
        return false;
    });
}

void SurfaceWindow::stopWatchingRestingPointer()
{
    m_restingWatch.cancel();
    m_restingWatch = {};
}

void SurfaceWindow::update(bool animated)
{
    PanelModel &model = *m_model;
    PanelWindow &panel = *m_panel;
    const bool notch = model.kind() == SurfaceKind::notch;

    panel.setCollectionBehavior(
        preferences().showInFullScreen() ? fullScreenAuxiliaryBehavior : fullScreenNoneBehavior);
    const bool home = underNotch(model);
    const int level = home ? notchLevel : PanelWindow::floatingLevel;
    if (panel.level() != level)
        panel.setLevel(level);

    const SkillChrome chrome = notch ? m_services.chrome(model.peeking()) : SkillChrome::none;
    model.applySkills(model.effectiveGeometry().resolvedPlacement(chrome));

    const bool expanded = model.isExpanded();
    const Rect target = notch
        ? model.geometry().playerFrame(expanded, model.position(), chrome, model.announcing())
        : model.geometry().sidebarFrame(expanded);
    // Noted before the frame changes: a crossing with the pointer still there is the panel's doing.
    if (expanded) {
        m_pointerAtFold.reset();
        m_heldByDismissal = false;
    } else {
        if ((m_lastExpanded || m_pointerAtFold) && target != panel.frame() && !model.isDragging()) {
            if (seesPointer())
                m_pointerAtFold = m_services.screens->pointer();
            else
                m_pointerAtFold.reset();
        }
        // Folded away from the pointer: it is off the panel already, and its next entry counts.
        if (m_heldByDismissal && !target.contains(m_services.screens->pointer()))
            m_heldByDismissal = false;
    }
    const bool motion = preferences().motionPolicy().allows(AnimationFeature::panels);

    if (home) {
        // Under the notch the view animates inside a window that grows at once
        // and, after a fold, shrinks only once the view has folded.
        m_shrinkTask.cancel();
        m_shrinkTask = {};
        if (!expanded && m_lastExpanded && animated && motion && target.height() < panel.frame().height())
            startShrink();
        else
            panel.setFrame(target);
    } else if (animated && motion && expanded != m_lastExpanded) {
        panel.animateFrame(target, expansionSeconds);
    } else {
        panel.setFrame(target);
    }

    qCDebug(lcHover,
        "update %s animated=%s expanded=%s peeking=%s target=%s now=%s level=%d shrinkPending=%s",
        qPrintable(panel.title()), flag(animated), flag(expanded), flag(model.peeking()),
        qPrintable(text(target)), qPrintable(text(panel.frame())), panel.level(), flag(shrinkPending()));

    // A folded panel takes no keys: the window that had them gets them back.
    if (!expanded && m_lastExpanded && !model.isDragging())
        panel.resignKey();
    m_lastExpanded = expanded;
    report();
    // Opened by a click, a key or the app while the entry was held back: the
    // pointer it was held back for is on the open panel, and no later move is an entry.
    if (expanded && std::exchange(m_entrySetAside, false))
        model.hover(true);
}

void SurfaceWindow::startShrink()
{
    Scheduler &scheduler = *m_services.scheduler;
    const QPointer<SurfaceWindow> self(this);
    m_shrinkTask
        = scheduler.spawn([&scheduler, self](TaskHandle task) { return shrinkLater(scheduler, self, task); });
}

void SurfaceWindow::report()
{
    m_services.reportPanel(m_model->id(), m_model->isExpanded() && m_panel->isOnScreen());
}

void SurfaceWindow::show()
{
    m_panel->orderFront();
    update(false);
}

void SurfaceWindow::hide()
{
    stopWatchingRestingPointer();
    m_leaveCheck.cancel();
    m_leaveSetAside = false;
    m_entrySetAside = false;
    m_entryUnmoved = false;
    m_lateEntryCounts = false;
    m_heldByDismissal = false;
    m_panel->orderOut();
    m_services.reportPanel(m_model->id(), false);
}

void SurfaceWindow::close()
{
    for (const auto &observer : std::as_const(m_menuObservers))
        disconnect(observer);
    m_menuObservers.clear();
    m_shrinkTask.cancel();
    m_leaveCheck.cancel();
    stopWatchingRestingPointer();
    m_panel->orderOut();
    m_services.reportPanel(m_model->id(), false);
    m_panel->close();
}

double SurfaceWindow::headerTop(const Rect &frame) const
{
    return m_model->opensUpward() ? frame.minY() + headerHeight : frame.maxY();
}

PlayerPosition SurfaceWindow::positionOf(const Rect &frame) const
{
    // The stored top is the header's, wherever the body unfolds.
    const double top = headerTop(frame);
    return PlayerPosition(Rect(frame.minX(), top - headerHeight, frame.width(), headerHeight),
        m_model->geometry().visibleFrame);
}

void SurfaceWindow::dragStarted(Point point)
{
    const Rect frame = m_panel->frame();
    m_dragOffset.x = std::clamp(point.x - frame.midX(), -maximumGrabOffset, maximumGrabOffset);
    m_dragOffset.y = std::clamp(headerTop(frame) - point.y, 0.0, headerHeight);
    m_model->collapse();
}

void SurfaceWindow::dragMoved(Point point)
{
    if (m_model->kind() != SurfaceKind::notch)
        return;
    const Size size = m_panel->frame().size;
    // The header's top keeps its distance above the pointer.
    const Rect proposed(point.x - m_dragOffset.x - size.width / 2, point.y + m_dragOffset.y - size.height,
        size.width, size.height);
    m_model->setPosition(PlayerPosition(proposed, m_model->geometry().visibleFrame));
    update(false);
    m_model->hover(m_panel->frame().contains(point));
}

void SurfaceWindow::storePosition()
{
    PanelModel &model = *m_model;
    model.setPosition(model.geometry().anchored(positionOf(m_panel->frame())));
    preferences().setPlayerPosition(model.position(), m_displayID);
    if (!model.position())
        update(true);
}

void SurfaceWindow::nudge(double dx, double dy)
{
    m_model->setPosition(positionOf(m_panel->frame().offsetBy(dx, dy)));
    update(false);
    storePosition();
    reprobePointer();
}

void SurfaceWindow::resetPosition()
{
    m_model->setPosition(std::nullopt);
    preferences().setPlayerPosition(std::nullopt, m_displayID);
    update(false);
    reprobePointer();
}

void SurfaceWindow::reprobePointer()
{
    PanelModel &model = *m_model;
    if (!model.pointerInside)
        return;
    const bool inside = model.pointerInside();
    if (inside == model.hovered())
        return;
    if (inside && m_heldByDismissal)
        return;
    // A panel that folded reopens when the pointer moves into it, not when it moves under the pointer.
    if (inside && restsWhereFolded(m_services.screens->pointer())) {
        m_entrySetAside = true;
        return;
    }
    model.hover(inside);
}

void SurfaceWindow::menuBegan()
{
    if (!m_model->isExpanded() && m_menuTrackingDepth < 1)
        return;
    if (++m_menuTrackingDepth == 1)
        m_model->setInteracting(true);
}

void SurfaceWindow::menuEnded()
{
    if (m_menuTrackingDepth < 1)
        return;
    // Ending the interaction re-runs hover, so a panel the pointer left folds after the leave delay.
    if (--m_menuTrackingDepth == 0)
        m_model->setInteracting(false);
}
