#include "ManualScheduler.h"
#include "QtPrinters.h"
#include "WidgetCenter.h"
#include "WidgetFixtures.h"
#include "WidgetHost.h"
#include "WidgetHostCommand.h"
#include "fixtures/FakeSpotify.h"

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDeadlineTimer>
#include <QMouseEvent>
#include <gtest/gtest.h>

namespace {
// The running app as far as the widgets see it: its name on the bus and the
// intent method, answering "ok".
class FakeApp : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "com.velbrandtoro.Orvel.App")

public:
    explicit FakeApp(const PrivateBus &bus)
        : connection(QDBusConnection::connectToBus(bus.address(), QStringLiteral("fake-app")))
    {
        connection.registerObject(WidgetHost::appPath, this, QDBusConnection::ExportScriptableSlots);
        connection.interface()->registerService(WidgetHost::appService);
    }
    ~FakeApp() override { QDBusConnection::disconnectFromBus(QStringLiteral("fake-app")); }

    QStringList actions;
    QDBusConnection connection;

public slots:
    Q_SCRIPTABLE QString PerformPlaybackIntent(const QString &action)
    {
        actions.append(action);
        return QStringLiteral("ok");
    }
};

// Runs the event loop until the condition holds; a guard, not a pause.
template<class Condition>
bool eventually(Condition condition)
{
    for (QDeadlineTimer guard(10000); !condition() && !guard.hasExpired();)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return condition();
}

void click(QQuickItem *item, QPointF at = {})
{
    QQuickWindow *window = item->window();
    // Laid out as on screen: a drawn frame has polished every item.
    window->grabWindow();
    const QPointF point = item->mapToScene(at.isNull() ? QPointF(item->width() / 2, item->height() / 2) : at);
    QMouseEvent press(QEvent::MouseButtonPress, point, window->mapToGlobal(point), Qt::LeftButton,
        Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, point, window->mapToGlobal(point), Qt::LeftButton,
        Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window, &release);
}

// The intents the host reports as finished, as (action, result).
QList<QStringList> *recordIntents(WidgetHost &host)
{
    auto *finished = new QList<QStringList>;
    QObject::connect(
        &host, &WidgetHost::intentFinished, &host, [finished](const QString &action, const QString &result) {
            finished->append({action, result});
        });
    QObject::connect(&host, &QObject::destroyed, [finished] { delete finished; });
    return finished;
}

// The items of that name in the window, in drawing order.
QList<QQuickItem *> named(const WidgetHost::Placed &placed, const QString &name)
{
    QList<QQuickItem *> found;
    QList<QQuickItem *> pending{placed.window()->contentItem()};
    while (!pending.isEmpty()) {
        QQuickItem *item = pending.takeFirst();
        if (item->objectName() == name)
            found.append(item);
        pending.append(item->childItems());
    }
    return found;
}

// The one shown item of that name.
QQuickItem *shown(const WidgetHost::Placed &placed, const QString &name)
{
    for (QQuickItem *item : named(placed, name)) {
        if (item->isVisible())
            return item;
    }
    return nullptr;
}

const WidgetPlacement nowPlaying{"OrvelNowPlaying", WidgetFamily::systemMedium, "", {24, 24}};
const WidgetPlacement shortcutsMedium{"OrvelShortcuts", WidgetFamily::systemMedium, "", {24, 210}};
const WidgetPlacement shortcutsLarge{"OrvelShortcuts", WidgetFamily::systemLarge, "", {400, 24}};

class WidgetHostTest : public ::testing::Test {
protected:
    WidgetHostTest()
    {
        group.write(fixtures::playing());
        group.write(fixtures::shortcuts(5));
        QString error;
        WidgetBundle *bundle = WidgetPluginLoader::load({ORVEL_WIDGETS_PLUGIN}, &error);
        EXPECT_TRUE(bundle) << error.toStdString();
        // Every timeline the host asks for is counted by kind.
        for (WidgetConfiguration configuration : bundle->body()) {
            const auto ask = configuration.timeline;
            configuration.timeline = [this, ask, kind = configuration.kind] {
                ++asked[kind];
                return ask();
            };
            widgets.append(configuration);
        }
    }

    std::unique_ptr<WidgetHost> makeHost(const QList<WidgetPlacement> &placements)
    {
        auto host = std::make_unique<WidgetHost>(widgets,
            WidgetHost::Services{
                clock, bus.connection(), [this](const QUrl &url) { opened.append(url); }, false});
        EXPECT_TRUE(host->listen());
        host->show(placements);
        return host;
    }

    PrivateBus bus;
    AppGroupFixture group;
    ManualScheduler clock;
    ScopedWallClock wall{fixtures::writtenAt};
    QList<WidgetConfiguration> widgets;
    QMap<QString, int> asked;
    QList<QUrl> opened;
};
} // namespace

TEST_F(WidgetHostTest, EachPlacedWidgetIsAFramelessWindowKeptBelowTheOthers)
{
    const auto host = makeHost({nowPlaying, shortcutsLarge});
    ASSERT_EQ(host->placed().size(), 2u);
    const QQuickWindow *window = host->placed()[1]->window();
    ASSERT_TRUE(window);
    EXPECT_TRUE(window->flags().testFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnBottomHint));
    EXPECT_EQ(window->size(), QSize(364, 382));
    EXPECT_EQ(window->position(), window->screen()->geometry().topLeft() + QPoint(400, 24));
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(asked, (QMap<QString, int>{{"OrvelNowPlaying", 1}, {"OrvelShortcuts", 1}}));
}

TEST_F(WidgetHostTest, TheAppsReloadsReachTheirKindOrEveryKind)
{
    const auto host = makeHost({nowPlaying, shortcutsMedium, shortcutsLarge});
    EXPECT_EQ(asked, (QMap<QString, int>{{"OrvelNowPlaying", 1}, {"OrvelShortcuts", 2}}));
    FakeApp peer(bus);
    DBusWidgetCenter app(peer.connection);

    app.reloadTimelines("OrvelShortcuts");
    EXPECT_TRUE(eventually([&] { return asked["OrvelShortcuts"] == 4; }));
    EXPECT_EQ(asked["OrvelNowPlaying"], 1);

    app.reloadAllTimelines();
    EXPECT_TRUE(eventually([&] { return asked["OrvelNowPlaying"] == 2; }));
    EXPECT_EQ(asked["OrvelShortcuts"], 6);
}

TEST_F(WidgetHostTest, ATimelineIsAskedAgainAtItsReloadDate)
{
    const auto host = makeHost({nowPlaying, shortcutsMedium});
    clock.advance(899);
    EXPECT_EQ(asked, (QMap<QString, int>{{"OrvelNowPlaying", 1}, {"OrvelShortcuts", 1}}));
    clock.advance(1);
    EXPECT_EQ(asked, (QMap<QString, int>{{"OrvelNowPlaying", 2}, {"OrvelShortcuts", 2}}));
    clock.advance(900);
    EXPECT_EQ(asked, (QMap<QString, int>{{"OrvelNowPlaying", 3}, {"OrvelShortcuts", 3}}));
}

TEST_F(WidgetHostTest, ANewEntryReachesTheShownView)
{
    const auto host = makeHost({nowPlaying});
    const WidgetHost::Placed &placed = *host->placed()[0];
    QQuickItem *toggle = shown(placed, "toggle");
    ASSERT_TRUE(toggle);
    EXPECT_EQ(toggle->property("glyph"), "pause");

    group.write(fixtures::snapshot(PlayerAvailability::ready, fixtures::track(), false));
    host->reloadTimelines("OrvelNowPlaying");
    EXPECT_EQ(shown(placed, "toggle")->property("glyph"), "play");
}

TEST_F(WidgetHostTest, ThePlayButtonAsksTheAppToToggle)
{
    FakeApp app(bus);
    const auto host = makeHost({nowPlaying});
    const QList<QStringList> &finished = *recordIntents(*host);
    QQuickItem *toggle = shown(*host->placed()[0], "toggle");
    ASSERT_TRUE(toggle);
    click(toggle);
    EXPECT_TRUE(eventually([&] { return finished.size() == 1; }));
    EXPECT_EQ(app.actions, QStringList{"toggle"});
    EXPECT_EQ(finished.first(), (QStringList{"toggle", "ok"}));
    // The widget shows the outcome at once, and the tap opened nothing else.
    EXPECT_EQ(asked["OrvelNowPlaying"], 2);
    EXPECT_TRUE(opened.isEmpty());

    click(shown(*host->placed()[0], "next"));
    EXPECT_TRUE(eventually([&] { return finished.size() == 2; }));
    EXPECT_EQ(app.actions, (QStringList{"toggle", "next"}));
}

TEST_F(WidgetHostTest, WithoutTheAppAnIntentGoesNowhere)
{
    const auto host = makeHost({nowPlaying});
    const QList<QStringList> &finished = *recordIntents(*host);
    click(shown(*host->placed()[0], "toggle"));
    EXPECT_TRUE(eventually([&] { return finished.size() == 1; }));
    EXPECT_EQ(finished.first(), (QStringList{"toggle", ""}));
    EXPECT_TRUE(opened.isEmpty());
}

TEST_F(WidgetHostTest, ATileOpensItsSpotifyReferenceAndTheRestTheAppsShortcuts)
{
    const auto host = makeHost({shortcutsMedium});
    const WidgetHost::Placed &placed = *host->placed()[0];
    placed.window()->grabWindow();
    QList<QQuickItem *> tiles = named(placed, "tile");
    ASSERT_EQ(tiles.size(), 4);
    // Reading order: row by row, left to right.
    std::sort(tiles.begin(), tiles.end(), [](QQuickItem *a, QQuickItem *b) {
        const QPointF p = a->mapToScene({}), q = b->mapToScene({});
        return std::pair(p.y(), p.x()) < std::pair(q.y(), q.x());
    });
    EXPECT_LT(tiles[0]->mapToScene({}).x(), tiles[1]->mapToScene({}).x());
    EXPECT_EQ(tiles[0]->mapToScene({}).y(), tiles[1]->mapToScene({}).y());
    EXPECT_EQ(tiles[2]->mapToScene({}).y() - tiles[0]->mapToScene({}).y(), 34 + 10);
    click(tiles[0]);
    EXPECT_EQ(opened, QList<QUrl>{QUrl("spotify:playlist:" + fixtures::spotifyId(1))});

    opened.clear();
    click(shown(placed, "add"));
    click(placed.container(), QPointF(180, 160)); // below the tiles
    EXPECT_EQ(opened, (QList<QUrl>{QUrl("orvel://shortcuts"), QUrl("orvel://shortcuts")}));
}

TEST_F(WidgetHostTest, TheLogoLinksOnlyToSpotifysWebPlayer)
{
    const auto host = makeHost({nowPlaying});
    click(shown(*host->placed()[0], "spotifyLogo"));
    EXPECT_EQ(opened, QList<QUrl>{QUrl("https://open.spotify.com/track/4uLU6hMCjMI75M1A2tKUQC")});

    opened.clear();
    group.write(fixtures::snapshot(
        PlayerAvailability::ready, fixtures::track(200, QUrl("file:///etc/passwd")), true));
    host->reloadTimelines("");
    click(shown(*host->placed()[0], "spotifyLogo"));
    EXPECT_EQ(opened, QList<QUrl>{QUrl("orvel://player")});
}

TEST_F(WidgetHostTest, TheHostFollowsItsListOfWidgets)
{
    const QString path = WidgetPlacementFile::standardPath();
    WidgetPlacementFile::save(path, {nowPlaying});
    const auto host = makeHost({});
    host->follow(path);
    ASSERT_EQ(host->placed().size(), 1u);
    const WidgetHost::Placed *kept = host->placed()[0].get();

    WidgetPlacementFile::save(path, {nowPlaying, shortcutsLarge});
    EXPECT_TRUE(eventually([&] { return host->placed().size() == 2; }));
    EXPECT_EQ(host->placed()[0].get(), kept);
    WidgetPlacementFile::save(path, {shortcutsLarge});
    EXPECT_TRUE(eventually([&] { return host->placed().size() == 1; }));
    EXPECT_EQ(host->placed()[0]->placement, shortcutsLarge);
}

TEST_F(WidgetHostTest, OneHostHoldsTheNameAtATime)
{
    const auto first = makeHost({});
    EXPECT_TRUE(first->claim());
    // Another process, on a connection of its own.
    const QString name = QStringLiteral("second-host");
    {
        WidgetHost second(widgets, {clock, QDBusConnection::connectToBus(bus.address(), name), {}, false});
        EXPECT_FALSE(second.claim());
    }
    QDBusConnection::disconnectFromBus(name);
}

TEST_F(WidgetHostTest, ThePluginReadsTheHostsClock)
{
    // One copy of the wall clock in the process: the one the test set.
    const Timeline<WidgetEntry> timeline = widgets[0].timeline();
    EXPECT_EQ(timeline.entries.first().date, fixtures::writtenAt);
    EXPECT_EQ(timeline.policy.date, fixtures::writtenAt.addingTimeInterval(900));
}

#include "WidgetHostTests.moc"
