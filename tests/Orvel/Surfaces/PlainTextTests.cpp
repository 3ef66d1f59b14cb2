#include "DashboardFixture.h"
#include "PanelModel.h"
#include "QtPrinters.h"
#include "fixtures/MarkupTitle.h"

// A track, artist, album and shortcut title full of markup, in every view of
// the app that shows them: drawn as typed, never fetching the image it names.
namespace {
using namespace DashboardFixture;

class PlainText : public Dashboard {
protected:
    MarkupTitle markup;
    std::vector<std::unique_ptr<QmlHarness::View>> views;
    std::vector<std::unique_ptr<PanelModel>> models;

    void SetUp() override
    {
        Dashboard::SetUp();
        const PlaybackSnapshot snapshot(PlayerAvailability::ready,
            Track("spotify:track:1", markup.text, markup.text, markup.text, 337, std::nullopt, std::nullopt),
            true, 64, 60, false, false, PlaybackCapabilities{true, true, true}, Date::now(), std::nullopt,
            std::nullopt, std::nullopt);
        spotify->state = snapshot;
        root.coordinator().publish(snapshot, true);
        setSkills({addShortcut(markup.text)});
        root.preferences().setSkillPlacement(SkillPlacement::row);
    }
    void TearDown() override
    {
        views.clear();
        Dashboard::TearDown();
    }

    QQuickItem *surface(SurfaceKind kind, const ScreenGeometry &geometry, QSize size)
    {
        models.push_back(std::make_unique<PanelModel>(kind, geometry, clock));
        models.back()->applySkills(SkillPlacement::row);
        models.back()->open();
        views.push_back(harness.view(
            "import Orvel\nSurfaceView {}", {{"model", QVariant::fromValue(models.back().get())}}, size));
        EXPECT_TRUE(views.back()) << harness.errors().toStdString();
        clock.advance(1);
        views.back()->grab();
        return views.back()->item();
    }
    QQuickItem *dashboard(DashboardSection section)
    {
        root.dashboardState().setSection(section);
        views.push_back(
            harness.view(QmlSource(QUrl("qrc:/Orvel/Dashboard/DashboardView.qml")), {}, QSize(960, 750)));
        EXPECT_TRUE(views.back()) << harness.errors().toStdString();
        clock.advance(1);
        views.back()->grab();
        return views.back()->item();
    }
    // The shown items with the title, each drawing it plainly; only those in
    // an item of that type when one is named.
    int shownPlainly(QQuickItem *under, const char *within = nullptr) const
    {
        const QList<QQuickItem *> items = markup.showing(under);
        EXPECT_TRUE(MarkupTitle::allPlain(items));
        const auto inside = [within](QQuickItem *item) {
            for (; within && item; item = item->parentItem())
                if (isType(item, within))
                    return true;
            return !within;
        };
        return int(std::count_if(
            items.begin(), items.end(), [&](QQuickItem *item) { return shown(item) && inside(item); }));
    }
};

} // namespace

TEST_F(PlainText, TitlesFullOfMarkupAreDrawnAsTypedAndFetchNothing)
{
    const ScreenGeometry plain(Rect(0, 0, 1920, 1080), Rect(0, 0, 1920, 1050), 0, 0);
    QQuickItem *player = surface(SurfaceKind::notch, plain, {620, 420});
    EXPECT_GE(shownPlainly(player), 2) << "title and artist in the top player";
    QList<QQuickItem *> bars;
    for (QQuickItem *item : descendants(player))
        if (isType(item, "SkillBarView") && shown(item) && item->property("isRow").toBool())
            bars << item;
    ASSERT_EQ(bars.size(), 1);
    auto *bar = bars.first()->property("model").value<QObject *>();
    ASSERT_TRUE(bar);
    QMetaObject::invokeMethod(bar, "enter", Q_ARG(int, 0));
    EXPECT_EQ(bar->property("caption").toString(), markup.text);
    views.back()->grab();
    EXPECT_EQ(shownPlainly(bars.first()), 1) << "the skill bar's caption";

    QQuickItem *sidebar = surface(SurfaceKind::sidebar, plain, QSize(420, 1000));
    EXPECT_GE(shownPlainly(sidebar), 3) << "track, artist and the shortcut's row in the sidebar";
    EXPECT_EQ(shownPlainly(sidebar, "ShortcutRow"), 1);

    EXPECT_GE(shownPlainly(dashboard(DashboardSection::overview)), 2) << "the dashboard's now playing card";
    EXPECT_EQ(shownPlainly(dashboard(DashboardSection::shortcuts), "ShortcutRow"), 1)
        << "the dashboard's shortcut rows";

    ASSERT_TRUE(markup.settle(harness.engine()));
    EXPECT_EQ(markup.fetches(), 0);
    EXPECT_EQ(markup.server.totalHits(), 1); // the control image alone

    root.coordinator().flush();
    const SharedStore store(home.path("group"), home.path("support"));
    const QList<MusicShortcut> shortcuts = store.loadShortcuts();
    ASSERT_EQ(shortcuts.size(), 1);
    EXPECT_EQ(shortcuts.first().title, markup.text);
    const std::optional<Track> saved = store.loadSnapshot().track;
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->title, markup.text);
    EXPECT_EQ(saved->artist, markup.text);
}
