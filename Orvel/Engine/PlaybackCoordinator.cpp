#include "PlaybackCoordinator.h"

#include "ArtworkImageProvider.h"
#include "Defaults.h"
#include "SpotifyBridge.h"
#include "Uuid.h"
#include "WidgetCenter.h"
#include "Workspace.h"

#include <QCoreApplication>
#include <QNetworkAccessManager>
#include <QNetworkCookieJar>
#include <QNetworkReply>
#include <QPointer>

namespace {
// Keeps no cookie: artwork and title look-ups leave nothing behind.
class NoCookieJar final : public QNetworkCookieJar {
public:
    using QNetworkCookieJar::QNetworkCookieJar;
    bool setCookiesFromUrl(const QList<QNetworkCookie> &, const QUrl &) override { return false; }
};
// The services are handed down by whoever builds the graph; a missing one is a wiring fault.
template<class T>
T &required(T *service)
{
    if (!service)
        qFatal("PlaybackCoordinator is missing a service");
    return *service;
}
} // namespace

PlaybackCoordinator::PlaybackCoordinator(Services services, QObject *parent)
    : QObject(parent)
    , m_snapshot(placeholder(PlayerAvailability::notRunning))
    , m_store(std::move(services.store))
    , m_bridge(std::move(services.bridge))
    , m_workspace(required(services.workspace))
    , m_defaults(required(services.defaults))
    , m_scheduler(required(services.scheduler))
    , m_widgetCenter(required(services.widgetCenter))
    , m_artworkSession(services.network)
    , m_preferences(required(services.preferences))
    , m_announcer(required(services.announcer))
{
    if (!m_bridge)
        qFatal("PlaybackCoordinator needs a Spotify connection");
    m_shortcuts = m_store.loadShortcuts();
    if (!m_artworkSession) {
        m_artworkSession = new QNetworkAccessManager(this);
        m_artworkSession->setCookieJar(new NoCookieJar(m_artworkSession));
    }
}

PlaybackCoordinator::~PlaybackCoordinator()
{
    for (const TaskHandle &task : {m_polling, m_pollPause, m_artworkTask, m_artworkGrace, m_refreshing,
             m_reloadTask, m_failedCastReset})
        task.cancel();
    const QPointer<QNetworkReply> reply = m_artworkReply;
    cancelArtworkDownload();
    // The download resumes through a queued call on its reply; deliver it now,
    // while the reply still exists, so the paused download ends instead of leaking.
    if (reply)
        QCoreApplication::sendPostedEvents(reply, QEvent::MetaCall);
}

PlaybackSnapshot PlaybackCoordinator::placeholder(PlayerAvailability availability)
{
    return PlaybackSnapshot(availability, std::nullopt, false, 0, PlaybackSnapshot::defaultVolume, false,
        false, PlaybackCapabilities{}, Date::now(), std::nullopt, std::nullopt, std::nullopt);
}

Aura PlaybackCoordinator::aura() const
{
    return Aura(m_artworkPalette, m_artworkID);
}

// MARK: - Published state

void PublishedArtwork::set(const QString &key, const QImage &image)
{
    const QMutexLocker lock(&m_mutex);
    m_key = key;
    m_image = image;
}

QImage PublishedArtwork::image(const QString &key) const
{
    const QMutexLocker lock(&m_mutex);
    return !m_key.isEmpty() && key == m_key ? m_image : QImage();
}

namespace {
QVariant null()
{
    return QVariant::fromValue(nullptr);
}

template<class T>
QVariant orNull(const std::optional<T> &value)
{
    return value ? QVariant::fromValue(*value) : null();
}

QVariant orNull(const std::optional<QUuid> &id)
{
    return id ? QVariant(uuidString(*id)) : null();
}

template<class T>
std::optional<T> trackField(const PlaybackSnapshot &snapshot, T Track::*field)
{
    return snapshot.track ? std::optional<T>((*snapshot.track).*field) : std::nullopt;
}

std::optional<QUrl> trackLink(const PlaybackSnapshot &snapshot, std::optional<QUrl> Track::*field)
{
    return snapshot.track ? (*snapshot.track).*field : std::nullopt;
}
} // namespace

QVariant PlaybackCoordinator::trackID() const
{
    return orNull(trackField(m_snapshot, &Track::id));
}

QVariant PlaybackCoordinator::trackTitle() const
{
    return orNull(trackField(m_snapshot, &Track::title));
}

QVariant PlaybackCoordinator::trackArtist() const
{
    return orNull(trackField(m_snapshot, &Track::artist));
}

QVariant PlaybackCoordinator::trackAlbum() const
{
    return orNull(trackField(m_snapshot, &Track::album));
}

QVariant PlaybackCoordinator::trackDuration() const
{
    return orNull(trackField(m_snapshot, &Track::duration));
}

QVariant PlaybackCoordinator::artworkURL() const
{
    return orNull(trackLink(m_snapshot, &Track::artworkURL));
}

QVariant PlaybackCoordinator::spotifyURL() const
{
    return orNull(trackLink(m_snapshot, &Track::spotifyURL));
}

QVariant PlaybackCoordinator::commandError() const
{
    return orNull(m_snapshot.commandError);
}

QVariant PlaybackCoordinator::errorKeyValue() const
{
    return orNull(m_errorKey);
}

QVariant PlaybackCoordinator::castingValue() const
{
    return orNull(m_casting);
}

QVariant PlaybackCoordinator::lastCastValue() const
{
    return orNull(m_lastCast);
}

QVariant PlaybackCoordinator::failedCastValue() const
{
    return orNull(m_failedCast);
}

QVariant PlaybackCoordinator::artworkIDValue() const
{
    return orNull(m_artworkID);
}

QVariant PlaybackCoordinator::artworkPaletteValue() const
{
    if (!m_artworkPalette)
        return null();
    return QVariantMap{
        {QStringLiteral("primary"), SRGBColor::of(m_artworkPalette->primary).toQColor()},
        {QStringLiteral("secondary"), SRGBColor::of(m_artworkPalette->secondary).toQColor()},
        {QStringLiteral("deep"), SRGBColor::of(m_artworkPalette->deep).toQColor()},
    };
}

double PlaybackCoordinator::estimatedPosition(const QDateTime &now) const
{
    return m_snapshot.estimatedPosition(Date::fromUnixSeconds(double(now.toMSecsSinceEpoch()) / 1000.0));
}

void PlaybackCoordinator::setSnapshot(PlaybackSnapshot snapshot)
{
    const PlaybackSnapshot old = std::exchange(m_snapshot, std::move(snapshot));
    const PlaybackSnapshot &now = m_snapshot;
    // Each field announces itself only when it moved, so bindings stay quiet.
    const auto announce = [this](bool changed, void (PlaybackCoordinator::*signal)()) {
        if (changed)
            emit(this->*signal)();
    };
    const auto track = [&](auto field) { return trackField(old, field) != trackField(now, field); };
    const auto link = [&](auto field) { return trackLink(old, field) != trackLink(now, field); };
    announce(old.availability != now.availability, &PlaybackCoordinator::availabilityChanged);
    announce(old.track.has_value() != now.track.has_value(), &PlaybackCoordinator::hasTrackChanged);
    announce(track(&Track::id), &PlaybackCoordinator::trackIDChanged);
    announce(track(&Track::title), &PlaybackCoordinator::trackTitleChanged);
    announce(track(&Track::artist), &PlaybackCoordinator::trackArtistChanged);
    announce(track(&Track::album), &PlaybackCoordinator::trackAlbumChanged);
    announce(track(&Track::duration), &PlaybackCoordinator::trackDurationChanged);
    announce(link(&Track::artworkURL), &PlaybackCoordinator::artworkURLChanged);
    announce(link(&Track::spotifyURL), &PlaybackCoordinator::spotifyURLChanged);
    announce(old.isPlaying != now.isPlaying, &PlaybackCoordinator::isPlayingChanged);
    announce(old.position != now.position, &PlaybackCoordinator::positionChanged);
    announce(old.volume != now.volume, &PlaybackCoordinator::volumeChanged);
    announce(old.shuffle != now.shuffle, &PlaybackCoordinator::shuffleChanged);
    announce(old.repeatEnabled != now.repeatEnabled, &PlaybackCoordinator::repeatEnabledChanged);
    announce(old.capabilities.canSeek != now.capabilities.canSeek, &PlaybackCoordinator::canSeekChanged);
    announce(
        old.capabilities.canShuffle != now.capabilities.canShuffle, &PlaybackCoordinator::canShuffleChanged);
    announce(
        old.capabilities.canRepeat != now.capabilities.canRepeat, &PlaybackCoordinator::canRepeatChanged);
    announce(old.updatedAt != now.updatedAt, &PlaybackCoordinator::updatedAtChanged);
    announce(old.commandError != now.commandError, &PlaybackCoordinator::commandErrorChanged);
    emit snapshotChanged();
}

void PlaybackCoordinator::setBusy(bool busy)
{
    if (m_busy == busy)
        return;
    m_busy = busy;
    emit busyChanged();
}

void PlaybackCoordinator::setErrorKey(std::optional<QString> text)
{
    if (m_errorKey == text)
        return;
    m_errorKey = std::move(text);
    emit errorKeyChanged();
}

void PlaybackCoordinator::setStorageError(bool failed)
{
    if (m_storageError == failed)
        return;
    m_storageError = failed;
    emit storageErrorChanged();
}

void PlaybackCoordinator::setLastCast(std::optional<QUuid> id)
{
    if (m_lastCast == id)
        return;
    m_lastCast = id;
    emit lastCastChanged();
}

void PlaybackCoordinator::setFailedCast(std::optional<QUuid> id)
{
    if (m_failedCast == id)
        return;
    m_failedCast = id;
    emit failedCastChanged();
}

void PlaybackCoordinator::setArtwork(
    const QImage &image, const std::optional<ArtworkPalette> &palette, const std::optional<QString> &id)
{
    m_artworkGrace.cancel();
    m_artworkGrace = {};
    const bool imageChanged = m_artwork.cacheKey() != image.cacheKey();
    const bool paletteChanged = m_artworkPalette != palette;
    const bool idChanged = m_artworkID != id;
    const Aura oldAura = aura();
    const QUrl oldSource = m_artworkSourceURL;
    m_artwork = image;
    m_artworkPalette = palette;
    m_artworkID = id;
    // A new image gets a new URL even under the same id, so Image reloads
    // instead of showing what it cached for the old one.
    if (imageChanged)
        ++m_artworkGeneration;
    if (image.isNull()) {
        m_artworkSourceURL.clear();
    } else if (imageChanged || idChanged) {
        m_artworkSourceURL = QUrl(QStringLiteral("image://artwork"));
        m_artworkSourceURL.setPath(QLatin1Char('/') + id.value_or(QStringLiteral("cover")));
        m_artworkSourceURL.setQuery(QString::number(m_artworkGeneration));
    }
    // The provider must hold the new cover before any view hears of its URL.
    m_published->set(ArtworkImageProvider::key(m_artworkSourceURL), m_artwork);
    if (imageChanged)
        emit artworkChanged();
    if (paletteChanged)
        emit artworkPaletteChanged();
    if (idChanged)
        emit artworkIDChanged();
    if (aura() != oldAura)
        emit auraChanged();
    if (m_artworkSourceURL != oldSource)
        emit artworkSourceChanged();
}

void PlaybackCoordinator::send(PlaybackCommand command)
{
    launch([command = std::move(command)](
               PlaybackCoordinator &self) -> QCoro::Task<void> { co_await self.perform(command); });
}

void PlaybackCoordinator::launch(std::function<QCoro::Task<void>(PlaybackCoordinator &)> work)
{
    m_scheduler.spawn([guard = QPointer<PlaybackCoordinator>(this), work = std::move(work)](
                          TaskHandle) -> QCoro::Task<void> {
        if (guard)
            co_await work(*guard);
    });
}

// MARK: - Start-up and polling

void PlaybackCoordinator::start()
{
    if (m_polling.isValid())
        return;
    m_flushed = false;
    // Spotify seen on the bus (`repace`): what plays sets the pace from now,
    // not the longer pause the loop chose before it knew (a bus slow to answer).
    const auto refreshSoon = [this](bool repace) {
        m_scheduler.spawn(
            [self = QPointer<PlaybackCoordinator>(this), repace](TaskHandle) -> QCoro::Task<void> {
                if (!self)
                    co_return;
                co_await self->refresh();
                if (repace && self && self->pace() < self->m_pollPace)
                    self->m_pollPause.cancel();
            });
    };
    const auto seen = [refreshSoon] { refreshSoon(true); };
    const auto fallAsleep = [this] { m_asleep = true; };
    const auto wake = [this, refreshSoon] {
        m_asleep = false;
        refreshSoon(false);
    };
    m_observers = {
        QObject::connect(&m_workspace, &Workspace::willSleep, this, fallAsleep),
        QObject::connect(&m_workspace, &Workspace::sessionDidResignActive, this, fallAsleep),
        QObject::connect(&m_workspace, &Workspace::didWake, this, wake),
        QObject::connect(&m_workspace, &Workspace::sessionDidBecomeActive, this, wake),
        QObject::connect(&m_workspace, &Workspace::applicationLaunched, this, seen),
        QObject::connect(&m_workspace, &Workspace::spotifyLookUpEnded, this, seen),
        QObject::connect(
            &m_workspace, &Workspace::applicationTerminated, this, [refreshSoon] { refreshSoon(false); }),
    };
    m_polling = m_scheduler.spawn(
        [guard = QPointer<PlaybackCoordinator>(this)](TaskHandle self) -> QCoro::Task<void> {
            if (guard)
                co_await guard->poll(self);
        });
}

QCoro::Task<void> PlaybackCoordinator::poll(TaskHandle self)
{
    const QPointer<PlaybackCoordinator> guard(this);
    Scheduler &scheduler = m_scheduler;
    // Before the bus has said whether Spotify runs, a pass would publish
    // "not running" and pace itself by that.
    const TaskHandle lookUp
        = waitForWorkspace([this] { return !m_workspace.isLookingUpSpotify(); }, lookUpWait);
    co_await lookUp.join();
    for (;;) {
        if (self.isCancelled() || !guard)
            co_return;
        if (!m_asleep) {
            co_await refresh();
            if (!guard)
                co_return;
        }
        // A cut-short pause is no error: the loop's own check ends it.
        m_pollPace = pace();
        m_pollPause
            = scheduler.spawn([&scheduler, pause = m_pollPace](TaskHandle pausing) -> QCoro::Task<void> {
                  co_await scheduler.sleep(pause, pausing);
              });
        co_await m_pollPause.join();
    }
}

double PlaybackCoordinator::pace() const
{
    if (m_asleep)
        return asleepPace;
    if (!m_activePanels.isEmpty())
        return panelPace;
    return m_snapshot.isPlaying ? playingPace : idlePace;
}

TaskHandle PlaybackCoordinator::waitForWorkspace(std::function<bool()> done, double seconds)
{
    if (done())
        return {};
    auto watches = std::make_shared<QList<QMetaObject::Connection>>();
    const TaskHandle wait = m_scheduler.spawn(
        [&scheduler = m_scheduler, seconds, watches](TaskHandle self) -> QCoro::Task<void> {
            co_await scheduler.sleep(seconds, self);
            for (const auto &watch : std::as_const(*watches))
                QObject::disconnect(watch);
        });
    const auto check = [wait, done] {
        if (done())
            wait.cancel();
    };
    *watches = {
        QObject::connect(&m_workspace, &Workspace::applicationLaunched, this, check),
        QObject::connect(&m_workspace, &Workspace::spotifyLookUpEnded, this, check),
    };
    return wait;
}

QCoro::Task<void> PlaybackCoordinator::refresh()
{
    if (m_busy || m_asleep)
        co_return;
    if (m_refreshing.isValid()) {
        co_await m_refreshing.join();
        co_return;
    }
    const QPointer<PlaybackCoordinator> guard(this);
    const TaskHandle pass = m_scheduler.spawn([guard](TaskHandle) -> QCoro::Task<void> {
        if (guard)
            co_await guard->performRefresh();
    });
    m_refreshing = pass;
    co_await pass.join();
    if (guard && m_refreshing == pass)
        m_refreshing = {};
}

void PlaybackCoordinator::setPanel(const QUuid &panel, bool active)
{
    if (!active) {
        m_activePanels.remove(panel);
        return;
    }
    if (m_activePanels.contains(panel))
        return;
    m_activePanels.insert(panel);
    m_scheduler.spawn([self = QPointer<PlaybackCoordinator>(this)](TaskHandle) -> QCoro::Task<void> {
        if (self)
            co_await self->refresh();
    });
}

void PlaybackCoordinator::flush()
{
    m_flushed = true;
    m_polling.cancel();
    m_polling = {};
    m_pollPause.cancel();
    // An opening still waiting ends without a refresh: the file below is the last word.
    m_launchWait.cancel();
    cancelArtworkDownload();
    m_artworkGrace.cancel();
    m_reloadTask.cancel();
    for (const auto &observer : std::as_const(m_observers))
        QObject::disconnect(observer);
    m_observers.clear();
    PlaybackSnapshot last = m_snapshot;
    last.isPlaying = false;
    last.availability = PlayerAvailability::unavailable;
    try {
        m_store.saveSnapshot(last);
    } catch (const std::exception &) {
        // The app is ending; the widgets keep the previous file.
    }
    m_widgetCenter.reloadAllTimelines();
}

// MARK: - Refresh and publication

bool PlaybackCoordinator::isDisconnected() const
{
    return m_defaults.boolean(disconnectedKey);
}

std::optional<qint32> PlaybackCoordinator::spotifyPID() const
{
    return m_workspace.spotifyProcessIdentifier();
}

bool PlaybackCoordinator::isSpotifyInstalled() const
{
    return m_workspace.isSpotifyInstalled();
}

QCoro::Task<void> PlaybackCoordinator::performRefresh()
{
    if (isDisconnected()) {
        publish(placeholder(PlayerAvailability::needsPermission), false);
        co_return;
    }
    if (!isSpotifyInstalled()) {
        publish(placeholder(PlayerAvailability::notInstalled), false);
        co_return;
    }
    const auto pid = spotifyPID();
    if (!pid) {
        publish(placeholder(PlayerAvailability::notRunning), false);
        co_return;
    }
    const QPointer<PlaybackCoordinator> guard(this);
    const std::shared_ptr<SpotifyControlling> bridge = m_bridge;
    const qint32 status = co_await bridge->permission(*pid, false);
    if (!guard)
        co_return;
    if (status != 0) {
        publish(placeholder(status == consentRequiredStatus ? PlayerAvailability::needsPermission
                                                            : PlayerAvailability::permissionDenied),
            false);
        co_return;
    }
    std::optional<PlaybackSnapshot> read;
    std::exception_ptr failure;
    try {
        read = co_await bridge->readState(*pid);
    } catch (...) {
        failure = std::current_exception();
    }
    if (!guard)
        co_return;
    // The user may have disconnected, or a command begun, while Spotify answered.
    if (isDisconnected() || m_busy)
        co_return;
    if (failure)
        handle(failure, false);
    else
        publish(std::move(*read), false);
}

void PlaybackCoordinator::publish(PlaybackSnapshot next, bool immediate)
{
    const PlaybackSnapshot &old = m_snapshot;
    const auto trackID = [](const PlaybackSnapshot &s) {
        return s.track ? std::optional<QString>(s.track->id) : std::nullopt;
    };
    const auto artworkURL
        = [](const PlaybackSnapshot &s) { return s.track ? s.track->artworkURL : std::nullopt; };
    const bool changed = trackID(old) != trackID(next) || old.isPlaying != next.isPlaying
        || old.availability != next.availability;
    if (artworkURL(old) == artworkURL(next)) {
        next.artworkFile = old.artworkFile;
        next.artworkPalette = old.artworkPalette;
    }
    if (m_lastCast) {
        const auto shortcut = std::find_if(m_shortcuts.cbegin(), m_shortcuts.cend(),
            [&](const MusicShortcut &s) { return s.id == *m_lastCast; });
        if (shortcut != m_shortcuts.cend()) {
            if (next.availability != PlayerAvailability::ready
                && next.availability != PlayerAvailability::noTrack)
                setLastCast(std::nullopt);
            else if (next.availability == PlayerAvailability::ready
                && shortcut->link.kind() == SpotifyLink::Kind::track && trackID(next) != m_lastCastTrackID)
                setLastCast(std::nullopt);
        }
    }
    setSnapshot(std::move(next));
    try {
        m_store.saveSnapshot(m_snapshot);
        setStorageError(!m_store.isSharedAvailable);
    } catch (const std::exception &) {
        setStorageError(true);
    }
    updateArtwork(m_snapshot.track);
    if (immediate) {
        m_reloadTask.cancel();
        m_reloadTask = {};
        m_widgetCenter.reloadAllTimelines();
    } else if (changed && !m_reloadTask.isValid()) {
        m_reloadTask = m_scheduler.spawn(
            [guard = QPointer<PlaybackCoordinator>(this)](TaskHandle self) -> QCoro::Task<void> {
                if (guard)
                    co_await guard->delayedReload(self);
            });
    }
}

QCoro::Task<void> PlaybackCoordinator::delayedReload(TaskHandle self)
{
    const QPointer<PlaybackCoordinator> guard(this);
    WidgetCenter &widgetCenter = m_widgetCenter;
    co_await m_scheduler.sleep(widgetReloadDelay, self);
    if (self.isCancelled())
        co_return; // whoever cancelled it owns the handle
    widgetCenter.reloadAllTimelines();
    if (guard && m_reloadTask == self)
        m_reloadTask = {};
}
