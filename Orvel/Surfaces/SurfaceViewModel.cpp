#include "SurfaceViewModel.h"

#include "Localization.h"
#include "MarqueeTrackTitle.h"
#include "PanelModel.h"
#include "PlaybackCoordinator.h"
#include "Preferences.h"
#include "SkinEnvironment.h"

SurfaceViewModel::SurfaceViewModel(QObject *parent)
    : QObject(parent)
{
    connect(this, &SurfaceViewModel::inputsChanged, this, &SurfaceViewModel::changed);
}

template<class Owner>
void SurfaceViewModel::watch(QPointer<Owner> &field, Owner *owner)
{
    if (field == owner)
        return;
    if (field)
        disconnect(field, nullptr, this, nullptr);
    field = owner;
    if (field)
        connect(field, &Owner::changed, this, &SurfaceViewModel::changed);
    emit inputsChanged();
}

void SurfaceViewModel::setModel(PanelModel *model)
{
    if (model == m_model)
        return;
    if (m_model)
        disconnect(m_model, nullptr, this, nullptr);
    m_model = model;
    if (m_model) {
        for (const auto signal : {&PanelModel::interactionChanged, &PanelModel::isDraggingChanged,
                 &PanelModel::skillsChanged, &PanelModel::peekingChanged, &PanelModel::announcingChanged,
                 &PanelModel::positionChanged, &PanelModel::geometryChanged})
            connect(m_model, signal, this, &SurfaceViewModel::changed);
    }
    emit inputsChanged();
}

void SurfaceViewModel::setPlayer(PlaybackCoordinator *player)
{
    if (player == m_player)
        return;
    if (m_player)
        disconnect(m_player, nullptr, this, nullptr);
    m_player = player;
    if (m_player) {
        connect(m_player, &PlaybackCoordinator::snapshotChanged, this, &SurfaceViewModel::changed);
        connect(m_player, &PlaybackCoordinator::trackIDChanged, this, &SurfaceViewModel::trackChanged);
    }
    emit inputsChanged();
}

void SurfaceViewModel::setLinks(DashboardLinks *links)
{
    if (links == m_links)
        return;
    m_links = links;
    emit inputsChanged();
}

void SurfaceViewModel::setPreferences(Preferences *preferences)
{
    watch(m_preferences, preferences);
}

void SurfaceViewModel::setEnvironment(SkinEnvironment *environment)
{
    watch(m_environment, environment);
}

SurfaceLayout SurfaceViewModel::layout() const
{
    SurfaceLayout result;
    if (m_model) {
        result.kind = m_model->kind();
        result.geometry = m_model->effectiveGeometry();
        result.interaction = m_model->interaction();
        result.dragging = m_model->isDragging();
        result.opensUpward = m_model->opensUpward();
        result.skills = m_model->skills();
        result.peeking = m_model->peeking();
        result.announcing = m_model->announcing();
    }
    if (m_player)
        result.availability = m_player->snapshot().availability;
    if (m_preferences) {
        result.compactTranslucency = m_preferences->compactTranslucency();
        result.idleOpacity = m_preferences->idleOpacity();
        result.visualizerEnabled = m_preferences->visualizer().enabled;
    }
    if (m_environment) {
        result.skin = m_environment->skin();
        result.motion = m_environment->motion();
        result.reducedTransparency = m_environment->reduceTransparency();
    }
    return result;
}

qreal SurfaceViewModel::notchWidth() const
{
    return m_model ? m_model->effectiveGeometry().notchWidth : 0;
}

QString SurfaceViewModel::title() const
{
    if (m_player && m_player->snapshot().track)
        return m_player->snapshot().track->title;
    return localized(QStringLiteral("Waiting for Spotify."));
}

QVariant SurfaceViewModel::titleIdentity() const
{
    if (m_player && m_player->snapshot().track)
        return m_player->snapshot().track->id;
    return title();
}

QString SurfaceViewModel::titleWeight() const
{
    return layout().titleWeight() == FontWeight::semibold ? QStringLiteral("semibold")
                                                          : QStringLiteral("medium");
}

QString SurfaceViewModel::helpText() const
{
    return localized(SurfaceLayout::helpText(m_preferences && m_preferences->dragEnabled()));
}

QVariantList SurfaceViewModel::menuItems() const
{
    const bool atHome = !m_model || !m_model->position();
    const auto item = [](const QString &key, bool enabled) {
        return QVariantMap{
            {"text", localized(key)}, {"action", key}, {"enabled", enabled}, {"destructive", false}};
    };
    return {item(SurfaceLayout::returnToTop, !atHome), item(SurfaceLayout::customize, true)};
}

double SurfaceViewModel::announcementDuration() const
{
    const SurfaceLayout current = layout();
    return current.announcementDuration(MarqueeTrackTitle::textWidth(title(), current.titleWeight()));
}

void SurfaceViewModel::announceCurrentTrack()
{
    if (m_model && m_player && m_player->snapshot().track)
        m_model->announce(announcementDuration());
}

void SurfaceViewModel::trackChanged()
{
    // Losing the track announces nothing; the next track is announced.
    announceCurrentTrack();
}

void SurfaceViewModel::perform(const QString &action)
{
    if (!m_model)
        return;
    if (action == SurfaceLayout::returnToTop) {
        m_model->resetPosition();
    } else if (action == SurfaceLayout::customize) {
        if (m_links)
            m_links->open(DashboardSection::personalization);
    } else if (const auto offset = SurfaceLayout::nudgeOffset(action)) {
        if (m_preferences && m_preferences->dragEnabled())
            m_model->nudge(offset->x, offset->y);
    }
}
