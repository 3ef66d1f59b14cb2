#include "Defaults.h"
#include "FakeLoginItem.h"
#include "ManualScheduler.h"
#include "Preferences.h"
#include "QmlHarness.h"
#include "QtPrinters.h"
#include "RecordingWidgetCenter.h"
#include "ScopedWallClock.h"
#include "TemporaryHome.h"
#include "VisualizerSettingsModel.h"

#include <QDir>
#include <QFile>
#include <QMouseEvent>
#include <QPointer>
#include <QQuickItem>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>
#include <limits>

namespace {
constexpr double notANumber = std::numeric_limits<double>::quiet_NaN();

QList<QQuickItem *> descendants(QQuickItem *root)
{
    QList<QQuickItem *> result;
    for (QQuickItem *child : root->childItems())
        result << child << descendants(child);
    return result;
}

QList<QQuickItem *> allNamed(QQuickItem *root, const QString &name)
{
    QList<QQuickItem *> found;
    for (QQuickItem *item : descendants(root))
        if (item->objectName() == name)
            found << item;
    return found;
}

bool shown(QQuickItem *item)
{
    for (; item; item = item->parentItem())
        if (!item->isVisible())
            return false;
    return true;
}
} // namespace

TEST(VisualizerSettingsTexts, PercentagesAreTruncatedAndFactorsKeepOneDecimal)
{
    EXPECT_EQ(VisualizerSettingsModel::percentText(0.29, 0.7), "28%");
    EXPECT_EQ(VisualizerSettingsModel::percentText(0.15, 0.7), "15%");
    EXPECT_EQ(VisualizerSettingsModel::percentText(1.0, 0.7), "100%");
    EXPECT_EQ(VisualizerSettingsModel::percentText(1.4, 0.7), "140%");
    EXPECT_EQ(VisualizerSettingsModel::factorText(1.8, 1.0), "1.8×");
    EXPECT_EQ(VisualizerSettingsModel::factorText(0.4, 1.0), "0.4×");
}

TEST(VisualizerSettingsTexts, ValuesThatAreNoNumbersShowTheDefaultAndHugeOnesStopAtTheIntegerRange)
{
    EXPECT_EQ(VisualizerSettingsModel::percentText(notANumber, 0.7), "70%");
    EXPECT_EQ(VisualizerSettingsModel::percentText(std::numeric_limits<double>::infinity(), 0.7), "70%");
    EXPECT_EQ(VisualizerSettingsModel::factorText(notANumber, 1.0), "1.0×");
    EXPECT_EQ(VisualizerSettingsModel::percentText(1e300, 0.7), "2147483647%");
    EXPECT_EQ(VisualizerSettingsModel::percentText(-1e300, 0.7), "-2147483648%");
}

TEST(VisualizerSettingsColor, ComponentsAreClampedThenTruncated)
{
    EXPECT_EQ(VisualizerSettingsModel::hexOf(QColor(Qt::red)), "FF0000");
    EXPECT_EQ(VisualizerSettingsModel::hexOf(0.5, 0.5, 0.5), "7F7F7F");
    EXPECT_EQ(VisualizerSettingsModel::hexOf(QColor::fromRgbF(0.5, 0, 1)), "7F00FF");
    // An extended-range pick still gives six digits.
    EXPECT_EQ(VisualizerSettingsModel::hexOf(1.08, -0.02, 0), "FF0000");
    EXPECT_EQ(VisualizerSettingsModel::hexOf(QColor::fromRgbF(1.08f, -0.02f, 0)), "FF0000");
    EXPECT_EQ(VisualizerSettingsModel::hexOf(QColor()), std::nullopt);
    EXPECT_EQ(VisualizerSettingsModel::hexOf(notANumber, 0, 0), std::nullopt);
}

TEST(VisualizerSettingsChips, PaletteSwatchesUseTheAuraForTheArtworkAndTheCurrentCustomColor)
{
    VisualizerSettings settings;
    settings.customHex = QStringLiteral("FF0000");
    const Aura aura({0.9, 0.1, 0.2}, {0.1, 0.2, 0.9}, std::nullopt, QStringLiteral("cover"));

    EXPECT_EQ(VisualizerSettingsModel::chipColors(settings, VisualizerPalette::artwork, aura),
        (QList<QColor>{aura.primaryColor(), aura.secondaryColor()}));
    // The custom chip shows the stored colour also while another palette is chosen.
    const QList<QColor> custom
        = VisualizerSettingsModel::chipColors(settings, VisualizerPalette::custom, aura);
    ASSERT_EQ(custom.size(), 2);
    EXPECT_EQ(custom.last().name(), "#ff0000");
}

TEST(VisualizerSettingsChips, OneChipOfEachKindIsSelectedAndThumbnailsKeepTheOtherFields)
{
    VisualizerSettingsModel model;
    VisualizerSettings settings;
    settings.style = VisualizerStyle::dots;
    settings.palette = VisualizerPalette::sunset;
    settings.glow = false;
    model.setSettings(settings);

    QStringList selected;
    for (const QVariant &chip : model.styleChips()) {
        const QVariantMap map = chip.toMap();
        if (map["selected"].toBool())
            selected << map["style"].toString();
        const VisualizerSettings thumbnail = VisualizerSettingsModel::fromVariant(map["settings"]);
        EXPECT_EQ(toRawValue(thumbnail.style), map["style"].toString());
        EXPECT_EQ(thumbnail.palette, VisualizerPalette::sunset);
        EXPECT_FALSE(thumbnail.glow);
    }
    for (const QVariant &chip : model.paletteChips())
        if (chip.toMap()["selected"].toBool())
            selected << chip.toMap()["palette"].toString();
    EXPECT_EQ(selected, (QStringList{"dots", "sunset"}));
    EXPECT_EQ(model.styleChips().first().toMap()["title"], "Bars");
    EXPECT_EQ(model.paletteChips().last().toMap()["title"], "Custom");
}

class VisualizerPreviewClock : public ::testing::Test {
protected:
    ManualScheduler clock;
    ScopedScheduler installed{clock};
    ScopedWallClock wall{clock};

    int framesIn(VisualizerSettingsModel &model, double seconds)
    {
        QSignalSpy frames(&model, &VisualizerSettingsModel::previewTimeChanged);
        clock.runUntilIdle();
        clock.advance(seconds);
        return int(frames.count());
    }
};

TEST_F(VisualizerPreviewClock, TicksAtMostThirtyTimesASecondWhilePlaying)
{
    VisualizerSettingsModel model;
    EXPECT_TRUE(model.previewPlaying());
    const int frames = framesIn(model, 1.0);
    EXPECT_GE(frames, 29);
    EXPECT_LE(frames, 31);
}

TEST_F(VisualizerPreviewClock, StopsWithoutATimerWhilePausedOffLightOrReducedMotion)
{
    VisualizerSettingsModel model;
    VisualizerSettings off;
    off.enabled = false;
    const std::vector<std::function<void()>> pauses{
        [&] { model.togglePreview(); },
        [&] { model.setSettings(off); },
        [&] { model.setLightEffects(true); },
        [&] { model.setReduceMotion(true); },
    };
    for (const auto &pause : pauses) {
        model.setPreviewPlaying(true);
        model.setSettings(VisualizerSettings());
        model.setLightEffects(false);
        model.setReduceMotion(false);
        clock.runUntilIdle();
        ASSERT_EQ(clock.pendingSleepers(), 1u);
        pause();
        EXPECT_TRUE(model.previewPaused());
        EXPECT_EQ(framesIn(model, 1.0), 0);
        EXPECT_EQ(clock.pendingSleepers(), 0u);
    }
}

TEST_F(VisualizerPreviewClock, TheDrawingFollowsTheSwitchesWhilePaused)
{
    VisualizerSettingsModel model;
    EXPECT_TRUE(model.previewDrawnPlaying());
    EXPECT_EQ(model.previewButtonTitle(), "Pause preview");
    EXPECT_EQ(model.previewButtonSymbol(), "pause.fill");
    model.togglePreview();
    EXPECT_FALSE(model.previewDrawnPlaying());
    EXPECT_EQ(model.previewButtonTitle(), "Play preview");
    EXPECT_EQ(model.previewButtonSymbol(), "play.fill");
    model.togglePreview();

    VisualizerSettings off;
    off.enabled = false;
    model.setSettings(off);
    EXPECT_FALSE(model.previewDrawnPlaying());
    model.setSettings(VisualizerSettings());
    model.setLightEffects(true);
    EXPECT_TRUE(model.previewReducedMotion());
    EXPECT_TRUE(model.previewDrawnPlaying());
}

// The page itself over real preferences.
class VisualizerPage : public ::testing::Test {
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
        clock.runUntilIdle();
        EXPECT_EQ(harness.warnings(), QStringList());
    }
    void show()
    {
        view = harness.view(
            QmlSource(QUrl("qrc:/Orvel/Settings/VisualizerSettingsView.qml")), {}, QSize(560, 900));
        ASSERT_TRUE(view) << harness.errors().toStdString();
    }
    QQuickItem *item(const QString &name) const
    {
        const QList<QQuickItem *> found = allNamed(view->item(), name);
        return found.isEmpty() ? nullptr : found.first();
    }
    QString valueText(const QString &row) const
    {
        return allNamed(item(row), "valueText").first()->property("text").toString();
    }
    void click(QQuickItem *button) { QMetaObject::invokeMethod(button, "clicked"); }
};

TEST_F(VisualizerPage, OpeningThePageWritesNothingAndShowsTheStoredValuesUnclamped)
{
    VisualizerSettings stored;
    stored.intensity = 1.4;
    stored.speed = 1.8;
    preferences.setVisualizer(stored);
    QSignalSpy writes(&preferences, &Preferences::changed);

    show();
    clock.runUntilIdle();

    EXPECT_EQ(valueText("intensityRow"), "140%");
    EXPECT_EQ(valueText("speedRow"), "1.8×");
    EXPECT_EQ(writes.count(), 0);
    EXPECT_EQ(preferences.visualizer().intensity, 1.4);
}

TEST_F(VisualizerPage, APaletteChipWritesOnlyThePaletteAndThePickerShowsOnlyForCustom)
{
    VisualizerSettings stored;
    stored.palette = VisualizerPalette::custom;
    stored.customHex = QStringLiteral("123456");
    stored.speed = 1.3;
    preferences.setVisualizer(stored);
    show();
    EXPECT_TRUE(shown(item("customColor")));

    const QList<QQuickItem *> chips = allNamed(view->item(), "paletteChip");
    ASSERT_EQ(chips.size(), 7);
    const QPointer<QQuickItem> mint = chips[2];
    click(mint);
    VisualizerSettings expected = stored;
    expected.palette = VisualizerPalette::mint;
    EXPECT_EQ(preferences.visualizer(), expected);
    EXPECT_FALSE(shown(item("customColor")));

    const QPointer<QQuickItem> orbit = allNamed(view->item(), "styleChip")[3];
    click(orbit);
    EXPECT_EQ(preferences.visualizer().style, VisualizerStyle::orbit);
    // The chips stay the same items: the one under the pointer is never rebuilt.
    ASSERT_TRUE(orbit && mint);
    EXPECT_EQ(allNamed(view->item(), "styleChip")[3], orbit.data());
    EXPECT_EQ(allNamed(view->item(), "paletteChip")[2], mint.data());
    EXPECT_EQ(preferences.visualizer().customHex, "123456");
}

TEST_F(VisualizerPage, ResetStyleRestoresAllSevenFields)
{
    VisualizerSettings stored;
    stored.enabled = false;
    stored.style = VisualizerStyle::wave;
    stored.palette = VisualizerPalette::custom;
    stored.customHex = QStringLiteral("ABCDEF");
    stored.intensity = 0.3;
    stored.speed = 1.7;
    stored.glow = false;
    preferences.setVisualizer(stored);
    show();

    click(item("resetStyle"));
    EXPECT_EQ(preferences.visualizer(), VisualizerSettings());
    EXPECT_FALSE(shown(item("customColor")));
}

TEST_F(VisualizerPage, TheLightNoteAndTheErrorLineFollowThePreferences)
{
    show();
    EXPECT_FALSE(shown(item("lightNote")));
    EXPECT_FALSE(shown(item("errorLine")));

    preferences.setEffects(EffectsMode::light);
    EXPECT_TRUE(shown(item("lightNote")));
    EXPECT_TRUE(item("preview")->property("playing").toBool());
    EXPECT_TRUE(item("preview")->property("reducedMotion").toBool());

    // A file where the group's folder should be: the mirror fails.
    QDir().mkpath(home.path("group"));
    QFile blocker(store.directory);
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    click(allNamed(view->item(), "styleChip")[1]);
    EXPECT_TRUE(shown(item("errorLine")));
    EXPECT_EQ(item("errorLine")->property("text").toString(), "Your changes could not be saved.");
    EXPECT_EQ(item("errorLine")->property("color").value<QColor>().name(),
        VisualizerSettingsModel::warningColor().name());
}

TEST_F(VisualizerPage, APickedColorIsStoredAsHexAndAnInvalidOneChangesNothing)
{
    VisualizerSettings stored;
    stored.palette = VisualizerPalette::custom;
    preferences.setVisualizer(stored);
    show();
    QObject *dialog = view->object()->findChild<QObject *>("colorDialog");
    ASSERT_TRUE(dialog);

    dialog->setProperty("selectedColor", QColor::fromRgbF(1, 0.5, 0));
    QMetaObject::invokeMethod(dialog, "accepted");
    stored.customHex = QStringLiteral("FF7F00");
    EXPECT_EQ(preferences.visualizer(), stored);

    dialog->setProperty("selectedColor", QColor());
    QMetaObject::invokeMethod(dialog, "accepted");
    EXPECT_EQ(preferences.visualizer(), stored);
}

// The custom colour's own dialog, driven with the pointer and the keyboard.
class CustomColorDialog : public VisualizerPage {
protected:
    VisualizerSettings stored;

    void SetUp() override
    {
        VisualizerPage::SetUp();
        stored.palette = VisualizerPalette::custom;
        stored.customHex = QStringLiteral("7AA2FF");
        preferences.setVisualizer(stored);
        show();
        // Keys reach the focused field only in the active window, as in the app.
        view->window()->requestActivate();
        QCoreApplication::processEvents();
        ASSERT_TRUE(view->window()->isActive());
    }
    QQuickItem *dialogItem(const char *name) const { return view->object()->findChild<QQuickItem *>(name); }
    bool isOpen() const
    {
        return view->object()->findChild<QObject *>("colorDialog")->property("opened").toBool();
    }
    void open()
    {
        click(item("customColor"));
        ASSERT_TRUE(isOpen());
    }
    // Exact points, as fractions of the item: a pick reads the colour there.
    void send(QEvent::Type type, QQuickItem *target, QPointF at)
    {
        ASSERT_TRUE(target);
        const QPointF point
            = target->mapToScene(QPointF(at.x() * target->width(), at.y() * target->height()));
        QMouseEvent event(type, point, point, view->window()->mapToGlobal(point),
            type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
            type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(view->window(), &event);
    }
    void drag(QQuickItem *target, QPointF from, QPointF to)
    {
        send(QEvent::MouseButtonPress, target, from);
        send(QEvent::MouseMove, target, to);
        send(QEvent::MouseButtonRelease, target, to);
    }
    QString hexField() const
    {
        const QQuickItem *field = dialogItem("hexField");
        return field ? field->property("text").toString() : QString();
    }
};

TEST_F(CustomColorDialog, APickInTheStripAndFieldThenOkStoresItsDigitsAsTheFieldShowsThem)
{
    struct Row {
        std::optional<double> hue; // along the strip
        QPointF field; // where a drag from the field's centre ends; outside picks the edge
        const char *hex;
    };
    const Row rows[] = {
        {0.0, {1.2, -0.2}, "FF0000"},
        {1.0 / 3, {1, 0}, "00FF00"},
        {2.0 / 3, {0.5, 0.5}, "3F3F7F"},
        {std::nullopt, {-0.1, 0}, "FFFFFF"},
        {std::nullopt, {0.3, 1.1}, "000000"},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.hex);
        open();
        if (row.hue)
            drag(dialogItem("hueStrip"), {*row.hue, 0.5}, {*row.hue, 0.5});
        drag(dialogItem("colorField"), {0.5, 0.5}, row.field);
        EXPECT_EQ(hexField(), row.hex);
        EXPECT_EQ(preferences.visualizer(), stored) << "nothing is stored before OK";
        click(dialogItem("ok"));
        EXPECT_FALSE(isOpen());
        stored.customHex = QString::fromLatin1(row.hex);
        EXPECT_EQ(preferences.visualizer(), stored);
    }
}

TEST_F(CustomColorDialog, EscapeAndCancelLeaveTheStoredColourAndTheNextOpeningShowsIt)
{
    const std::function<void()> dismissals[] = {
        [&] { QTest::keyClick(view->window(), Qt::Key_Escape); },
        [&] { click(dialogItem("cancel")); },
    };
    for (const auto &dismiss : dismissals) {
        open();
        drag(dialogItem("colorField"), {0.5, 0.5}, {0.3, 1.1});
        ASSERT_EQ(hexField(), "000000");
        dismiss();
        EXPECT_FALSE(isOpen());
        EXPECT_EQ(preferences.visualizer(), stored);
        open();
        EXPECT_EQ(hexField(), "7AA2FF");
        QTest::keyClick(view->window(), Qt::Key_Escape);
    }
}

TEST_F(CustomColorDialog, TypedDigitsSetTheHueWhichBlackKeepsAndReturnStores)
{
    open();
    QMetaObject::invokeMethod(dialogItem("hexField"), "selectAll");
    for (const char key : std::string_view("#00ff00"))
        QTest::keyClick(view->window(), key);
    ASSERT_TRUE(dialogItem("previewAfter"));
    EXPECT_EQ(dialogItem("previewAfter")->property("color").value<QColor>(), QColor(0, 255, 0));
    // Through black and back to the top trailing corner: still the typed hue.
    drag(dialogItem("colorField"), {0.5, 0.5}, {0.5, 1});
    drag(dialogItem("colorField"), {0.5, 0.5}, {1, 0});
    QTest::keyClick(view->window(), Qt::Key_Return);
    EXPECT_FALSE(isOpen());
    EXPECT_EQ(preferences.visualizer().customHex, "00FF00");
}
