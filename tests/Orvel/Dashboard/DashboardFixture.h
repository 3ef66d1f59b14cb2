#pragma once

#include "AppRoot.h"
#include "DashboardState.h"
#include "Defaults.h"
#include "DisplayCatalog.h"
#include "FakeLoginItem.h"
#include "FakeWorkspace.h"
#include "ManualScheduler.h"
#include "PlatformFeatures.h"
#include "PlaybackCoordinator.h"
#include "Preferences.h"
#include "QmlHarness.h"
#include "RecordingAnnouncer.h"
#include "RecordingWidgetCenter.h"
#include "ScriptedSpotify.h"
#include "SharedStore.h"
#include "TemporaryHome.h"

#include <QDir>
#include <QFile>
#include <QQuickItem>
#include <QTest>
#include <gtest/gtest.h>

// The dashboard's content over the app's own owners built from fakes.
namespace DashboardFixture {
inline QList<QQuickItem *> descendants(QQuickItem *root)
{
    QList<QQuickItem *> result;
    for (QQuickItem *child : root->childItems())
        result << child << descendants(child);
    return result;
}

inline QList<QQuickItem *> allNamed(QQuickItem *root, const QString &name)
{
    QList<QQuickItem *> result;
    for (QQuickItem *item : descendants(root))
        if (item->objectName() == name)
            result << item;
    return result;
}

inline QQuickItem *named(QQuickItem *root, const QString &name)
{
    const QList<QQuickItem *> found = allNamed(root, name);
    return found.isEmpty() ? nullptr : found.first();
}

inline bool shown(QQuickItem *item)
{
    for (; item; item = item->parentItem())
        if (!item->isVisible())
            return false;
    return true;
}

inline bool isType(QQuickItem *item, const char *type)
{
    return QString::fromLatin1(item->metaObject()->className()).startsWith(QLatin1String(type));
}

class Dashboard : public ::testing::Test {
protected:
    TemporaryHome home;
    ManualScheduler clock;
    Defaults defaults{home.path("config/defaults.json")};
    RecordingWidgetCenter widgets;
    FakeWorkspace workspace;
    FakeLoginItem login;
    RecordingAnnouncer announcer;
    PlatformFeatures features = PlatformFeatures::current();
    std::shared_ptr<ScriptedSpotify> spotify = std::make_shared<ScriptedSpotify>(clock);
    AppRoot root{AppRoot::Outside{clock, defaults, widgets, workspace, login, announcer, spotify,
        [this] { return SharedStore(home.path("group"), home.path("support")); }, [] { return false; },
        nullptr, false, [] {}}};
    QmlHarness harness;
    std::unique_ptr<QmlHarness::View> view;

    void SetUp() override
    {
        workspace.spotifyPid = 4242;
        root.preferences().completeSetup();
        harness.provide(root.preferences());
        harness.provide(root.coordinator());
        harness.provide(root.dashboardState());
        harness.provide(root.displays());
    }
    void TearDown() override
    {
        view.reset();
        root.coordinator().flush();
        clock.runUntilIdle();
        PlatformFeatures::setCurrent(features);
        EXPECT_EQ(harness.warnings(), QStringList());
    }

    void show(int width = 960, int height = 750)
    {
        view = harness.view(
            QmlSource(QUrl("qrc:/Orvel/Dashboard/DashboardView.qml")), {}, QSize(width, height));
        ASSERT_TRUE(view) << harness.errors().toStdString();
    }
    void publish(PlayerAvailability availability, bool shuffle = true,
        PlaybackCapabilities capabilities = {true, false, false})
    {
        PlaybackSnapshot snapshot = PlaybackCoordinator::placeholder(availability);
        if (availability == PlayerAvailability::ready)
            snapshot = PlaybackSnapshot(PlayerAvailability::ready,
                Track("spotify:track:1", "Holocene", "Bon Iver", "Bon Iver", 337, std::nullopt, std::nullopt),
                true, 64, 60, shuffle, false, capabilities, Date::now(), std::nullopt, std::nullopt,
                std::nullopt);
        spotify->state = snapshot;
        root.coordinator().publish(snapshot, true);
    }
    void escape()
    {
        view->window()->requestActivate();
        EXPECT_TRUE(QTest::qWaitForWindowActive(view->window()));
        QTest::keyClick(view->window(), Qt::Key_Escape);
    }
    // A saved shortcut's id.
    QUuid addShortcut(
        const QString &title, const QString &link = QStringLiteral("spotify:track:4uLU6hMCjMI75M1A2tKUQC"))
    {
        EXPECT_TRUE(root.coordinator().upsertShortcut(std::nullopt, title, link));
        return root.coordinator().shortcuts().constLast().id;
    }
    // Each id in its slot, the others empty.
    void setSkills(const QList<std::optional<QUuid>> &ids) { root.preferences().setSkills(SkillBar(ids)); }
    // A file where the group's folder should be: every later write there fails.
    void breakTheStore()
    {
        QDir(home.path("group")).removeRecursively();
        QFile blocker(home.path("group"));
        ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    }
    QQuickItem *item(const QString &name) const { return named(view->item(), name); }
    QQuickItem *page() const { return item("page"); }
    QStringList visibleTexts(QQuickItem *under) const
    {
        QStringList texts;
        for (QQuickItem *child : descendants(under))
            if (isType(child, "QQuickText") && shown(child))
                texts << child->property("text").toString();
        return texts;
    }
    // The page's own rules, not those inside the settings views it embeds.
    int visibleRules(QQuickItem *under) const
    {
        const auto embedded = [under](QQuickItem *item) {
            for (QQuickItem *parent = item->parentItem(); parent && parent != under;
                 parent = parent->parentItem())
                if (QString::fromLatin1(parent->metaObject()->className())
                        .contains(QLatin1String("SettingsView")))
                    return true;
            return false;
        };
        int count = 0;
        for (QQuickItem *child : descendants(under))
            if (isType(child, "SectionRule") && shown(child) && !embedded(child))
                ++count;
        return count;
    }
    QList<QQuickItem *> rows() const
    {
        QList<QQuickItem *> result;
        for (QQuickItem *child : descendants(view->item()))
            if (isType(child, "SectionRow"))
                result << child;
        return result;
    }
};
} // namespace DashboardFixture
