#include "PopupStyle.h"
#include "QtPrinters.h"
#include "StatusItem.h"
#include "X11Server.h"
#include "fixtures/FakeSpotify.h"

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDBusContext>
#include <QDBusVirtualObject>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTextBoundaryFinder>
#include <csignal>
#include <functional>
#include <gtest/gtest.h>
#include <sys/resource.h>

// The real program on a private bus, with a home of its own and the fake Spotify.
namespace {
constexpr char serviceName[] = "com.velbrandtoro.Orvel";

// Polls the condition while the event loop runs; the guard only bounds a failing test.
bool eventually(const std::function<bool()> &condition, int timeoutMs = 15000)
{
    for (QDeadlineTimer guard(timeoutMs); !guard.hasExpired();) {
        if (condition())
            return true;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return condition();
}

class OrvelProcess {
public:
    // childSetup runs in the child before the program starts (limits, signals).
    OrvelProcess(const QProcessEnvironment &environment, const QStringList &arguments = {},
        const std::function<void()> &childSetup = {})
    {
        if (childSetup)
            m_process.setChildProcessModifier(childSetup);
        m_process.setProcessEnvironment(environment);
        m_process.setProcessChannelMode(QProcess::MergedChannels);
        m_process.start(QStringLiteral(ORVEL_APP_BINARY), arguments);
    }
    ~OrvelProcess()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(5000);
        }
    }
    OrvelProcess(const OrvelProcess &) = delete;
    OrvelProcess &operator=(const OrvelProcess &) = delete;

    bool isRunning() const { return m_process.state() != QProcess::NotRunning; }
    bool finished() const { return m_process.state() == QProcess::NotRunning; }
    int exitCode() const
    {
        return m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -1;
    }
    void terminate(int signal = SIGTERM) { ::kill(pid_t(m_process.processId()), signal); }
    // Resident memory in kB, from /proc.
    qint64 residentKb() const
    {
        QFile status(QStringLiteral("/proc/%1/status").arg(m_process.processId()));
        if (!status.open(QIODevice::ReadOnly))
            return -1;
        for (const QByteArray &line : status.readAll().split('\n'))
            if (line.startsWith("VmRSS:"))
                return line.mid(6).trimmed().split(' ').value(0).toLongLong();
        return -1;
    }
    QString log()
    {
        m_log += QString::fromUtf8(m_process.readAll());
        return m_log;
    }

private:
    QProcess m_process;
    QString m_log;
};

class AppEndToEndTest : public ::testing::Test {
protected:
    PrivateBus bus;
    QTemporaryDir home;

    QString config() const { return home.filePath("config"); }
    QString data() const { return home.filePath("data"); }
    QString snapshotPath() const
    {
        return data() + "/QX7TR4LM2B.com.velbrandtoro.Orvel.shared/Orvel/playback.json";
    }

    void SetUp() override
    {
        // Spotify counts as installed, control is allowed and setup is done.
        QDir().mkpath(data() + "/applications");
        QFile entry(data() + "/applications/spotify.desktop");
        ASSERT_TRUE(entry.open(QIODevice::WriteOnly));
        entry.write("[Desktop Entry]\nType=Application\nName=Spotify\nExec=spotify\n");
        entry.close();
        QDir().mkpath(config() + "/com.velbrandtoro.Orvel");
        QFile consent(config() + "/com.velbrandtoro.Orvel/automation.json");
        ASSERT_TRUE(consent.open(QIODevice::WriteOnly));
        consent.write(R"({"com.spotify.client":"allowed"})");
    }

    QProcessEnvironment environment() const
    {
        auto environment = QProcessEnvironment::systemEnvironment();
        environment.insert("DBUS_SESSION_BUS_ADDRESS", bus.address());
        environment.insert("HOME", home.path());
        environment.insert("XDG_CONFIG_HOME", config());
        environment.insert("XDG_DATA_HOME", data());
        environment.insert("XDG_CACHE_HOME", home.filePath("cache"));
        environment.insert("XDG_RUNTIME_DIR", home.path());
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        environment.insert("QT_QUICK_BACKEND", "software");
        return environment;
    }
    bool nameOwned() const { return bus.connection().interface()->isServiceRegistered(serviceName); }
    QDBusMessage callApp(const QString &member, const QVariantList &arguments, int timeoutMs = 20000)
    {
        auto call = QDBusMessage::createMethodCall(
            serviceName, "/com/velbrandtoro/Orvel", "com.velbrandtoro.Orvel.App", member);
        call.setArguments(arguments);
        return bus.connection().call(call, QDBus::Block, timeoutMs);
    }
    QJsonObject snapshot() const
    {
        QFile file(snapshotPath());
        return file.open(QIODevice::ReadOnly) ? QJsonDocument::fromJson(file.readAll()).object()
                                              : QJsonObject();
    }
    static void playHolocene(FakeSpotify &spotify)
    {
        spotify.setMetadata(FakeSpotify::track("4uLU6hMCjMI75M1A2tKUQC", "Holocene", 336'000'000));
        spotify.setProperty("PlaybackStatus", QStringLiteral("Playing"));
    }
    // Once the app has written the playing track to the widgets' file.
    bool holoceneReachedTheWidgets() const
    {
        return eventually(
            [this] { return snapshot().value("track").toObject().value("title") == "Holocene"; });
    }
};

TEST_F(AppEndToEndTest, TwoCopiesStartedTogetherLeaveExactlyOneRunning)
{
    OrvelProcess first(environment());
    OrvelProcess second(environment());
    ASSERT_TRUE(eventually([&] { return nameOwned() && (first.finished() || second.finished()); }));
    OrvelProcess &loser = first.finished() ? first : second;
    OrvelProcess &winner = first.finished() ? second : first;
    EXPECT_EQ(loser.exitCode(), 0);
    EXPECT_TRUE(winner.isRunning());

    winner.terminate();
    ASSERT_TRUE(eventually([&] { return winner.finished(); }));
    EXPECT_EQ(winner.exitCode(), 0);
    EXPECT_TRUE(eventually([&] { return !nameOwned(); }));
}

TEST_F(AppEndToEndTest, ALaterLaunchHandsItsUrlsToTheRunningCopyInOrderAndExits)
{
    OrvelProcess running(environment());
    ASSERT_TRUE(eventually([&] { return nameOwned(); }));

    OrvelProcess opener(environment(), {"orvel://shortcuts", "orvel://player"});
    ASSERT_TRUE(eventually([&] { return opener.finished(); }, 10000));
    EXPECT_EQ(opener.exitCode(), 0);
    ASSERT_TRUE(eventually([&] { return running.log().contains("Opening orvel://player"); }));
    const QString log = running.log();
    EXPECT_LT(log.indexOf("Opening orvel://shortcuts"), log.indexOf("Opening orvel://player"));
    EXPECT_TRUE(running.isRunning());
}
TEST_F(AppEndToEndTest, ThePlayerReachesTheWidgetFilesAndTheIntentAndEndsNotPlaying)
{
    FakeSpotify spotify(bus);
    playHolocene(spotify);
    OrvelProcess app(environment());

    ASSERT_TRUE(holoceneReachedTheWidgets()) << app.log().toStdString();
    EXPECT_EQ(snapshot().value("availability"), "ready");
    EXPECT_EQ(snapshot().value("isPlaying"), true);

    const QDBusMessage reply = callApp("PerformPlaybackIntent", {QStringLiteral("toggle")});
    ASSERT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
    EXPECT_EQ(reply.arguments().value(0).toString(), "ok");
    EXPECT_TRUE(spotify.calls().contains("Pause"));
    EXPECT_EQ(snapshot().value("isPlaying"), false);

    spotify.setProperty("PlaybackStatus", QStringLiteral("Playing"));
    app.terminate();
    ASSERT_TRUE(eventually([&] { return app.finished(); }));
    EXPECT_EQ(app.exitCode(), 0);
    EXPECT_EQ(snapshot().value("isPlaying"), false);
    EXPECT_EQ(snapshot().value("availability"), "unavailable");
    EXPECT_EQ(snapshot().value("track").toObject().value("title"), "Holocene");
}

// A closed terminal or a session ending without a session manager (SIGHUP)
// ends the app as cleanly as a quit: it writes what it holds on its way out.
// Started under nohup (SIGHUP ignored), it outlives the hang-up and ends on SIGTERM.
TEST_F(AppEndToEndTest, AHangUpEndsTheAppCleanly)
{
    const struct {
        bool underNohup;
        const char *ending;
    } cases[] = {
        {false, "Ending on signal 1"},
        {true, "Ending on signal 15"},
    };
    for (const auto &c : cases) {
        QFile::remove(snapshotPath());
        FakeSpotify spotify(bus);
        playHolocene(spotify);
        OrvelProcess app(environment(), {}, [nohup = c.underNohup] {
            if (nohup)
                ::signal(SIGHUP, SIG_IGN);
        });
        ASSERT_TRUE(holoceneReachedTheWidgets()) << app.log().toStdString();
        app.terminate(SIGHUP);
        if (c.underNohup) {
            const QDBusMessage reply = callApp("PerformPlaybackIntent", {QStringLiteral("toggle")});
            EXPECT_EQ(reply.arguments().value(0).toString(), "ok") << reply.errorMessage().toStdString();
            app.terminate(SIGTERM);
        }
        ASSERT_TRUE(eventually([&] { return app.finished(); }));
        EXPECT_EQ(app.exitCode(), 0) << app.log().toStdString();
        EXPECT_EQ(app.log().count("Ending on signal"), 1) << app.log().toStdString();
        EXPECT_TRUE(app.log().contains(c.ending)) << app.log().toStdString();
        EXPECT_EQ(snapshot().value("availability"), "unavailable");
        ASSERT_TRUE(eventually([&] { return !nameOwned(); }));
    }
}

TEST_F(AppEndToEndTest, AFloodOfHostileLinksIsAnsweredAtOnceAndTheAppKeepsAnsweringIntents)
{
    FakeSpotify spotify(bus);
    playHolocene(spotify);
    OrvelProcess app(environment());
    ASSERT_TRUE(holoceneReachedTheWidgets()) << app.log().toStdString();
    // The player and the dashboard have been made once, as any use makes them, and
    // the dashboard shows the overview the flood ends on: what is measured below is
    // the flood, not the first making of a page.
    ASSERT_EQ(callApp("OpenURLs", {QStringList{"orvel://player", "orvel://about"}}).type(),
        QDBusMessage::ReplyMessage);
    ASSERT_TRUE(eventually([&] { return app.log().contains("Opening orvel://about"); }));
    ASSERT_EQ(callApp("PerformPlaybackIntent", {"warm"}).type(), QDBusMessage::ErrorMessage);
    const qint64 residentBefore = app.residentKb();
    ASSERT_GT(residentBefore, 0);

    QStringList flood;
    const QString huge = "orvel://shortcuts/" + QString(20'000, 'x');
    for (int i = 0; flood.size() < 1400; ++i) {
        flood << "orvel://player" << huge << "orvel:%%zz"
              << "file:///etc/passwd"
              << "javascript:alert(1)"
              << "orvel://shortcuts/../../../etc?q=" + QString::number(i) << "orvel://%00\n\r"
              << "::::"
              << "https://127.0.0.1:1/" + QString(3000, 'y') << "orvel://SHORTCUTS"
              << "orvel://about" << QString(i % 7, QChar(0x202e)) + "orvel://player";
    }
    QElapsedTimer clock;
    clock.start();
    const QDBusMessage answer = callApp("OpenURLs", {flood}, 5000);
    EXPECT_EQ(answer.type(), QDBusMessage::ReplyMessage) << answer.errorMessage().toStdString();
    EXPECT_LT(clock.elapsed(), 1000);

    // Bad intents straight after, while the app takes in the links.
    qint64 slowest = 0;
    clock.restart();
    for (int i = 0; i < 300; ++i) {
        QElapsedTimer one;
        one.start();
        const QString action = i % 3 == 0 ? QString(5000, 'z') : i % 3 == 1 ? "Toggle" : "";
        const QDBusMessage refused = callApp("PerformPlaybackIntent", {action}, 10000);
        EXPECT_EQ(refused.errorName(), "org.freedesktop.DBus.Error.InvalidArgs");
        slowest = std::max(slowest, one.elapsed());
        if (clock.elapsed() > 10000)
            break; // a stuck app fails below once, not three hundred times
    }
    EXPECT_LT(clock.elapsed(), 10000);
    EXPECT_LT(slowest, 500); // 20 ms idle; a main thread busy with the links takes seconds
    // Past the bounds the links were dropped unread.
    EXPECT_TRUE(eventually([&] { return app.log().contains("Dropped"); }));
    EXPECT_FALSE(app.log().contains("xxxxxxxxxx"));

    const QDBusMessage reply = callApp("PerformPlaybackIntent", {"toggle"});
    ASSERT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
    EXPECT_EQ(reply.arguments().value(0).toString(), "ok");
    EXPECT_TRUE(spotify.calls().contains("Pause"));
    EXPECT_TRUE(app.isRunning());
#ifndef __SANITIZE_ADDRESS__ // AddressSanitizer keeps freed memory resident in its quarantine
    EXPECT_LT(app.residentKb() - residentBefore, 20 * 1024);
#endif
}

TEST_F(AppEndToEndTest, KeptFilesThatCannotBeUsedAreSetAsideAtStartAndReportedOnce)
{
    const QString defaults = config() + "/com.velbrandtoro.Orvel/defaults.json";
    const QString shortcuts = data() + "/QX7TR4LM2B.com.velbrandtoro.Orvel.shared/Orvel/shortcuts.json";
    QDir().mkpath(QFileInfo(shortcuts).path());
    const QByteArray cutShort = R"({"skin":{"type":"string","value":"rivi)";
    for (const QString &path : {defaults, shortcuts}) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(cutShort);
    }
    FakeSpotify spotify(bus);
    playHolocene(spotify);
    OrvelProcess app(environment());
    ASSERT_TRUE(holoceneReachedTheWidgets()) << app.log().toStdString();
    for (const QString &path : {defaults, shortcuts}) {
        SCOPED_TRACE(path.toStdString());
        QFile kept(path + ".unreadable");
        ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
        EXPECT_EQ(kept.readAll(), cutShort);
        EXPECT_EQ(app.log().count("Could not use " + path), 1);
    }
    EXPECT_TRUE(app.isRunning());
}

TEST_F(AppEndToEndTest, UnderAFileSizeLimitTheWidgetsFileStaysWholeAndTheFailureIsLoggedOnce)
{
    FakeSpotify spotify(bus);
    playHolocene(spotify);
    {
        OrvelProcess first(environment());
        ASSERT_TRUE(holoceneReachedTheWidgets()) << first.log().toStdString();
        first.terminate();
        ASSERT_TRUE(eventually([&] { return first.finished(); }));
    }
    QFile file(snapshotPath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray before = file.readAll();
    file.close();
    ASSERT_GT(before.size(), 200);

    // Writes past 100 bytes fail as on a full disk; SIGXFSZ is left as it is,
    // so only the app's own handling keeps it alive.
    OrvelProcess app(environment(), {}, [] {
        const rlimit fileSize{100, RLIM_INFINITY};
        ::setrlimit(RLIMIT_FSIZE, &fileSize);
    });
    const QString failure = "Could not save " + snapshotPath();
    ASSERT_TRUE(eventually([&] { return app.log().contains(failure); })) << app.log().toStdString();
    const QDBusMessage reply = callApp("PerformPlaybackIntent", {QStringLiteral("toggle")});
    ASSERT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
    EXPECT_TRUE(spotify.calls().contains("Pause"));
    EXPECT_TRUE(app.isRunning());
    EXPECT_EQ(app.log().count(failure), 1) << app.log().toStdString();
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), before);
    EXPECT_EQ(
        QDir(QFileInfo(snapshotPath()).path()).entryList({"playback.json*"}, QDir::Files | QDir::Hidden),
        QStringList{"playback.json"});
}
} // namespace

// The tray on a real X server under openbox, with a StatusNotifier watcher of the test's own:
// a host reads the exported menu's layout before it shows it, so the menu is
// whole from the start and follows the track without any click.
namespace {
class Watcher final : public QDBusVirtualObject {
public:
    QString introspect(const QString &) const override { return {}; }
    bool handleMessage(const QDBusMessage &message, const QDBusConnection &connection) override
    {
        if (message.member() == "RegisterStatusNotifierItem") {
            item = message.service();
            connection.send(message.createReply());
        } else if (message.member() == "Introspect") {
            // Qt reads a watcher's properties through its introspected interface.
            connection.send(message.createReply(
                "<node><interface name=\"org.kde.StatusNotifierWatcher\">"
                "<method name=\"RegisterStatusNotifierItem\"><arg type=\"s\" direction=\"in\"/></method>"
                "<property name=\"IsStatusNotifierHostRegistered\" type=\"b\" access=\"read\"/>"
                "</interface></node>"));
        } else if (message.member() == "Get") {
            connection.send(message.createReply(QVariant::fromValue(QDBusVariant(true))));
        } else {
            connection.send(message.createErrorReply(QDBusError::UnknownMethod, message.member()));
        }
        return true;
    }
    QString item; // the tray item's bus name, once it registered
};

// The real programs' windows, on the test's X server.
class AppOnOpenbox : public AppEndToEndTest {
protected:
    QProcessEnvironment xEnvironment() const
    {
        auto environment = AppEndToEndTest::environment();
        environment.insert("QT_QPA_PLATFORM", "xcb");
        return environment;
    }
    // The ids of the shown windows whose WM_CLASS class is that.
    static QStringList windowsOfClass(const QString &windowClass)
    {
        return X11Server::output("xdotool", {"search", "--onlyvisible", "--class", "^" + windowClass + "$"})
            .split('\n', Qt::SkipEmptyParts);
    }
    // What a dock matches a window to its desktop entry by.
    static QString startupWMClass(const char *entryPath)
    {
        QFile entry(QString::fromUtf8(entryPath));
        if (!entry.open(QIODevice::ReadOnly))
            return {};
        const auto match = QRegularExpression("^StartupWMClass=(.*)$", QRegularExpression::MultilineOption)
                               .match(QString::fromUtf8(entry.readAll()));
        return match.captured(1);
    }
};

// Which items told of their status: Orvel's does once its item is in place.
class ItemStatus : public QObject, protected QDBusContext {
    Q_OBJECT
public:
    QStringList senders;
public slots:
    void onStatus(const QString &) { senders.append(message().service()); }
};

class StatusMenuOnOpenbox : public AppOnOpenbox {
protected:
    Watcher watcher;
    ItemStatus status;
    void SetUp() override
    {
        AppEndToEndTest::SetUp();
        ASSERT_TRUE(bus.connection().registerVirtualObject("/StatusNotifierWatcher", &watcher));
        ASSERT_TRUE(bus.connection().registerService("org.kde.StatusNotifierWatcher"));
        ASSERT_TRUE(bus.connection().connect(QString(), "/StatusNotifierItem", "org.kde.StatusNotifierItem",
            "NewStatus", &status, SLOT(onStatus(QString))));
    }
    // The item registered, and is Orvel's own rather than Qt's.
    bool itemInPlace() const { return !watcher.item.isEmpty() && status.senders.contains(watcher.item); }
    struct Entry {
        int id = 0;
        QString text;
    };
    // The exported menu's entries, read as a tray host reads them, with the
    // text it shows: "_" marks the mnemonic, "__" is the character.
    QList<Entry> entries() const
    {
        QProcess send;
        auto environment = QProcessEnvironment::systemEnvironment();
        environment.insert("DBUS_SESSION_BUS_ADDRESS", bus.address());
        send.setProcessEnvironment(environment);
        send.start("dbus-send",
            {"--print-reply", "--dest=" + watcher.item, "/MenuBar", "com.canonical.dbusmenu.GetLayout",
                "int32:0", "int32:-1", "array:string:"});
        send.waitForFinished(10000);
        QList<Entry> found;
        int id = 0;
        const QStringList lines = QString::fromUtf8(send.readAllStandardOutput()).split('\n');
        for (int i = 0; i + 1 < lines.size(); ++i) {
            if (lines[i].trimmed().endsWith("struct {") && lines[i + 1].trimmed().startsWith("int32 "))
                id = lines[i + 1].trimmed().mid(6).toInt();
            if (lines[i].trimmed() == "string \"label\"") {
                QString label = lines[i + 1].trimmed();
                label.remove(QRegularExpression("^variant\\s+string \"|\"$"));
                QString text;
                for (int c = 0; c < label.size(); ++c) {
                    if (label[c] != '_')
                        text += label[c];
                    else if (c + 1 < label.size() && label[c + 1] == '_')
                        text += label[++c];
                }
                found.append({id, text});
            }
        }
        return found;
    }
    QStringList labels() const
    {
        QStringList texts;
        for (const Entry &entry : entries())
            texts << entry.text;
        return texts;
    }
    int idOf(const QString &text) const
    {
        for (const Entry &entry : entries())
            if (entry.text == text)
                return entry.id;
        return -1;
    }
    // The host's click on the item, at the pointer unless it says otherwise.
    void activate(QPoint at = QPoint(100, 400)) const
    {
        auto call = QDBusMessage::createMethodCall(
            watcher.item, "/StatusNotifierItem", "org.kde.StatusNotifierItem", "Activate");
        call << at.x() << at.y();
        bus.connection().call(call, QDBus::NoBlock);
    }
    static bool xdotool(const QStringList &arguments) { return X11Server::run("xdotool", arguments) == 0; }
    // The rectangle of the menu a plain click opens: what the display shows in its colour.
    static QRect skinnedMenu(const QRect &display)
    {
        const QRgb ground = PopupStyle::look(SkinPalette(Skin::classico, Aura())).ground.toQColor().rgb();
        const QImage image = X11Server::screen(display);
        QRect found;
        for (int y = 0; y < image.height(); y += 2)
            for (int x = 0; x < image.width(); x += 2)
                if ((image.pixel(x, y) | 0xff000000) == ground)
                    found |= QRect(x, y, 2, 2);
        return found;
    }
    static int distance(const QRect &area, QPoint point)
    {
        const int dx = std::max({area.left() - point.x(), 0, point.x() - area.right()});
        const int dy = std::max({area.top() - point.y(), 0, point.y() - area.bottom()});
        return std::max(dx, dy);
    }
    // The colour most of the area shows.
    static QRgb mostOf(const QRect &area)
    {
        const QImage image = X11Server::screen(area);
        QHash<QRgb, int> counts;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                ++counts[image.pixel(x, y) | 0xff000000];
        QRgb most = 0;
        for (auto it = counts.cbegin(); it != counts.cend(); ++it)
            if (it.value() > counts.value(most))
                most = it.key();
        return most;
    }
};
} // namespace

TEST_F(StatusMenuOnOpenbox, TheMenuIsWholeBeforeAnyClickAndFollowsTheTrack)
{
    // A track whose title holds the marks a host reads, playing before Orvel starts.
    auto spotify = std::make_unique<FakeSpotify>(bus);
    const QString title = "Salt & Pepper & Co_op __x";
    spotify->setMetadata(FakeSpotify::track("6rqhFgbbKwnb9MLmUQDhG6", title, 336'000'000));
    spotify->setProperty("PlaybackStatus", QStringLiteral("Playing"));
    OrvelProcess app(xEnvironment());
    ASSERT_TRUE(eventually([&] { return !watcher.item.isEmpty(); })) << app.log().toStdString();

    // Whole before any click, the title shown as it is.
    QStringList before;
    ASSERT_TRUE(eventually([&] { return (before = labels()).value(0) == title; }))
        << before.join(", ").toStdString() << app.log().toStdString();
    for (const char *label : {"Open Orvel", "Show player", "Your shortcuts", "Open Spotify", "Quit Orvel"})
        EXPECT_TRUE(before.contains(label)) << label << " in " << before.join(", ").toStdString();

    // Spotify quits: the menu follows, and the same entries keep their ids,
    // so a click in a menu left open still lands.
    const int sidebar = idOf("Music sidebar");
    spotify.reset();
    EXPECT_TRUE(eventually([&] { return labels().value(0) == "Orvel"; }))
        << labels().join(", ").toStdString();
    EXPECT_EQ(idOf("Music sidebar"), sidebar);
}

TEST_F(StatusMenuOnOpenbox, APlainClickOpensTheMenuInTheSkinEscapeClosesItAndItsItemsWork)
{
    const QRgb desktop = qRgb(0x20, 0x80, 0x40);
    X11Server::paintRoot(desktop);
    FakeSpotify spotify(bus);
    OrvelProcess app(xEnvironment());
    ASSERT_TRUE(eventually([&] { return !watcher.item.isEmpty(); })) << app.log().toStdString();
    ASSERT_TRUE(xdotool({"mousemove", "100", "400"}));

    // Below and to the right of the pointer, inside the menu's first items.
    const QRect inside(110, 410, 60, 40);
    const QRgb ground = PopupStyle::look(SkinPalette(Skin::classico, Aura())).ground.toQColor().rgb();
    activate();
    EXPECT_TRUE(eventually([&] { return mostOf(inside) == ground; }))
        << std::hex << mostOf(inside) << " for " << ground;

    ASSERT_TRUE(xdotool({"key", "Escape"}));
    EXPECT_TRUE(eventually([&] { return mostOf(inside) == desktop; })) << std::hex << mostOf(inside);

    // Opened again, its items' shortcuts work: Ctrl+Q quits.
    activate();
    ASSERT_TRUE(eventually([&] { return mostOf(inside) == ground; }));
    ASSERT_TRUE(xdotool({"key", "ctrl+q"}));
    EXPECT_TRUE(eventually([&] { return app.finished(); })) << app.log().toStdString();
    EXPECT_EQ(app.exitCode(), 0);
}

// A plain click opens the menu beside the point the host gives, wherever the
// X server last saw the pointer (under a Wayland compositor, never over the
// host's panel), and on the display at its edges.
TEST_F(StatusMenuOnOpenbox, APlainClickOpensTheMenuWhereTheHostSaysItLandedAndOnTheDisplay)
{
    X11Server::paintRoot(qRgb(0x20, 0x80, 0x40));
    FakeSpotify spotify(bus);
    OrvelProcess app(xEnvironment());
    ASSERT_TRUE(eventually([&] { return itemInPlace(); })) << app.log().toStdString();
    const QRect display = QGuiApplication::primaryScreen()->geometry();
    const QPoint pointer(display.center().x(), 30);
    ASSERT_TRUE(xdotool({"mousemove", QString::number(pointer.x()), QString::number(pointer.y())}));
    const auto menu = [&] { return skinnedMenu(display); };
    // A tray in each corner of the display, and one a panel in its middle holds.
    for (const QPoint clicked : {QPoint(300, 500), display.bottomRight() - QPoint(8, 8),
             display.bottomLeft() + QPoint(8, -8), display.topRight() + QPoint(-8, 8), QPoint(8, 8)}) {
        SCOPED_TRACE(testing::Message() << clicked.x() << "," << clicked.y());
        activate(clicked);
        QRect shown;
        EXPECT_TRUE(eventually([&] {
            shown = menu();
            return shown.height() > 100 && display.contains(shown) && distance(shown, clicked) <= 12;
        })) << shown.x()
            << "," << shown.y() << " " << shown.width() << "x" << shown.height();
        // Beside the point, not over it: the icon stays in sight.
        EXPECT_FALSE(shown.adjusted(12, 12, -12, -12).contains(clicked));
        EXPECT_GT(distance(shown, pointer), 100);
        ASSERT_TRUE(xdotool({"key", "Escape"}));
        ASSERT_TRUE(eventually([&] { return menu().isEmpty(); }));
    }
}

// A click on an icon in a panel's strip opens the menu above the strip, off the panel.
TEST_F(StatusMenuOnOpenbox, AClickOnAPanelsIconOpensTheMenuBesideThePanel)
{
    X11Server::paintRoot(qRgb(0x20, 0x80, 0x40));
    const QRect display = QGuiApplication::primaryScreen()->geometry();
    const int strip = 40;
    QProcess panel;
    panel.start("xlogo",
        {"-geometry",
            QStringLiteral("%1x%2+0+%3").arg(display.width()).arg(strip).arg(display.height() - strip)});
    QStringList windows;
    ASSERT_TRUE(eventually([&] { return !(windows = windowsOfClass("XLogo")).isEmpty(); }));
    ASSERT_EQ(X11Server::run("xprop",
                  {"-id", windows.first(), "-f", "_NET_WM_STRUT", "32c", "-set", "_NET_WM_STRUT",
                      QStringLiteral("0,0,0,%1").arg(strip)}),
        0);
    const QString workArea
        = QStringLiteral("0, 0, %1, %2").arg(display.width()).arg(display.height() - strip);
    ASSERT_TRUE(eventually([&] {
        return X11Server::output("xprop", {"-root", "_NET_WORKAREA"}).contains(workArea);
    }));

    FakeSpotify spotify(bus);
    OrvelProcess app(xEnvironment());
    ASSERT_TRUE(eventually([&] { return itemInPlace(); })) << app.log().toStdString();
    const QPoint clicked(display.width() - 20, display.height() - strip / 2);
    activate(clicked);
    QRect shown;
    EXPECT_TRUE(eventually([&] {
        shown = skinnedMenu(display);
        return shown.height() > 100 && shown.bottom() < display.height() - strip
            && distance(shown, clicked) <= strip;
    })) << shown.x()
        << "," << shown.y() << " " << shown.width() << "x" << shown.height();
    ASSERT_TRUE(xdotool({"key", "Escape"}));
    panel.kill();
    panel.waitForFinished(5000);
}

// The item says whether the host opens the menu itself, and is otherwise
// Qt's: its icon, tool tip and menu, and the host's other calls answered.
TEST_F(StatusMenuOnOpenbox, UnderAWaylandCompositorTheHostOpensTheMenuItselfAndTheItemIsOtherwiseQts)
{
    FakeSpotify spotify(bus);
    struct Row {
        const char *waylandDisplay;
        const char *sessionType;
        bool itemIsMenu;
    };
    for (const Row &row : {Row{"", "x11", false}, Row{"wayland-orvel-test", "wayland", true},
             Row{"wayland-orvel-test", "", true}, Row{"", "wayland", true}}) {
        SCOPED_TRACE(testing::Message() << row.waylandDisplay << " " << row.sessionType);
        auto environment = xEnvironment();
        environment.insert("WAYLAND_DISPLAY", row.waylandDisplay);
        environment.insert("XDG_SESSION_TYPE", row.sessionType);
        watcher.item.clear();
        OrvelProcess app(environment);
        ASSERT_TRUE(eventually([&] { return itemInPlace(); })) << app.log().toStdString();
        const auto call
            = [&](const QString &interface, const QString &member, const QVariantList &arguments) {
                  auto message = QDBusMessage::createMethodCall(
                      watcher.item, "/StatusNotifierItem", interface, member);
                  message.setArguments(arguments);
                  return bus.connection().call(message, QDBus::Block, 10000);
              };
        const QDBusMessage all = call(
            "org.freedesktop.DBus.Properties", "GetAll", {QStringLiteral("org.kde.StatusNotifierItem")});
        ASSERT_EQ(all.type(), QDBusMessage::ReplyMessage) << all.errorMessage().toStdString();
        const QVariantMap properties = qdbus_cast<QVariantMap>(all.arguments().value(0));
        EXPECT_EQ(properties.value("ItemIsMenu").toBool(), row.itemIsMenu);
        EXPECT_EQ(qdbus_cast<QDBusObjectPath>(properties.value("Menu")).path(), "/MenuBar");
        EXPECT_EQ(properties.value("Status").toString(), "Active");
        for (const char *name : {"Id", "Title", "Category", "IconName", "IconPixmap", "ToolTip"})
            EXPECT_TRUE(properties.contains(name)) << name;
        const QDBusMessage one = call("org.freedesktop.DBus.Properties", "Get",
            {QStringLiteral("org.kde.StatusNotifierItem"), "ItemIsMenu"});
        EXPECT_EQ(qdbus_cast<QDBusVariant>(one.arguments().value(0)).variant().toBool(), row.itemIsMenu);
        const QDBusMessage introspection = call("org.freedesktop.DBus.Introspectable", "Introspect", {});
        EXPECT_TRUE(
            introspection.arguments().value(0).toString().contains("<method name=\"SecondaryActivate\">"));
        // The host's other calls reach Qt's item; the menu of the host's own stays the host's.
        for (const auto &[member, arguments] : {std::pair{"ContextMenu", QVariantList{10, 10}},
                 std::pair{"SecondaryActivate", QVariantList{10, 10}},
                 std::pair{"Scroll", QVariantList{1, QStringLiteral("vertical")}}}) {
            const QDBusMessage reply = call("org.kde.StatusNotifierItem", member, arguments);
            EXPECT_EQ(reply.type(), QDBusMessage::ReplyMessage)
                << member << reply.errorMessage().toStdString();
        }
        EXPECT_EQ(labels().value(0), "Orvel");
        EXPECT_TRUE(app.isRunning());
    }
}

// Beside a real compositor, as the session gives it: the panel opens the menu.
class StatusMenuOnWayland : public StatusMenuOnOpenbox { };

TEST_F(StatusMenuOnWayland, ThePanelOpensTheMenuItselfWhichIsWhole)
{
    FakeSpotify spotify(bus);
    auto environment = xEnvironment();
    environment.remove("XDG_SESSION_TYPE");
    ASSERT_FALSE(environment.value("WAYLAND_DISPLAY").isEmpty());
    OrvelProcess app(environment);
    ASSERT_TRUE(eventually([&] { return itemInPlace(); })) << app.log().toStdString();
    auto get = QDBusMessage::createMethodCall(
        watcher.item, "/StatusNotifierItem", "org.freedesktop.DBus.Properties", "Get");
    get << QStringLiteral("org.kde.StatusNotifierItem") << QStringLiteral("ItemIsMenu");
    const QDBusMessage reply = bus.connection().call(get, QDBus::Block, 10000);
    ASSERT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
    EXPECT_TRUE(qdbus_cast<QDBusVariant>(reply.arguments().value(0)).variant().toBool());
    QStringList shown;
    EXPECT_TRUE(eventually([&] { return (shown = labels()).contains("Quit Orvel"); }))
        << shown.join(", ").toStdString();
    EXPECT_EQ(shown.value(0), "Orvel");
}

// A long title with line breaks reaches the host's menu as one line of a
// few dozen characters, cut between two.
TEST_F(StatusMenuOnOpenbox, ALongTitleReachesTheHostsMenuOnOneLineCutShort)
{
    FakeSpotify spotify(bus);
    QString title;
    while (title.size() < 100'000)
        title += QString::fromUtf8("Salt & Pepper_Co \U0001F44D\U0001F3FD\r\n");
    spotify.setMetadata(FakeSpotify::track("6rqhFgbbKwnb9MLmUQDhG6", title, 336'000'000));
    spotify.setProperty("PlaybackStatus", QStringLiteral("Playing"));
    OrvelProcess app(xEnvironment());
    ASSERT_TRUE(eventually([&] { return !watcher.item.isEmpty(); })) << app.log().toStdString();
    QString shown;
    ASSERT_TRUE(eventually([&] { return (shown = labels().value(0)).startsWith("Salt & Pepper_Co "); }))
        << shown.left(200).toStdString() << app.log().toStdString();
    EXPECT_TRUE(shown.endsWith(QChar(0x2026))) << shown.toStdString();
    QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, shown);
    int characters = 0;
    while (graphemes.toNextBoundary() > 0)
        ++characters;
    EXPECT_LE(characters, StatusItem::exportedTitleCharacters);
    EXPECT_EQ(shown.chopped(1), StatusItem::oneLine(title).left(shown.size() - 1));
    EXPECT_TRUE(shown.isValidUtf16());
}

// Each program's windows carry the app's icon and the class its desktop entry names.
TEST_F(AppOnOpenbox, TheWindowsCarryTheIconAndTheClassTheirDesktopEntriesName)
{
    FakeSpotify spotify(bus);
    struct Row {
        const char *program;
        QStringList arguments;
        const char *entry;
    };
    for (const Row &row : {Row{ORVEL_APP_BINARY, {}, ORVEL_APP_DESKTOP_ENTRY},
             Row{ORVEL_WIDGET_HOST_BINARY, {"--gallery"}, ORVEL_WIDGETS_DESKTOP_ENTRY}}) {
        SCOPED_TRACE(row.program);
        const QString windowClass = startupWMClass(row.entry);
        ASSERT_FALSE(windowClass.isEmpty());
        QProcess program;
        program.setProcessEnvironment(xEnvironment());
        program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        program.start(row.program, row.arguments);
        QStringList windows;
        EXPECT_TRUE(eventually([&] { return !(windows = windowsOfClass(windowClass)).isEmpty(); }));
        for (const QString &window : windows) {
            const QString properties = X11Server::output("xprop", {"-id", window, "_NET_WM_ICON"});
            EXPECT_TRUE(properties.startsWith("_NET_WM_ICON(CARDINAL) = "))
                << properties.left(80).toStdString();
        }
        program.terminate();
        program.waitForFinished(10000);
    }
}

#include "AppEndToEndTests.moc"
