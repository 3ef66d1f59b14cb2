#include "AppRootFakes.h"
#include "DashboardState.h"
#include "PlatformFeatures.h"
#include "PlaybackCoordinator.h"
#include "Preferences.h"
#include "QmlHarness.h"
#include "ScriptedSpotify.h"
#include "SharedStore.h"
#include "WidgetGuideStyle.h"

#include <QAccessible>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

// The setup's views over the app's own owners built from fakes.
namespace {
QList<QQuickItem *> descendants(QQuickItem *root)
{
    QList<QQuickItem *> result;
    for (QQuickItem *child : root->childItems())
        result << child << descendants(child);
    return result;
}

QQuickItem *named(QQuickItem *root, const QString &name)
{
    for (QQuickItem *item : descendants(root))
        if (item->objectName() == name)
            return item;
    return nullptr;
}

bool shown(QQuickItem *item)
{
    for (; item; item = item->parentItem())
        if (!item->isVisible())
            return false;
    return true;
}

QStringList visibleTexts(QQuickItem *under)
{
    QStringList texts;
    for (QQuickItem *child : descendants(under))
        if (child->inherits("QQuickText") && shown(child))
            texts << child->property("text").toString();
    return texts;
}

class SetupViews : public ::testing::Test, protected AppRootFakes {
protected:
    PlatformFeatures features = PlatformFeatures::current();
    std::shared_ptr<ScriptedSpotify> spotify = std::make_shared<ScriptedSpotify>(clock);
    AppRoot root{outside(spotify)};
    QmlHarness harness;
    std::unique_ptr<QmlHarness::View> view;

    void SetUp() override
    {
        workspace.spotifyPid = 4242;
        harness.provide(root.preferences());
        harness.provide(root.coordinator());
        harness.provide(root.dashboardState());
    }
    void TearDown() override
    {
        view.reset();
        root.coordinator().flush();
        clock.runUntilIdle();
        PlatformFeatures::setCurrent(features);
        EXPECT_EQ(harness.warnings(), QStringList());
    }

    void show(const QmlSource &source, QSize size = {})
    {
        view = harness.view(source, {}, size);
        ASSERT_TRUE(view) << harness.errors().toStdString();
    }
    void showDashboard(int width = 960, int height = 750)
    {
        show(QmlSource(QUrl("qrc:/Orvel/Dashboard/DashboardView.qml")), QSize(width, height));
    }
    QQuickItem *item(const QString &name) const { return named(view->item(), name); }
    QObject *flow() const
    {
        QQuickItem *loader = item("OnboardingView");
        QObject *guide = loader ? qvariant_cast<QObject *>(loader->property("item")) : nullptr;
        return guide ? qvariant_cast<QObject *>(guide->property("flow")) : nullptr;
    }
    void publish(PlayerAvailability availability)
    {
        const PlaybackSnapshot snapshot = PlaybackCoordinator::placeholder(availability);
        spotify->state = snapshot;
        root.coordinator().publish(snapshot, true);
    }
    void pressReturn()
    {
        view->window()->requestActivate();
        ASSERT_TRUE(QTest::qWaitForWindowActive(view->window()));
        QTest::keyClick(view->window(), Qt::Key_Return);
    }
    void click(const QString &name) { QMetaObject::invokeMethod(item(name), "clicked"); }
};
} // namespace

TEST_F(SetupViews, ACardClickFlipsOnlyItsSwitchAndBothCanReadOff)
{
    show("import QtQuick\nimport Orvel\nRow {\n"
         "  SurfaceChoiceCard { objectName: 'notch'; width: 300; kind: 'notch'; isOn: "
         "Preferences.notchEnabled;"
         "    onToggled: on => Preferences.notchEnabled = on }\n"
         "  SurfaceChoiceCard { objectName: 'sidebar'; width: 300; compact: true; kind: 'sidebar';"
         "    isOn: Preferences.sidebarEnabled; onToggled: on => Preferences.sidebarEnabled = on }\n}");
    Preferences &preferences = root.preferences();
    QQuickItem *notch = item("notch"), *sidebar = item("sidebar");
    EXPECT_EQ(notch->property("accessibleValue").toString(), "Enabled");
    EXPECT_EQ(notch->property("text").toString(), "Top player");
    EXPECT_EQ(notch->property("accessibleHint").toString(), "Click to enable or disable this panel.");

    QMetaObject::invokeMethod(notch, "clicked");
    EXPECT_FALSE(preferences.notchEnabled());
    EXPECT_TRUE(preferences.sidebarEnabled());
    EXPECT_EQ(notch->property("accessibleValue").toString(), "Disabled");
    EXPECT_TRUE(visibleTexts(notch).contains("Off"));
    EXPECT_FALSE(named(notch, "illustration")->property("isOn").toBool());

    QMetaObject::invokeMethod(sidebar, "clicked");
    EXPECT_FALSE(preferences.sidebarEnabled());
    EXPECT_TRUE(visibleTexts(sidebar).contains("Off"));
    EXPECT_TRUE(visibleTexts(notch).contains("Off"));

    QMetaObject::invokeMethod(notch, "clicked");
    EXPECT_TRUE(preferences.notchEnabled());
    EXPECT_EQ(notch->property("accessibleValue").toString(), "Enabled");
}

TEST_F(SetupViews, CompactCardsDrawTheReducedPictureAndFullOnesTheRichOne)
{
    show("import QtQuick\nimport Orvel\nRow {\n"
         "  SurfaceChoiceCard { objectName: 'full'; width: 300; kind: 'sidebar' }\n"
         "  SurfaceChoiceCard { objectName: 'compact'; width: 300; kind: 'sidebar'; compact: true }\n}");
    QQuickItem *full = named(item("full"), "illustration"), *compact = named(item("compact"), "illustration");
    EXPECT_EQ(full->height(), 132);
    EXPECT_TRUE(full->property("rich").toBool());
    EXPECT_EQ(compact->height(), 74);
    EXPECT_FALSE(compact->property("rich").toBool());
    // A one-line caption still reserves its minimum height.
    EXPECT_GE(named(item("compact"), "caption")->height(), 28);
    EXPECT_GE(named(item("full"), "caption")->height(), 32);
}

TEST_F(SetupViews, ThePickerAssignsItsModeEvenWhenItIsSelected)
{
    show("import QtQuick\nimport Orvel\nEffectsModePicker { width: 600 }");
    Preferences &preferences = root.preferences();
    preferences.setProperty("effects", "light");
    QSignalSpy assigned(&preferences, &Preferences::effectsChanged);
    click("lightCard");
    EXPECT_EQ(assigned.count(), 1);
    EXPECT_TRUE(preferences.lightEffects());
    EXPECT_TRUE(item("lightCard")->property("selected").toBool());
    click("standardCard");
    EXPECT_FALSE(preferences.lightEffects());
    EXPECT_TRUE(item("standardCard")->property("selected").toBool());
    EXPECT_EQ(item("standardCard")->height(), item("lightCard")->height());
}

TEST_F(SetupViews, TheGuideShowsThePreviewStepsAndNoteOnlyWithWidgetsAndBothButtonsDismiss)
{
    PlatformFeatures::setCurrent(PlatformFeatures::macOS(14));
    show("import QtQuick\nimport Orvel\nWidgetGuideView { property int dismissals: 0; onDismiss: "
         "dismissals++ }");
    EXPECT_EQ(view->item()->width(), 650);
    EXPECT_TRUE(shown(item("widgetPreview")));
    EXPECT_TRUE(shown(item("widgetNote")));
    EXPECT_FALSE(shown(item("unsupportedParagraph")));
    const QStringList texts = visibleTexts(view->item());
    EXPECT_TRUE(texts.contains("Make room on your desktop."));
    for (const char *number : {"1", "2", "3"})
        EXPECT_TRUE(texts.contains(number));
    EXPECT_EQ(named(item("widgetPreview"), "progressFill")->width(), 40);
    click("closeButton");
    click("gotItButton");
    EXPECT_EQ(view->item()->property("dismissals").toInt(), 2);

    PlatformFeatures::setCurrent(PlatformFeatures::macOS(13));
    show("import QtQuick\nimport Orvel\nWidgetGuideView {}");
    EXPECT_FALSE(shown(item("widgetPreview")));
    EXPECT_FALSE(shown(item("widgetNote")));
    EXPECT_TRUE(shown(item("unsupportedParagraph")));
    EXPECT_TRUE(visibleTexts(view->item()).contains("Widgets need Orvel Widgets"));
    EXPECT_FALSE(visibleTexts(view->item()).contains("1"));
    EXPECT_TRUE(shown(item("gotItButton")));
}

TEST(WidgetGuideStyle, RivistaAndClassicoDrawTheMockApart)
{
    EXPECT_EQ(WidgetGuideStyle::look(Skin::rivista), (WidgetGuideStyle::Look{2, 1, true, true}));
    EXPECT_EQ(WidgetGuideStyle::look(Skin::classico), (WidgetGuideStyle::Look{4, 3, false, false}));
    EXPECT_EQ(WidgetGuideStyle::titleFont(Skin::classico).weight(), QFont::DemiBold);
    EXPECT_EQ(WidgetGuideStyle::placeholderKeys().size(), 4);
}

TEST_F(SetupViews, TheDashboardShowsAFreshGuideWhileSetupIsNeededAndStartListeningEndsIt)
{
    publish(PlayerAvailability::ready);
    root.preferences().restartSetup();
    showDashboard();
    ASSERT_TRUE(shown(item("OnboardingView")));
    EXPECT_FALSE(shown(item("workspace")));
    pressReturn();
    EXPECT_EQ(flow()->property("step").toInt(), 1);
    // Connected already: Continue, then Start listening.
    EXPECT_EQ(item("primaryButton")->property("title").toString(), "Continue");
    click("primaryButton");
    EXPECT_EQ(item("primaryButton")->property("title").toString(), "Start listening");
    click("primaryButton");
    EXPECT_FALSE(root.preferences().needsSetup());
    EXPECT_TRUE(shown(item("workspace")));
    EXPECT_FALSE(shown(item("OnboardingView")));

    root.preferences().restartSetup();
    ASSERT_TRUE(shown(item("OnboardingView")));
    EXPECT_EQ(flow()->property("step").toInt(), 0);
    EXPECT_EQ(flow()->property("indicatorLabel").toString(), "Setup step 1 / 3");
}

TEST_F(SetupViews, OnTheSpotifyStepReturnStartsNothingAndMissingSpotifyStillOffersConnect)
{
    workspace.spotifyInstalled = false;
    publish(PlayerAvailability::notInstalled);
    root.preferences().restartSetup();
    showDashboard();
    click("primaryButton");
    ASSERT_EQ(flow()->property("step").toInt(), 1);
    pressReturn();
    clock.runUntilIdle();
    EXPECT_EQ(flow()->property("step").toInt(), 1);
    EXPECT_FALSE(flow()->property("connecting").toBool());
    EXPECT_TRUE(workspace.openedSpotify.empty());

    EXPECT_EQ(item("installedSymbol")->property("name").toString(), "arrow.down.circle");
    EXPECT_FALSE(shown(item("permissionHelp")));
    EXPECT_FALSE(shown(item("automationLink")));
    EXPECT_EQ(item("primaryButton")->property("title").toString(), "Connect Spotify");
    EXPECT_TRUE(shown(item("setUpLaterButton")));
    EXPECT_TRUE(shown(item("backButton")));

    workspace.spotifyInstalled = true;
    publish(PlayerAvailability::permissionDenied);
    EXPECT_EQ(item("installedSymbol")->property("name").toString(), "checkmark.circle");
    EXPECT_TRUE(shown(item("permissionHelp")));
    EXPECT_TRUE(shown(item("automationLink")));
}

TEST_F(SetupViews, TheSurfacesStepFollowsTheSwitchesAtOnce)
{
    PlatformFeatures::setCurrent(PlatformFeatures::macOS(14));
    root.preferences().restartSetup();
    showDashboard();
    EXPECT_TRUE(shown(item("movingPlayer")));
    root.preferences().setProperty("dragEnabled", false);
    EXPECT_FALSE(shown(item("movingPlayer")));
    root.preferences().setProperty("notchEnabled", false);
    root.preferences().setProperty("sidebarEnabled", false);
    EXPECT_EQ(item("surfacesHint")->property("text").toString(),
        "Just widgets. You can enable the floating panels later in Preferences.");
    EXPECT_EQ(item("notchCard")->property("accessibleValue").toString(), "Disabled");
}

TEST_F(SetupViews, UnderLightEffectsAStepChangeShowsTheNewPageAtOnceAndAtItsTop)
{
    root.preferences().setEffects(EffectsMode::light);
    root.preferences().restartSetup();
    showDashboard(960, 400);
    QQuickItem *area = item("pageArea");
    area->setProperty("contentY", 200);
    click("primaryButton");
    EXPECT_FALSE(flow()->property("motionAllowed").toBool());
    EXPECT_EQ(flow()->property("step").toInt(), 1);
    EXPECT_EQ(area->property("contentY").toDouble(), 0);
    EXPECT_EQ(item("page")->opacity(), 1);
}

TEST_F(SetupViews, ACardReportsItsStateAsCheckedApartFromItsHint)
{
    show("import QtQuick\nimport Orvel\n"
         "SurfaceChoiceCard { objectName: 'notch'; width: 300; kind: 'notch'; isOn: Preferences.notchEnabled;"
         "  onToggled: on => Preferences.notchEnabled = on }");
    QQuickItem *notch = view->item();
    QAccessibleInterface *access = QAccessible::queryAccessibleInterface(notch);
    ASSERT_TRUE(access);
    EXPECT_EQ(access->role(), QAccessible::Button);
    EXPECT_EQ(access->text(QAccessible::Name), "Top player");
    EXPECT_EQ(access->text(QAccessible::Description), "Click to enable or disable this panel.");
    EXPECT_TRUE(access->state().checkable);
    EXPECT_TRUE(access->state().checked);
    QMetaObject::invokeMethod(notch, "clicked");
    EXPECT_FALSE(access->state().checked);
    QMetaObject::invokeMethod(notch, "clicked");
    EXPECT_TRUE(access->state().checked);
}
