#include "MprisAppleEventTransport.h"
#include "QtPrinters.h"
#include "Workspace.h"
#include "fixtures/FakeSpotify.h"

#include <QCoreApplication>
#include <QDBusObjectPath>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cmath>
#include <gtest/gtest.h>

namespace {

AEDescriptor specifier(const char (&property)[5], std::optional<AEDescriptor> container = std::nullopt)
{
    return *AEDescriptor::record({{AEKeyword::desiredClass, AEDescriptor::type(fourCharCode("prop"))},
                                     {AEKeyword::keyForm, AEDescriptor::enumeration(fourCharCode("prop"))},
                                     {AEKeyword::keyData, AEDescriptor::type(fourCharCode(property))},
                                     {AEKeyword::container, container.value_or(AEDescriptor::null())}})
                .coercedToObjectSpecifier();
}

AEDescriptor trackProperty(const char (&property)[5])
{
    return specifier(property, specifier("pTrk"));
}

class MprisTransport : public ::testing::Test {
protected:
    AppleEvent event(const char (&eventClass)[5], const char (&eventID)[5],
        std::optional<AEDescriptor> object = {}, std::optional<AEDescriptor> data = {})
    {
        AppleEvent e;
        e.eventClass = fourCharCode(eventClass);
        e.eventID = fourCharCode(eventID);
        e.targetProcess = spotify.pid();
        if (object)
            e.setParameter(AEKeyword::directObject, *object);
        if (data)
            e.setParameter(AEKeyword::data, *data);
        return e;
    }
    AESendResult get(const AEDescriptor &object) { return transport.send(event("core", "getd", object), 2); }
    AEDescriptor value(const AEDescriptor &object)
    {
        const AESendResult result = get(object);
        EXPECT_FALSE(result.error);
        EXPECT_FALSE(result.reply.count(AEKeyword::errorNumber));
        auto it = result.reply.find(AEKeyword::directObject);
        return it == result.reply.end() ? AEDescriptor::null() : it->second;
    }
    static OSStatus errn(const AESendResult &result)
    {
        auto it = result.reply.find(AEKeyword::errorNumber);
        return it == result.reply.end() ? 0 : it->second.int32Value().value_or(0);
    }

    PrivateBus bus;
    FakeSpotify spotify{bus};
    MprisAppleEventTransport transport{bus.connection()};
};

} // namespace

TEST_F(MprisTransport, ReadsThePlayerPropertiesInTheirScriptingForm)
{
    spotify.setProperty("PlaybackStatus", QStringLiteral("Playing"));
    spotify.setProperty("Volume", 0.49);
    spotify.setProperty("Position", qlonglong(83'500'000));
    spotify.setProperty("Shuffle", true);
    spotify.setProperty("LoopStatus", QStringLiteral("Track"));
    EXPECT_EQ(value(specifier("pPlS")).enumCodeValue(), fourCharCode("kPSP"));
    EXPECT_EQ(value(specifier("pVol")).doubleValue(), 49.0); // exact, so a read-back compares as sent
    EXPECT_EQ(value(specifier("pPos")).doubleValue(), 83.5);
    EXPECT_EQ(value(specifier("pShu")).booleanValue(), true);
    EXPECT_EQ(value(specifier("pRep")).booleanValue(), true);

    spotify.setProperty("PlaybackStatus", QStringLiteral("Stopped"));
    spotify.setProperty("LoopStatus", QStringLiteral("None"));
    EXPECT_NE(value(specifier("pPlS")).enumCodeValue(), fourCharCode("kPSP"));
    EXPECT_EQ(value(specifier("pRep")).booleanValue(), false);
}

TEST_F(MprisTransport, ReadsTheTrackFromTheMetadata)
{
    spotify.setMetadata(FakeSpotify::track("4uLU6hMCjMI75M1A2tKUQC", "Song", 212'000'000));
    EXPECT_EQ(value(trackProperty("ID  ")).stringValue(), "spotify:track:4uLU6hMCjMI75M1A2tKUQC");
    EXPECT_EQ(value(trackProperty("pnam")).stringValue(), "Song");
    EXPECT_EQ(value(trackProperty("pDur")).doubleValue(), 212000.0);
    EXPECT_EQ(value(trackProperty("aUrl")).stringValue(), "https://i.scdn.co/image/ab67616d0000b273");
    EXPECT_EQ(value(trackProperty("pArt")).stringValue(), "Artist A, Artist B");
    EXPECT_EQ(value(trackProperty("pAlb")).stringValue(), "Album");
    EXPECT_EQ(errn(get(trackProperty("pXYZ"))), AEStatus::errAENoSuchObject);
    EXPECT_EQ(errn(get(specifier("pnam", specifier("pVol")))), AEStatus::errAENoSuchObject);
}

TEST_F(MprisTransport, AcceptsEveryFormOfTrackIdClientsHaveSent)
{
    const QString id = QStringLiteral("4uLU6hMCjMI75M1A2tKUQC");
    struct Case {
        const char *name;
        QVariantMap metadata;
        QString expected;
    };
    const std::vector<Case> cases{
        {"object path", {{"mpris:trackid", QVariant::fromValue(QDBusObjectPath("/com/spotify/track/" + id))}},
            "spotify:track:" + id},
        {"path as a string", {{"mpris:trackid", "/com/spotify/track/" + id}}, "spotify:track:" + id},
        {"URI as a string", {{"mpris:trackid", "spotify:track:" + id}}, "spotify:track:" + id},
        {"advert path", {{"mpris:trackid", QVariant::fromValue(QDBusObjectPath("/com/spotify/ad/abc123"))}},
            "spotify:ad:abc123"},
        {"advert URI", {{"mpris:trackid", "spotify:ad:abc123"}}, "spotify:ad:abc123"},
        {"episode", {{"mpris:trackid", "/com/spotify/episode/" + id}}, "spotify:episode:" + id},
        {"only a URL", {{"xesam:url", "https://open.spotify.com/track/" + id}}, "spotify:track:" + id},
        {"no-track path falls back to the URL",
            {{"mpris:trackid",
                 QVariant::fromValue(QDBusObjectPath("/org/mpris/MediaPlayer2/TrackList/NoTrack"))},
                {"xesam:url", "https://open.spotify.com/episode/" + id}},
            "spotify:episode:" + id},
        {"nothing loaded",
            {{"mpris:trackid",
                QVariant::fromValue(QDBusObjectPath("/org/mpris/MediaPlayer2/TrackList/NoTrack"))}},
            ""},
        {"empty metadata", {}, ""},
        {"track id of a wrong type", {{"mpris:trackid", 42}}, ""},
        {"truncated path", {{"mpris:trackid", "/com/spotify/track/"}}, ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        spotify.setMetadata(c.metadata);
        EXPECT_EQ(value(trackProperty("ID  ")).stringValue(), c.expected);
    }
}

TEST_F(MprisTransport, ToleratesLooselyTypedMetadata)
{
    struct Case {
        const char *name;
        QVariantMap metadata;
        double duration;
        QString artist;
        QString title;
    };
    const std::vector<Case> cases{
        {"signed length", {{"mpris:length", qlonglong(1'500'000)}, {"xesam:artist", "Solo"}}, 1500.0, "Solo",
            ""},
        {"unsigned length", {{"mpris:length", qulonglong(2'000'000)}}, 2000.0, "", ""},
        {"negative length", {{"mpris:length", qlonglong(-5'000)}}, -5.0, "", ""},
        {"length as text", {{"mpris:length", "long"}, {"xesam:title", 7}}, 0.0, "", ""},
        {"artists of a wrong type", {{"xesam:artist", QVariant::fromValue(QList<int>{1, 2})}}, 0.0, "", ""},
        {"huge title", {{"xesam:title", QString(200'000, QLatin1Char('x'))}}, 0.0, "",
            QString(200'000, QLatin1Char('x'))},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        spotify.setMetadata(c.metadata);
        EXPECT_EQ(value(trackProperty("pDur")).doubleValue(), c.duration);
        EXPECT_EQ(value(trackProperty("pArt")).stringValue(), c.artist);
        EXPECT_EQ(value(trackProperty("pnam")).stringValue(), c.title);
    }
}

TEST_F(MprisTransport, WrongTypesFromThePlayerAreCoercionFailures)
{
    spotify.setProperty("PlaybackStatus", 1);
    spotify.setProperty("Volume", QStringLiteral("loud"));
    spotify.setProperty("Position", QStringLiteral("middle"));
    spotify.setProperty("Shuffle", QStringLiteral("yes"));
    spotify.setProperty("LoopStatus", false);
    spotify.setProperty("Metadata", QStringLiteral("none"));
    for (const auto &object : {specifier("pPlS"), specifier("pVol"), specifier("pPos"), specifier("pShu"),
             specifier("pRep"), trackProperty("ID  ")})
        EXPECT_EQ(errn(get(object)), AEStatus::errAECoercionFail);

    spotify.setProperty("Volume", std::nan(""));
    EXPECT_TRUE(std::isnan(*value(specifier("pVol")).doubleValue()));
}

TEST_F(MprisTransport, SetsPropertiesAndSendsTheTransportMethods)
{
    spotify.setMetadata(FakeSpotify::track("4uLU6hMCjMI75M1A2tKUQC", "Song", 212'000'000));
    spotify.clearCalls();
    EXPECT_FALSE(
        transport.send(event("core", "setd", specifier("pPos"), AEDescriptor::real(200.0)), 2).error);
    EXPECT_FALSE(
        transport.send(event("core", "setd", specifier("pVol"), AEDescriptor::integer(51)), 2).error);
    EXPECT_FALSE(
        transport.send(event("core", "setd", specifier("pShu"), AEDescriptor::boolean(true)), 2).error);
    EXPECT_FALSE(
        transport.send(event("core", "setd", specifier("pRep"), AEDescriptor::boolean(true)), 2).error);
    EXPECT_FALSE(
        transport.send(event("core", "setd", specifier("pRep"), AEDescriptor::boolean(false)), 2).error);
    EXPECT_FALSE(transport.send(event("spfy", "Play"), 2).error);
    spotify.clearCalls();
    transport.send(event("spfy", "Paus"), 2);
    transport.send(event("spfy", "Next"), 2);
    transport.send(event("spfy", "Prev"), 2);
    transport.send(event("spfy", "PCtx", AEDescriptor::text("spotify:playlist:37i9dQZF1DXcBWIGoYBM5M")), 6);
    EXPECT_EQ(spotify.calls(),
        (QStringList{"Pause", "Next", "Previous", "OpenUri spotify:playlist:37i9dQZF1DXcBWIGoYBM5M"}));
    EXPECT_EQ(value(specifier("pPos")).doubleValue(), 0.0); // Next of the fake rewinds

    spotify.clearCalls();
    transport.send(event("core", "setd", specifier("pPos"), AEDescriptor::real(200.0)), 2);
    EXPECT_EQ(value(specifier("pPos")).doubleValue(), 200.0);
    EXPECT_EQ(value(specifier("pVol")).doubleValue(), 51.0);
    EXPECT_EQ(value(specifier("pShu")).booleanValue(), true);
    EXPECT_EQ(value(specifier("pRep")).booleanValue(), false);
    EXPECT_TRUE(spotify.calls().contains("SetPosition /com/spotify/track/4uLU6hMCjMI75M1A2tKUQC 200000000"));
}

TEST_F(MprisTransport, SeeksAStringTrackIdAsItsObjectPath)
{
    spotify.setMetadata({{"mpris:trackid", "spotify:track:4uLU6hMCjMI75M1A2tKUQC"}});
    spotify.clearCalls();
    transport.send(event("core", "setd", specifier("pPos"), AEDescriptor::real(12.5)), 2);
    EXPECT_TRUE(spotify.calls().contains("SetPosition /com/spotify/track/4uLU6hMCjMI75M1A2tKUQC 12500000"));

    spotify.setMetadata({});
    EXPECT_EQ(errn(transport.send(event("core", "setd", specifier("pPos"), AEDescriptor::real(1)), 2)),
        AEStatus::errAENoSuchObject);
}

TEST_F(MprisTransport, MapsBusErrorsToTheNearestErrorNumbers)
{
    EXPECT_EQ(errn(transport.send(event("core", "setd", specifier("pPlS"), AEDescriptor::boolean(true)), 2)),
        AEStatus::errAEWriteDenied);
    EXPECT_EQ(errn(transport.send(event("core", "setd", trackProperty("pnam"), AEDescriptor::text("x")), 2)),
        AEStatus::errAEWriteDenied);
    EXPECT_EQ(errn(transport.send(event("spfy", "Frob"), 2)), AEStatus::errAEEventNotHandled);
    EXPECT_EQ(errn(transport.send(event("core", "getd", AEDescriptor::text("pVol")), 2)),
        AEStatus::errAENoSuchObject);

    struct Case {
        const char *name;
        QString member;
        QString error;
        OSStatus reply;
    };
    const std::vector<Case> cases{
        {"read-only", "Set Volume", "org.freedesktop.DBus.Error.PropertyReadOnly",
            AEStatus::errAEWriteDenied},
        {"unknown method", "Next", "org.freedesktop.DBus.Error.UnknownMethod",
            AEStatus::errAEEventNotHandled},
        {"unknown property", "Get Volume", "org.freedesktop.DBus.Error.UnknownProperty",
            AEStatus::errAENoSuchObject},
        {"other", "Play", "com.spotify.Error.Busy", AEStatus::errOSAGeneralError},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        spotify.setBehaviour(c.member, "error", 0, c.error);
        AppleEvent e = c.member == "Next" ? event("spfy", "Next")
            : c.member == "Play"          ? event("spfy", "Play")
            : c.member == "Get Volume"    ? event("core", "getd", specifier("pVol"))
                                       : event("core", "setd", specifier("pVol"), AEDescriptor::integer(3));
        const AESendResult result = transport.send(e, 2);
        EXPECT_FALSE(result.error);
        EXPECT_EQ(errn(result), c.reply);
        spotify.setBehaviour(c.member, "normal");
    }
}

TEST_F(MprisTransport, ASilentPlayerTimesOutAndAMissingOneIsNotFound)
{
    // Slow, yet well within the whole 2 s: a busy machine does not make it late.
    spotify.setBehaviour("Get Volume", "normal", 200);
    EXPECT_FALSE(get(specifier("pVol")).error);
    spotify.setBehaviour("Get Volume", "normal");

    transport.setTimeoutScale(0.05); // 2 s become 100 ms
    spotify.setBehaviour("Get PlaybackStatus", "silent");
    AESendResult result = get(specifier("pPlS"));
    ASSERT_TRUE(result.error);
    EXPECT_EQ(result.error->code, AEStatus::errAETimeout);
    transport.setTimeoutScale(1);

    AppleEvent stranger = event("core", "getd", specifier("pVol"));
    stranger.targetProcess = spotify.pid() + 100000;
    result = transport.send(stranger, 2);
    ASSERT_TRUE(result.error);
    EXPECT_EQ(result.error->code, AEStatus::procNotFound);
    EXPECT_EQ(transport.applicationIdentifier(spotify.pid()), "com.spotify.client");
    EXPECT_EQ(transport.applicationIdentifier(stranger.targetProcess), std::nullopt);

    spotify.vanish();
    result = get(specifier("pVol"));
    ASSERT_TRUE(result.error);
    EXPECT_EQ(result.error->code, AEStatus::procNotFound);
    EXPECT_EQ(transport.applicationIdentifier(spotify.pid()), std::nullopt);
}

TEST(Workspace, SpotifyIsInstalledWithADesktopEntryOrAProgramOnThePath)
{
    QTemporaryDir dir;
    const char *names[] = {"XDG_DATA_HOME", "XDG_DATA_DIRS", "PATH"};
    std::optional<QByteArray> saved[3];
    for (int i = 0; i < 3; ++i) {
        if (qEnvironmentVariableIsSet(names[i]))
            saved[i] = qgetenv(names[i]);
    }
    qputenv("XDG_DATA_HOME", dir.filePath("home").toUtf8());
    qputenv("XDG_DATA_DIRS", dir.filePath("system").toUtf8());
    qputenv("PATH", dir.filePath("bin").toUtf8());
    auto make = [&](const QString &path, bool executable) {
        QDir().mkpath(QFileInfo(dir.filePath(path)).absolutePath());
        QFile file(dir.filePath(path));
        file.open(QIODevice::WriteOnly);
        // An entry names a program that is there, as the desktop requires.
        file.write(path.endsWith(".desktop")
                ? "[Desktop Entry]\nType=Application\nName=Spotify\nExec=/bin/sh\n"
                : "x");
        file.close();
        if (executable)
            file.setPermissions(file.permissions() | QFileDevice::ExeUser);
    };
    DBusWorkspace workspace(QDBusConnection(QStringLiteral("none")));
    EXPECT_FALSE(workspace.isSpotifyInstalled());
    EXPECT_EQ(workspace.spotifyProcessIdentifier(), std::nullopt); // no bus at all
    make("bin/spotify", false);
    EXPECT_FALSE(workspace.isSpotifyInstalled()); // not runnable
    make("bin/spotify", true);
    EXPECT_TRUE(workspace.isSpotifyInstalled());
    QFile::remove(dir.filePath("bin/spotify"));
    make("system/applications/spotify.desktop", false);
    EXPECT_TRUE(workspace.isSpotifyInstalled());

    for (int i = 0; i < 3; ++i)
        saved[i] ? qputenv(names[i], *saved[i]) : qunsetenv(names[i]);
}
