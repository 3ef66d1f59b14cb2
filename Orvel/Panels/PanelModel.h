#pragma once

#include "RawEnum.h"
#include "Scheduler.h"
#include "ScreenGeometry.h"

#include <QLoggingCategory>
#include <QObject>
#include <QPointer>
#include <QUuid>
#include <QtQml/qqmlregistration.h>
#include <functional>
#include <optional>
#include <qcoro/qcorotask.h>

Q_DECLARE_LOGGING_CATEGORY(lcHover)

// Which floating surface a panel is.
enum class SurfaceKind { notch, sidebar };

template<>
struct RawEnumCases<SurfaceKind> {
    static constexpr std::array<std::pair<SurfaceKind, std::string_view>, 2> cases{
        {{SurfaceKind::notch, "notch"}, {SurfaceKind::sidebar, "sidebar"}}};
};

// The state of one floating surface (a top player or a sidebar on one display)
// and the machine that decides when it unfolds, peeks, folds, stays pinned, is
// dragged and announces a track. It owns no window: its window installs the
// callbacks and re-lays itself on `onChange`; views observe the properties.
// Every pause runs on the scheduler.
class PanelModel : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Panels are made by their windows.")

    Q_PROPERTY(QString kind READ kindName CONSTANT)
    Q_PROPERTY(bool expanded READ isExpanded NOTIFY interactionChanged)
    Q_PROPERTY(bool pinned READ pinned NOTIFY interactionChanged)
    Q_PROPERTY(bool hovered READ hovered NOTIFY interactionChanged)
    Q_PROPERTY(int interactionCount READ interactionCount NOTIFY interactionChanged)
    Q_PROPERTY(bool isDragging READ isDragging NOTIFY isDraggingChanged)
    Q_PROPERTY(QString skills READ skillsName NOTIFY skillsChanged)
    Q_PROPERTY(bool peeking READ peeking NOTIFY peekingChanged)
    Q_PROPERTY(bool announcing READ announcing NOTIFY announcingChanged)
    Q_PROPERTY(bool showsAnnouncement READ showsAnnouncement NOTIFY showsAnnouncementChanged)
    // No stored position: the player sits at home.
    Q_PROPERTY(bool atHome READ atHome NOTIFY positionChanged)
    Q_PROPERTY(bool opensUpward READ opensUpward NOTIFY positionChanged)
    // The effective geometry's notch, for views that draw around it.
    Q_PROPERTY(bool hasNotch READ hasNotch NOTIFY geometryChanged)
    Q_PROPERTY(double notchWidth READ notchWidth NOTIFY geometryChanged)
    Q_PROPERTY(double topInset READ topInset NOTIFY geometryChanged)

public:
    PanelModel(SurfaceKind kind, const ScreenGeometry &geometry, Scheduler &scheduler = Scheduler::current(),
        QObject *parent = nullptr);
    ~PanelModel() override;

    const QUuid &id() const { return m_id; }
    SurfaceKind kind() const { return m_kind; }
    QString kindName() const { return toRawValue(m_kind); }

    const ScreenGeometry &geometry() const { return m_geometry; }
    void setGeometry(const ScreenGeometry &geometry);
    const std::optional<PlayerPosition> &position() const { return m_position; }
    void setPosition(const std::optional<PlayerPosition> &position);
    bool isDragging() const { return m_isDragging; }
    const PanelInteraction &interaction() const { return m_interaction; }
    SkillPlacement skills() const { return m_skills; }
    QString skillsName() const { return toRawValue(m_skills); }
    bool peeking() const { return m_peeking; }
    bool overSkills() const { return m_overSkills; }
    bool announcing() const { return m_announcing; }
    bool showsAnnouncement() const { return m_showsAnnouncement; }
    bool settledAfterMove() const { return m_settledAfterMove; }

    bool isExpanded() const { return m_interaction.expanded(); }
    bool pinned() const { return m_interaction.pinned(); }
    bool hovered() const { return m_interaction.hovered(); }
    int interactionCount() const { return m_interaction.interactionCount(); }
    bool atHome() const { return !m_position.has_value(); }
    // At home the display's own geometry; away from it, laid out as if it had no notch.
    ScreenGeometry effectiveGeometry() const;
    bool opensUpward() const;
    bool hasNotch() const { return effectiveGeometry().hasNotch(); }
    double notchWidth() const { return effectiveGeometry().notchWidth; }
    double topInset() const { return effectiveGeometry().topInset; }

    // Installed by the window right after it makes the model; a missing one makes its call a no-op.
    std::function<void()> onChange;
    std::function<void(Point)> onDragStart;
    std::function<void(Point)> onDragMove;
    std::function<void()> onDragEnd;
    std::function<void()> onResetPosition;
    std::function<void(double dx, double dy)> onNudge;
    std::function<bool()> pointerInside;
    // Escape or the close control, told before anything is cleared.
    std::function<void()> onDismiss;

    Q_INVOKABLE void hover(bool inside);
    Q_INVOKABLE void skillsHover(bool over);
    Q_INVOKABLE void open();
    void collapse();
    Q_INVOKABLE void dismiss();
    Q_INVOKABLE void togglePin();
    Q_INVOKABLE void setInteracting(bool active);
    void beginDrag();
    void endDrag(bool moved);
    Q_INVOKABLE void announce(double duration = 4.0);
    void dismissAnnouncement();
    void applySkills(SkillPlacement placement);

    // Views' way to the window's callbacks; false when none is installed.
    Q_INVOKABLE bool resetPosition();
    Q_INVOKABLE bool nudge(double dx, double dy);

signals:
    void interactionChanged();
    void isDraggingChanged();
    void skillsChanged();
    void peekingChanged();
    void announcingChanged();
    void showsAnnouncementChanged();
    void positionChanged();
    void geometryChanged();

private:
    void fireChange();
    void setPeeking(bool on);
    void setDragging(bool on);
    void setAnnouncing(bool on);
    void setShowsAnnouncement(bool on);
    // Applies a change to the interaction record, announcing it when it differs.
    void changeInteraction(const std::function<void(PanelInteraction &)> &change);
    static QCoro::Task<void> hoverDecision(
        QPointer<PanelModel> model, Scheduler &scheduler, bool inside, double delay, TaskHandle self);
    static QCoro::Task<void> announcement(
        QPointer<PanelModel> model, Scheduler &scheduler, double duration, TaskHandle self);

    const QUuid m_id;
    const SurfaceKind m_kind;
    Scheduler &m_scheduler;
    ScreenGeometry m_geometry;
    std::optional<PlayerPosition> m_position;
    bool m_isDragging = false;
    PanelInteraction m_interaction;
    SkillPlacement m_skills = SkillPlacement::hidden;
    bool m_peeking = false;
    bool m_overSkills = false;
    bool m_announcing = false;
    bool m_showsAnnouncement = false;
    bool m_settledAfterMove = false;
    TaskHandle m_hoverTask;
    TaskHandle m_announcementTask;
};
