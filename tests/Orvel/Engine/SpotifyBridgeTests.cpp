#include "BridgeTestSupport.h"
#include "QtPrinters.h"
#include "ScriptedAppleEventTarget.h"
#include "SpotifyBridge.h"

#include <QTemporaryDir>
#include <QThread>
#include <cmath>
#include <gtest/gtest.h>

namespace {

using Scope = ScriptedAppleEventTarget::Scope;
const QString trackId = QStringLiteral("spotify:track:4uLU6hMCjMI75M1A2tKUQC");
constexpr qint32 pid = 4242;

// "core/getd pTrk.pnam", "core/setd pVol 50", "spfy/PCtx spotify:…": one line per event.
QString describe(const AEDescriptor &value)
{
    if (auto text = value.stringValue(); text && value.kind() == AEDescriptor::Kind::text)
        return *text;
    if (value.kind() == AEDescriptor::Kind::boolean)
        return *value.booleanValue() ? "true" : "false";
    if (value.kind() == AEDescriptor::Kind::integer)
        return QString::number(*value.int32Value());
    if (value.kind() == AEDescriptor::Kind::real)
        return QString::number(*value.doubleValue(), 'f', 2);
    if (const auto reference = propertyReference(value))
        return (reference->container ? fourCharString(reference->container) + "." : QString())
            + fourCharString(reference->property);
    return "?";
}

QStringList describe(const std::vector<ScriptedAppleEventTarget::Received> &events)
{
    QStringList lines;
    for (const auto &received : events) {
        QString line
            = fourCharString(received.event.eventClass) + "/" + fourCharString(received.event.eventID);
        if (const auto *object = received.event.parameter(AEKeyword::directObject))
            line += " " + describe(*object);
        if (const auto *data = received.event.parameter(AEKeyword::data))
            line += " " + describe(*data);
        lines << line;
    }
    return lines;
}

const QStringList stateReads{"core/getd pPlS", "core/getd pVol", "core/getd pPos", "core/getd pShu",
    "core/getd pRep", "core/getd pTrk.ID  "};
const QStringList trackReads{"core/getd pTrk.pnam", "core/getd pTrk.pDur", "core/getd pTrk.aUrl",
    "core/getd pTrk.pArt", "core/getd pTrk.pAlb"};

class Bridge : public ::testing::Test {
protected:
    Bridge()
    {
        loadTrack(trackId, "Song", 200000);
        spotify->setProperty(Scope::application, "pPlS", AEDescriptor::enumeration(fourCharCode("kPSP")));
        spotify->setProperty(Scope::application, "pVol", AEDescriptor::integer(40));
        spotify->setProperty(Scope::application, "pPos", AEDescriptor::real(12.5));
        spotify->setProperty(Scope::application, "pShu", AEDescriptor::boolean(true));
        spotify->setProperty(Scope::application, "pRep", AEDescriptor::boolean(false));
    }

    void loadTrack(const QString &id, const QString &title, double milliseconds)
    {
        spotify->setProperty(Scope::track, "ID  ", AEDescriptor::text(id));
        spotify->setProperty(Scope::track, "pnam", AEDescriptor::text(title));
        spotify->setProperty(Scope::track, "pDur", AEDescriptor::real(milliseconds));
        spotify->setProperty(Scope::track, "aUrl", AEDescriptor::text("https://i.scdn.co/image/cover"));
        spotify->setProperty(Scope::track, "pArt", AEDescriptor::text("Artist"));
        spotify->setProperty(Scope::track, "pAlb", AEDescriptor::text("Album"));
    }

    Started<PlaybackSnapshot> read()
    {
        spotify->clearReceived();
        return drive(clock, bridge.readState(pid));
    }
    Started<PlaybackSnapshot> perform(PlaybackCommand command)
    {
        spotify->clearReceived();
        return drive(clock, bridge.perform(std::move(command), pid));
    }
    QStringList events() const { return describe(spotify->received()); }

    ManualScheduler clock;
    std::shared_ptr<ScriptedAppleEventTarget> spotify = std::make_shared<ScriptedAppleEventTarget>(pid);
    QTemporaryDir config;
    std::optional<bool> consentAnswer;
    SpotifyBridge bridge{spotify,
        AutomationPermission(AutomationConsentRecord(config.filePath("automation.json")),
            [this](const QString &) { return consentAnswer; }),
        clock};
};

} // namespace

TEST_F(Bridge, AFreshTrackCostsElevenEventsAndACachedOneSix)
{
    const PlaybackSnapshot first = read().get();
    EXPECT_EQ(events(), stateReads + trackReads);
    for (const auto &received : spotify->received()) {
        EXPECT_EQ(received.timeout, 2.0);
        EXPECT_EQ(received.event.targetProcess, pid);
        EXPECT_EQ(received.event.returnID, -1);
        EXPECT_EQ(received.event.transactionID, 0);
    }
    EXPECT_EQ(first.availability, PlayerAvailability::ready);
    EXPECT_TRUE(first.isPlaying);
    EXPECT_EQ(first.position, 12.5);
    EXPECT_EQ(first.volume, 40.0);
    EXPECT_TRUE(first.shuffle);
    EXPECT_FALSE(first.repeatEnabled);
    EXPECT_EQ(first.capabilities, (PlaybackCapabilities{true, true, true}));
    ASSERT_TRUE(first.track);
    EXPECT_EQ(*first.track,
        Track(trackId, "Song", "Artist", "Album", 200.0, QUrl("https://i.scdn.co/image/cover"),
            QUrl("https://open.spotify.com/track/4uLU6hMCjMI75M1A2tKUQC")));
    EXPECT_EQ(bridge.cachedTrack(), first.track);

    spotify->setProperty(Scope::track, "pnam", AEDescriptor::text("Renamed"));
    const PlaybackSnapshot second = read().get();
    EXPECT_EQ(events(), stateReads);
    EXPECT_EQ(second.track->title, "Song");
}

TEST_F(Bridge, TrackReadsThatFindNothingGiveANoTrackStateWithTheRealFlags)
{
    struct Case {
        const char *name;
        std::function<void(ScriptedAppleEventTarget &)> script;
        bool clearsCache;
    };
    const std::vector<Case> cases{
        {"empty id", [](auto &s) { s.setProperty(Scope::track, "ID  ", AEDescriptor::text("")); }, true},
        {"id that is no text", [](auto &s) { s.setProperty(Scope::track, "ID  ", AEDescriptor::null()); },
            true},
        {"no such id", [](auto &s) { s.failProperty("ID  ", -1728); }, false},
        {"empty title", [](auto &s) { s.setProperty(Scope::track, "pnam", AEDescriptor::text("")); }, false},
        {"title not handled", [](auto &s) { s.failProperty("pnam", -1708); }, false},
        {"album write-denied", [](auto &s) { s.failProperty("pAlb", -10006); }, false},
    };
    const Track cached(QStringLiteral("spotify:track:0000000000000000000000"), "Old", "", "", 1, {}, {});
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        spotify = std::make_shared<ScriptedAppleEventTarget>(pid);
        SpotifyBridge fresh(spotify, AutomationPermission(), clock);
        Bridge::loadTrack(trackId, "Song", 200000);
        spotify->setProperty(Scope::application, "pPlS", AEDescriptor::enumeration(fourCharCode("kPSP")));
        spotify->setProperty(Scope::application, "pVol", AEDescriptor::integer(40));
        spotify->setProperty(Scope::application, "pPos", AEDescriptor::real(12.5));
        spotify->setProperty(Scope::application, "pShu", AEDescriptor::boolean(true));
        spotify->setProperty(Scope::application, "pRep", AEDescriptor::boolean(true));
        fresh.setCachedTrack(cached);
        c.script(*spotify);
        const PlaybackSnapshot state = drive(clock, fresh.readState(pid)).get();
        EXPECT_EQ(state.availability, PlayerAvailability::noTrack);
        EXPECT_EQ(state.track, std::nullopt);
        EXPECT_TRUE(state.isPlaying);
        EXPECT_EQ(state.position, 12.5);
        EXPECT_EQ(state.volume, 40.0);
        EXPECT_TRUE(state.shuffle);
        EXPECT_TRUE(state.repeatEnabled);
        EXPECT_EQ(state.capabilities, (PlaybackCapabilities{false, false, false}));
        EXPECT_EQ(fresh.cachedTrack(), c.clearsCache ? std::nullopt : std::optional<Track>(cached));
    }
}

TEST_F(Bridge, TheItemDecidesTheCapabilitiesAndTheArtwork)
{
    struct Case {
        const char *name;
        QString id;
        AEDescriptor duration;
        AEDescriptor artwork;
        PlaybackCapabilities capabilities;
        double expectedDuration;
        std::optional<QUrl> expectedArtwork;
    };
    const QUrl cover("https://i.scdn.co/image/cover");
    const std::vector<Case> cases{
        {"advert", "spotify:ad:000000012c603a6600000020316a17a1", AEDescriptor::real(30000),
            AEDescriptor::text(cover.toString()), {false, false, false}, 30.0, cover},
        {"zero duration", trackId, AEDescriptor::integer(0), AEDescriptor::text(cover.toString()),
            {false, true, true}, 0, cover},
        {"negative duration", trackId, AEDescriptor::real(-4000), AEDescriptor::null(), {false, true, true},
            0, std::nullopt},
        {"NaN duration", trackId, AEDescriptor::real(std::nan("")), AEDescriptor::text(""),
            {false, true, true}, 0, std::nullopt},
        {"duration as text", trackId, AEDescriptor::text("long"), AEDescriptor::text("https:"),
            {false, true, true}, 0, std::nullopt},
        {"plain http cover", trackId, AEDescriptor::real(1500),
            AEDescriptor::text("http://i.scdn.co/image/cover"), {true, true, true}, 1.5, std::nullopt},
        {"upper-case scheme", trackId, AEDescriptor::real(1500), AEDescriptor::text("HTTPS://i.scdn.co/x"),
            {true, true, true}, 1.5, std::nullopt},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        bridge.setCachedTrack(std::nullopt);
        spotify->setProperty(Scope::track, "ID  ", AEDescriptor::text(c.id));
        spotify->setProperty(Scope::track, "pDur", c.duration);
        spotify->setProperty(Scope::track, "aUrl", c.artwork);
        const PlaybackSnapshot state = read().get();
        EXPECT_EQ(state.availability, PlayerAvailability::ready);
        EXPECT_EQ(state.capabilities, c.capabilities);
        ASSERT_TRUE(state.track);
        EXPECT_EQ(state.track->duration, c.expectedDuration);
        EXPECT_EQ(state.track->artworkURL, c.expectedArtwork);
    }
}

TEST_F(Bridge, ACoverThatCannotBeReadLeavesTheTrackReady)
{
    spotify->failProperty("aUrl", -1712);
    const PlaybackSnapshot state = read().get();
    EXPECT_EQ(state.availability, PlayerAvailability::ready);
    EXPECT_EQ(state.track->artworkURL, std::nullopt);
}

TEST_F(Bridge, FailuresOfThePlayerPropertiesEndTheReadButShuffleAndRepeatFallBack)
{
    struct Case {
        const char *property;
        OSStatus errn;
        std::optional<SpotifyFailure> failure; // nothing: the read succeeds
    };
    const std::vector<Case> cases{
        {"pPlS", -1712, SpotifyFailure::timeout},
        {"pVol", -1728, SpotifyFailure::unsupported},
        {"pPos", -1701, SpotifyFailure::unavailable},
        {"pShu", -1712, std::nullopt},
        {"pRep", -1728, std::nullopt},
        {"ID  ", -600, SpotifyFailure::notRunning},
        {"pDur", -1712, SpotifyFailure::timeout},
        {"pArt", -1743, SpotifyFailure::permissionDenied},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.property);
        auto target = std::make_shared<ScriptedAppleEventTarget>(pid);
        spotify.swap(target);
        SpotifyBridge fresh(spotify, AutomationPermission(), clock);
        spotify->setProperty(Scope::application, "pPlS", AEDescriptor::enumeration(fourCharCode("kPSp")));
        spotify->setProperty(Scope::application, "pVol", AEDescriptor::integer(40));
        spotify->setProperty(Scope::application, "pPos", AEDescriptor::real(1));
        spotify->setProperty(Scope::application, "pShu", AEDescriptor::boolean(true));
        spotify->setProperty(Scope::application, "pRep", AEDescriptor::boolean(true));
        loadTrack(trackId, "Song", 1000);
        char code[5] = {};
        std::copy_n(c.property, 4, code);
        spotify->failProperty(reinterpret_cast<const char(&)[5]>(code), c.errn);
        auto result = drive(clock, fresh.readState(pid));
        if (c.failure) {
            ASSERT_TRUE(result.error());
            EXPECT_EQ(failureOf(result.error()), *c.failure);
        } else {
            ASSERT_FALSE(result.error());
            EXPECT_FALSE(QLatin1String(c.property) == "pShu" ? result.value()->shuffle
                                                             : result.value()->repeatEnabled);
            EXPECT_EQ(result.value()->availability, PlayerAvailability::ready);
        }
    }
}

TEST_F(Bridge, LogsTheFailedEventAndProperty)
{
    LogCapture log;
    spotify->failProperty("pVol", -1728);
    EXPECT_TRUE(read().error());
    EXPECT_EQ(log.lines(),
        (QStringList{"Spotify Apple Event core/getd returned -1728", "Property read failed: pVol"}));

    LogCapture transportLog;
    spotify->failDelivery(AESendError{"org.freedesktop.DBus.Error.NoReply", -1712});
    auto result = read();
    EXPECT_EQ(failureOf(result.error()), SpotifyFailure::timeout);
    EXPECT_EQ(transportLog.lines(),
        (QStringList{"Spotify transport core/getd failed: org.freedesktop.DBus.Error.NoReply -1712",
            "Property read failed: pPlS"}));
}

TEST_F(Bridge, BadValuesFromSpotifyFallBackInsteadOfFailing)
{
    spotify->setProperty(Scope::application, "pPlS", AEDescriptor::text("kPSP"));
    spotify->setProperty(Scope::application, "pVol", AEDescriptor::text("loud"));
    spotify->setProperty(Scope::application, "pPos", AEDescriptor::real(-30));
    spotify->setProperty(Scope::application, "pShu", AEDescriptor::integer(7));
    spotify->setProperty(Scope::track, "pnam", AEDescriptor::text(QString(1 << 20, QLatin1Char('t'))));
    spotify->setProperty(Scope::track, "pArt", AEDescriptor::null());
    const PlaybackSnapshot state = read().get();
    EXPECT_FALSE(state.isPlaying);
    EXPECT_EQ(state.volume, 50.0);
    EXPECT_EQ(state.position, 0.0);
    EXPECT_FALSE(state.shuffle);
    EXPECT_EQ(state.track->title.size(), 1 << 20);
    EXPECT_EQ(state.track->artist, "");

    // An error number that is no integer is still an error.
    spotify->setHandler([](const AppleEvent &) {
        AESendResult result;
        result.reply[AEKeyword::errorNumber] = AEDescriptor::text("bad");
        return std::optional(result);
    });
    EXPECT_EQ(failureOf(read().error()), SpotifyFailure::unavailable);
}

TEST_F(Bridge, CommandsReadFirstSendOneEventPauseAndReadAgain)
{
    struct Case {
        PlaybackCommand command;
        QString event;
    };
    const std::vector<Case> cases{
        {PlaybackCommand::seek(400), "core/setd pPos 200.00"},
        {PlaybackCommand::seek(-5), "core/setd pPos 0.00"},
        {PlaybackCommand::seek(37.25), "core/setd pPos 37.25"},
        {PlaybackCommand::volume(49.5), "core/setd pVol 50"},
        {PlaybackCommand::volume(49.4), "core/setd pVol 49"},
        {PlaybackCommand::volume(150), "core/setd pVol 100"},
        {PlaybackCommand::volume(-3), "core/setd pVol 0"},
        {PlaybackCommand::volume(-1e300), "core/setd pVol 0"},
        {PlaybackCommand::shuffle(false), "core/setd pShu false"},
        {PlaybackCommand::repeatMode(true), "core/setd pRep true"},
        {PlaybackCommand::play(), "spfy/Play"},
        {PlaybackCommand::pause(), "spfy/Paus"},
        {PlaybackCommand::next(), "spfy/Next"},
        {PlaybackCommand::previous(), "spfy/Prev"},
    };
    read(); // the track is cached from here on
    for (const Case &c : cases) {
        SCOPED_TRACE(c.event.toStdString());
        auto result = perform(c.command);
        ASSERT_FALSE(result.error());
        EXPECT_EQ(events(), stateReads + QStringList{c.event} + stateReads);
        EXPECT_EQ(result.pauses(), std::vector<double>{0.18});
        EXPECT_EQ(spotify->received().at(6).timeout, 2.0);
    }
    EXPECT_TRUE(perform(PlaybackCommand::play()).get().isPlaying);
    EXPECT_FALSE(perform(PlaybackCommand::pause()).get().isPlaying);
}

TEST_F(Bridge, RefusedCommandsSendNothing)
{
    struct Case {
        const char *name;
        PlaybackCommand command;
        QString id;
        SpotifyFailure failure;
        bool preRead;
    };
    const QString ad = QStringLiteral("spotify:ad:000000012c603a6600000020316a17a1");
    const std::vector<Case> cases{
        {"seek NaN", PlaybackCommand::seek(std::nan("")), trackId, SpotifyFailure::unsupported, false},
        {"seek infinity", PlaybackCommand::seek(INFINITY), trackId, SpotifyFailure::unsupported, false},
        {"volume NaN", PlaybackCommand::volume(std::nan("")), trackId, SpotifyFailure::invalidValue, false},
        {"volume infinity", PlaybackCommand::volume(-INFINITY), trackId, SpotifyFailure::invalidValue, false},
        {"seek an advert", PlaybackCommand::seek(3), ad, SpotifyFailure::unsupported, true},
        {"shuffle an advert", PlaybackCommand::shuffle(true), ad, SpotifyFailure::unsupported, true},
        {"repeat an advert", PlaybackCommand::repeatMode(true), ad, SpotifyFailure::unsupported, true},
        {"play with nothing loaded", PlaybackCommand::play(), "", SpotifyFailure::unsupported, true},
        {"volume with nothing loaded", PlaybackCommand::volume(10), "", SpotifyFailure::unsupported, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        spotify->setProperty(Scope::track, "ID  ", AEDescriptor::text(c.id));
        read();
        auto result = perform(c.command);
        ASSERT_TRUE(result.error());
        EXPECT_EQ(failureOf(result.error()), c.failure);
        EXPECT_EQ(events(), c.preRead ? stateReads : QStringList());
    }
    // Transport commands still reach an advert.
    spotify->setProperty(Scope::track, "ID  ", AEDescriptor::text(ad));
    for (const auto &command : {PlaybackCommand::play(), PlaybackCommand::pause(), PlaybackCommand::next(),
             PlaybackCommand::previous()})
        EXPECT_FALSE(perform(command).error());
}

TEST_F(Bridge, AVolumeStoredOneStepLowIsNudgedOnce)
{
    // This Spotify stores every volume one below what it was sent.
    spotify->setHandler([this](const AppleEvent &event) -> std::optional<AESendResult> {
        const auto *object = event.parameter(AEKeyword::directObject);
        const auto *data = event.parameter(AEKeyword::data);
        if (event.eventID == fourCharCode("setd") && object && data
            && propertyReference(*object)->property == fourCharCode("pVol")) {
            spotify->setProperty(Scope::application, "pVol", AEDescriptor::integer(*data->int32Value() - 1));
            return AESendResult{};
        }
        return std::nullopt;
    });
    read();
    auto result = perform(PlaybackCommand::volume(50));
    EXPECT_EQ(events(),
        stateReads + QStringList{"core/setd pVol 50"} + stateReads + QStringList{"core/setd pVol 51"}
            + stateReads);
    EXPECT_EQ(result.pauses(), (std::vector<double>{0.18, 0.18}));
    EXPECT_EQ(result.get().volume, 50.0);

    result = perform(PlaybackCommand::volume(100));
    EXPECT_EQ(events(), stateReads + QStringList{"core/setd pVol 100"} + stateReads);
    EXPECT_EQ(result.get().volume, 99.0);

    result = perform(PlaybackCommand::volume(0)); // stored as -1: not "one below" in any useful sense
    EXPECT_EQ(events(), stateReads + QStringList{"core/setd pVol 0"} + stateReads);
}

TEST_F(Bridge, PlayingALinkSendsItsUriWithoutReadingFirst)
{
    const auto link = *SpotifyLink::parse("https://open.spotify.com/playlist/37i9dQZF1DXcBWIGoYBM5M?si=x");
    auto result = perform(PlaybackCommand::playLink(link));
    ASSERT_FALSE(result.error());
    EXPECT_EQ(
        events(), QStringList{"spfy/PCtx spotify:playlist:37i9dQZF1DXcBWIGoYBM5M"} + stateReads + trackReads);
    EXPECT_EQ(spotify->received().front().timeout, 6.0);
    EXPECT_EQ(result.pauses(), std::vector<double>{0.45});

    spotify->failProperty("pPlS", -1712);
    spotify->setHandler([](const AppleEvent &event) -> std::optional<AESendResult> {
        if (event.eventID == fourCharCode("PCtx"))
            return AESendResult::errorNumber(-1712);
        return std::nullopt;
    });
    result = perform(PlaybackCommand::playLink(link));
    EXPECT_EQ(failureOf(result.error()), SpotifyFailure::timeout);
    EXPECT_TRUE(result.pauses().empty());
}

TEST_F(Bridge, RunsOnItsOwnThreadAndAnswersOnTheCallers)
{
    QThread *sender = nullptr;
    spotify->setHandler([&](const AppleEvent &) -> std::optional<AESendResult> {
        sender = QThread::currentThread();
        return std::nullopt;
    });
    QThread *resumedOn = nullptr;
    auto body = [&]() -> QCoro::Task<void> {
        co_await bridge.readState(pid);
        resumedOn = QThread::currentThread();
    };
    const auto task = start(body());
    for (QDeadlineTimer guard(20000); !task.done() && !guard.hasExpired();)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 1);
    EXPECT_NE(sender, nullptr);
    EXPECT_NE(sender, QThread::currentThread());
    EXPECT_EQ(resumedOn, QThread::currentThread());
}

TEST_F(Bridge, ACommandsPauseLeavesTheBridgeFreeForAnotherCall)
{
    read();
    spotify->clearReceived();
    const auto command = start(bridge.perform(PlaybackCommand::next(), pid));
    for (QDeadlineTimer guard(20000); !clock.nextDeadline() && !guard.hasExpired();)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 1);
    ASSERT_NEAR(clock.nextDeadline().value_or(0), 0.18, 1e-9);

    // A poll runs to its end while the command sleeps: the clock has not moved.
    const auto poll = start(bridge.readState(pid));
    for (QDeadlineTimer guard(20000); !poll.done() && !guard.hasExpired();)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 1);
    EXPECT_TRUE(poll.done());
    EXPECT_FALSE(command.done());
    EXPECT_EQ(events(), stateReads + QStringList{"spfy/Next"} + stateReads);

    clock.advance(0.18);
    for (QDeadlineTimer guard(20000); !command.done() && !guard.hasExpired();)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 1);
    EXPECT_TRUE(command.done());
    EXPECT_EQ(events().size(), 19);
}

TEST_F(Bridge, PermissionFollowsTheRecordedConsent)
{
    EXPECT_EQ(drive(clock, bridge.permission(pid, false)).get(), -1744);
    consentAnswer = std::nullopt;
    EXPECT_EQ(drive(clock, bridge.permission(pid, true)).get(), -1744);
    consentAnswer = true;
    EXPECT_EQ(drive(clock, bridge.permission(pid, true)).get(), 0);
    EXPECT_EQ(drive(clock, bridge.permission(pid, false)).get(), 0);
    EXPECT_EQ(drive(clock, bridge.permission(pid + 1, false)).get(), -600);
    EXPECT_TRUE(spotify->received().empty()); // asking sends no event
}
