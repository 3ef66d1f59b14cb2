#include "PanelModel.h"

#include <cmath>

Q_LOGGING_CATEGORY(lcHover, "com.velbrandtoro.Orvel.hover", QtWarningMsg)

namespace {
const char *flag(bool value)
{
    return value ? "1" : "0";
}
} // namespace

PanelModel::PanelModel(
    SurfaceKind kind, const ScreenGeometry &geometry, Scheduler &scheduler, QObject *parent)
    : QObject(parent)
    , m_id(QUuid::createUuid())
    , m_kind(kind)
    , m_scheduler(scheduler)
    , m_geometry(geometry)
{
}

PanelModel::~PanelModel()
{
    m_hoverTask.cancel();
    m_announcementTask.cancel();
}

void PanelModel::setGeometry(const ScreenGeometry &geometry)
{
    if (m_geometry == geometry)
        return;
    m_geometry = geometry;
    emit geometryChanged();
}

void PanelModel::setPosition(const std::optional<PlayerPosition> &position)
{
    if (m_position == position)
        return;
    const bool wasHome = atHome();
    m_position = position;
    emit positionChanged();
    if (wasHome != atHome())
        emit geometryChanged();
}

ScreenGeometry PanelModel::effectiveGeometry() const
{
    if (!m_position)
        return m_geometry;
    return ScreenGeometry(m_geometry.frame, m_geometry.visibleFrame, 0, 0, std::nullopt);
}

bool PanelModel::opensUpward() const
{
    return m_kind == SurfaceKind::notch && m_position && m_position->topY > 0.5;
}

void PanelModel::fireChange()
{
    if (onChange)
        onChange();
}

void PanelModel::setPeeking(bool on)
{
    if (m_peeking == on)
        return;
    m_peeking = on;
    emit peekingChanged();
}

void PanelModel::setDragging(bool on)
{
    if (m_isDragging == on)
        return;
    m_isDragging = on;
    emit isDraggingChanged();
}

void PanelModel::setAnnouncing(bool on)
{
    if (m_announcing == on)
        return;
    m_announcing = on;
    emit announcingChanged();
}

void PanelModel::setShowsAnnouncement(bool on)
{
    if (m_showsAnnouncement == on)
        return;
    m_showsAnnouncement = on;
    emit showsAnnouncementChanged();
}

void PanelModel::changeInteraction(const std::function<void(PanelInteraction &)> &change)
{
    PanelInteraction next = m_interaction;
    change(next);
    if (next == m_interaction)
        return;
    m_interaction = next;
    emit interactionChanged();
}

void PanelModel::hover(bool inside)
{
    qCDebug(lcHover,
        "hover(%s) kind=%s expanded=%s peeking=%s count=%d pinned=%s dragging=%s overSkills=%s skills=%s",
        flag(inside), qPrintable(kindName()), flag(isExpanded()), flag(m_peeking), interactionCount(),
        flag(pinned()), flag(m_isDragging), flag(m_overSkills), qPrintable(skillsName()));
    changeInteraction([inside](PanelInteraction &i) { i.pointer(inside); });
    m_hoverTask.cancel();
    if (!inside)
        m_settledAfterMove = false;
    if (m_isDragging)
        return;
    if (inside) {
        // A player just dropped under the pointer does not unfold by itself.
        if (m_settledAfterMove)
            return;
        if (m_skills == SkillPlacement::peek && !isExpanded() && !m_peeking) {
            setPeeking(true);
            fireChange();
        }
    }
    const std::optional<double> delay = HoverPolicy::delay(inside, m_skills, m_overSkills);
    if (!delay)
        return;
    Scheduler &scheduler = m_scheduler;
    const double seconds = *delay;
    m_hoverTask
        = scheduler.spawn([&scheduler, model = QPointer<PanelModel>(this), inside, seconds](TaskHandle self) {
              return hoverDecision(model, scheduler, inside, seconds, self);
          });
}

QCoro::Task<void> PanelModel::hoverDecision(
    QPointer<PanelModel> model, Scheduler &scheduler, bool inside, double delay, TaskHandle self)
{
    const bool slept = co_await scheduler.sleep(delay, self);
    if (!slept || self.isCancelled() || !model)
        co_return;
    if (inside) {
        model->dismissAnnouncement();
        model->changeInteraction([](PanelInteraction &i) { i.open(); });
    } else {
        model->changeInteraction([](PanelInteraction &i) { i.collapseIfAllowed(); });
        if (!model->hovered())
            model->setPeeking(false);
    }
    qCDebug(lcHover, "hover task fired inside=%s -> expanded=%s peeking=%s hovered=%s", flag(inside),
        flag(model->isExpanded()), flag(model->m_peeking), flag(model->hovered()));
    model->fireChange();
}

void PanelModel::skillsHover(bool over)
{
    qCDebug(lcHover, "skillsHover(%s)", flag(over));
    m_overSkills = over;
    hover(hovered());
}

void PanelModel::open()
{
    m_settledAfterMove = false;
    dismissAnnouncement();
    changeInteraction([](PanelInteraction &i) { i.open(); });
    fireChange();
}

void PanelModel::collapse()
{
    m_hoverTask.cancel();
    setPeeking(false);
    dismissAnnouncement();
    changeInteraction([](PanelInteraction &i) { i.fold(); });
}

void PanelModel::dismiss()
{
    if (onDismiss)
        onDismiss();
    m_hoverTask.cancel();
    setDragging(false);
    setPeeking(false);
    m_overSkills = false;
    dismissAnnouncement();
    changeInteraction([](PanelInteraction &i) { i.dismiss(); });
    fireChange();
}

void PanelModel::togglePin()
{
    changeInteraction([](PanelInteraction &i) { i.togglePin(); });
    fireChange();
    if (!pinned())
        hover(hovered());
}

void PanelModel::setInteracting(bool active)
{
    if (active) {
        changeInteraction([](PanelInteraction &i) { i.beginInteraction(); });
        return;
    }
    changeInteraction([](PanelInteraction &i) { i.endInteraction(); });
    hover(hovered());
}

void PanelModel::beginDrag()
{
    m_hoverTask.cancel();
    if (!m_isDragging)
        changeInteraction([](PanelInteraction &i) { i.beginInteraction(); });
    setDragging(true);
}

void PanelModel::endDrag(bool moved)
{
    if (!m_isDragging)
        return;
    const bool inside = pointerInside ? pointerInside() : hovered();
    if (moved && inside)
        m_settledAfterMove = true;
    qCDebug(lcHover, "endDrag probe inside=%s position=%s", flag(inside), atHome() ? "home" : "detached");
    setDragging(false);
    changeInteraction([](PanelInteraction &i) { i.endInteraction(); });
    if (pinned() && !isExpanded()) {
        changeInteraction([](PanelInteraction &i) { i.open(); });
        fireChange();
    }
    hover(inside);
}

void PanelModel::announce(double duration)
{
    const ScreenGeometry geometry = effectiveGeometry();
    if (m_kind != SurfaceKind::notch || !(geometry.notchWidth > 0) || !(geometry.topInset > 0)
        || isExpanded())
        return;
    // A title's reading time is never negative or endless.
    if (!std::isfinite(duration) || duration < 0)
        duration = 4.0;
    m_announcementTask.cancel();
    if (!m_announcing) {
        setAnnouncing(true);
        fireChange();
    }
    Scheduler &scheduler = m_scheduler;
    m_announcementTask
        = scheduler.spawn([&scheduler, model = QPointer<PanelModel>(this), duration](
                              TaskHandle self) { return announcement(model, scheduler, duration, self); });
}

QCoro::Task<void> PanelModel::announcement(
    QPointer<PanelModel> model, Scheduler &scheduler, double duration, TaskHandle self)
{
    co_await scheduler.sleep(0.04, self);
    if (self.isCancelled() || !model)
        co_return;
    model->setShowsAnnouncement(true);
    co_await scheduler.sleep(duration, self);
    if (self.isCancelled() || !model)
        co_return;
    model->setShowsAnnouncement(false);
    // The text fades before the window shrinks.
    co_await scheduler.sleep(0.35, self);
    if (self.isCancelled() || !model)
        co_return;
    model->setAnnouncing(false);
    model->fireChange();
}

void PanelModel::dismissAnnouncement()
{
    m_announcementTask.cancel();
    m_announcementTask = {};
    setShowsAnnouncement(false);
    if (m_announcing) {
        setAnnouncing(false);
        fireChange();
    }
}

void PanelModel::applySkills(SkillPlacement placement)
{
    if (m_skills != placement) {
        m_skills = placement;
        emit skillsChanged();
    }
    if (placement != SkillPlacement::peek)
        setPeeking(false);
}

bool PanelModel::resetPosition()
{
    if (!onResetPosition)
        return false;
    onResetPosition();
    return true;
}

bool PanelModel::nudge(double dx, double dy)
{
    if (!onNudge)
        return false;
    onNudge(dx, dy);
    return true;
}
