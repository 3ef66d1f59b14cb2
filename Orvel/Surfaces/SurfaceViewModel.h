#pragma once

#include "DashboardLinks.h"
#include "PanelModel.h"
#include "PlaybackCoordinator.h"
#include "Preferences.h"
#include "SkinEnvironment.h"
#include "SurfaceLayout.h"

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QVariant>
#include <QtQml/qqmlregistration.h>

// SurfaceView's decisions for its QML: the layout of the panel's current
// state, re-evaluated whenever the panel model, the coordinator, the
// preferences or the skin environment change, and the header's actions.
// Announces the current track when shown and every new track after.
class SurfaceViewModel : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(PanelModel *model READ model WRITE setModel NOTIFY inputsChanged)
    Q_PROPERTY(PlaybackCoordinator *player READ player WRITE setPlayer NOTIFY inputsChanged)
    Q_PROPERTY(Preferences *preferences READ preferences WRITE setPreferences NOTIFY inputsChanged)
    Q_PROPERTY(SkinEnvironment *environment READ environment WRITE setEnvironment NOTIFY inputsChanged)
    // Where "Customize visualizer and player" opens the dashboard.
    Q_PROPERTY(DashboardLinks *links READ links WRITE setLinks NOTIFY inputsChanged)

    // "topPlayer", "sidebar" or "sidebarTab".
    Q_PROPERTY(QString content READ content NOTIFY changed)
    // "classicoPlayer", "rivistaPlayer" or "availabilityRow".
    Q_PROPERTY(QString expandedContent READ expandedContent NOTIFY changed)
    Q_PROPERTY(bool hasNotch READ hasNotch NOTIFY changed)
    Q_PROPERTY(qreal notchWidth READ notchWidth NOTIFY changed)
    Q_PROPERTY(bool expanded READ expanded NOTIFY changed)
    Q_PROPERTY(bool opensUpward READ opensUpward NOTIFY changed)
    Q_PROPERTY(bool idleTranslucent READ idleTranslucent NOTIFY changed)
    Q_PROPERTY(bool animatesPanels READ animatesPanels NOTIFY changed)
    Q_PROPERTY(bool showsSkillRow READ showsSkillRow NOTIFY changed)
    Q_PROPERTY(qreal bodyHeight READ bodyHeight NOTIFY changed)
    // The skin's player or the availability row, without the skill row.
    Q_PROPERTY(qreal bodyContentHeight READ bodyContentHeight CONSTANT)
    Q_PROPERTY(qreal skillRowBar READ skillRowBar CONSTANT)
    Q_PROPERTY(qreal bodyGap READ bodyGap NOTIFY changed)
    Q_PROPERTY(qreal bodyTopRadius READ bodyTopRadius NOTIFY changed)
    Q_PROPERTY(qreal bodyBottomRadius READ bodyBottomRadius NOTIFY changed)
    Q_PROPERTY(qreal headerWidth READ headerWidth NOTIFY changed)
    Q_PROPERTY(qreal headerHeight READ headerHeight NOTIFY changed)
    Q_PROPERTY(qreal contentOpacity READ contentOpacity NOTIFY changed)
    Q_PROPERTY(qreal headerTopRadius READ headerTopRadius NOTIFY changed)
    Q_PROPERTY(qreal headerBottomRadius READ headerBottomRadius NOTIFY changed)
    Q_PROPERTY(bool showsWings READ showsWings NOTIFY changed)
    Q_PROPERTY(qreal wingSlot READ wingSlot NOTIFY changed)
    Q_PROPERTY(qreal wingHeight READ wingHeight NOTIFY changed)
    Q_PROPERTY(bool showsPeekRow READ showsPeekRow NOTIFY changed)
    Q_PROPERTY(bool notchShowsIndicator READ notchShowsIndicator NOTIFY changed)
    Q_PROPERTY(bool showsBanner READ showsBanner NOTIFY changed)
    Q_PROPERTY(qreal bannerWidth READ bannerWidth NOTIFY changed)
    // The track's title, or "Waiting for Spotify."; its id, or the title.
    Q_PROPERTY(QString title READ title NOTIFY changed)
    Q_PROPERTY(QVariant titleIdentity READ titleIdentity NOTIFY changed)
    // A FontWeight case name.
    Q_PROPERTY(QString titleWeight READ titleWeight NOTIFY changed)
    Q_PROPERTY(QString helpText READ helpText NOTIFY changed)
    Q_PROPERTY(QStringList headerActions READ headerActions CONSTANT)
    // The context menu: "Return to top" (disabled at home), "Customize visualizer and player".
    Q_PROPERTY(QVariantList menuItems READ menuItems NOTIFY changed)

public:
    explicit SurfaceViewModel(QObject *parent = nullptr);

    PanelModel *model() const { return m_model; }
    void setModel(PanelModel *model);
    PlaybackCoordinator *player() const { return m_player; }
    void setPlayer(PlaybackCoordinator *player);
    Preferences *preferences() const { return m_preferences; }
    void setPreferences(Preferences *preferences);
    SkinEnvironment *environment() const { return m_environment; }
    void setEnvironment(SkinEnvironment *environment);
    DashboardLinks *links() const { return m_links; }
    void setLinks(DashboardLinks *links);

    // The rules of the current state; defaults for what is not set.
    SurfaceLayout layout() const;

    QString content() const { return toRawValue(layout().content()); }
    QString expandedContent() const { return toRawValue(layout().expandedContent()); }
    bool hasNotch() const { return layout().hasNotch(); }
    qreal notchWidth() const;
    bool expanded() const { return layout().expanded(); }
    bool opensUpward() const { return layout().opensUpward; }
    bool idleTranslucent() const { return layout().idleTranslucent(); }
    bool animatesPanels() const { return layout().animatesPanels(); }
    bool showsSkillRow() const { return layout().showsSkillRow(); }
    qreal bodyHeight() const { return layout().bodyHeight(); }
    qreal bodyContentHeight() const { return SurfaceLayout::bodyContentHeight; }
    qreal skillRowBar() const { return SurfaceLayout::skillRowBar; }
    qreal bodyGap() const { return layout().bodyGap(); }
    qreal bodyTopRadius() const { return layout().bodyTopRadius(); }
    qreal bodyBottomRadius() const { return layout().bodyBottomRadius(); }
    qreal headerWidth() const { return layout().headerWidth(); }
    qreal headerHeight() const { return layout().headerHeight(); }
    qreal contentOpacity() const { return layout().contentOpacity(); }
    qreal headerTopRadius() const { return layout().headerTopRadius(); }
    qreal headerBottomRadius() const { return layout().headerBottomRadius(); }
    bool showsWings() const { return layout().showsWings(); }
    qreal wingSlot() const { return layout().wingSlot(); }
    qreal wingHeight() const { return layout().wingHeight(); }
    bool showsPeekRow() const { return layout().showsPeekRow(); }
    bool notchShowsIndicator() const { return layout().notchShowsIndicator(); }
    bool showsBanner() const { return layout().showsBanner(); }
    qreal bannerWidth() const { return layout().bannerWidth(); }
    QString title() const;
    QVariant titleIdentity() const;
    QString titleWeight() const;
    QString helpText() const;
    QStringList headerActions() const { return SurfaceLayout::headerActions(); }
    QVariantList menuItems() const;

    // The reading time of the current title.
    double announcementDuration() const;
    // With a track, asks the panel model to announce it.
    Q_INVOKABLE void announceCurrentTrack();
    // A header action or menu item by its key: back to the top, a nudge (only
    // while dragging is enabled), or the dashboard's personalization section.
    Q_INVOKABLE void perform(const QString &action);

signals:
    void inputsChanged();
    void changed();

private:
    template<class Owner>
    void watch(QPointer<Owner> &field, Owner *owner);
    void trackChanged();

    QPointer<PanelModel> m_model;
    QPointer<PlaybackCoordinator> m_player;
    QPointer<Preferences> m_preferences;
    QPointer<SkinEnvironment> m_environment;
    QPointer<DashboardLinks> m_links;
};
