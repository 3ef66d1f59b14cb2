#include "CoordinatorTestSupport.h"
#include "FakeLoginItem.h"
#include "Preferences.h"
#include "SpotifyOEmbed.h"
#include "TemporaryHome.h"
#include "fixtures/OEmbedServer.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QJsonDocument>
#include <QNetworkReply>

// Editing, saving, opening and naming the user's shortcuts.
namespace {
const QString trackLink = QStringLiteral("spotify:track:4uLU6hMCjMI75M1A2tKUQC");
const QString playlistLink = QStringLiteral("https://open.spotify.com/playlist/37i9dQZF1DXcBWIGoYBM5M");
const QString albumLink = QStringLiteral("spotify:album:1DFixLWuPkv3KT3TnV35m3");

class Shortcuts : public CoordinatorTest {
protected:
    QString shortcutsPath() const { return filesDirectory() + "/shortcuts.json"; }
    QStringList titles() const
    {
        QStringList result;
        for (const MusicShortcut &shortcut : coordinator->shortcuts())
            result << shortcut.title;
        return result;
    }
    QUuid add(const QString &title, const QString &link = trackLink)
    {
        EXPECT_TRUE(coordinator->upsertShortcut(std::nullopt, title, link));
        return coordinator->shortcuts().constLast().id;
    }
    // A file where the folder should be: every later write fails.
    void breakTheStore()
    {
        QDir(filesDirectory()).removeRecursively();
        QFile blocker(filesDirectory());
        ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    }
};

TEST_F(Shortcuts, TitlesAreCutToEightyCharactersThenTrimmed)
{
    struct Case {
        QString typed;
        QString stored;
    };
    const Case cases[] = {
        {QString(79, 'a') + ' ' + QString(20, 'b'), QString(79, 'a')},
        {"  Night drive \n", "Night drive"},
        {QString(80, 'c'), QString(80, 'c')},
        {QString(79, 'd') + QStringLiteral("e\u0301") + "tail", QString(79, 'd') + QStringLiteral("e\u0301")},
    };
    for (const Case &c : cases) {
        add(c.typed);
        EXPECT_EQ(coordinator->shortcuts().constLast().title, c.stored);
    }
    EXPECT_EQ(coordinator->store().loadShortcuts(), coordinator->shortcuts());
}

TEST_F(Shortcuts, AnExistingIdIsReplacedInPlaceAndANewOneAppended)
{
    const QUuid first = add("First");
    add("Second", playlistLink);
    widgets.reloads.clear();

    EXPECT_TRUE(coordinator->upsertShortcut(first, "Renamed", albumLink, SkillGlyph::radio));
    EXPECT_EQ(titles(), (QStringList{"Renamed", "Second"}));
    EXPECT_EQ(coordinator->shortcuts().constFirst().id, first);
    EXPECT_EQ(coordinator->shortcuts().constFirst().glyph, SkillGlyph::radio);
    EXPECT_EQ(widgets.reloads, QStringList{"OrvelShortcuts"});

    const QUuid chosen = QUuid::createUuid();
    EXPECT_TRUE(coordinator->upsertShortcut(chosen, "Third", trackLink));
    EXPECT_EQ(coordinator->shortcuts().constLast().id, chosen);
    EXPECT_EQ(coordinator->store().loadShortcuts(), coordinator->shortcuts());
}

TEST_F(Shortcuts, RefusedInputLeavesTheFileUntouched)
{
    add("Kept");
    const QByteArray before = readFile(shortcutsPath());
    widgets.reloads.clear();
    struct Case {
        const char *title;
        const char *link;
    };
    for (const Case &c : {Case{"Bad link", "https://example.com/track/4uLU6hMCjMI75M1A2tKUQC"},
             Case{"Short id", "spotify:track:123"}, Case{" \n\t", "spotify:track:4uLU6hMCjMI75M1A2tKUQC"},
             Case{"", "spotify:track:4uLU6hMCjMI75M1A2tKUQC"}}) {
        SCOPED_TRACE(c.title);
        EXPECT_FALSE(coordinator->upsertShortcut(std::nullopt, c.title, c.link));
    }
    EXPECT_EQ(readFile(shortcutsPath()), before);
    EXPECT_EQ(titles(), QStringList{"Kept"});
    EXPECT_TRUE(widgets.reloads.isEmpty());
    EXPECT_FALSE(coordinator->errorKey());
}

TEST_F(Shortcuts, RemovingEmptiesItsSkillSlotOnlyAfterASuccessfulSave)
{
    const QUuid a = add("A");
    const QUuid b = add("B");
    SkillBar skills;
    skills.assign(b, 3);
    preferences.setSkills(skills);

    breakTheStore();
    widgets.reloads.clear();
    coordinator->removeShortcut(b);
    EXPECT_EQ(titles(), (QStringList{"A", "B"}));
    EXPECT_EQ(preferences.skills().slotIds()[3], b);
    EXPECT_TRUE(coordinator->storageError());
    EXPECT_EQ(coordinator->errorKey(), "Your changes could not be saved.");
    EXPECT_TRUE(widgets.reloads.isEmpty());
    EXPECT_FALSE(coordinator->upsertShortcut(std::nullopt, "C", trackLink));
    EXPECT_EQ(titles(), (QStringList{"A", "B"}));

    QFile::remove(filesDirectory());
    coordinator->removeShortcut(b);
    EXPECT_EQ(titles(), QStringList{"A"});
    EXPECT_EQ(preferences.skills().slotIds()[3], std::nullopt);
    EXPECT_EQ(SkillBar::fromJson(QJsonDocument::fromJson(*settings.value<QByteArray>("skillBar")).object())
                  .slotIds()[3],
        std::nullopt);
    EXPECT_TRUE(coordinator->storageError()); // a later success does not clear it
    Q_UNUSED(a);
}

TEST_F(Shortcuts, MovingAndGlyphsSaveTheWholeList)
{
    const QUuid a = add("A");
    const QUuid b = add("B");
    add("C");
    coordinator->moveShortcut(a, 1);
    EXPECT_EQ(titles(), (QStringList{"B", "A", "C"}));
    widgets.reloads.clear();
    coordinator->moveShortcut(b, -1); // already first: the same list is saved again
    EXPECT_EQ(titles(), (QStringList{"B", "A", "C"}));
    EXPECT_EQ(widgets.reloads, QStringList{"OrvelShortcuts"});

    coordinator->setGlyph(SkillGlyph::mic, b);
    EXPECT_EQ(coordinator->store().loadShortcuts().constFirst().glyph, SkillGlyph::mic);
    coordinator->setGlyph(std::nullopt, b);
    EXPECT_EQ(coordinator->shortcuts().constFirst().glyph, std::nullopt);

    widgets.reloads.clear();
    coordinator->setGlyph(SkillGlyph::disc, QUuid::createUuid());
    EXPECT_TRUE(widgets.reloads.isEmpty());
}

TEST_F(Shortcuts, OpeningUsesSpotifyWhenInstalledAndTheWebOtherwise)
{
    add("Song");
    const MusicShortcut shortcut = coordinator->shortcuts().constFirst();
    coordinator->openInSpotify(shortcut);
    workspace.spotifyInstalled = false;
    coordinator->openInSpotify(shortcut);
    EXPECT_EQ(workspace.openedURLs,
        (QList<QUrl>{QUrl("spotify:track:4uLU6hMCjMI75M1A2tKUQC"),
            QUrl("https://open.spotify.com/track/4uLU6hMCjMI75M1A2tKUQC")}));

    workspace.openedURLs.clear();
    coordinator->openCurrentTrack(); // nothing is playing yet
    EXPECT_TRUE(workspace.openedURLs.isEmpty());
}

class TitleLookup : public Shortcuts {
protected:
    TitleLookup() { coordinator->setOEmbedEndpoint(server.endpoint()); }

    // Runs the look-up on the real network stack; the idle limit runs on the manual clock.
    std::optional<QString> lookUp(double advanceAfterRequest = 0)
    {
        auto started = start(coordinator->lookupTitle(*SpotifyLink::parse(playlistLink)));
        for (QDeadlineTimer guard(10000); !started.done() && server.requests == 0 && !guard.hasExpired();)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        if (advanceAfterRequest > 0)
            clock.advance(advanceAfterRequest);
        for (QDeadlineTimer guard(10000); !started.done() && !guard.hasExpired();)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        EXPECT_TRUE(started.done());
        return started.done() ? started.get() : std::nullopt;
    }

    OEmbedServer server;
};

TEST_F(TitleLookup, OnlyAnAnswerOfStatus200WithATitleCounts)
{
    struct Case {
        int status;
        QByteArray body;
        std::optional<QString> title;
    };
    const Case cases[] = {
        {200, R"({"title":"  Today's Top Hits \n","author_name":"Spotify"})", "Today's Top Hits"},
        {200, R"({"title":""})", std::nullopt},
        {404, R"({"title":"Missing"})", std::nullopt},
        {500, R"({"title":"Broken"})", std::nullopt},
        {201, R"({"title":"Created"})", std::nullopt},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.status);
        server.status = c.status;
        server.body = c.body;
        EXPECT_EQ(lookUp(), c.title);
    }
    EXPECT_TRUE(server.lastRequest.startsWith(
        "GET /oembed?url=https://open.spotify.com/playlist/37i9dQZF1DXcBWIGoYBM5M HTTP/1.1"));
}

TEST_F(TitleLookup, AnEndpointSilentForFiveSecondsGivesNothing)
{
    server.silent = true;
    auto started = start(coordinator->lookupTitle(*SpotifyLink::parse(playlistLink)));
    for (QDeadlineTimer guard(10000); server.requests == 0 && !guard.hasExpired();)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    clock.advance(4.9);
    QCoreApplication::processEvents();
    EXPECT_FALSE(started.done());
    clock.advance(0.1);
    for (QDeadlineTimer guard(10000); !started.done() && !guard.hasExpired();)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    ASSERT_TRUE(started.done());
    EXPECT_EQ(started.get(), std::nullopt);
}

TEST_F(TitleLookup, AnAnswerReachingTheLimitIsCutOffWhileItArrives)
{
    // Just under the limit still counts; at the limit it does not.
    const QByteArray head = R"({"title":"Sized","html":")";
    for (const qsizetype size : {SpotifyOEmbed::maximumBodySize - 1, SpotifyOEmbed::maximumBodySize}) {
        SCOPED_TRACE(size);
        server.body = head + QByteArray(size - head.size() - 2, 'x') + "\"}";
        EXPECT_EQ(
            lookUp(), size < SpotifyOEmbed::maximumBodySize ? std::optional<QString>("Sized") : std::nullopt);
    }
    // Endless: refused as it comes, not at its end (which never comes).
    server.body = head;
    server.endless = true;
    EXPECT_EQ(lookUp(), std::nullopt);
}

TEST_F(TitleLookup, ATricklingAnswerIsAbandonedAtTheOverallDeadline)
{
    server.keptOpen = true;
    server.announcedLength = 1000;
    server.body = "{";
    // Started without running the event loop, so no arrival is missed below.
    auto started = ::start(coordinator->lookupTitle(*SpotifyLink::parse(playlistLink)));
    auto *reply = coordinator->findChild<QNetworkReply *>();
    ASSERT_TRUE(reply);
    int arrivals = 0;
    QObject::connect(reply, &QNetworkReply::readyRead, [&] { ++arrivals; });
    const auto arrived = [&](int count) {
        for (QDeadlineTimer guard(10000); arrivals < count && !guard.hasExpired();)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        return arrivals >= count;
    };
    ASSERT_TRUE(arrived(1));
    // A byte every 4 s: never idle for 5 s.
    for (int drop = 2; drop <= 3; ++drop) {
        clock.advance(4);
        server.drip(" ");
        ASSERT_TRUE(arrived(drop));
    }
    clock.advance(1.5);
    QCoreApplication::processEvents();
    EXPECT_FALSE(started.done());
    clock.advance(0.5); // ten seconds since it began
    for (QDeadlineTimer guard(10000); !started.done() && !guard.hasExpired();)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    ASSERT_TRUE(started.done());
    EXPECT_EQ(started.get(), std::nullopt);
}

TEST_F(TitleLookup, ARedirectElsewhereIsNotFollowed)
{
    OEmbedServer elsewhere;
    elsewhere.body = R"({"title":"Elsewhere"})";
    server.status = 302;
    // Plain http on the same host, then https on another one.
    for (const QByteArray &target :
        {elsewhere.endpoint().toEncoded() + "/oembed", QByteArray("https://example.invalid/oembed")}) {
        SCOPED_TRACE(target.toStdString());
        server.headers = "Location: " + target + "\r\n";
        EXPECT_EQ(lookUp(), std::nullopt);
    }
    EXPECT_EQ(elsewhere.requests, 0);
}
} // namespace

TEST_F(TitleLookup, AnAnswerAnnouncedAtTheLimitIsRefusedBeforeItsBodyComes)
{
    // The body is held back: only its announced length can end the look-up at once.
    server.body = R"({"title":"Sized","html":")";
    server.keptOpen = true;
    server.announcedLength = SpotifyOEmbed::maximumBodySize;
    EXPECT_EQ(lookUp(), std::nullopt);
}
