#include "PlaybackCoordinator.h"

#include "Defaults.h"
#include "WidgetCenter.h"
#include "Workspace.h"

#include <QPointer>
#include <cmath>

namespace {
// The command as the bridge really sends it: a seek inside the track, a whole
// volume inside 0...100. Confirmation is judged against that, not the request.
PlaybackCommand asSent(
    const PlaybackCommand &command, const PlaybackSnapshot &latest, const PlaybackSnapshot &before)
{
    if (const auto *seek = std::get_if<PlaybackCommand::Seek>(&command.value)) {
        const std::optional<Track> &track = latest.track ? latest.track : before.track;
        const double duration = track ? track->duration : 0.0;
        return PlaybackCommand::seek(std::min(std::max(seek->seconds, 0.0), duration));
    }
    if (const auto *volume = std::get_if<PlaybackCommand::Volume>(&command.value)) {
        const double level = volume->level < 0 ? 0.0 : double(std::lround(std::min(volume->level, 100.0)));
        return PlaybackCommand::volume(level);
    }
    return command;
}
} // namespace

QCoro::Task<bool> PlaybackCoordinator::perform(PlaybackCommand command)
{
    if (m_busy)
        co_return false;
    setErrorKey(std::nullopt);
    const auto pid = spotifyPID();
    if (isDisconnected() || !pid) {
        co_await refresh();
        co_return false;
    }
    const QPointer<PlaybackCoordinator> guard(this);
    const std::shared_ptr<SpotifyControlling> bridge = m_bridge;
    Scheduler &scheduler = m_scheduler;
    setBusy(true);
    const PlaybackSnapshot before = m_snapshot;

    const qint32 status = co_await bridge->permission(*pid, false);
    if (!guard)
        co_return false;
    // Disconnected while asking: nothing more goes to Spotify and nothing is published.
    if (isDisconnected()) {
        setBusy(false);
        co_return false;
    }
    if (status != 0) {
        publish(placeholder(PlayerAvailability::permissionDenied), false);
        setBusy(false);
        co_return false;
    }

    PlaybackSnapshot latest;
    std::exception_ptr failure;
    bool confirmed = false;
    try {
        latest = co_await bridge->perform(command, *pid);
        if (!guard)
            co_return false;
        const double pause
            = command.kind() == PlaybackCommand::Kind::playLink ? linkRereadPause : commandRereadPause;
        int reads = 0;
        for (;;) {
            confirmed = asSent(command, latest, before).isConfirmed(latest, before);
            if (confirmed || reads == command.confirmationReads())
                break;
            co_await scheduler.sleep(pause);
            if (!guard)
                co_return false;
            latest = co_await bridge->readState(*pid);
            if (!guard)
                co_return false;
            ++reads;
        }
    } catch (...) {
        failure = std::current_exception();
    }
    if (!guard)
        co_return false;

    // A disconnection while Spotify answered wins over the answer, as for a refresh.
    if (isDisconnected()) {
        setBusy(false);
        co_return false;
    }
    if (failure) {
        handle(failure, true);
        setBusy(false);
        co_return false;
    }
    if (!confirmed)
        setErrorKey(controlFailedText);
    latest.commandError = m_errorKey;
    publish(std::move(latest), command.changesWidgetPlayback() || m_errorKey.has_value());
    const bool succeeded = !m_errorKey.has_value();
    setBusy(false);
    co_return succeeded;
}

void PlaybackCoordinator::togglePlayPause()
{
    // Decided by what the views show now.
    send(m_snapshot.isPlaying ? PlaybackCommand::pause() : PlaybackCommand::play());
}

void PlaybackCoordinator::sendShuffleToggle()
{
    launch([](PlaybackCoordinator &self) -> QCoro::Task<void> {
        co_await self.perform(PlaybackCommand::shuffle(!self.m_snapshot.shuffle));
    });
}

void PlaybackCoordinator::sendRepeatToggle()
{
    launch([](PlaybackCoordinator &self) -> QCoro::Task<void> {
        co_await self.perform(PlaybackCommand::repeatMode(!self.m_snapshot.repeatEnabled));
    });
}

void PlaybackCoordinator::connect()
{
    launch([](PlaybackCoordinator &self) { return self.connectAsync(); });
}

void PlaybackCoordinator::openSpotify(bool activates)
{
    launch([activates](PlaybackCoordinator &self) { return self.openSpotifyAsync(activates); });
}

void PlaybackCoordinator::openAutomationSettings()
{
    launch([](PlaybackCoordinator &self) { return self.openAutomationSettingsAsync(); });
}

void PlaybackCoordinator::handle(std::exception_ptr error, bool fromCommand)
{
    std::optional<SpotifyFailure> failure;
    try {
        std::rethrow_exception(error);
    } catch (const SpotifyError &spotifyError) {
        failure = spotifyError.failure;
    } catch (...) {
        // Any other error counts as Spotify being unavailable.
    }
    switch (failure.value_or(SpotifyFailure::unavailable)) {
    case SpotifyFailure::permissionRequired:
        publish(placeholder(PlayerAvailability::needsPermission), false);
        return;
    case SpotifyFailure::permissionDenied:
        publish(placeholder(PlayerAvailability::permissionDenied), false);
        return;
    case SpotifyFailure::notRunning:
        publish(placeholder(PlayerAvailability::notRunning), false);
        return;
    case SpotifyFailure::timeout:
        publish(placeholder(PlayerAvailability::unavailable), false);
        if (fromCommand)
            setErrorKey(timeoutText);
        return;
    case SpotifyFailure::unavailable:
    case SpotifyFailure::unsupported:
    case SpotifyFailure::invalidValue:
        break;
    }
    if (!fromCommand) {
        publish(placeholder(PlayerAvailability::unavailable), false);
        return;
    }
    // The last known state stays on screen, marked with the failure.
    setErrorKey(controlFailedText);
    PlaybackSnapshot marked = m_snapshot;
    marked.commandError = controlFailedText;
    publish(std::move(marked), true);
}

QCoro::Task<void> PlaybackCoordinator::openAutomationSettingsAsync()
{
    const QPointer<PlaybackCoordinator> guard(this);
    const std::shared_ptr<SpotifyControlling> bridge = m_bridge;
    const std::optional<bool> allowed = co_await bridge->askPermissionAgain();
    if (!guard || !allowed)
        co_return;
    if (*allowed)
        setErrorKey(std::nullopt);
    co_await refresh();
}

QCoro::Task<void> PlaybackCoordinator::connectAsync()
{
    const QPointer<PlaybackCoordinator> guard(this);
    const std::shared_ptr<SpotifyControlling> bridge = m_bridge;
    m_defaults.set(disconnectedKey, false);
    if (!spotifyPID()) {
        co_await openSpotifyAsync(true);
        // Quitting meanwhile: the state written on the way out stays the last.
        if (!guard || m_flushed)
            co_return;
        if (!spotifyPID()) {
            co_await refresh();
            co_return;
        }
    }
    const auto pid = spotifyPID();
    if (!pid) {
        co_await refresh();
        co_return;
    }
    // A refusal recorded before this connect is put again; one given to the
    // question just below is the user's answer, not asked twice.
    const qint32 recorded = co_await bridge->permission(*pid, false);
    if (!guard)
        co_return;
    // The only request that may show the consent prompt.
    qint32 status = co_await bridge->permission(*pid, true);
    if (!guard)
        co_return;
    if (status == notPermittedStatus && recorded == notPermittedStatus) {
        // The refusal is Orvel's own record, no system setting to change
        // elsewhere: asking to connect puts the question again.
        const std::optional<bool> allowed = co_await bridge->askPermissionAgain();
        if (!guard)
            co_return;
        if (allowed == true)
            status = 0;
    }
    if (status == 0) {
        setErrorKey(std::nullopt);
        co_await refresh();
    } else if (status == consentRequiredStatus) {
        publish(placeholder(PlayerAvailability::needsPermission), false);
    } else {
        publish(placeholder(PlayerAvailability::permissionDenied), false);
    }
}

QCoro::Task<void> PlaybackCoordinator::openSpotifyAsync(bool activates, double busWait)
{
    if (!isSpotifyInstalled()) {
        m_workspace.openURL(spotifyDownloadURL);
        co_return;
    }
    const QPointer<PlaybackCoordinator> guard(this);
    // A second opening while the first waits starts nothing more and ends with it.
    if (!m_launchWait.isValid() || m_launchWait.isFinished()) {
        if (!m_workspace.openSpotify(activates)) {
            setErrorKey(openFailedText);
            co_await refresh();
            co_return;
        }
        // Started is not yet there: a client takes seconds to put its player on the bus.
        m_launchWait = waitForWorkspace([this] { return spotifyPID().has_value(); }, busWait);
    }
    const TaskHandle launched = m_launchWait;
    co_await launched.join();
    if (!guard || m_flushed)
        co_return;
    // Give the client a moment to set up its player before asking it anything.
    co_await m_scheduler.sleep(launchSettlePause);
    if (!guard || m_flushed)
        co_return;
    co_await refresh();
}

void PlaybackCoordinator::setDisconnected()
{
    m_defaults.set(disconnectedKey, true);
    cancelArtworkDownload();
    clearArtwork();
    m_artworkSource.reset();
    setSnapshot(placeholder(PlayerAvailability::needsPermission));
    try {
        m_store.clearPlayback();
    } catch (const std::exception &) {
        setStorageError(true);
    }
    m_widgetCenter.reloadAllTimelines();
}
