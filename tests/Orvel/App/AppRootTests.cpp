#include "AppDelegate.h"
#include "AppRoot.h"
#include "DashboardState.h"
#include "Defaults.h"
#include "FakeLoginItem.h"
#include "FakeWorkspace.h"
#include "KeptFiles.h"
#include "ManualScheduler.h"
#include "PlaybackCoordinator.h"
#include "Preferences.h"
#include "RecordingAnnouncer.h"
#include "RecordingWidgetCenter.h"
#include "ScriptedSpotify.h"
#include "SharedStore.h"
#include "TemporaryHome.h"

#include <QQmlComponent>
#include <QQmlEngine>
#include <gtest/gtest.h>

namespace {
// The app's graph from fakes: what the views of its one engine reach.
struct RootFromFakes {
    QString defaultsPath() const { return home.path("config/defaults.json"); }

    TemporaryHome home;
    ManualScheduler clock;
    // Saved as the app saves them, a moment after a change.
    std::unique_ptr<Defaults> defaults = std::make_unique<Defaults>(defaultsPath(), clock);
    RecordingWidgetCenter widgets;
    FakeWorkspace workspace;
    FakeLoginItem login;
    RecordingAnnouncer announcer;
    AppRoot root{AppRoot::Outside{clock, *defaults, widgets, workspace, login, announcer,
        std::make_shared<ScriptedSpotify>(clock),
        [this] { return SharedStore(home.path("group"), home.path("support")); }, [] { return false; },
        nullptr, false, [] {}}};
    ~RootFromFakes()
    {
        root.coordinator().flush();
        clock.runUntilIdle();
    }
};
} // namespace

// A singleton QML made itself would show defaults and swallow writes; the
// views must see, and change, the very owners the root made.
TEST(AppRoot, ViewsOfItsEngineReachTheOwnersItMade)
{
    RootFromFakes app;
    app.root.preferences().setSkin(Skin::rivista);
    app.root.dashboardState().setSection(DashboardSection::about);

    QQmlComponent component(&app.root.engine());
    component.setData(R"(
        import QtQml
        import Orvel
        QtObject {
            property string skin: Preferences.skin
            property string section: DashboardState.section
            property string availability: PlaybackCoordinator.availability
            function choose() { DashboardState.section = "shortcuts" }
        })",
        QUrl(QStringLiteral("qrc:/test/Root.qml")));
    std::unique_ptr<QObject> view(component.create());
    ASSERT_TRUE(view) << component.errorString().toStdString();
    EXPECT_EQ(view->property("skin").toString(), "rivista");
    EXPECT_EQ(view->property("section").toString(), "about");
    EXPECT_EQ(view->property("availability").toString(), "notRunning");

    QMetaObject::invokeMethod(view.get(), "choose");
    EXPECT_EQ(app.root.dashboardState().section(), DashboardSection::shortcuts);
}

// The app saves settings a moment after a burst of changes; quitting, SIGTERM
// and logging out all end the app through the delegate's termination.
TEST(AppRoot, SettingsNotYetWrittenAreWrittenWhenTheAppEnds)
{
    RootFromFakes app;
    app.root.preferences().setSkin(Skin::rivista);
    app.clock.advance(Defaults::saveDelaySeconds / 2);
    KeptFiles::finishSaves();
    EXPECT_EQ(Defaults(app.defaultsPath()).value<QString>("skin"), std::nullopt);
    app.root.delegate().applicationWillTerminate();
    EXPECT_EQ(Defaults(app.defaultsPath()).value<QString>("skin"), "rivista");
}
