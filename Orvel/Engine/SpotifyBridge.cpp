#include "SpotifyBridge.h"

#include "MprisAppleEventTransport.h"
#include "Scheduler.h"
#include "Workspace.h"

#include <QCoreApplication>
#include <cmath>

Q_LOGGING_CATEGORY(lcSpotifyBridge, "com.velbrandtoro.Orvel.SpotifyBridge")

namespace {

// One plain object per thread to resume awaiting callers on.
QObject *callerContext()
{
    thread_local std::unique_ptr<QObject> context = std::make_unique<QObject>();
    return context.get();
}

struct BridgeHop {
    QObject *bridge;
    std::function<QCoro::Task<void>()> body;

    static QCoro::Task<void> runThenResume(
        std::function<QCoro::Task<void>()> body, QPointer<QObject> caller, std::coroutine_handle<> handle)
    {
        co_await body();
        if (caller)
            QMetaObject::invokeMethod(
                caller.data(), [handle] { handle.resume(); }, Qt::QueuedConnection);
    }

    bool await_ready() const noexcept { return false; }
    void await_suspend(std::coroutine_handle<> handle)
    {
        QPointer<QObject> caller(callerContext());
        QMetaObject::invokeMethod(
            bridge, [body = body, caller, handle] { runThenResume(body, caller, handle); },
            Qt::QueuedConnection);
    }
    void await_resume() const noexcept { }
};

template<typename T>
struct Outcome {
    std::optional<T> value;
    std::exception_ptr error;
};

// The scheme exactly as written (QUrl lower-cases it), and somewhere to download from.
bool isCoverAddress(const QString &text, const QUrl &url)
{
    return text.startsWith(QLatin1String("https:")) && url.isValid() && !url.host().isEmpty();
}

[[noreturn]] void fail(SpotifyFailure failure)
{
    throw SpotifyError(failure);
}

} // namespace

SpotifyBridge::SpotifyBridge(Scheduler &scheduler, ConsentPrompt ask)
    : SpotifyBridge(std::make_shared<MprisAppleEventTransport>(),
        AutomationPermission(AutomationConsentRecord(), std::move(ask)), scheduler)
{
}

SpotifyBridge::SpotifyBridge(
    std::shared_ptr<AppleEventTransport> transport, AutomationPermission permission, Scheduler &scheduler)
    : m_transport(std::move(transport))
    , m_permission(std::move(permission))
    , m_scheduler(scheduler)
    , m_context(new QObject)
{
    m_thread.setObjectName(QStringLiteral("SpotifyBridge"));
    m_context->moveToThread(&m_thread);
    QObject::connect(&m_thread, &QThread::finished, m_context, &QObject::deleteLater);
    m_thread.start();
}

SpotifyBridge::~SpotifyBridge()
{
    m_thread.quit();
    m_thread.wait();
}

std::optional<Track> SpotifyBridge::cachedTrack() const
{
    const std::lock_guard lock(m_cacheMutex);
    return m_cachedTrack;
}

void SpotifyBridge::setCachedTrack(std::optional<Track> track)
{
    const std::lock_guard lock(m_cacheMutex);
    m_cachedTrack = std::move(track);
}

template<typename T>
QCoro::Task<T> SpotifyBridge::onBridge(std::function<QCoro::Task<T>()> work)
{
    auto outcome = std::make_shared<Outcome<T>>();
    // A named awaiter: GCC 12 mishandles temporaries that own state in a co_await expression.
    BridgeHop hop{m_context, [work = std::move(work), outcome]() -> QCoro::Task<void> {
                      try {
                          outcome->value = co_await work();
                      } catch (...) {
                          outcome->error = std::current_exception();
                      }
                  }};
    co_await hop;
    if (outcome->error)
        std::rethrow_exception(outcome->error);
    co_return std::move(*outcome->value);
}

QCoro::Task<qint32> SpotifyBridge::permission(qint32 pid, bool ask)
{
    return onBridge<qint32>([this, pid, ask]() -> QCoro::Task<qint32> {
        co_return m_permission.determine(*m_transport, pid, fourCharCode("core"), fourCharCode("getd"), ask);
    });
}

QCoro::Task<std::optional<bool>> SpotifyBridge::askPermissionAgain()
{
    // On the bridge thread like every consent question, so no event is sent meanwhile.
    return onBridge<std::optional<bool>>([this]() -> QCoro::Task<std::optional<bool>> {
        co_return m_permission.askAgain(Workspace::spotifyBundleIdentifier);
    });
}

QCoro::Task<PlaybackSnapshot> SpotifyBridge::readState(qint32 pid)
{
    return onBridge<PlaybackSnapshot>(
        [this, pid]() -> QCoro::Task<PlaybackSnapshot> { co_return readStateNow(pid); });
}

QCoro::Task<PlaybackSnapshot> SpotifyBridge::perform(PlaybackCommand command, qint32 pid)
{
    return onBridge<PlaybackSnapshot>(
        [this, command = std::move(command), pid]() -> QCoro::Task<PlaybackSnapshot> {
            co_return co_await performHere(command, pid);
        });
}

AEDescriptor SpotifyBridge::specifier(const char (&property)[5], const std::optional<AEDescriptor> &from)
{
    return *AEDescriptor::record({{AEKeyword::desiredClass, AEDescriptor::type(fourCharCode("prop"))},
                                     {AEKeyword::keyForm, AEDescriptor::enumeration(fourCharCode("prop"))},
                                     {AEKeyword::keyData, AEDescriptor::type(fourCharCode(property))},
                                     {AEKeyword::container, from.value_or(AEDescriptor::null())}})
                .coercedToObjectSpecifier();
}

AEDescriptor SpotifyBridge::send(const char (&eventClass)[5], const char (&eventID)[5], qint32 pid,
    const std::optional<AEDescriptor> &object, const std::optional<AEDescriptor> &data, double timeout)
{
    AppleEvent event;
    event.eventClass = fourCharCode(eventClass);
    event.eventID = fourCharCode(eventID);
    event.targetProcess = pid;
    event.returnID = -1;
    event.transactionID = 0;
    if (object)
        event.setParameter(AEKeyword::directObject, *object);
    if (data)
        event.setParameter(AEKeyword::data, *data);

    const AESendResult result = m_transport->send(event, timeout);
    if (result.error) {
        qCCritical(lcSpotifyBridge, "Spotify transport %s/%s failed: %s %ld", eventClass, eventID,
            qUtf8Printable(result.error->domain), long(result.error->code));
        fail(spotifyFailureFromAppleEvent(result.error->code));
    }
    if (auto errn = result.reply.find(AEKeyword::errorNumber); errn != result.reply.end()) {
        // An error number that is not a 32-bit integer is still an error.
        const std::int32_t code = errn->second.int32Value().value_or(AEStatus::errAECoercionFail);
        if (code != 0) {
            qCCritical(
                lcSpotifyBridge, "Spotify Apple Event %s/%s returned %d", eventClass, eventID, int(code));
            fail(spotifyFailureFromAppleEvent(code));
        }
    }
    auto direct = result.reply.find(AEKeyword::directObject);
    return direct == result.reply.end() ? AEDescriptor::null() : direct->second;
}

AEDescriptor SpotifyBridge::read(
    const char (&property)[5], qint32 pid, const std::optional<AEDescriptor> &from)
{
    try {
        return send("core", "getd", pid, specifier(property, from), std::nullopt, propertyTimeout);
    } catch (const SpotifyError &) {
        qCCritical(lcSpotifyBridge, "Property read failed: %s", property);
        throw;
    }
}

PlaybackSnapshot SpotifyBridge::readStateNow(qint32 pid)
{
    const bool playing = read("pPlS", pid).enumCodeValue() == fourCharCode("kPSP");
    // A value that is no number reads as NaN, which the snapshot turns into its defaults.
    const double volume = read("pVol", pid).doubleValue().value_or(std::nan(""));
    const double position = read("pPos", pid).doubleValue().value_or(std::nan(""));
    bool shuffle = false;
    bool repeat = false;
    try {
        shuffle = read("pShu", pid).booleanValue().value_or(false);
    } catch (const SpotifyError &) {
    }
    try {
        repeat = read("pRep", pid).booleanValue().value_or(false);
    } catch (const SpotifyError &) {
    }
    PlaybackSnapshot snapshot(PlayerAvailability::noTrack, std::nullopt, playing, position, volume, shuffle,
        repeat, PlaybackCapabilities{false, false, false}, Date::now(), std::nullopt, std::nullopt,
        std::nullopt);

    const AEDescriptor trackSpecifier = specifier("pTrk");
    try {
        const QString id = read("ID  ", pid, trackSpecifier).stringValue().value_or(QString());
        if (id.isEmpty()) {
            setCachedTrack(std::nullopt);
            return snapshot;
        }
        std::optional<Track> track = cachedTrack();
        if (!track || track->id != id) {
            const QString title = read("pnam", pid, trackSpecifier).stringValue().value_or(QString());
            if (title.isEmpty())
                return snapshot;
            const double milliseconds = read("pDur", pid, trackSpecifier).doubleValue().value_or(0.0);
            QString artwork;
            try {
                artwork = read("aUrl", pid, trackSpecifier).stringValue().value_or(QString());
            } catch (const SpotifyError &) {
            }
            const QString artist = read("pArt", pid, trackSpecifier).stringValue().value_or(QString());
            const QString album = read("pAlb", pid, trackSpecifier).stringValue().value_or(QString());
            const double duration = milliseconds / 1000.0;
            const QUrl artworkURL(artwork);
            track = Track(id, title, artist, album, std::isfinite(duration) && duration >= 0 ? duration : 0.0,
                isCoverAddress(artwork, artworkURL) ? std::optional<QUrl>(artworkURL) : std::nullopt,
                SpotifyLink::playbackURL(id));
            setCachedTrack(track);
        }
        const bool advertisement = id.startsWith(QLatin1String("spotify:ad:"));
        snapshot.availability = PlayerAvailability::ready;
        snapshot.capabilities
            = PlaybackCapabilities{track->duration > 0 && !advertisement, !advertisement, !advertisement};
        snapshot.track = std::move(track);
        return snapshot;
    } catch (const SpotifyError &error) {
        if (error.failure == SpotifyFailure::unsupported)
            return snapshot;
        throw;
    }
}

QCoro::Task<void> SpotifyBridge::pause(double seconds)
{
    const bool slept = co_await scheduler().sleep(seconds);
    if (!slept)
        throw CancellationError();
}

QCoro::Task<PlaybackSnapshot> SpotifyBridge::performHere(PlaybackCommand command, qint32 pid)
{
    if (const auto *playLink = std::get_if<PlaybackCommand::PlayLink>(&command.value)) {
        // The link is sent as text, so it must read back as the very same link.
        const QString uri = playLink->link.uri().toString(QUrl::FullyEncoded);
        const auto reparsed = SpotifyLink::parse(uri);
        if (!reparsed || *reparsed != playLink->link)
            fail(SpotifyFailure::invalidValue);
        send("spfy", "PCtx", pid, AEDescriptor::text(uri), std::nullopt, linkTimeout);
        co_await pause(linkPause);
        co_return readStateNow(pid);
    }

    // Values that can never be sent are refused before anything is.
    if (const auto *volume = std::get_if<PlaybackCommand::Volume>(&command.value);
        volume && !std::isfinite(volume->level))
        fail(SpotifyFailure::invalidValue);
    if (const auto *seek = std::get_if<PlaybackCommand::Seek>(&command.value);
        seek && !std::isfinite(seek->seconds))
        fail(SpotifyFailure::unsupported);

    const PlaybackSnapshot state = readStateNow(pid);
    if (state.availability != PlayerAvailability::ready)
        fail(SpotifyFailure::unsupported);

    std::optional<std::int32_t> volumeSent;
    switch (command.kind()) {
    case PlaybackCommand::Kind::seek: {
        if (!state.capabilities.canSeek)
            fail(SpotifyFailure::unsupported);
        const double duration = state.track ? state.track->duration : 0.0;
        const double target
            = std::min(std::max(std::get<PlaybackCommand::Seek>(command.value).seconds, 0.0), duration);
        send("core", "setd", pid, specifier("pPos"), AEDescriptor::real(target), propertyTimeout);
        break;
    }
    case PlaybackCommand::Kind::volume: {
        const double level = std::get<PlaybackCommand::Volume>(command.value).level;
        volumeSent = level < 0 ? 0 : std::int32_t(std::lround(std::min(level, 100.0)));
        send("core", "setd", pid, specifier("pVol"), AEDescriptor::integer(*volumeSent), propertyTimeout);
        break;
    }
    case PlaybackCommand::Kind::shuffle:
        if (!state.capabilities.canShuffle)
            fail(SpotifyFailure::unsupported);
        send("core", "setd", pid, specifier("pShu"),
            AEDescriptor::boolean(std::get<PlaybackCommand::Shuffle>(command.value).enabled),
            propertyTimeout);
        break;
    case PlaybackCommand::Kind::repeatMode:
        if (!state.capabilities.canRepeat)
            fail(SpotifyFailure::unsupported);
        send("core", "setd", pid, specifier("pRep"),
            AEDescriptor::boolean(std::get<PlaybackCommand::RepeatMode>(command.value).enabled),
            propertyTimeout);
        break;
    case PlaybackCommand::Kind::play:
        send("spfy", "Play", pid, std::nullopt, std::nullopt, propertyTimeout);
        break;
    case PlaybackCommand::Kind::pause:
        send("spfy", "Paus", pid, std::nullopt, std::nullopt, propertyTimeout);
        break;
    case PlaybackCommand::Kind::next:
        send("spfy", "Next", pid, std::nullopt, std::nullopt, propertyTimeout);
        break;
    case PlaybackCommand::Kind::previous:
        send("spfy", "Prev", pid, std::nullopt, std::nullopt, propertyTimeout);
        break;
    case PlaybackCommand::Kind::playLink:
        break; // handled above
    }

    co_await pause(commandPause);
    PlaybackSnapshot after = readStateNow(pid);

    // Spotify may store a set volume one step low; one nudge up sets what was asked.
    if (volumeSent && *volumeSent < 100 && after.volume == double(*volumeSent - 1)) {
        send("core", "setd", pid, specifier("pVol"), AEDescriptor::integer(*volumeSent + 1), propertyTimeout);
        co_await pause(commandPause);
        after = readStateNow(pid);
    }
    co_return after;
}
