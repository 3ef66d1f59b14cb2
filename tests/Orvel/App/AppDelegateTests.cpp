#include "AppDelegate.h"
#include "DashboardWindow.h"
#include "Defaults.h"
#include "DisplayCatalog.h"
#include "FakeLoginItem.h"
#include "FakeScreens.h"
#include "FakeWorkspace.h"
#include "ManualScheduler.h"
#include "PanelManager.h"
#include "PlaybackCoordinator.h"
#include "Preferences.h"
#include "QmlModules.h"
#include "QtPrinters.h"
#include "RecordingAnnouncer.h"
#include "RecordingPanelWindow.h"
#include "RecordingWidgetCenter.h"
#include "ScriptedSpotify.h"
#include "StatusItem.h"
#include "TemporaryHome.h"

#include <QGuiApplication>
#include <QPointer>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickWindow>
#include <gtest/gtest.h>

namespace {
using Action = AppDelegate::MenuAction;

class AppDelegateTest : public ::testing::Test {
protected:
    TemporaryHome home;
    ManualScheduler scheduler;
    ScopedScheduler installed{scheduler};
    RecordingWidgetCenter widgets;
    FakeLoginItem login;
    Defaults defaults{home.path("config/defaults.json")};
    SharedStore store{home.path("group"), home.path("support")};
    Preferences preferences{Preferences::Services{
        &defaults, [this] { return store; }, &scheduler, &login, &widgets, [] { return false; }}};
    FakeScreens screens;
    DisplayCatalog displays{DisplayCatalog::Services{&screens, &scheduler,
        [this](const DisplayCatalog::Display &) { return recordingWindow(); }, &preferences}};
    PanelManager panels{PanelManager::Services{&preferences, &displays, windows()}};
    DashboardState dashboardState{nullptr};
    // The owners the dashboard's views read; the delegate itself drives the engine below.
    FakeWorkspace workspace;
    RecordingAnnouncer announcer;
    PlaybackCoordinator coordinator{
        PlaybackCoordinator::Services{std::make_shared<ScriptedSpotify>(scheduler), &workspace, store,
            &defaults, &scheduler, &widgets, &preferences, &announcer, nullptr}};
    QQmlEngine qml;

    std::optional<QString> track;
    QStringList calls;
    std::unique_ptr<AppDelegate> delegate;

    void SetUp() override
    {
        registerOrvelModules(qml);
        QmlOwners::provide(qml, preferences);
        QmlOwners::provide(qml, dashboardState);
        QmlOwners::provide(qml, coordinator);
        preferences.completeSetup();
    }

    std::unique_ptr<PanelWindow> recordingWindow()
    {
        return std::make_unique<RecordingPanelWindow>(scheduler);
    }
    SurfaceWindow::Services windows()
    {
        SurfaceWindow::Services services;
        services.preferences = &preferences;
        services.scheduler = &scheduler;
        services.screens = &screens;
        services.reportPanel = [](const QUuid &, bool) {};
        services.chrome = [](bool) { return SkillChrome::none; };
        services.makeWindow = [this](PanelModel &) { return recordingWindow(); };
        return services;
    }

    std::unique_ptr<AppDelegate> make()
    {
        AppDelegate::Engine engine;
        engine.start = [this] { calls << "start"; };
        engine.flush = [this] {
            calls << QStringLiteral("flush(panels %1)").arg(panels.isStarted() ? "running" : "stopped");
        };
        engine.refresh = [this]() -> QCoro::Task<void> {
            calls << "refresh";
            co_return;
        };
        engine.openSpotify = [this](bool activates) -> QCoro::Task<void> {
            calls << QStringLiteral("openSpotify(%1)").arg(activates);
            co_return;
        };
        engine.trackTitle = [this] { return track; };
        return std::make_unique<AppDelegate>(AppDelegate::Services{
            engine, preferences, panels, dashboardState, scheduler, qml, false, [this] { calls << "quit"; }});
    }
    AppDelegate &launched()
    {
        delegate = make();
        delegate->applicationDidFinishLaunching();
        return *delegate;
    }
    bool dashboardVisible() const
    {
        return delegate->dashboard() && delegate->dashboard()->window()->isVisible();
    }
    QString section() const { return toRawValue(delegate->dashboardState().section()); }
};

TEST_F(AppDelegateTest, LaunchStartsTheEngineThenThePanelsAndOpensTheDashboardOnlyWhileSetupIsPending)
{
    AppDelegate &app = launched();
    EXPECT_EQ(calls, QStringList{"start"});
    EXPECT_TRUE(panels.isStarted());
    EXPECT_FALSE(app.dashboard());
    EXPECT_FALSE(qGuiApp->quitOnLastWindowClosed());

    preferences.restartSetup();
    AppDelegate &pending = launched();
    ASSERT_TRUE(dashboardVisible());
    EXPECT_EQ(section(), "overview");
    EXPECT_EQ(pending.dashboard()->window()->minimumSize(), QSize(860, 650));
    EXPECT_EQ(pending.dashboard()->window()->size(), QSize(960, 750));
}

TEST_F(AppDelegateTest, StatusMenuHeaderIsTheTrackTitleOrADisabledOrvel)
{
    AppDelegate &app = launched();
    auto items = app.statusMenuItems();
    ASSERT_EQ(items.size(), 11);
    EXPECT_EQ(items[0].title, "Orvel");
    EXPECT_FALSE(items[0].isEnabled());

    track = QStringLiteral("Holocene");
    items = app.statusMenuItems();
    EXPECT_EQ(items[0].title, "Holocene");
    EXPECT_FALSE(items[0].isEnabled());

    // The tray menu shows a title's "&" as written, not as a keyboard mnemonic.
    track = QStringLiteral("Rock & Roll");
    items = app.statusMenuItems();
    EXPECT_EQ(items[0].title, "Rock & Roll");
    EXPECT_EQ(StatusItem::actionText(items[0].title), "Rock && Roll");
    EXPECT_EQ(StatusItem::actionText("Open Orvel"), "Open Orvel");

    QStringList layout;
    for (const auto &item : items.mid(1))
        layout << (item.isSeparator() ? QStringLiteral("-")
                                      : item.title + (item.key.isEmpty() ? "" : "^" + item.key));
    EXPECT_EQ(layout,
        (QStringList{"-", "Open Orvel^,", "Show player", "Your shortcuts", "-", "Top player", "Music sidebar",
            "-", "Open Spotify", "Quit Orvel^q"}));
}

TEST_F(AppDelegateTest, PanelChecksFollowThePreferencesWhenTheMenuOpensAndChoosingOneFlipsIt)
{
    AppDelegate &app = launched();
    preferences.setSidebarEnabled(false);
    auto items = app.statusMenuItems();
    EXPECT_EQ(items[6].checked, true); // notch
    EXPECT_EQ(items[7].checked, false); // sidebar

    app.perform(Action::toggleNotch);
    app.perform(Action::toggleSidebar);
    EXPECT_FALSE(preferences.notchEnabled());
    EXPECT_TRUE(preferences.sidebarEnabled());
    items = app.statusMenuItems();
    EXPECT_EQ(items[6].checked, false);
    EXPECT_EQ(items[7].checked, true);
}

TEST_F(AppDelegateTest, MenuActionsReachTheirTargets)
{
    AppDelegate &app = launched();
    app.perform(Action::openShortcuts);
    EXPECT_EQ(section(), "shortcuts");
    app.perform(Action::openDashboard);
    EXPECT_EQ(section(), "overview");
    app.perform(Action::openSpotify);
    scheduler.runUntilIdle();
    app.perform(Action::quit);
    EXPECT_EQ(calls, (QStringList{"start", "openSpotify(1)", "quit"}));

    preferences.setNotchEnabled(false);
    app.perform(Action::showPlayer);
    EXPECT_TRUE(preferences.notchEnabled());
}

TEST_F(AppDelegateTest, ShowPlayerDuringSetupOpensTheOverviewInstead)
{
    launched();
    preferences.restartSetup();
    preferences.setNotchEnabled(false);
    panels.showPlayer();
    EXPECT_TRUE(dashboardVisible());
    EXPECT_EQ(section(), "overview");
    EXPECT_FALSE(preferences.notchEnabled());
}

TEST_F(AppDelegateTest, UrlsAreRoutedByHostInTheOrderGiven)
{
    struct Case {
        const char *url;
        const char *section; // nullptr: no dashboard
        bool refreshes;
    };
    const Case cases[] = {
        {"orvel://shortcuts", "shortcuts", false},
        {"orvel://", "overview", false},
        {"orvel:", "overview", false},
        {"orvel://elsewhere/x", "overview", false},
        {"orvel://player", nullptr, true},
        {"spotify://shortcuts", nullptr, false},
        {"shortcuts", nullptr, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.url);
        calls.clear();
        AppDelegate &app = launched();
        calls.clear();
        app.handle(QUrl(QString::fromLatin1(c.url)));
        scheduler.runUntilIdle();
        EXPECT_EQ(dashboardVisible(), c.section != nullptr);
        if (c.section) {
            EXPECT_EQ(section(), c.section);
        }
        EXPECT_EQ(calls.contains("refresh"), c.refreshes);
    }
}

TEST_F(AppDelegateTest, ABurstOfUrlsShowsThePlayerOnceAndOpensTheDashboardOnceAtTheLastSectionNamed)
{
    AppDelegate &app = launched();
    QStringList seen;
    QObject::connect(&app.dashboardState(), &DashboardState::sectionChanged, [&] { seen << section(); });
    QList<QUrl> burst;
    for (int i = 0; i < 50; ++i)
        burst << QUrl("orvel://player") << QUrl("orvel:%%") << QUrl("orvel://about")
              << QUrl("file:///etc/passwd") << QUrl("orvel://shortcuts") << QUrl("https://example.com/")
              << QUrl("orvel");
    calls.clear();
    app.open(burst);
    scheduler.runUntilIdle();
    EXPECT_EQ(seen, QStringList{"shortcuts"});
    EXPECT_EQ(calls, QStringList{"refresh"});
    EXPECT_TRUE(dashboardVisible());

    // The section of the last link that names one, whatever comes after it.
    app.open({QUrl("orvel://shortcuts"), QUrl("orvel://about"), QUrl("orvel://player"), QUrl("spotify:x")});
    scheduler.runUntilIdle();
    EXPECT_EQ(seen, (QStringList{"shortcuts", "overview"}));
    EXPECT_EQ(calls, (QStringList{"refresh", "refresh"}));
}

TEST_F(AppDelegateTest, TheDashboardIsMadeOnceAndClosingItNeitherDestroysItNorQuits)
{
    AppDelegate &app = launched();
    app.openDashboard(DashboardSection::appearance, 3);
    DashboardWindow *first = app.dashboard();
    EXPECT_EQ(section(), "appearance");
    EXPECT_EQ(app.dashboardState().skillSlot(), 3);

    int quitting = 0;
    QObject::connect(qGuiApp, &QCoreApplication::aboutToQuit, &app, [&] { ++quitting; });
    first->window()->close();
    QCoreApplication::processEvents();
    ASSERT_TRUE(first->window());
    EXPECT_FALSE(first->window()->isVisible());
    EXPECT_EQ(quitting, 0);
    EXPECT_FALSE(app.applicationShouldTerminateAfterLastWindowClosed());

    EXPECT_TRUE(app.applicationShouldHandleReopen());
    EXPECT_EQ(app.dashboard(), first);
    EXPECT_TRUE(first->window()->isVisible());
    EXPECT_EQ(section(), "overview");
    EXPECT_EQ(app.dashboardState().skillSlot(), std::nullopt);
}

// The views' links reach the dashboard through the engine's dashboard state;
// without a delegate to answer, asking changes nothing.
TEST_F(AppDelegateTest, TheViewsLinksOpenTheDashboardThroughItsState)
{
    QQmlComponent asking(&qml);
    asking.setData("import QtQml\nimport Orvel\n"
                   "QtObject { function go() { DashboardLinks.openSkillSlot(4) } }",
        QUrl());
    std::unique_ptr<QObject> links(asking.create());
    ASSERT_TRUE(links) << asking.errorString().toStdString();

    QMetaObject::invokeMethod(links.get(), "go");
    EXPECT_EQ(toRawValue(dashboardState.section()), "overview");
    EXPECT_EQ(dashboardState.skillSlot(), std::nullopt);

    launched();
    // The shortcuts page takes the slot over as it opens.
    std::optional<int> slot;
    QObject::connect(&dashboardState, &DashboardState::skillSlotChanged, [&] {
        if (dashboardState.skillSlot())
            slot = dashboardState.skillSlot();
    });
    QMetaObject::invokeMethod(links.get(), "go");
    ASSERT_TRUE(dashboardVisible());
    EXPECT_EQ(section(), "shortcuts");
    EXPECT_EQ(slot, 4);
}

TEST_F(AppDelegateTest, AClosedDashboardGivesUpItsWindowButKeepsItsPlaceAndAnOpenSheet)
{
    AppDelegate &app = launched();
    app.openDashboard(DashboardSection::shortcuts);
    DashboardWindow *dashboard = app.dashboard();
    QPointer<QQuickWindow> shown = dashboard->window();
    shown->setGeometry(QRect(120, 90, 900, 700));
    QQuickItem *content = dashboard->content();
    ASSERT_TRUE(content && !content->childItems().isEmpty());
    auto *screen = content->childItems().first()->property("screen").value<QObject *>();
    ASSERT_TRUE(screen);
    QMetaObject::invokeMethod(screen, "newShortcut", Q_ARG(QVariant, 3));
    QCoreApplication::processEvents();
    auto *sheet = screen->findChild<QObject *>(QStringLiteral("sheet"));
    ASSERT_TRUE(sheet);
    auto *loader = sheet->property("contentItem").value<QObject *>();
    QPointer<QObject> editor = loader ? loader->property("item").value<QObject *>() : nullptr;
    ASSERT_TRUE(editor);

    // Opened again in the same turn, the window is kept.
    shown->close();
    dashboard->bringToFront();
    QCoreApplication::processEvents();
    EXPECT_EQ(dashboard->window(), shown.data());

    // Closed, it goes on the next turn; the content waits in a window never shown.
    shown->close();
    QCoreApplication::processEvents();
    EXPECT_TRUE(shown.isNull());
    ASSERT_TRUE(dashboard->window());
    EXPECT_FALSE(dashboard->window()->isVisible());
    EXPECT_EQ(content->window(), dashboard->window());
    EXPECT_TRUE(editor);
    EXPECT_TRUE(sheet->property("visible").toBool());

    dashboard->bringToFront();
    QCoreApplication::processEvents();
    EXPECT_TRUE(dashboard->window()->isVisible());
    EXPECT_EQ(dashboard->window()->geometry(), QRect(120, 90, 900, 700));
    EXPECT_EQ(dashboard->window()->minimumSize(), QSize(860, 650));
    EXPECT_EQ(section(), "shortcuts");
    EXPECT_TRUE(editor);
    EXPECT_TRUE(sheet->property("visible").toBool());
}

TEST_F(AppDelegateTest, TheHandOverOpensTheOverviewOnTheNextTurn)
{
    AppDelegate &app = launched();
    app.openDashboard(DashboardSection::shortcuts);
    app.showDashboardRequested();
    EXPECT_EQ(section(), "shortcuts");
    scheduler.runUntilIdle();
    EXPECT_EQ(section(), "overview");
}

TEST_F(AppDelegateTest, TerminationStopsThePanelsBeforeFlushingOnce)
{
    AppDelegate &app = launched();
    app.applicationWillTerminate();
    app.applicationWillTerminate();
    EXPECT_EQ(calls, (QStringList{"start", "flush(panels stopped)"}));
}

} // namespace
