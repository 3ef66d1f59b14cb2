#include "ItemTree.h"
#include "NowPlayingWidget.h"
#include "QtPrinters.h"
#include "ShortcutsWidget.h"
#include "SkinPalette.h"
#include "WidgetFixtures.h"
#include "WidgetRenderer.h"
#include "fixtures/MarkupTitle.h"

#include <QCoreApplication>
#include <QQmlEngine>
#include <QQuickWindow>
#include <gtest/gtest.h>

// The views as the host shows them, checked by their items.

namespace {
class WidgetViewTest : public ::testing::Test {
protected:
    WidgetViewTest() { WidgetRenderer::registerModules(engine); }

    // The view of the entry the files give, laid out in a window of its family's size.
    WidgetContainer *show(const WidgetConfiguration &configuration, WidgetContainer::Environment environment)
    {
        QString error;
        container = WidgetRenderer::create(
            engine, configuration, configuration.snapshot(), environment, nullptr, nullptr, &error);
        EXPECT_TRUE(container) << error.toStdString();
        window = std::make_unique<QQuickWindow>();
        window->resize(WidgetMetrics::size(environment.family));
        container->setParentItem(window->contentItem());
        window->grabWindow();
        return container.get();
    }

    QList<QQuickItem *> items(const std::function<bool(QQuickItem *)> &matches) const
    {
        return itemsUnder(container.get(), matches);
    }
    QList<QQuickItem *> named(const QString &name) const
    {
        return items([&](QQuickItem *item) { return item->objectName() == name && item->isVisible(); });
    }
    QColor markColor() const
    {
        const auto marks = items([](QQuickItem *item) {
            return item->property("glyph") == "mark" && item->property("size").toDouble() < 20;
        });
        return marks.isEmpty() ? QColor() : marks.first()->property("color").value<QColor>();
    }

    AppGroupFixture group;
    ScopedWallClock clock{fixtures::writtenAt};
    QQmlEngine engine;
    std::unique_ptr<WidgetContainer> container;
    std::unique_ptr<QQuickWindow> window;
};

using Mode = WidgetRenderingMode;
using Family = WidgetFamily;
} // namespace

TEST_F(WidgetViewTest, TheShortcutsMarkKeepsTheDefaultPaletteWhateverTheSkin)
{
    group.write(Skin::rivista);
    show(ShortcutsWidget().body(), {Family::systemMedium, Mode::fullColor, false});
    EXPECT_EQ(markColor(), SkinPalette(Skin::classico, Aura::brand()).accentColor());
    EXPECT_NE(markColor(), SkinPalette(Skin::rivista, Aura::brand()).accentColor());
}

TEST_F(WidgetViewTest, TheNowPlayingMarkTakesTheEntrysPaletteInFullColourAndTheTintWhenAccented)
{
    group.write(Skin::rivista);
    group.write(fixtures::playing());
    show(NowPlayingWidget().body(), {Family::systemSmall, Mode::fullColor, false});
    EXPECT_EQ(markColor(), SkinPalette(Skin::rivista, Aura::brand()).accentColor());
    show(NowPlayingWidget().body(), {Family::systemSmall, Mode::accented, false});
    EXPECT_EQ(markColor(), WidgetMetrics::accentTint());
    show(NowPlayingWidget().body(), {Family::systemSmall, Mode::vibrant, false});
    EXPECT_EQ(markColor(), WidgetMetrics::secondary());
}

TEST_F(WidgetViewTest, FiveShortcutsFillThreeRowsWhenLargeAndTwoWhenMedium)
{
    group.write(fixtures::shortcuts(5));
    const auto rows = [this] {
        QSet<qreal> tops;
        for (QQuickItem *tile : named("tile"))
            tops.insert(tile->mapToScene({}).y());
        return tops.size();
    };
    show(ShortcutsWidget().body(), {Family::systemLarge, Mode::fullColor, false});
    EXPECT_EQ(named("tile").size(), 5);
    EXPECT_EQ(rows(), 3);
    show(ShortcutsWidget().body(), {Family::systemMedium, Mode::fullColor, false});
    EXPECT_EQ(named("tile").size(), 4);
    EXPECT_EQ(rows(), 2);
    for (QQuickItem *tile : named("tile"))
        EXPECT_EQ(tile->height(), 34);
}

TEST_F(WidgetViewTest, ThePictureOfTheEmptyStateOnlyInFullColour)
{
    show(ShortcutsWidget().body(), {Family::systemMedium, Mode::fullColor, false});
    EXPECT_EQ(named("emptyImage").size(), 1);
    show(ShortcutsWidget().body(), {Family::systemMedium, Mode::accented, false});
    EXPECT_TRUE(named("emptyImage").isEmpty());
    EXPECT_EQ(named("emptyState").size(), 1);
}

TEST_F(WidgetViewTest, AnUnreachableSpotifyShowsTheSymbolInsteadOfTheBadge)
{
    group.write(fixtures::snapshot(PlayerAvailability::unavailable, fixtures::track(), false));
    show(NowPlayingWidget().body(), {Family::systemMedium, Mode::fullColor, false});
    EXPECT_EQ(named("unavailable").size(), 1);
    EXPECT_TRUE(named("badge").isEmpty());
    EXPECT_TRUE(named("commandError").isEmpty());
    ASSERT_EQ(named("progress").size(), 1);
    // The stored position stands still.
    const auto times
        = items([](QQuickItem *item) { return item->isVisible() && item->property("text") == "1:23"; });
    EXPECT_EQ(times.size(), 1);
}

TEST_F(WidgetViewTest, ANewTrackCrossFadesTheBadgeUnlessMotionIsReduced)
{
    group.write(fixtures::playing(10));
    const auto drawings = [this] {
        return items([](QQuickItem *item) {
            return item->parentItem() && item->parentItem()->objectName() == "badge";
        }).size();
    };
    for (const bool reduceMotion : {false, true}) {
        show(NowPlayingWidget().body(), {Family::systemSmall, Mode::fullColor, reduceMotion});
        EXPECT_EQ(drawings(), 1);
        group.write(fixtures::playing(11));
        WidgetRenderer::update(*container, NowPlayingWidget().body().snapshot());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        // The old drawing fades out beside the new one, or is gone at once.
        EXPECT_EQ(drawings(), reduceMotion ? 1 : 2) << reduceMotion;
    }
}

TEST_F(WidgetViewTest, TitlesFullOfMarkupAreDrawnAsTypedAndFetchNothing)
{
    MarkupTitle markup;
    Track track = fixtures::track();
    track.title = track.artist = track.album = markup.text;
    group.write(fixtures::snapshot(PlayerAvailability::ready, track, true));
    group.write(
        QList<MusicShortcut>{fixtures::shortcut(1, SpotifyLink::Kind::playlist, std::nullopt, markup.text)});
    const QMap<QString, QByteArray> stored = group.contents();

    const auto check = [&](const WidgetConfiguration &configuration, Family family) {
        show(configuration, {family, Mode::fullColor, false});
        const QList<QQuickItem *> found = markup.showing(container.get());
        EXPECT_TRUE(MarkupTitle::allPlain(found));
        EXPECT_TRUE(markup.settle(engine));
        return std::count_if(found.begin(), found.end(), [](QQuickItem *item) { return item->isVisible(); });
    };
    for (const Family family : {Family::systemSmall, Family::systemMedium, Family::systemLarge}) {
        SCOPED_TRACE(toRawValue(family).toStdString());
        EXPECT_GE(check(NowPlayingWidget().body(), family), 1);
        if (family != Family::systemSmall) {
            EXPECT_GE(check(ShortcutsWidget().body(), family), 1);
        }
    }
    EXPECT_EQ(markup.fetches(), 0);
    EXPECT_EQ(group.contents(), stored);
    const QList<MusicShortcut> shortcuts = group.store().loadShortcuts();
    ASSERT_EQ(shortcuts.size(), 1);
    EXPECT_EQ(shortcuts.first().title, markup.text);
}
