#include "OnboardingFlow.h"

#include "Localization.h"
#include "PlaybackCoordinator.h"
#include "Preferences.h"
#include "Scheduler.h"
#include "WidgetSupport.h"

OnboardingFlow::Footer OnboardingFlow::footer(int step, bool connected, bool connecting)
{
    if (step == 0)
        return {true, false, QStringLiteral("Continue"), true, true, PrimaryAction::advance};
    if (step == 1 && !connected) {
        // Return must not start a connection: only the moving-on buttons take it.
        return {false, true,
            connecting ? QStringLiteral("Connecting\u2026") : QStringLiteral("Connect Spotify"), !connecting,
            false, PrimaryAction::connect};
    }
    if (step == 1)
        return {false, false, QStringLiteral("Continue"), true, true, PrimaryAction::advance};
    return {false, false, QStringLiteral("Start listening"), true, true, PrimaryAction::advance};
}

bool OnboardingFlow::isConnected(PlayerAvailability availability, bool preview)
{
    return preview || availability == PlayerAvailability::ready
        || availability == PlayerAvailability::noTrack;
}

OnboardingFlow::SpotifySituation OnboardingFlow::situation(
    PlayerAvailability availability, bool installed, bool preview)
{
    const bool connected = isConnected(availability, preview);
    return {
        connected ? QStringLiteral("Spotify is ready.") : QStringLiteral("Let\u2019s connect your music."),
        connected, connected ? QStringLiteral("Connected") : QStringLiteral("Not connected"),
        installed ? QStringLiteral("checkmark.circle") : QStringLiteral("arrow.down.circle"),
        availability == PlayerAvailability::permissionDenied};
}

QString OnboardingFlow::stepTitle(int index)
{
    switch (index) {
    case 0:
        return QStringLiteral("Your space");
    case 1:
        return QStringLiteral("Spotify");
    default:
        return WidgetSupport::isSupported() ? QStringLiteral("Widgets") : QStringLiteral("Ready");
    }
}

QString OnboardingFlow::indicatorLabel(int step)
{
    // The total is a literal, never localised.
    return localized(QStringLiteral("Setup step")) + QLatin1Char(' ') + QString::number(step + 1)
        + QStringLiteral(" / 3");
}

QString OnboardingFlow::surfacesHint(bool notchEnabled, bool sidebarEnabled)
{
    if (notchEnabled || sidebarEnabled)
        return QStringLiteral("Hover to open. Move away to close. Pin a panel to keep it open.");
    return WidgetSupport::noPanelsHint();
}

KitAnimation OnboardingFlow::stepAnimation(const MotionPolicy &motion)
{
    return motion.allows(AnimationFeature::panels) ? KitAnimation::easeInOut(stepChangeSeconds)
                                                   : KitAnimation::none();
}

OnboardingFlow::OnboardingFlow(QObject *parent)
    : QObject(parent)
{
}

void OnboardingFlow::setPreferences(Preferences *preferences)
{
    if (preferences == m_preferences)
        return;
    m_preferences = preferences;
    watch();
}

void OnboardingFlow::setPlayer(PlaybackCoordinator *player)
{
    if (player == m_player)
        return;
    m_player = player;
    watch();
}

void OnboardingFlow::watch()
{
    for (const QMetaObject::Connection &connection : std::as_const(m_watches))
        disconnect(connection);
    m_watches.clear();
    if (m_player) {
        // Every publication: the installed line is asked again with it.
        m_watches << QObject::connect(m_player, &PlaybackCoordinator::snapshotChanged, this, [this] {
            emit situationChanged();
            emit footerChanged();
        });
    }
    if (m_preferences) {
        for (auto signal : {&Preferences::notchEnabledChanged, &Preferences::sidebarEnabledChanged,
                 &Preferences::dragEnabledChanged})
            m_watches << QObject::connect(m_preferences, signal, this, &OnboardingFlow::surfacesChanged);
    }
    emit ownersChanged();
    emit situationChanged();
    emit footerChanged();
    emit surfacesChanged();
}

void OnboardingFlow::setMotionAllowed(bool allowed)
{
    if (allowed == m_motionAllowed)
        return;
    m_motionAllowed = allowed;
    emit motionAllowedChanged();
}

bool OnboardingFlow::connected() const
{
    return m_player && isConnected(m_player->snapshot().availability, m_player->isPreview());
}

QStringList OnboardingFlow::stepTitles() const
{
    QStringList titles;
    for (int i = 0; i < stepCount; ++i)
        titles << localized(stepTitle(i));
    return titles;
}

QString OnboardingFlow::primaryTitle() const
{
    return localized(footer().primaryTitle);
}

QString OnboardingFlow::surfacesHint() const
{
    if (!m_preferences)
        return {};
    return localized(surfacesHint(m_preferences->notchEnabled(), m_preferences->sidebarEnabled()));
}

bool OnboardingFlow::showsMovingPlayer() const
{
    return m_preferences && showsMovingPlayer(m_preferences->notchEnabled(), m_preferences->dragEnabled());
}

OnboardingFlow::SpotifySituation OnboardingFlow::situation() const
{
    if (!m_player)
        return situation(PlayerAvailability::unavailable, false, false);
    return situation(
        m_player->snapshot().availability, m_player->isSpotifyInstalled(), m_player->isPreview());
}

QString OnboardingFlow::spotifyTitle() const
{
    return localized(situation().title);
}

QString OnboardingFlow::statusText() const
{
    return localized(situation().status);
}

void OnboardingFlow::primary()
{
    if (!primaryEnabled())
        return;
    if (footer().action == PrimaryAction::connect)
        connect();
    else
        advance();
}

void OnboardingFlow::advance()
{
    if (m_step >= lastStep || m_step < 0) {
        // The dashboard stops showing the guide; the step stays.
        if (m_preferences)
            m_preferences->completeSetup();
        return;
    }
    goTo(m_step + 1);
}

void OnboardingFlow::back()
{
    if (m_step >= 1)
        goTo(m_step - 1);
}

void OnboardingFlow::setUpLater()
{
    goTo(lastStep);
}

void OnboardingFlow::connect()
{
    if (m_connecting || connected() || !m_player)
        return;
    setConnecting(true);
    // Never cancelled: the attempt runs to its end even when the guide is gone,
    // and only a guide still there hears that it ended.
    Scheduler::current().spawn(
        [flow = QPointer<OnboardingFlow>(this), player = m_player](TaskHandle) -> QCoro::Task<void> {
            if (player)
                co_await player->connectAsync();
            if (flow)
                flow->setConnecting(false);
        });
}

void OnboardingFlow::goTo(int step)
{
    m_step = step;
    m_stepAnimation = m_motionAllowed ? KitAnimation::easeInOut(stepChangeSeconds) : KitAnimation::none();
    emit stepChanged();
    emit footerChanged();
}

void OnboardingFlow::setConnecting(bool connecting)
{
    if (connecting == m_connecting)
        return;
    m_connecting = connecting;
    emit connectingChanged();
    emit footerChanged();
}
