#include "Defaults.h"
#include "FakeLoginItem.h"
#include "ManualScheduler.h"
#include "Preferences.h"
#include "QtPrinters.h"
#include "RecordingWidgetCenter.h"
#include "TemporaryHome.h"

#include <QCoreApplication>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTranslator>
#include <gtest/gtest.h>
#include <limits>

namespace {
using Value = Defaults::Value;

const QStringList plainGroup{"compactTranslucency", "displayScope", "dragEnabled", "effectsMode",
    "idleOpacity", "notchEnabled", "onboardingComplete", "playerPositions", "setupVersion",
    "showInFullScreen", "sidebarEnabled", "skillPlacement"}; // and "selectedDisplayID" when one is chosen

class PreferencesTest : public ::testing::Test {
protected:
    TemporaryHome home;
    ManualScheduler scheduler;
    RecordingWidgetCenter widgets;
    FakeLoginItem login;
    SharedStore store{home.path("group"), home.path("support")};
    bool reduceMotion = false;
    std::optional<Defaults> defaults;

    // Saved as the app saves them: a moment after a change, on the saving thread.
    void SetUp() override { defaults.emplace(defaultsPath(), scheduler); }
    QString defaultsPath() const { return home.path("config/defaults.json"); }

    // Stores raw values as an earlier run (or a hand edit) left them.
    void storeRaw(const std::vector<Defaults::Change> &changes)
    {
        defaults->apply(changes);
        defaults.emplace(defaultsPath(), scheduler);
    }
    std::unique_ptr<Preferences> make()
    {
        return std::make_unique<Preferences>(Preferences::Services{&*defaults, [this] { return store; },
            &scheduler, &login, &widgets, [this] { return reduceMotion; }});
    }
    // The file as it stands once what is pending is written.
    Defaults reread()
    {
        defaults->flush();
        return Defaults(defaultsPath());
    }
    QString shared(const QString &name) const { return store.directory + "/" + name; }
    void blockSharedFolder()
    {
        QDir().mkpath(home.path("group"));
        QFile blocker(store.directory);
        ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    }
};

// A language's string table with a few entries.
class Translations : public QTranslator {
public:
    QHash<QString, QString> entries;
    bool isEmpty() const override { return false; }
    QString translate(const char *context, const char *source, const char *, int) const override
    {
        return QByteArray(context) == "Localizable" ? entries.value(QString::fromUtf8(source)) : QString();
    }
};

QByteArray storedData(const Defaults &defaults, const QString &key)
{
    return defaults.value<QByteArray>(key).value_or("<none>");
}
} // namespace

TEST_F(PreferencesTest, AFreshInstallationReadsTheDefaultsAndWritesNothing)
{
    const auto p = make();
    EXPECT_TRUE(p->notchEnabled() && p->sidebarEnabled() && p->dragEnabled() && p->compactTranslucency());
    EXPECT_FALSE(p->showInFullScreen() || p->onboardingComplete() || p->loginEnabled());
    EXPECT_EQ(p->setupVersion(), 0);
    EXPECT_TRUE(p->needsSetup());
    EXPECT_EQ(p->displayScope(), DisplayScope::all);
    EXPECT_EQ(p->selectedDisplayID(), std::nullopt);
    EXPECT_EQ(p->visualizer(), VisualizerSettings());
    EXPECT_EQ(p->effects(), EffectsMode::standard);
    EXPECT_EQ(p->animations(), AnimationSettings());
    EXPECT_EQ(p->skillPlacement(), SkillPlacement::row);
    EXPECT_EQ(p->skills(), SkillBar());
    EXPECT_EQ(p->skin(), Skin::classico);
    EXPECT_EQ(p->idleOpacity(), 0.3);
    EXPECT_TRUE(p->playerPositions().isEmpty());
    EXPECT_FALSE(p->loginError() || p->appearanceError());
    scheduler.advance(5);
    EXPECT_FALSE(QFileInfo::exists(defaultsPath()));
    EXPECT_FALSE(QFileInfo::exists(store.directory));
    EXPECT_TRUE(widgets.reloads.isEmpty());
}

TEST_F(PreferencesTest, ChangingOnePlainSettingWritesTheWholeGroup)
{
    const auto preferences = make();
    preferences->setDragEnabled(false);
    Defaults written = reread();
    EXPECT_EQ(written.keys(), plainGroup);
    EXPECT_EQ(written.value<bool>("dragEnabled"), false);
    EXPECT_EQ(written.value<bool>("notchEnabled"), true);
    EXPECT_EQ(written.value<qint64>("setupVersion"), 0);
    EXPECT_EQ(written.value<double>("idleOpacity"), 0.3);
    EXPECT_EQ(written.value<QString>("displayScope"), "all");
    EXPECT_EQ(written.value<QString>("effectsMode"), "standard");
    EXPECT_EQ(written.value<QString>("skillPlacement"), "row");
    EXPECT_EQ(storedData(written, "playerPositions"), "{}");

    preferences->setSelectedDisplayID("display-2");
    EXPECT_EQ(reread().value<QString>("selectedDisplayID"), "display-2");
    preferences->setSelectedDisplayID(std::nullopt);
    EXPECT_FALSE(reread().contains("selectedDisplayID"));
    defaults.emplace(defaultsPath(), scheduler);
    EXPECT_EQ(make()->selectedDisplayID(), std::nullopt);

    // A value set at run time is stored as it is; only reading clamps it.
    preferences->setIdleOpacity(0.95);
    EXPECT_EQ(reread().value<double>("idleOpacity"), 0.95);
    defaults.emplace(defaultsPath(), scheduler);
    EXPECT_EQ(make()->idleOpacity(), 0.8);
}

TEST_F(PreferencesTest, StoredValuesOfTheWrongKindOrUnknownCasesReadAsTheDefault)
{
    // Checked through the properties the views read.
    const std::vector<std::tuple<QString, const char *, Value, QVariant>> cases{
        {"idleOpacity", "idleOpacity", 2.0, 0.8},
        {"idleOpacity", "idleOpacity", 0.05, 0.15},
        {"idleOpacity", "idleOpacity", QString("0.5"), 0.3},
        {"idleOpacity", "idleOpacity", std::numeric_limits<double>::quiet_NaN(), 0.3},
        {"idleOpacity", "idleOpacity", qint64(0), 0.15},
        {"notchEnabled", "notchEnabled", QString("false"), true},
        {"notchEnabled", "notchEnabled", qint64(0), true},
        {"notchEnabled", "notchEnabled", false, false},
        {"showInFullScreen", "showInFullScreen", qint64(1), true},
        {"displayScope", "displayScope", QString("Primary"), "all"},
        {"displayScope", "displayScope", QString("selected"), "selected"},
        {"effectsMode", "effects", QString("LIGHT"), "standard"},
        {"effectsMode", "effects", QString("light"), "light"},
        {"skillPlacement", "skillPlacement", QString("column"), "row"},
        {"skillPlacement", "skillPlacement", QString("wings"), "wings"},
        {"skin", "skin", QString("classico "), "classico"},
        {"skin", "skin", QString("rivista"), "rivista"},
        {"setupVersion", "setupVersion", QString("2"), 0},
        {"setupVersion", "setupVersion", qint64(1) << 40, std::numeric_limits<int>::max()},
    };
    for (const auto &[key, property, stored, expected] : cases) {
        QFile::remove(defaultsPath());
        defaults.emplace(defaultsPath(), scheduler);
        storeRaw({{key, stored}});
        EXPECT_EQ(make()->property(property), expected)
            << key.toStdString() << " " << expected.toString().toStdString();
    }

    storeRaw({{"visualizer", QByteArray(R"({"enabled":false})")}, {"animations", QString(R"({"off":[]})")},
        {"playerPositions", QByteArray(R"({"A":{"centerX":0.2,"topY":0.1},"B":{"centerX":"left"}})")}});
    const auto undecodable = make();
    EXPECT_EQ(undecodable->visualizer(), VisualizerSettings());
    EXPECT_EQ(undecodable->animations(), AnimationSettings());
    EXPECT_TRUE(undecodable->playerPositions().isEmpty()); // one bad entry costs them all
    storeRaw({{"animations", QByteArray(R"({"off":["panels"]})")},
        {"playerPositions", QByteArray(R"({"A":{"centerX":0.2,"topY":0.1}})")}});
    const auto decoded = make();
    EXPECT_FALSE(decoded->animations()[AnimationFeature::panels]);
    EXPECT_EQ(decoded->playerPositions(), (QMap<QString, PlayerPosition>{{"A", PlayerPosition(0.2, 0.1)}}));
}

TEST_F(PreferencesTest, AStoredSkillBarOfThreeSlotsReadsAsSix)
{
    const QString id = "00000000-0000-0000-0000-000000000001";
    storeRaw(
        {{"skillBar", QJsonDocument(QJsonObject{{"slots", QJsonArray{id, QJsonValue(), id}}}).toJson()}});
    EXPECT_EQ(make()->skills(), SkillBar({QUuid::fromString(id)}));
}

TEST_F(PreferencesTest, TheVisualizerAnimationsSkillsAndSkinAreEachWrittenAlone)
{
    const auto preferences = make();
    SkillBar skills;
    skills.assign(QUuid::createUuid(), 2);
    preferences->setSkills(skills);
    preferences->applyAnimationPreset(AnimationPreset::none);
    VisualizerSettings visualizer;
    visualizer.style = VisualizerStyle::dots;
    preferences->setVisualizer(visualizer);
    preferences->setSkin(Skin::rivista);
    const Defaults written = reread();
    EXPECT_EQ(written.keys(), (QStringList{"animations", "skillBar", "skin", "visualizer"}));
    EXPECT_EQ(written.value<QString>("skin"), "rivista");
    EXPECT_EQ(json::decodeData<SkillBar>(storedData(written, "skillBar")), skills);
    EXPECT_EQ(json::decodeData<AnimationSettings>(storedData(written, "animations")),
        settings(AnimationPreset::none));
    EXPECT_EQ(json::decodeData<VisualizerSettings>(storedData(written, "visualizer")), visualizer);
    EXPECT_EQ(store.loadVisualizer(), visualizer);
    preferences->resetVisualizer();
    EXPECT_EQ(store.loadVisualizer(), VisualizerSettings());
}

TEST_F(PreferencesTest, AppearanceChangesInABurstGiveOneWidgetReloadAfterTheLast)
{
    const auto preferences = make();
    preferences->setSkin(Skin::rivista);
    EXPECT_EQ(readFile(shared("skin.txt")), "rivista");
    scheduler.advance(0.3);
    QFile::remove(shared("skin.txt"));
    preferences->setSkin(Skin::rivista);
    EXPECT_EQ(readFile(shared("skin.txt")), "rivista"); // written again
    scheduler.advance(0.59);
    EXPECT_TRUE(widgets.reloads.isEmpty());
    scheduler.advance(0.01);
    EXPECT_EQ(widgets.reloads, QStringList{""});
    scheduler.advance(5);
    EXPECT_EQ(widgets.reloads.size(), 1);

    // The visualizer shares the same debounce.
    preferences->setSkin(Skin::classico);
    scheduler.advance(0.5);
    preferences->resetVisualizer();
    scheduler.advance(0.599);
    EXPECT_EQ(widgets.reloads.size(), 1);
    scheduler.advance(0.001);
    EXPECT_EQ(widgets.reloads.size(), 2);
}

TEST_F(PreferencesTest, AFailedMirrorWriteIsReportedUntilTheNextSuccess)
{
    const auto preferences = make();
    blockSharedFolder();
    preferences->setSkin(Skin::rivista);
    EXPECT_EQ(preferences->appearanceError(), "Your changes could not be saved.");
    EXPECT_EQ(preferences->skin(), Skin::rivista);
    EXPECT_EQ(reread().value<QString>("skin"), "rivista");
    scheduler.advance(0.6);
    EXPECT_EQ(widgets.reloads.size(), 1); // reloaded all the same

    QFile::remove(store.directory);
    preferences->resetVisualizer(); // a success of the other setting clears it
    EXPECT_EQ(preferences->appearanceError(), std::nullopt);

    // A visualizer that cannot be encoded keeps the stored data and fails the mirror.
    const QByteArray before = storedData(reread(), "visualizer");
    VisualizerSettings broken;
    broken.speed = std::numeric_limits<double>::infinity();
    preferences->setVisualizer(broken);
    EXPECT_EQ(storedData(reread(), "visualizer"), before);
    EXPECT_EQ(preferences->appearanceError(), "Your changes could not be saved.");
    EXPECT_EQ(store.loadVisualizer(), VisualizerSettings());
}

// The message goes only once both copies hold what was asked: a copy left
// unchanged (and so not written) is no success for the one that failed.
TEST_F(PreferencesTest, TheSaveMessageStaysWhileAnyCopyIsUnsavedAndTheNextChangeWritesIt)
{
    const auto preferences = make();
    preferences->resetVisualizer();
    ASSERT_TRUE(QDir().mkpath(shared("skin.txt"))); // a folder where the skin belongs
    preferences->setSkin(Skin::rivista);
    EXPECT_EQ(preferences->appearanceError(), "Your changes could not be saved.");
    preferences->resetVisualizer(); // the same bytes: nothing to write
    EXPECT_EQ(preferences->appearanceError(), "Your changes could not be saved.");

    ASSERT_TRUE(QDir().rmdir(shared("skin.txt")));
    preferences->resetVisualizer();
    EXPECT_EQ(preferences->appearanceError(), std::nullopt);
    EXPECT_EQ(store.loadSkin(), Skin::rivista);
}

TEST_F(PreferencesTest, CompletingAndRestartingTheSetup)
{
    storeRaw({{"setupVersion", qint64(1)}, {"onboardingComplete", true}});
    const auto preferences = make();
    EXPECT_TRUE(preferences->needsSetup()); // completed under an older version
    int notifications = 0;
    QObject::connect(preferences.get(), &Preferences::changed, [&] { ++notifications; });
    preferences->completeSetup();
    EXPECT_EQ(notifications, 2);
    EXPECT_EQ(preferences->setupVersion(), 2);
    EXPECT_FALSE(preferences->needsSetup());
    preferences->restartSetup();
    EXPECT_TRUE(preferences->needsSetup());
    EXPECT_EQ(reread().value<qint64>("setupVersion"), 2);
    EXPECT_EQ(reread().value<bool>("onboardingComplete"), false);
}

TEST_F(PreferencesTest, PlayerPositionsAreStoredWithThePlainGroup)
{
    const auto preferences = make();
    preferences->setPlayerPosition(std::nullopt, "nowhere");
    EXPECT_TRUE(preferences->playerPositions().isEmpty());
    EXPECT_EQ(reread().keys(), plainGroup); // written all the same
    preferences->setPlayerPosition(PlayerPosition(0.25, 0.5), "A");
    preferences->setPlayerPosition(PlayerPosition(0.75, 0), "B");
    preferences->setPlayerPosition(std::nullopt, "B");
    defaults.emplace(defaultsPath(), scheduler);
    const auto again = make();
    EXPECT_EQ(again->playerPositions(), (QMap<QString, PlayerPosition>{{"A", PlayerPosition(0.25, 0.5)}}));
    again->resetPlayerPositions();
    EXPECT_EQ(storedData(reread(), "playerPositions"), "{}");
}

TEST_F(PreferencesTest, TheLoginSwitchShowsWhatTheDesktopReports)
{
    login.statusAfterRegistering = LoginItem::Status::requiresApproval;
    const auto preferences = make();
    preferences->setLoginEnabled(true);
    EXPECT_FALSE(preferences->loginEnabled());
    EXPECT_EQ(preferences->loginError(), "Allow Orvel in your desktop\u2019s startup applications.");

    login.statusAfterRegistering.reset();
    preferences->setLoginEnabled(true);
    EXPECT_TRUE(preferences->loginEnabled());
    EXPECT_EQ(preferences->loginError(), std::nullopt);

    login.failsChanges = true;
    preferences->setLoginEnabled(false);
    EXPECT_TRUE(preferences->loginEnabled());
    EXPECT_EQ(preferences->loginError(), "Login settings could not be changed.");
    EXPECT_EQ(login.unregisterCalls, 1);

    // A new instance reads the state the desktop keeps; nothing is stored.
    EXPECT_TRUE(make()->loginEnabled());
    EXPECT_FALSE(QFileInfo::exists(defaultsPath()));
}

TEST_F(PreferencesTest, TheMotionPolicyFollowsTheSettingsAndTheDesktopAtEachCall)
{
    const auto preferences = make();
    preferences->applyAnimationPreset(AnimationPreset::essential);
    EXPECT_EQ(
        preferences->motionPolicy(), (MotionPolicy{settings(AnimationPreset::essential), false, false}));
    reduceMotion = true;
    preferences->setEffects(EffectsMode::light);
    EXPECT_EQ(preferences->motionPolicy(), (MotionPolicy{settings(AnimationPreset::essential), true, true}));
}

TEST_F(PreferencesTest, TheViewsSeeRawValuesAndNulls)
{
    const auto preferences = make();
    EXPECT_TRUE(preferences->property("selectedDisplayID").isNull());
    preferences->setProperty("selectedDisplayID", "D7");
    EXPECT_EQ(preferences->selectedDisplayID(), "D7");
    preferences->setProperty("displayScope", "primary");
    preferences->setProperty("displayScope", "nonsense"); // ignored
    EXPECT_EQ(preferences->property("displayScope").toString(), "primary");
}

TEST_F(PreferencesTest, PublishedErrorsAreInTheUsersLanguage)
{
    Translations german;
    german.entries = {{"Your changes could not be saved.", "Deine \u00c4nderungen wurden nicht gesichert."},
        {"Login settings could not be changed.", "Anmeldung nicht ge\u00e4ndert."},
        {"Allow Orvel in System Settings \u2192 Login Items.", "Orvel erlauben."}};
    QCoreApplication::installTranslator(&german);
    const auto preferences = make();

    blockSharedFolder();
    preferences->setSkin(Skin::rivista);
    EXPECT_EQ(preferences->appearanceError(), "Deine \u00c4nderungen wurden nicht gesichert.");

    login.statusAfterRegistering = LoginItem::Status::requiresApproval;
    preferences->setLoginEnabled(true);
    EXPECT_EQ(preferences->loginError(), "Orvel erlauben.");
    login.failsChanges = true;
    preferences->setLoginEnabled(false);
    EXPECT_EQ(preferences->loginError(), "Anmeldung nicht ge\u00e4ndert.");
    QCoreApplication::removeTranslator(&german);
}
