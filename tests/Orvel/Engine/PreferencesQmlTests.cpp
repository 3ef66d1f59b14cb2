#include "Defaults.h"
#include "FakeLoginItem.h"
#include "ManualScheduler.h"
#include "Preferences.h"
#include "QmlModules.h"
#include "QtPrinters.h"
#include "RecordingWidgetCenter.h"
#include "TemporaryHome.h"
#include "Uuid.h"

#include <QQmlComponent>
#include <QQmlEngine>
#include <gtest/gtest.h>

namespace {
const QString idA = QStringLiteral("8F14E45F-CEEA-467F-A0F1-7B2C3D4E5F60");
const QString idB = QStringLiteral("0A1B2C3D-4E5F-4071-8293-A4B5C6D7E8F9");

// Counts the warnings of refused writes while it lives.
class RefusalCount {
public:
    RefusalCount()
    {
        count() = 0;
        m_previous
            = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &text) {
                  if (type == QtWarningMsg && text.contains(QLatin1String("Preferences: refused")))
                      ++count();
              });
    }
    ~RefusalCount() { qInstallMessageHandler(m_previous); }
    static int &count()
    {
        static int refusals = 0;
        return refusals;
    }

private:
    QtMessageHandler m_previous;
};

// One set of preferences with its own defaults file and App Group folder.
struct Side {
    Side(const TemporaryHome &home, const QString &name)
        : defaultsPath(home.path(name + "/defaults.json"))
        , defaults(defaultsPath, scheduler)
        , store(home.path(name + "/group"), home.path(name + "/support"))
        , preferences(Preferences::Services{
              &defaults, [this] { return store; }, &scheduler, &login, &widgets, [] { return false; }})
    {
    }
    QByteArray stored(const QString &key)
    {
        defaults.flush();
        return Defaults(defaultsPath).value<QByteArray>(key).value_or("<none>");
    }

    QString defaultsPath;
    ManualScheduler scheduler;
    // Saved as the app saves them, a moment after a change.
    Defaults defaults;
    SharedStore store;
    RecordingWidgetCenter widgets;
    FakeLoginItem login;
    Preferences preferences;
};

class PreferencesQmlTest : public ::testing::Test {
protected:
    TemporaryHome home;
    // Written to from QML; `reference` gets the same values through the C++ setters.
    Side viewSide{home, "views"};
    Side reference{home, "reference"};
    QQmlEngine engine;

    void SetUp() override
    {
        registerOrvelModules(engine);
        QmlOwners::provide(engine, viewSide.preferences);
    }

    // Runs the statements in a view that imports the app's module.
    std::unique_ptr<QObject> run(const QString &statements, const QString &members = {})
    {
        QQmlComponent component(&engine);
        component.setData(
            QStringLiteral("import QtQml\nimport Orvel\nQtObject {\n%1\nComponent.onCompleted: { %2 }\n}")
                .arg(members, statements)
                .toUtf8(),
            QUrl(QStringLiteral("qrc:/test/PreferencesView.qml")));
        std::unique_ptr<QObject> view(component.create());
        EXPECT_TRUE(view) << component.errorString().toStdString();
        return view;
    }
};
} // namespace

TEST_F(PreferencesQmlTest, AVisualizerWrittenFromQmlIsStoredAsTheSetterStoresIt)
{
    run("Preferences.visualizer = {enabled: false, style: 'wave', palette: 'custom', customHex: 'FF0088',"
        " intensity: 0.5, speed: 1, glow: false};"
        "Preferences.setVisualizerField('style', 'orbit')");
    VisualizerSettings expected;
    expected.enabled = false;
    expected.style = VisualizerStyle::orbit;
    expected.palette = VisualizerPalette::custom;
    expected.customHex = "FF0088";
    expected.intensity = 0.5;
    expected.speed = 1;
    expected.glow = false;
    reference.preferences.setVisualizer(expected);

    EXPECT_EQ(viewSide.preferences.visualizer(), expected);
    EXPECT_EQ(viewSide.stored("visualizer"), reference.stored("visualizer"));
    EXPECT_EQ(readFile(viewSide.store.directory + "/visualizer.json"),
        readFile(reference.store.directory + "/visualizer.json"));
    // Two writes, one debounced reload.
    viewSide.scheduler.advance(0.6);
    EXPECT_EQ(viewSide.widgets.reloads, QStringList{""});

    const auto view = run({}, "property var style: Preferences.visualizer.style");
    EXPECT_EQ(view->property("style"), "orbit");
}

TEST_F(PreferencesQmlTest, SkillsWrittenFromQmlAreStoredAsTheSetterStoresThem)
{
    const auto view = run(QStringLiteral("Preferences.skills = [null, '%1', null, null, '%2', null];"
                                         "Preferences.swapSkills(1, 5); Preferences.assignSkill(0, '%2');")
                              .arg(idA, idB.toLower()),
        "property var skills: Preferences.skills");
    const SkillBar expected({QUuid::fromString(idB), std::nullopt, std::nullopt, std::nullopt, std::nullopt,
        QUuid::fromString(idA)});
    reference.preferences.setSkills(expected);

    EXPECT_EQ(viewSide.preferences.skills(), expected);
    EXPECT_EQ(viewSide.stored("skillBar"), reference.stored("skillBar"));
    // Read back upper-case, empty ids as null.
    const QVariantList ids = view->property("skills").toList();
    ASSERT_EQ(ids.size(), 6);
    EXPECT_EQ(ids[0], idB);
    EXPECT_TRUE(ids[1].isNull());
    EXPECT_EQ(ids[5], idA);
}

TEST_F(PreferencesQmlTest, RefusedWritesWarnAndChangeNothing)
{
    RefusalCount refusals;
    int changes = 0;
    QObject::connect(&viewSide.preferences, &Preferences::changed, [&changes] { ++changes; });
    const QStringList refused{
        "Preferences.visualizer = {enabled: true}",
        "Preferences.visualizer = Object.assign({}, Preferences.visualizer, {style: 'spiral'})",
        "Preferences.visualizer = Object.assign({}, Preferences.visualizer, {sparkle: true})",
        "Preferences.setVisualizerField('glow', 'yes')",
        "Preferences.setVisualizerField('speed', Infinity)",
        "Preferences.setVisualizerField('colour', 'FF0000')",
        "Preferences.skills = [null, null, null, null, null]",
        QStringLiteral("Preferences.skills = [null, null, null, null, null, '{%1}']").arg(idA),
        "Preferences.skills = [null, null, null, null, null, 7]",
        QStringLiteral("Preferences.assignSkill(6, '%1')").arg(idA),
        "Preferences.swapSkills(0, -1)",
        "Preferences.animations = ['panels', 'sparkles']",
        "Preferences.setAnimationEnabled('sparkles', false)",
        "Preferences.applyAnimationPreset('most')",
        "Preferences.skin = 'Rivista'",
        "Preferences.selectedDisplayID = 5",
    };
    for (const QString &statement : refused)
        run(statement);

    EXPECT_EQ(RefusalCount::count(), refused.size());
    EXPECT_EQ(changes, 0);
    EXPECT_FALSE(QFileInfo::exists(viewSide.defaultsPath));
    EXPECT_FALSE(QFileInfo::exists(viewSide.store.directory));
    EXPECT_EQ(viewSide.preferences.visualizer(), VisualizerSettings());
    EXPECT_EQ(viewSide.preferences.skills(), SkillBar());
}

TEST_F(PreferencesQmlTest, ViewsFollowTheAnimationsAndTheMotionPolicy)
{
    const auto view = run("Preferences.setAnimationEnabled('panels', false)",
        "property var off: Preferences.animations\n"
        "property string panels: Preferences.motionPolicy.panels\n"
        "property string swell: Preferences.motionPolicy.trackSwell");
    EXPECT_EQ(view->property("off").toStringList(), QStringList{"panels"});
    EXPECT_EQ(view->property("panels"), "still");
    EXPECT_EQ(view->property("swell"), "full");
    reference.preferences.setAnimations(viewSide.preferences.animations());
    EXPECT_EQ(viewSide.stored("animations"), reference.stored("animations"));

    viewSide.preferences.setEffects(EffectsMode::light); // the binding hears of it
    EXPECT_EQ(view->property("swell"), "still");
    run("Preferences.applyAnimationPreset('none')");
    EXPECT_EQ(viewSide.preferences.animations(), settings(AnimationPreset::none));
}

TEST_F(PreferencesQmlTest, ViewsReadAndResetThePlayerPositions)
{
    viewSide.preferences.setPlayerPosition(PlayerPosition(0.25, 0.5), "D1");
    const auto view = run({},
        "property real centerX: Preferences.playerPositions.D1?.centerX ?? -1\n"
        "property int count: Object.keys(Preferences.playerPositions).length");
    EXPECT_EQ(view->property("centerX"), 0.25);
    run("Preferences.resetPlayerPositions()");
    EXPECT_EQ(view->property("count"), 0);
    EXPECT_EQ(viewSide.stored("playerPositions"), "{}");
}
