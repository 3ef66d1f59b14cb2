#include "ContextMenuModel.h"
#include "CoordinatorTestSupport.h"
#include "DashboardState.h"
#include "HeaderDragView.h"
#include "HelpTip.h"
#include "PanelModel.h"
#include "QmlHarness.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QPointer>
#include <QQuickItem>
#include <QTest>

// The surface over a real panel model, coordinator and preferences: what
// shows in which state, the header's actions and the announcement's timing.
namespace {

ScreenGeometry notched()
{
    return ScreenGeometry(Rect(0, 0, 1512, 982), Rect(0, 0, 1512, 950), 200, 32, 656);
}

class Surface : public CoordinatorTest {
protected:
    Surface()
    {
        harness.provide(*coordinator);
        harness.provide(preferences);
        harness.provide(dashboard);
    }
    ~Surface() override { view.reset(); }

    PanelModel &make(SurfaceKind kind = SurfaceKind::notch, const ScreenGeometry &geometry = notched())
    {
        model = std::make_unique<PanelModel>(kind, geometry, clock);
        return *model;
    }
    QQuickItem *show(QSize size = {620, 222})
    {
        view = harness.view(
            "import Orvel\nSurfaceView {}", {{"model", QVariant::fromValue(model.get())}}, size);
        EXPECT_TRUE(view) << harness.errors().toStdString();
        clock.runUntilIdle();
        return view ? view->item() : nullptr;
    }
    // Every item of that name under the root, through the item tree (a
    // Repeater's items are not the QObject children of anything).
    static QList<QQuickItem *> all(QQuickItem *root, const char *name)
    {
        QList<QQuickItem *> result;
        for (QQuickItem *child : root->childItems()) {
            if (child->objectName() == QLatin1String(name))
                result << child;
            result << all(child, name);
        }
        return result;
    }
    // The shown one, else any.
    QQuickItem *find(const char *name) const
    {
        const QList<QQuickItem *> found = all(view->item(), name);
        for (QQuickItem *item : found)
            if (item->isVisible())
                return item;
        return found.isEmpty() ? nullptr : found.first();
    }
    bool shown(const char *name) const
    {
        QQuickItem *item = find(name);
        return item && item->isVisible();
    }
    // The labels of the shown buttons, in the item tree's order.
    static QStringList labels(QQuickItem *root)
    {
        QStringList result;
        for (QQuickItem *child : root->childItems()) {
            if (!child->isVisible())
                continue;
            if (child->inherits("QQuickAbstractButton") && child->property("label").isValid())
                result << child->property("label").toString();
            result << labels(child);
        }
        return result;
    }
    void publish(const PlaybackSnapshot &snapshot)
    {
        spotify->state = snapshot;
        coordinator->publish(snapshot, false);
    }

    ScopedScheduler installed{clock};
    DashboardState dashboard{nullptr};
    QmlHarness harness;
    std::unique_ptr<PanelModel> model;
    std::unique_ptr<QmlHarness::View> view;
};

} // namespace

TEST_F(Surface, TheHeaderIsOneAccessibleButtonWithNamedMoves)
{
    PanelModel &panel = make();
    QList<Point> nudges;
    panel.onNudge = [&](double dx, double dy) { nudges << Point{dx, dy}; };
    int resets = 0;
    panel.onResetPosition = [&] { ++resets; };
    ASSERT_TRUE(show({304, 32}));

    QAccessibleInterface *header = QAccessible::queryAccessibleInterface(find("header"));
    ASSERT_TRUE(header);
    EXPECT_EQ(header->role(), QAccessible::Button);
    EXPECT_EQ(header->text(QAccessible::Name), "Open player");
    EXPECT_EQ(header->text(QAccessible::Value), "Waiting for Spotify.");
    EXPECT_EQ(header->childCount(), 0);
    QAccessibleActionInterface *actions = header->actionInterface();
    ASSERT_TRUE(actions);
    EXPECT_EQ(actions->actionNames(),
        (QStringList{QAccessibleActionInterface::pressAction(), "Return to top", "Move left", "Move right",
            "Move up", "Move down"}));

    actions->doAction("Move left");
    actions->doAction("Move up");
    actions->doAction("Return to top");
    EXPECT_EQ(nudges, (QList<Point>{{-20, 0}, {0, 20}}));
    EXPECT_EQ(resets, 1);
    actions->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_TRUE(panel.isExpanded());

    // Without dragging the moves do nothing and the help only names the action.
    const QPointer<HelpTip> tip = find("header")->findChild<HelpTip *>();
    ASSERT_TRUE(tip);
    EXPECT_EQ(tip->text(), "Drag to move. Double-click to return to the top.");
    preferences.setDragEnabled(false);
    actions->doAction("Move right");
    EXPECT_EQ(nudges.size(), 2);
    ASSERT_TRUE(tip);
    EXPECT_EQ(tip->text(), "Open player");

    publish(playing("a"));
    EXPECT_EQ(header->text(QAccessible::Value), "Title a");
}

TEST_F(Surface, ReturnToTopIsDisabledAtHome)
{
    PanelModel &panel = make();
    ASSERT_TRUE(show({304, 32}));
    auto *menu = find("header")->property("menu").value<ContextMenuModel *>();
    ASSERT_TRUE(menu);
    const auto item = [&](int i) { return menu->items().at(i).toMap(); };
    EXPECT_EQ(item(0).value("text"), "Return to top");
    EXPECT_FALSE(item(0).value("enabled").toBool());
    EXPECT_EQ(item(1).value("text"), "Customize visualizer and player");

    int resets = 0;
    panel.onResetPosition = [&] { ++resets; };
    panel.setPosition(PlayerPosition(0.3, 0.2));
    EXPECT_TRUE(item(0).value("enabled").toBool());
    menu->trigger(0);
    EXPECT_EQ(resets, 1);
}

TEST_F(Surface, CustomizeAsksTheDashboardStateForTheAppearancePage)
{
    make();
    ASSERT_TRUE(show({304, 32}));
    auto *menu = find("header")->property("menu").value<ContextMenuModel *>();
    ASSERT_TRUE(menu);
    QList<DashboardSection> asked;
    QObject::connect(&dashboard, &DashboardState::openRequested,
        [&](DashboardSection section, std::optional<int>) { asked << section; });
    menu->trigger(1);
    EXPECT_EQ(asked, QList<DashboardSection>{DashboardSection::personalization});
    EXPECT_EQ(dashboard.section(), DashboardSection::overview); // the delegate's to change
}

TEST_F(Surface, ANewTrackIsAnnouncedForItsReadingTime)
{
    PanelModel &panel = make();
    ASSERT_TRUE(show({304, 66}));
    EXPECT_FALSE(panel.announcing()); // no track, nothing to announce

    publish(playing("a"));
    EXPECT_TRUE(panel.announcing());
    EXPECT_TRUE(shown("banner"));
    EXPECT_FALSE(panel.showsAnnouncement());
    clock.advance(0.04);
    EXPECT_TRUE(panel.showsAnnouncement());
    clock.advance(4 - 0.001); // a short title: the shortest time
    EXPECT_TRUE(panel.showsAnnouncement());
    clock.advance(0.001);
    EXPECT_FALSE(panel.showsAnnouncement());
    EXPECT_TRUE(panel.announcing());
    clock.advance(0.35);
    EXPECT_FALSE(panel.announcing());
    EXPECT_FALSE(shown("banner"));

    // Losing the track announces nothing; the next one is announced, until the player opens.
    publish(PlaybackCoordinator::placeholder(PlayerAvailability::noTrack));
    EXPECT_FALSE(panel.announcing());
    publish(playing("b"));
    EXPECT_TRUE(panel.announcing());
    panel.open();
    EXPECT_FALSE(panel.announcing());
    EXPECT_FALSE(shown("banner"));
    publish(playing("c"));
    EXPECT_FALSE(panel.announcing());
}

TEST_F(Surface, NoBannerAwayFromTheNotch)
{
    PanelModel &panel = make();
    panel.setPosition(PlayerPosition(0.5, 0.3));
    ASSERT_TRUE(show({284, 38}));
    publish(playing("a"));
    EXPECT_FALSE(panel.announcing());
    EXPECT_FALSE(shown("banner"));
    EXPECT_EQ(find("header")->width(), 284);
    EXPECT_EQ(find("header")->height(), 38);
}

TEST_F(Surface, WithoutATrackTheBodyShowsTheNoticeAndTwoKeys)
{
    publish(PlaybackCoordinator::placeholder(PlayerAvailability::noTrack));
    PanelModel &panel = make();
    panel.open();
    ASSERT_TRUE(show());
    QQuickItem *row = find("availabilityRow");
    ASSERT_TRUE(row);
    EXPECT_TRUE(row->isVisible());
    EXPECT_TRUE(shown("rowMark"));
    EXPECT_TRUE(shown("message"));
    EXPECT_EQ(labels(row), (QStringList{"Keep open", "Settings"}));
    EXPECT_FALSE(find("title")); // not the skin's player
    EXPECT_EQ(find("header")->width(), 304);

    // Keep open is selected exactly while pinned, and pinning keeps the body.
    const QPointer<QQuickItem> keepOpen = find("keepOpen");
    ASSERT_TRUE(keepOpen);
    EXPECT_FALSE(keepOpen->property("selected").toBool());
    panel.togglePin();
    ASSERT_TRUE(keepOpen);
    EXPECT_TRUE(keepOpen->property("selected").toBool());
}

TEST_F(Surface, TheSkinsPlayerWhenReadyWithTheSkillRowOnlyForItsPlacement)
{
    publish(playing("a"));
    PanelModel &panel = make();
    panel.applySkills(SkillPlacement::peek);
    panel.open();
    ASSERT_TRUE(show({620, 270}));
    QQuickItem *title = find("title");
    ASSERT_TRUE(title);
    EXPECT_EQ(title->property("text"), "Title a");
    EXPECT_FALSE(shown("skillRow"));
    EXPECT_FALSE(shown("peekRow")); // never while expanded

    panel.applySkills(SkillPlacement::row);
    EXPECT_TRUE(shown("skillRow"));
    EXPECT_FALSE(shown("leadingWing"));
    panel.dismiss();
    EXPECT_FALSE(shown("skillRow"));
}

TEST_F(Surface, ThePeekStripSpansTheHeaderSoThePointerBesideTheKeysIsOverThem)
{
    PanelModel &panel = make();
    panel.applySkills(SkillPlacement::peek);
    panel.hover(true);
    ASSERT_TRUE(panel.peeking());
    ASSERT_TRUE(show({304, 70}));
    QQuickItem *keys = find("peekRow");
    ASSERT_TRUE(keys && keys->isVisible());
    QQuickItem *strip = keys->parentItem();
    QQuickItem *header = find("header");
    EXPECT_EQ(strip->width(), header->width());
    // Under the header's left end, beside the keys.
    const QPointF beside(header->mapToScene(QPointF(3, 0)).x(), strip->mapToScene(QPointF(0, 19)).y());
    QTest::mouseMove(view->window(), beside.toPoint());
    EXPECT_TRUE(panel.overSkills());
    QTest::mouseMove(view->window(), header->mapToScene(QPointF(3, header->height() / 2)).toPoint());
    EXPECT_FALSE(panel.overSkills());
}

TEST_F(Surface, TheHeaderHandleOpensOnAClickAndReturnsHomeOnADoubleClick)
{
    PanelModel &panel = make();
    int resets = 0;
    panel.onResetPosition = [&] { ++resets; };
    ASSERT_TRUE(show({304, 32}));
    const QPointer<QQuickItem> handle = find("dragHandle");
    ASSERT_TRUE(handle);
    EXPECT_EQ(handle->cursor().shape(), Qt::OpenHandCursor);
    const QPoint centre = handle->mapToScene(QPointF(handle->width() / 2, handle->height() / 2)).toPoint();
    QTest::mouseClick(view->window(), Qt::LeftButton, {}, centre);
    EXPECT_TRUE(panel.isExpanded());
    QTest::mouseDClick(view->window(), Qt::LeftButton, {}, centre);
    EXPECT_EQ(resets, 1);

    preferences.setDragEnabled(false);
    ASSERT_TRUE(handle); // the header stays through opening and the switch
    EXPECT_EQ(handle->cursor().shape(), Qt::PointingHandCursor);
}

// The header's help leaves with a drag and comes back only after the pointer
// rests again, paused mid-drag or released.
TEST_F(Surface, TheHeadersHelpHidesWhileADragMovesThePlayer)
{
    make();
    HelpTip::setDisplay({[](const QPoint &, const QString &, const SkinPalette &) {}, [] {}});
    const std::shared_ptr<void> restore(nullptr, [](void *) { HelpTip::setDisplay({}); });
    ASSERT_TRUE(show({304, 32}));
    const QPointer<QQuickItem> handle = find("dragHandle");
    const QPointer<HelpTip> tip = find("header")->findChild<HelpTip *>();
    ASSERT_TRUE(handle && tip);
    const QPoint centre = handle->mapToScene(QPointF(handle->width() / 2, handle->height() / 2)).toPoint();

    enum Act { hover, press, drag, release, wait };
    struct Step {
        Act act;
        int dx;
        double then; // seconds of rest after the act
        bool shown;
    };
    const double rest = HeaderDragView::restDelay + HelpTip::delay;
    const QList<Step> steps{{hover, 0, HelpTip::delay + 0.01, true}, {press, 0, 0, true}, {drag, 4, 0, false},
        {drag, 8, 0.05, false}, {drag, 12, 0.05, false}, {drag, 14, rest - 0.01, false},
        {wait, 0, 0.02, true}, {drag, 18, 0, false}, {release, 18, rest - 0.01, false},
        {wait, 0, 0.02, true}};
    for (qsizetype i = 0; i < steps.size(); ++i) {
        const Step &step = steps.at(i);
        SCOPED_TRACE(i);
        const QPoint at = centre + QPoint(step.dx, 0);
        if (step.act == press)
            QTest::mousePress(view->window(), Qt::LeftButton, {}, at);
        else if (step.act == release)
            QTest::mouseRelease(view->window(), Qt::LeftButton, {}, at);
        else if (step.act != wait)
            QTest::mouseMove(view->window(), at);
        clock.advance(step.then);
        EXPECT_EQ(tip->shown(), step.shown);
    }
}

TEST_F(Surface, EscapeDismisses)
{
    PanelModel &panel = make();
    panel.togglePin();
    ASSERT_TRUE(show());
    view->window()->requestActivate();
    view->item()->forceActiveFocus();
    QTest::keyClick(view->window(), Qt::Key_Escape);
    EXPECT_FALSE(panel.isExpanded());
    EXPECT_FALSE(panel.pinned());
}

TEST_F(Surface, TheFoldedSidebarIsATabThatOpens)
{
    PanelModel &panel = make(SurfaceKind::sidebar);
    ASSERT_TRUE(show({20, 92}));
    EXPECT_FALSE(shown("topPlayer"));
    // The tab's loader unloads it once the sidebar opens: held weakly.
    const QPointer<QQuickItem> tab = find("sidebarTab");
    ASSERT_TRUE(tab && tab->isVisible());
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(tab);
    ASSERT_TRUE(accessible);
    EXPECT_EQ(accessible->text(QAccessible::Name), "Open music sidebar");
    QTest::mouseClick(view->window(), Qt::LeftButton, {}, QPoint(10, 46));
    EXPECT_TRUE(panel.isExpanded());
    EXPECT_TRUE(shown("sidebar"));
    EXPECT_TRUE(!tab || !tab->isVisible()); // gone or hidden
    EXPECT_FALSE(shown("sidebarTab"));
}

TEST_F(Surface, ASidebarThatCannotPlayKeepsNoticeErrorListAndFooter)
{
    publish(PlaybackCoordinator::placeholder(PlayerAvailability::notRunning));
    PanelModel &panel = make(SurfaceKind::sidebar);
    panel.open();
    for (const Skin skin : {Skin::classico, Skin::rivista}) {
        SCOPED_TRACE(toRawValue(skin).toStdString());
        preferences.setSkin(skin);
        ASSERT_TRUE(show({344, 728}));
        QQuickItem *sidebar = find("sidebar");
        ASSERT_TRUE(sidebar && sidebar->isVisible());
        EXPECT_EQ(labels(sidebar).mid(0, 4),
            (QStringList{"Settings", "Keep open", "Close sidebar", "Add shortcut"}));
        EXPECT_FALSE(shown("cover"));
        EXPECT_FALSE(shown("title"));
        EXPECT_TRUE(shown("message"));
        EXPECT_TRUE(shown("emptyShortcuts"));
        EXPECT_TRUE(shown("footer"));
        EXPECT_FALSE(shown("errorLine"));
    }
    // A failure's message, as many lines as it needs.
    workspace.openSucceeds = false;
    run(coordinator->openSpotifyAsync(false));
    EXPECT_TRUE(shown("errorLine"));
    EXPECT_EQ(find("errorLine")->property("text"), "Spotify could not be opened.");
    EXPECT_EQ(find("errorLine")->property("maximumLineCount"), 2147483647);
}

TEST_F(Surface, AFoldedPlayerHoldsNoBodyUntilItOpensAndNoneOnceFolded)
{
    publish(playing("a"));
    PanelModel &panel = make();
    panel.applySkills(SkillPlacement::row);
    ASSERT_TRUE(show());
    for (const char *part : {"body", "title", "skillRow", "sidebar", "sidebarTab", "peekRow", "leadingWing"})
        EXPECT_TRUE(all(view->item(), part).isEmpty()) << part;

    panel.open();
    EXPECT_EQ(all(view->item(), "body").size(), 1);
    EXPECT_EQ(all(view->item(), "title").size(), 1);
    EXPECT_EQ(all(view->item(), "skillRow").size(), 1);

    // Without the spring the body goes at once, and its content with it.
    preferences.setEffects(EffectsMode::light);
    panel.dismiss();
    EXPECT_TRUE(all(view->item(), "body").isEmpty());
    EXPECT_TRUE(all(view->item(), "title").isEmpty());
}

TEST_F(Surface, ALeavingBodyStaysAgainstTheHeaderAboveAsBelow)
{
    publish(playing("a"));
    for (const bool upward : {true, false}) {
        view.reset();
        PanelModel &panel = make();
        panel.setPosition(PlayerPosition(0.5, upward ? 0.8 : 0.3));
        ASSERT_EQ(panel.opensUpward(), upward);
        panel.open();
        ASSERT_TRUE(show({284, 260}));
        QQuickItem *header = find("header");
        ASSERT_TRUE(header);

        // The spring has just started: the body is still whole, on its way out.
        panel.dismiss();
        view->grab(); // lays the stack out again
        QQuickItem *body = find("body");
        ASSERT_TRUE(body && body->isVisible()) << upward;
        const QRectF place = body->mapRectToItem(header, QRectF(0, 0, body->width(), body->height()));
        if (upward)
            EXPECT_NEAR(place.bottom(), 0, 0.5);
        else
            EXPECT_NEAR(place.top(), header->height(), 0.5);
    }
}
