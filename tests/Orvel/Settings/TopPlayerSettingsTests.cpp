#include "Defaults.h"
#include "FakeLoginItem.h"
#include "ManualScheduler.h"
#include "Preferences.h"
#include "QmlHarness.h"
#include "QtPrinters.h"
#include "RecordingWidgetCenter.h"
#include "TemporaryHome.h"
#include "TopPlayerSettingsModel.h"

#include <QQuickItem>
#include <QSignalSpy>
#include <QTranslator>
#include <gtest/gtest.h>
#include <limits>

namespace {
QQuickItem *findNamed(QQuickItem *root, const QString &name)
{
    for (QQuickItem *child : root->childItems()) {
        if (child->objectName() == name)
            return child;
        if (QQuickItem *found = findNamed(child, name))
            return found;
    }
    return nullptr;
}

bool shown(QQuickItem *item)
{
    for (; item; item = item->parentItem())
        if (!item->isVisible())
            return false;
    return true;
}
} // namespace

TEST(TopPlayerSettingsTexts, OpacityIsTruncatedAndANonNumberShowsTheDefault)
{
    TopPlayerSettingsModel model;
    const std::pair<double, const char *> cases[] = {{0.299, "29%"}, {0.15, "15%"}, {0.8, "80%"},
        {std::numeric_limits<double>::quiet_NaN(), "30%"}, {1e20, "2147483647%"}};
    for (const auto &[opacity, text] : cases) {
        model.setIdleOpacity(opacity);
        EXPECT_EQ(model.opacityText(), text) << opacity;
    }
}

TEST(TopPlayerSettingsTexts, OpacityIsALocalisableTextWithItsNumber)
{
    // A language that puts a space before the sign.
    struct Spaced : QTranslator {
        QString translate(const char *context, const char *source, const char *, int) const override
        {
            return QByteArray(context) == "Localizable" && QByteArray(source) == "%lld%" ? "%lld\u00a0%"
                                                                                         : QString();
        }
    } spaced;
    QCoreApplication::installTranslator(&spaced);
    TopPlayerSettingsModel model;
    model.setIdleOpacity(0.299);
    EXPECT_EQ(model.opacityText(), "29\u00a0%");
    QCoreApplication::removeTranslator(&spaced);
    EXPECT_EQ(model.opacityText(), "29%");
}

class TopPlayerPage : public ::testing::Test {
protected:
    TemporaryHome home;
    ManualScheduler clock;
    ScopedScheduler installed{clock};
    Defaults defaults{home.path("config/defaults.json")};
    RecordingWidgetCenter widgets;
    FakeLoginItem login;
    SharedStore store{home.path("group"), home.path("support")};
    Preferences preferences{Preferences::Services{
        &defaults, [this] { return store; }, &clock, &login, &widgets, [] { return false; }}};
    QmlHarness harness;
    std::unique_ptr<QmlHarness::View> view;

    void SetUp() override { harness.provide(preferences); }
    void TearDown() override
    {
        view.reset();
        EXPECT_EQ(harness.warnings(), QStringList());
    }
    void show()
    {
        view = harness.view(
            QmlSource(QUrl("qrc:/Orvel/Settings/TopPlayerSettingsView.qml")), {}, QSize(520, 600));
        ASSERT_TRUE(view) << harness.errors().toStdString();
    }
    QQuickItem *item(const QString &name) const { return findNamed(view->item(), name); }
};

TEST_F(TopPlayerPage, TheOpacityRowFollowsTranslucencyAndKeepsTheStoredOpacity)
{
    preferences.setIdleOpacity(0.299);
    QSignalSpy writes(&preferences, &Preferences::changed);
    show();
    EXPECT_EQ(writes.count(), 0);
    EXPECT_TRUE(shown(item("opacityRow")));
    EXPECT_EQ(findNamed(item("opacityRow"), "valueText")->property("text"), "29%");

    QMetaObject::invokeMethod(item("translucencySwitch"), "toggled", Q_ARG(bool, false));
    EXPECT_FALSE(preferences.compactTranslucency());
    EXPECT_FALSE(shown(item("opacityRow")));
    EXPECT_EQ(preferences.idleOpacity(), 0.299);
}

TEST_F(TopPlayerPage, TheResetIsEnabledOnlyWhileAPositionIsStored)
{
    show();
    QQuickItem *reset = item("resetPositions");
    EXPECT_FALSE(reset->isEnabled());

    preferences.setPlayerPosition(PlayerPosition{200, 900}, QStringLiteral("display-1"));
    EXPECT_TRUE(reset->isEnabled());
    // Dragging being switched off leaves the positions alone.
    QMetaObject::invokeMethod(item("dragSwitch"), "toggled", Q_ARG(bool, false));
    EXPECT_FALSE(preferences.dragEnabled());
    EXPECT_TRUE(reset->isEnabled());

    QMetaObject::invokeMethod(reset, "clicked");
    EXPECT_TRUE(preferences.playerPositions().isEmpty());
    EXPECT_FALSE(reset->isEnabled());
}
