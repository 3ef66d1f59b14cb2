#include "PlaybackCoordinator.h"

#include "Announcer.h"
#include "Date.h"
#include "Localization.h"
#include "Workspace.h"

#include <QPointer>

QCoro::Task<void> PlaybackCoordinator::cast(MusicShortcut shortcut)
{
    if (m_casting || m_busy)
        co_return;
    const QPointer<PlaybackCoordinator> guard(this);
    m_casting = shortcut.id;
    emit castingChanged();
    setErrorKey(std::nullopt);

    const bool played = co_await playShortcut(shortcut);
    if (!guard)
        co_return;
    QString announcement;
    if (!played) {
        setFailedCast(shortcut.id);
        m_failedCastReset.cancel();
        m_failedCastReset
            = m_scheduler.spawn([guard, &scheduler = m_scheduler](TaskHandle self) -> QCoro::Task<void> {
                  co_await scheduler.sleep(failedCastPause, self);
                  if (self.isCancelled() || !guard)
                      co_return;
                  guard->setFailedCast(std::nullopt);
              });
        announcement = localized(m_errorKey.value_or(controlFailedText));
    } else {
        setLastCast(shortcut.id);
        m_lastCastTrackID = m_snapshot.track ? std::optional<QString>(m_snapshot.track->id) : std::nullopt;
        setFailedCast(std::nullopt);
        announcement = localized(QStringLiteral("Playing %@"), {shortcut.title});
    }
    m_announcer.announce(announcement);
    m_casting.reset();
    emit castingChanged();
}

QCoro::Task<bool> PlaybackCoordinator::playShortcut(MusicShortcut shortcut)
{
    const QPointer<PlaybackCoordinator> guard(this);
    if (isDisconnected()) {
        setErrorKey(connectForSkillsText);
        co_return false;
    }
    if (!isSpotifyInstalled()) {
        m_workspace.openURL(shortcut.link.url());
        co_return true;
    }
    if (!spotifyPID()) {
        // A cast has its own bound: the client gets as long to reach the bus as to answer.
        co_await openSpotifyAsync(false, launchWaitSeconds);
        if (!guard || m_flushed)
            co_return false;
    }

    SpotifyReadiness readiness = co_await waitForSpotify(launchWaitSeconds);
    if (!guard)
        co_return false;
    if (readiness == SpotifyReadiness::needsPermission) {
        co_await connectAsync();
        if (!guard)
            co_return false;
        readiness = co_await waitForSpotify(consentWaitSeconds);
        if (!guard)
            co_return false;
        if (readiness == SpotifyReadiness::needsPermission)
            readiness = SpotifyReadiness::timedOut;
    }
    switch (readiness) {
    case SpotifyReadiness::ready:
        break;
    case SpotifyReadiness::permissionDenied:
        setErrorKey(allowControlText);
        co_return false;
    case SpotifyReadiness::needsPermission:
    case SpotifyReadiness::timedOut:
        setErrorKey(timeoutText);
        co_return false;
    }

    // Let a command in flight finish, for at most ten short pauses.
    for (int look = 0; look < busyLooks; ++look) {
        if (!m_busy)
            continue;
        co_await m_scheduler.sleep(busyPause);
        if (!guard)
            co_return false;
    }

    const bool performed = co_await perform(PlaybackCommand::playLink(shortcut.link));
    if (!guard)
        co_return false;
    if (performed)
        co_return m_snapshot.availability == PlayerAvailability::ready;
    if (!m_errorKey)
        setErrorKey(controlFailedText);
    co_return false;
}

QCoro::Task<SpotifyReadiness> PlaybackCoordinator::waitForSpotify(double timeout)
{
    const QPointer<PlaybackCoordinator> guard(this);
    const std::shared_ptr<SpotifyControlling> bridge = m_bridge;
    Scheduler &scheduler = m_scheduler;
    const double deadline = Date::now().secondsSinceReferenceDate + timeout;
    for (;;) {
        if (!guard || !(Date::now().secondsSinceReferenceDate < deadline))
            co_return SpotifyReadiness::timedOut;
        if (const auto pid = spotifyPID()) {
            const qint32 status = co_await bridge->permission(*pid, false);
            if (!guard)
                co_return SpotifyReadiness::timedOut;
            if (status == consentRequiredStatus)
                co_return SpotifyReadiness::needsPermission;
            if (status == notPermittedStatus)
                co_return SpotifyReadiness::permissionDenied;
            if (status == 0) {
                bool answered = false;
                try {
                    co_await bridge->readState(*pid);
                    answered = true;
                } catch (...) {
                    // Not answering yet: Spotify may still be starting.
                }
                if (answered)
                    co_return SpotifyReadiness::ready;
            }
        }
        co_await scheduler.sleep(readinessPause);
    }
}

void PlaybackCoordinator::cast(const QString &shortcutID)
{
    const std::optional<MusicShortcut> found = findShortcut(shortcutID);
    if (!found)
        return;
    launch([shortcut = *found](PlaybackCoordinator &self) { return self.cast(shortcut); });
}
