#include "ItemTree.h"
#include "ManualScheduler.h"
#include "PopupStyle.h"
#include "QtPrinters.h"
#include "WidgetCenter.h"
#include "WidgetFixtures.h"
#include "WidgetGallery.h"
#include "WidgetHost.h"
#include "WidgetHostCommand.h"
#include "WidgetHostSurroundings.h"
#include "X11Server.h"
#include "fixtures/FakeSpotify.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDBusPendingCall>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QMenu>
#include <QMouseEvent>
#include <QProcess>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>

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
    return itemsUnder(
        placed.window()->contentItem(), [&name](QQuickItem *item) { return item->objectName() == name; });
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

// Once the host has heard that its list changed: a read is due within its
// quiet time. For widgets with no timers of their own (shortcuts), whose next
// timeline is far off.
bool readDue(const ManualScheduler &clock, double atLeast = 0)
{
    const std::optional<double> next = clock.nextDeadline();
    return next && *next > atLeast && *next <= WidgetPlacementFile::quietSeconds;
}

// Replaces the list's content with the first half of `next`, as an editor's
// save does before its second write, once the host has heard of it.
[[nodiscard]] bool writeFirstHalf(QFile &file, const QByteArray &next, const ManualScheduler &clock)
{
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    file.write(next.left(next.size() / 2));
    file.flush();
    return eventually([&] { return readDue(clock); });
}

// The host's warnings for as long as it lives.
class HostLog {
public:
    HostLog()
    {
        s_lines = &lines;
        m_previous = qInstallMessageHandler(record);
    }
    ~HostLog()
    {
        qInstallMessageHandler(m_previous);
        s_lines = nullptr;
    }
    QStringList lines;

private:
    static void record(QtMsgType, const QMessageLogContext &context, const QString &text)
    {
        if (s_lines && qstrcmp(context.category, "com.velbrandtoro.Orvel.WidgetHost") == 0)
            s_lines->append(text);
    }
    static inline QStringList *s_lines = nullptr;
    QtMessageHandler m_previous = nullptr;
};

// Writes past `bytes` fail in this process as on a full disk while it lives.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        m_handler = std::signal(SIGXFSZ, SIG_IGN);
        ::getrlimit(RLIMIT_FSIZE, &m_before);
        const rlimit limit{bytes, m_before.rlim_max};
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &m_before);
        std::signal(SIGXFSZ, m_handler);
    }

private:
    rlimit m_before{};
    void (*m_handler)(int) = nullptr;
};

const WidgetPlacement nowPlaying{"OrvelNowPlaying", WidgetFamily::systemMedium, "", {24, 24}};
const WidgetPlacement shortcutsMedium{"OrvelShortcuts", WidgetFamily::systemMedium, "", {24, 210}};
const WidgetPlacement shortcutsLarge{"OrvelShortcuts", WidgetFamily::systemLarge, "", {400, 24}};

class WidgetHostTest : public ::testing::Test, protected WidgetHostSurroundings {
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
                clock, bus.connection(), [this](const QUrl &url) { opened.append(url); }, false, {}});
        EXPECT_TRUE(host->listen());
        host->show(placements);
        return host;
    }

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
    // Not left pending: the failed intent brings a new timeline too.
    EXPECT_FALSE(host->placed()[0]->container()->pending());
}

TEST_F(WidgetHostTest, ASecondGalleryCommandAsksTheRunningHostToShowIts)
{
    const auto host = makeHost({});
    ASSERT_TRUE(host->claim());
    const QString name = QStringLiteral("gallery-command");
    {
        // As `orvel-widget-host --gallery` calls it, from a connection of its own.
        QDBusConnection other = QDBusConnection::connectToBus(bus.address(), name);
        QDBusPendingCall call = other.asyncCall(QDBusMessage::createMethodCall(
            WidgetHost::serviceName, WidgetHost::objectPath, WidgetHost::interface, "ShowGallery"));
        EXPECT_TRUE(eventually([&] { return call.isFinished(); }));
        EXPECT_FALSE(call.isError()) << call.error().message().toStdString();
    }
    QDBusConnection::disconnectFromBus(name);
    ASSERT_TRUE(host->gallery().window());
    EXPECT_TRUE(host->gallery().window()->isVisible());
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

    // Time passes as the host waits for the file to be quiet.
    const auto shows = [&](std::size_t count) {
        return eventually([&] {
            clock.advance(0.05);
            return host->placed().size() == count;
        });
    };
    WidgetPlacementFile::save(path, {nowPlaying, shortcutsLarge});
    EXPECT_TRUE(shows(2));
    EXPECT_EQ(host->placed()[0].get(), kept);
    WidgetPlacementFile::save(path, {shortcutsLarge});
    ASSERT_TRUE(shows(1));
    EXPECT_EQ(host->placed()[0]->placement(), shortcutsLarge);
}

TEST_F(WidgetHostTest, AListSavedInTwoWritesIsReadOnceItIsQuiet)
{
    const QString path = WidgetPlacementFile::standardPath();
    WidgetPlacementFile::save(path, {shortcutsMedium});
    WidgetPlacementFile::write(group.home.path("next.json"), {shortcutsMedium, shortcutsLarge});
    const QByteArray next = readFile(group.home.path("next.json"));
    const auto host = makeHost({});
    host->follow(path);
    const HostLog log;

    // As an editor saves over it: the first half, a pause, the rest.
    QFile file(path);
    ASSERT_TRUE(writeFirstHalf(file, next, clock));
    clock.advance(0.2);
    file.write(next.mid(next.size() / 2));
    file.close();
    // The second write starts the quiet time again.
    ASSERT_TRUE(eventually([&] { return readDue(clock, 0.2); }));
    clock.advance(0.1);
    EXPECT_EQ(host->placed().size(), 1u);
    clock.advance(0.2);
    EXPECT_EQ(host->placed().size(), 2u);
    // The half was never read, nor set aside.
    EXPECT_EQ(log.lines, QStringList());
    EXPECT_EQ(QDir(QFileInfo(path).absolutePath()).entryList(QDir::Files), QStringList{"widgets.json"});
}

TEST_F(WidgetHostTest, AListThatStaysBrokenLeavesTheWidgetsShownAndIsNeverSetAside)
{
    const QString path = WidgetPlacementFile::standardPath();
    WidgetPlacementFile::save(path, {shortcutsMedium, shortcutsLarge});
    QFile earlier(path + ".unreadable");
    ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
    earlier.write("an earlier copy");
    earlier.close();
    WidgetPlacementFile::write(group.home.path("next.json"), {nowPlaying});
    const QByteArray next = readFile(group.home.path("next.json"));
    const auto host = makeHost({});
    host->follow(path);
    ASSERT_EQ(host->placed().size(), 2u);
    const WidgetHost::Placed *shown = host->placed()[0].get();
    const HostLog log;

    QFile file(path);
    ASSERT_TRUE(writeFirstHalf(file, next, clock));
    clock.advance(WidgetPlacementFile::quietSeconds);
    ASSERT_EQ(host->placed().size(), 2u);
    EXPECT_EQ(host->placed()[0].get(), shown);
    ASSERT_EQ(log.lines.size(), 1);
    EXPECT_TRUE(log.lines[0].contains("cannot be read (it is not a list of widgets)"))
        << log.lines[0].toStdString();
    // Still broken after another change: not said again.
    file.write(" ");
    file.flush();
    ASSERT_TRUE(eventually([&] { return readDue(clock); }));
    clock.advance(WidgetPlacementFile::quietSeconds);
    EXPECT_EQ(log.lines.size(), 1);
    EXPECT_EQ(readFile(path + ".unreadable"), "an earlier copy");
    EXPECT_FALSE(QFileInfo::exists(path + ".unreadable.2"));

    // Whole again: the host follows.
    file.close();
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(next);
    file.close();
    ASSERT_TRUE(eventually([&] { return readDue(clock); }));
    clock.advance(WidgetPlacementFile::quietSeconds);
    ASSERT_EQ(host->placed().size(), 1u);
    EXPECT_EQ(host->placed()[0]->placement(), nowPlaying);
}

TEST_F(WidgetHostTest, AChangeThatCannotBeSavedIsShownSaidOnceAndSavedWithTheNext)
{
    const QString path = WidgetPlacementFile::standardPath();
    WidgetPlacementFile::save(path, {nowPlaying, shortcutsMedium});
    const QByteArray before = readFile(path);
    ASSERT_GT(before.size(), 250);
    const auto host = makeHost({});
    host->follow(path);
    const HostLog log;
    {
        const FileSizeLimit full(200);
        host->add("OrvelShortcuts", WidgetFamily::systemLarge, nullptr);
        host->remove(nowPlaying);
    }
    EXPECT_EQ(readFile(path), before);
    QStringList failures = log.lines.filter("could not be saved");
    ASSERT_EQ(failures.size(), 1) << log.lines.join('\n').toStdString();
    EXPECT_TRUE(failures[0].contains("File too large")) << failures[0].toStdString();
    // Shown as changed all the same.
    ASSERT_EQ(host->placed().size(), 2u);
    EXPECT_EQ(host->placed()[0]->placement(), shortcutsMedium);
    EXPECT_EQ(host->placed()[1]->placement().family, WidgetFamily::systemLarge);

    host->add("OrvelNowPlaying", WidgetFamily::systemSmall, nullptr);
    QList<std::pair<QString, WidgetFamily>> saved;
    for (const WidgetPlacement &placement : WidgetPlacementFile::read(path).placements)
        saved.append({placement.kind, placement.family});
    EXPECT_EQ(saved,
        (QList<std::pair<QString, WidgetFamily>>{{"OrvelShortcuts", WidgetFamily::systemMedium},
            {"OrvelShortcuts", WidgetFamily::systemLarge}, {"OrvelNowPlaying", WidgetFamily::systemSmall}}));
    EXPECT_EQ(log.lines.filter("could not be saved").size(), 1);
}

TEST_F(WidgetHostTest, ShowingTheGalleryAgainRaisesTheOneThereIs)
{
    const auto host = makeHost({});
    host->ShowGallery();
    QQuickItem *preview = host->gallery().preview(0);
    ASSERT_TRUE(preview);
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < 1500; ++i)
        host->ShowGallery();
    EXPECT_LT(timer.elapsed(), 3000);
    EXPECT_EQ(host->gallery().preview(0), preview);
    // Closed and asked for again, it comes back.
    host->gallery().window()->hide();
    host->ShowGallery();
    EXPECT_TRUE(host->gallery().window()->isVisible());
    EXPECT_TRUE(host->gallery().preview(0));
}

TEST_F(WidgetHostTest, OneHostHoldsTheNameAtATime)
{
    const auto first = makeHost({});
    EXPECT_TRUE(first->claim());
    // Another process, on a connection of its own.
    const QString name = QStringLiteral("second-host");
    {
        WidgetHost second(
            widgets, {clock, QDBusConnection::connectToBus(bus.address(), name), {}, false, {}});
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

TEST_F(WidgetHostTest, TheDesktopsReduceMotionReachesAShownWidget)
{
    const auto host = makeHost({nowPlaying});
    QQuickItem *badge = shown(*host->placed()[0], "badge");
    ASSERT_TRUE(badge);
    EXPECT_FALSE(badge->property("reducedMotion").toBool());
    host->setReduceMotion(true);
    EXPECT_TRUE(badge->property("reducedMotion").toBool());
    host->setReduceMotion(false);
    EXPECT_FALSE(badge->property("reducedMotion").toBool());
}

TEST_F(WidgetHostTest, TheGalleryShowsEveryKindInEachFamilyAndAClickAddsIt)
{
    const QString path = WidgetPlacementFile::standardPath();
    const auto host = makeHost({});
    host->follow(path);
    WidgetGallery &gallery = host->gallery();
    gallery.show();
    EXPECT_EQ(gallery.window()->title(), "Orvel Widgets");
    const std::vector<WidgetGallery::Item> &items = gallery.items();
    ASSERT_EQ(items.size(), 4u);
    const QList<std::pair<QString, WidgetFamily>> expected{{"OrvelNowPlaying", WidgetFamily::systemSmall},
        {"OrvelNowPlaying", WidgetFamily::systemMedium}, {"OrvelShortcuts", WidgetFamily::systemMedium},
        {"OrvelShortcuts", WidgetFamily::systemLarge}};
    QStringList texts;
    for (QQuickItem *item : itemsUnder(gallery.window()->contentItem(), [](QQuickItem *) { return true; }))
        texts.append(item->property("text").toString());
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(std::pair(items[size_t(i)].configuration->kind, items[size_t(i)].family), expected[i]);
        ASSERT_TRUE(gallery.preview(i)) << i;
        EXPECT_EQ(gallery.preview(i)->size(), QSizeF(WidgetMetrics::size(expected[i].second)));
    }
    for (const char *text : {"Now playing", "Your current Spotify track and playback controls.",
             "Your shortcuts", "Tracks, albums and playlists, always within reach."})
        EXPECT_TRUE(texts.contains(text)) << text;

    click(gallery.preview(3));
    ASSERT_EQ(host->placed().size(), 1u);
    EXPECT_EQ(WidgetPlacementFile::read(path).placements,
        QList<WidgetPlacement>({{"OrvelShortcuts", WidgetFamily::systemLarge, "", {24, 24}}}));
    // The gallery's buttons are not the widget's: nothing was played or opened.
    EXPECT_TRUE(opened.isEmpty());

    click(gallery.preview(0));
    ASSERT_EQ(host->placed().size(), 2u);
    const QRect first = host->placed()[0]->window()->geometry();
    const QRect second = host->placed()[1]->window()->geometry();
    EXPECT_FALSE(first.intersects(second));
    EXPECT_TRUE(gallery.window()->screen()->geometry().contains(second));
}

TEST_F(WidgetHostTest, AWidgetsMenuIsDrawnAsTheAppsMenusAreInTheSkinTheWidgetsShow)
{
    const auto host = makeHost({nowPlaying});
    for (const Skin skin : {Skin::classico, Skin::rivista}) {
        SCOPED_TRACE(toRawValue(skin).toStdString());
        group.write(skin);
        host->showMenu(nowPlaying, QPoint(40, 40));
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        ASSERT_TRUE(menu);
        EXPECT_EQ(menu->font().family(), FontDescription::systemFamily);
        EXPECT_EQ(menu->font().pixelSize(), int(PopupStyle::menuTextSize));
        // Mostly ground, with the skin's text on it.
        const PopupStyle::Look look = PopupStyle::look(SkinPalette(skin, Aura::brand()));
        const QImage picture = menu->grab().toImage().convertToFormat(QImage::Format_RGB32);
        QHash<QRgb, int> counts;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                ++counts[picture.pixel(x, y)];
        const QRgb ground = look.ground.toQColor().rgb(), text = look.text.toQColor().rgb();
        EXPECT_GT(counts.value(ground) + counts.value(look.highlight.toQColor().rgb()),
            picture.width() * picture.height() / 2)
            << std::hex << ground;
        EXPECT_GT(counts.value(text), 0) << std::hex << text;
        menu->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

TEST_F(WidgetHostTest, AnOpenGallerysPreviewsTakeTheReloadsOfTheirKind)
{
    const auto host = makeHost({});
    host->gallery().show();
    const auto glyph = [&] {
        return itemsUnder(host->gallery().preview(1),
            [](QQuickItem *item) {
                return item->objectName() == QLatin1String("toggle") && item->isVisible();
            })
            .value(0)
            ->property("glyph");
    };
    EXPECT_EQ(glyph(), "pause");
    group.write(fixtures::snapshot(PlayerAvailability::ready, fixtures::track(), false));
    host->reloadTimelines("OrvelShortcuts");
    EXPECT_EQ(glyph(), "pause");
    host->reloadTimelines("OrvelNowPlaying");
    EXPECT_EQ(glyph(), "play");
}

TEST_F(WidgetHostTest, TheGallerysOwnTextsAreSetInTheAppsType)
{
    const auto host = makeHost({});
    host->gallery().show();
    // Its intro and headings; the previews draw their own.
    const QList<QQuickItem *> texts
        = itemsUnder(host->gallery().window()->contentItem(), [](QQuickItem *item) {
              for (QQuickItem *above = item; above; above = above->parentItem())
                  if (above->objectName() == QLatin1String("slot"))
                      return false;
              return item->inherits("QQuickText");
          });
    ASSERT_EQ(texts.size(), 5);
    for (const QQuickItem *text : texts) {
        const QFont font = text->property("font").value<QFont>();
        EXPECT_EQ(font.family(), FontDescription::systemFamily)
            << text->property("text").toString().toStdString();
    }
}

TEST_F(WidgetHostTest, AWidgetWhoseScreenIsMissingWaitsWhollyOnThePrimaryOne)
{
    const WidgetPlacement elsewhere{"OrvelNowPlaying", WidgetFamily::systemMedium, "DP-9", {5000, 3000}};
    const auto host = makeHost({elsewhere});
    const QQuickWindow *window = host->placed()[0]->window();
    ASSERT_TRUE(window);
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_EQ(window->geometry().bottomRight(), screen.bottomRight());
    // The file keeps the place on its own screen.
    EXPECT_EQ(host->placed()[0]->placement(), elsewhere);
}

// The app started by the bus from its service file, as a widget's button
// starts Orvel when it is not running.
TEST(WidgetIntentActivation, APlayButtonStartsTheAppAndItsWidgetIsPendingUntilItsNextTimeline)
{
    AppGroupFixture group;
    group.write(fixtures::playing());
    ManualScheduler clock;
    ScopedWallClock wall{fixtures::writtenAt};
    QTemporaryDir services;
    const QString record = services.filePath("performed");
    QFile file(services.filePath("com.velbrandtoro.Orvel.service"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QStringLiteral("[D-BUS Service]\nName=com.velbrandtoro.Orvel\nExec=%1 %2\n")
                   .arg(ORVEL_FAKE_ORVEL, record)
                   .toUtf8());
    file.close();
    PrivateBus bus(services.path());
    WidgetBundle *bundle = WidgetPluginLoader::load({ORVEL_WIDGETS_PLUGIN});
    ASSERT_TRUE(bundle);
    WidgetHost host(bundle->body(), {clock, bus.connection(), {}, false, {}});
    const QList<QStringList> &finished = *recordIntents(host);
    host.show({nowPlaying});
    WidgetHost::Placed &placed = *host.placed()[0];
    QQuickItem *toggle = shown(placed, "toggle");
    ASSERT_TRUE(toggle);
    EXPECT_EQ(toggle->opacity(), 1.0);

    click(toggle);
    EXPECT_TRUE(placed.container()->pending());
    EXPECT_LT(toggle->opacity(), 1.0);
    if (const QString out = qEnvironmentVariable("ORVEL_WIDGET_RENDER_DIR"); !out.isEmpty())
        placed.window()->grabWindow().save(out + "/NowPlaying.medium.pending.png");
    EXPECT_TRUE(eventually([&] { return finished.size() == 1; }));
    EXPECT_EQ(finished.first(), (QStringList{"toggle", "ok"}));
    EXPECT_EQ(readFile(record), "toggle\n");
    EXPECT_FALSE(placed.container()->pending());
    EXPECT_EQ(shown(placed, "toggle")->opacity(), 1.0);
}

namespace {
// Runs xdotool with the arguments to its end, the event loop turning meanwhile.
bool xdotool(const QStringList &arguments)
{
    QProcess process;
    process.start(QStringLiteral("xdotool"), arguments);
    if (!process.waitForStarted(5000))
        return false;
    eventually([&] { return process.state() == QProcess::NotRunning; });
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

QStringList at(QPoint point)
{
    return {"mousemove", QString::number(point.x()), QString::number(point.y())};
}

bool exposed(QWindow *window)
{
    return eventually([&] { return window->isExposed(); });
}

// The host on a real X server, moved with the mouse as a user does.
class WidgetHostOnX11 : public WidgetHostTest {
protected:
    void SetUp() override
    {
        if (QGuiApplication::platformName() != QLatin1String("xcb")) {
            if (qEnvironmentVariableIsSet("ORVEL_REQUIRE_X11"))
                FAIL() << "needs an X server: run under xvfb-run with QT_QPA_PLATFORM=xcb";
            GTEST_SKIP() << "needs an X server (ctest runs it as WidgetHost.OnX11)";
        }
    }

    const QString path = WidgetPlacementFile::standardPath();
};
} // namespace

TEST_F(WidgetHostOnX11, AClickInTheGalleryAddsAWidgetOnItsScreen)
{
    const auto host = makeHost({});
    host->follow(path);
    WidgetGallery &gallery = host->gallery();
    gallery.show();
    ASSERT_TRUE(exposed(gallery.window()));
    QQuickItem *medium = gallery.preview(1);
    ASSERT_TRUE(medium);
    const QPoint centre = medium->mapToGlobal(QPointF(medium->width() / 2, medium->height() / 2)).toPoint();
    ASSERT_TRUE(xdotool(at(centre) << "click"
                                   << "1"));
    ASSERT_TRUE(eventually([&] { return host->placed().size() == 1; }));
    EXPECT_EQ(WidgetPlacementFile::read(path).placements,
        QList<WidgetPlacement>({{"OrvelNowPlaying", WidgetFamily::systemMedium, "", {24, 24}}}));
    QWindow *widget = host->placed()[0]->window();
    ASSERT_TRUE(exposed(widget));
    EXPECT_TRUE(widget->screen()->geometry().contains(widget->geometry()));
}

TEST_F(WidgetHostOnX11, ADragMovesAWidgetAndTheListKeepsItsPlaceOnTheScreen)
{
    // The list kept elsewhere and linked into place, as a dotfiles manager does.
    QTemporaryDir dotfiles;
    WidgetPlacementFile::save(dotfiles.filePath("widgets.json"), {nowPlaying});
    QDir().mkpath(QFileInfo(path).absolutePath());
    ASSERT_TRUE(QFile::link(dotfiles.filePath("widgets.json"), path));
    const auto host = makeHost({});
    host->follow(path);
    ASSERT_EQ(host->placed().size(), 1u);
    QWindow *window = host->placed()[0]->window();
    ASSERT_TRUE(exposed(window));
    // On the artist line: no button or link there.
    const QPoint grip = window->position() + QPoint(200, 80);
    ASSERT_TRUE(xdotool(at(grip) << "mousedown"
                                 << "1" << at(grip + QPoint(300, 200)) << "mouseup"
                                 << "1"));
    EXPECT_TRUE(eventually([&] {
        return WidgetPlacementFile::read(path).placements.value(0).position == QPoint(324, 224);
    })) << WidgetPlacementFile::read(path).placements.value(0).position.x();
    EXPECT_EQ(window->position(), QPoint(324, 224));
    EXPECT_TRUE(opened.isEmpty());

    // Dropped half off the screen: it comes back wholly onto it.
    const QPoint again = window->position() + QPoint(200, 80);
    ASSERT_TRUE(xdotool(at(again) << "mousedown"
                                  << "1" << at(QPoint(1910, 1070)) << "mouseup"
                                  << "1"));
    const QPoint corner(1920 - 364, 1080 - 170);
    EXPECT_TRUE(eventually([&] {
        return WidgetPlacementFile::read(path).placements.value(0).position == corner;
    })) << WidgetPlacementFile::read(path).placements.value(0).position.x();
    EXPECT_EQ(host->placed().size(), 1u);
    EXPECT_EQ(QFileInfo(path).symLinkTarget(), dotfiles.filePath("widgets.json"));
}

TEST_F(WidgetHostOnX11, TheMenuOfAWidgetRemovesIt)
{
    WidgetPlacementFile::save(path, {nowPlaying, shortcutsLarge});
    const auto host = makeHost({});
    host->follow(path);
    ASSERT_EQ(host->placed().size(), 2u);
    QWindow *window = host->placed()[0]->window();
    ASSERT_TRUE(exposed(window));
    ASSERT_TRUE(xdotool(at(window->position() + QPoint(200, 80)) << "click"
                                                                 << "3"));
    QMenu *menu = nullptr;
    // Shown is not yet mapped: a click before the server maps the menu lands under it.
    ASSERT_TRUE(eventually([&] {
        menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        return menu && menu->isVisible() && menu->windowHandle() && menu->windowHandle()->isExposed();
    }));
    QStringList titles;
    for (QAction *action : menu->actions())
        titles.append(action->text());
    EXPECT_EQ(titles, (QStringList{"Edit Widgets…", "Remove Widget"}));
    QAction *remove = menu->actions().value(1);
    ASSERT_TRUE(remove);
    const QPoint item = menu->mapToGlobal(menu->actionGeometry(remove).center());
    ASSERT_TRUE(xdotool(at(item) << "click"
                                 << "1"));
    EXPECT_TRUE(eventually([&] { return host->placed().size() == 1; }));
    EXPECT_EQ(WidgetPlacementFile::read(path).placements, QList<WidgetPlacement>{shortcutsLarge});
}

TEST_F(WidgetHostOnX11, AnOpenGallerysPreviewsRedrawWithTheAppsReloadAsThePlacedWidgetsDo)
{
    const auto host = makeHost({{"OrvelNowPlaying", WidgetFamily::systemMedium, "", {1500, 40}}});
    QQuickWindow *widget = host->placed()[0]->window();
    WidgetGallery &gallery = host->gallery();
    gallery.show();
    ASSERT_TRUE(exposed(widget) && exposed(gallery.window()));
    ASSERT_FALSE(widget->geometry().intersects(gallery.window()->geometry()));
    const QQuickItem *preview = gallery.preview(1);
    ASSERT_TRUE(preview);
    const QRect previewArea(preview->mapToGlobal(QPointF(0, 0)).toPoint(), preview->size().toSize());
    const auto grab
        = [&] { return std::pair(X11Server::screen(widget->geometry()), X11Server::screen(previewArea)); };
    // Judged on the frames drawn for the entry, not on what was up before.
    ASSERT_TRUE(X11Server::settled());
    const auto before = grab();
    X11Server::Frames widgetFrames(*widget), galleryFrames(*gallery.window());

    group.write(Skin::rivista);
    host->reloadTimelines(QString());
    EXPECT_TRUE(X11Server::within2s([&] { return widgetFrames.count() > 0; }));
    EXPECT_TRUE(X11Server::within2s([&] { return galleryFrames.count() > 0; }));
    ASSERT_TRUE(X11Server::settled());
    const auto after = grab();
    const auto changed = [](const QImage &a, const QImage &b) {
        int count = 0;
        for (int y = 0; y < a.height(); ++y)
            for (int x = 0; x < a.width(); ++x)
                count += a.pixel(x, y) != b.pixel(x, y);
        return double(count) / (a.width() * a.height());
    };
    ASSERT_FALSE(before.first.isNull() || before.second.isNull());
    EXPECT_GT(changed(before.first, after.first), 0.8);
    EXPECT_GT(changed(before.second, after.second), 0.8);
}

#include "WidgetHostTests.moc"
