#include "DashboardFixture.h"

using namespace DashboardFixture;

TEST_F(Dashboard, SidebarMarksTheSelectedRowAndAClickSelectsAnother)
{
    show();
    QList<QQuickItem *> sidebar = rows();
    ASSERT_EQ(sidebar.size(), 5);
    QStringList titles;
    for (QQuickItem *row : sidebar)
        titles << row->property("title").toString();
    EXPECT_EQ(titles, QStringList({"Overview", "Shortcuts", "Preferences", "Appearance", "About"}));

    for (int i = 0; i < sidebar.size(); ++i) {
        EXPECT_DOUBLE_EQ(named(sidebar[i], "sectionTitle")->opacity(), i == 0 ? 1.0 : 0.35);
        EXPECT_EQ(sidebar[i]->property("accessibleValue").toString(), i == 0 ? "Selected" : "");
    }
    QMetaObject::invokeMethod(sidebar[4], "clicked");
    EXPECT_EQ(root.dashboardState().section(), DashboardSection::about);
    EXPECT_DOUBLE_EQ(named(sidebar[4], "sectionTitle")->opacity(), 1.0);
    EXPECT_DOUBLE_EQ(named(sidebar[0], "sectionTitle")->opacity(), 0.35);
}

TEST_F(Dashboard, OnlyReadyReadsConnected)
{
    show();
    publish(PlayerAvailability::noTrack);
    EXPECT_EQ(item("connection")->property("text").toString(), "Spotify not connected");
    publish(PlayerAvailability::ready);
    EXPECT_EQ(item("connection")->property("text").toString(), "Spotify connected");
    EXPECT_TRUE(item("version")->property("text").toString().startsWith("Orvel "));
}

TEST_F(Dashboard, ASkinSwitchMovesTheColumnAtOnceAndItStopsAt880)
{
    root.preferences().setSkin(Skin::classico);
    show(860, 650);
    // 860 less the sidebar is 560 with the padding.
    EXPECT_EQ(page()->x(), 24);
    EXPECT_EQ(page()->y(), 26);
    EXPECT_EQ(page()->width(), 560 - 24 - 40);

    root.preferences().setSkin(Skin::rivista);
    EXPECT_EQ(page()->x(), 24);
    EXPECT_EQ(page()->y(), 34);
    EXPECT_EQ(page()->width(), 560 - 24 - 56);
    EXPECT_EQ(named(page(), "pageTitle")->property("size").toInt(), 44);

    view->item()->setWidth(1600);
    EXPECT_EQ(page()->width(), 880 - 24 - 56);
}

TEST_F(Dashboard, AnotherSectionOpensAtItsTopAndSoDoesTheWayBack)
{
    root.preferences().setSkin(Skin::rivista);
    show(860, 300);
    QQuickItem *scroll = item("detailScroll");
    ASSERT_GT(scroll->property("contentHeight").toDouble(), scroll->height());
    scroll->setProperty("contentY", 120);
    root.dashboardState().setSection(DashboardSection::about);
    EXPECT_EQ(scroll->property("contentY").toDouble(), 0);
    scroll->setProperty("contentY", 80);
    root.dashboardState().setSection(DashboardSection::overview);
    EXPECT_EQ(scroll->property("contentY").toDouble(), 0);
}

TEST_F(Dashboard, RestartingSetupShowsTheSetupSlotAtOnceAndCompletingItTheWorkspace)
{
    show();
    EXPECT_TRUE(item("workspace")->isVisible());
    root.preferences().restartSetup();
    EXPECT_TRUE(item("OnboardingView")->isVisible());
    EXPECT_FALSE(item("workspace")->isVisible());
    root.preferences().completeSetup();
    EXPECT_TRUE(item("workspace")->isVisible());
    EXPECT_FALSE(item("OnboardingView")->isVisible());
}

TEST_F(Dashboard, RivistaOverviewIsRuledRowsAndClassicoHasNone)
{
    root.preferences().setSkin(Skin::rivista);
    publish(PlayerAvailability::ready);
    show();
    EXPECT_EQ(visibleRules(page()), 5);
    EXPECT_TRUE(visibleTexts(page()).contains("Off") || visibleTexts(page()).contains("On"));
    EXPECT_FALSE(shown(item("floatingPanelsHeading")));
    EXPECT_FALSE(shown(item("widgetsButton")));

    publish(PlayerAvailability::noTrack);
    // The notice card's own top rule.
    EXPECT_EQ(visibleRules(page()), 6);

    root.preferences().setSkin(Skin::classico);
    EXPECT_EQ(visibleRules(page()), 0);
    // The switches' captions go; the surface cards say their own state.
    for (QQuickItem *caption : allNamed(page(), "switchCaption"))
        EXPECT_FALSE(shown(caption));
    EXPECT_TRUE(shown(item("notchCard")));
    EXPECT_TRUE(shown(item("manageDisplaysButton")));
}

TEST_F(Dashboard, EachScopeHasItsCaptionInBothSkinsAndManageDisplaysOpensPreferences)
{
    root.preferences().setSkin(Skin::rivista);
    show();
    root.preferences().setProperty("displayScope", "primary");
    EXPECT_TRUE(visibleTexts(page()).contains("On the primary display"));
    root.preferences().setSkin(Skin::classico);
    root.preferences().setProperty("displayScope", "selected");
    EXPECT_TRUE(visibleTexts(item("manageDisplaysButton")).contains("On your chosen display"));

    QMetaObject::invokeMethod(item("manageDisplaysButton"), "clicked");
    EXPECT_EQ(root.dashboardState().section(), DashboardSection::appearance);
    EXPECT_DOUBLE_EQ(named(rows()[2], "sectionTitle")->opacity(), 1.0);
}

TEST_F(Dashboard, TheStorageWarningIsTheLastBlockInBothSkins)
{
    // A file where the group's folder should be: the snapshot cannot be shared.
    QDir(home.path("group")).removeRecursively();
    QFile blocker(home.path("group"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    publish(PlayerAvailability::ready);
    ASSERT_TRUE(root.coordinator().storageError());
    for (const Skin skin : {Skin::rivista, Skin::classico}) {
        root.preferences().setSkin(skin);
        if (!view)
            show();
        QQuickItem *warning = item("storageWarning");
        ASSERT_TRUE(shown(warning));
        EXPECT_EQ(warning->property("text").toString(),
            QString::fromUtf8(
                "Widget sharing is unavailable. Check the app’s signature and App Group configuration."));
        for (QQuickItem *block : page()->childItems().first()->childItems()) {
            if (block != warning && shown(block) && block->height() > 0) {
                EXPECT_LT(block->y(), warning->y()) << block->objectName().toStdString();
            }
        }
    }
}

TEST_F(Dashboard, NotReadyShowsOnlyTheNoticeAndReadyWithoutTrackKeepsTheControls)
{
    root.preferences().setSkin(Skin::rivista);
    publish(PlayerAvailability::noTrack);
    show();
    EXPECT_TRUE(shown(item("availabilityCard")));
    EXPECT_FALSE(shown(item("rivistaTrack")));
    EXPECT_FALSE(shown(item("rivistaControls")));

    root.coordinator().publish(PlaybackCoordinator::placeholder(PlayerAvailability::ready), true);
    EXPECT_FALSE(shown(item("availabilityCard")));
    EXPECT_TRUE(shown(item("rivistaControls")));
    for (QQuickItem *title : allNamed(page(), "trackTitle"))
        EXPECT_EQ(title->property("text").toString(), QString());
}

TEST_F(Dashboard, WithoutWidgetsTheRowSaysSoAndStillOpensTheGuideWhichEscapeCloses)
{
    PlatformFeatures::setCurrent(PlatformFeatures::macOS(13));
    root.preferences().setSkin(Skin::rivista);
    show();
    const QStringList texts = visibleTexts(page());
    // In their Linux words.
    EXPECT_TRUE(texts.contains("Widgets need Orvel Widgets"));
    EXPECT_TRUE(texts.contains("Orvel widgets need the Orvel Widgets program."));
    EXPECT_TRUE(texts.contains("Details"));

    QMetaObject::invokeMethod(item("widgetGuideLink"), "clicked");
    QObject *sheet = view->item()->findChild<QObject *>("sheet");
    ASSERT_TRUE(sheet);
    EXPECT_TRUE(sheet->property("visible").toBool());
    escape();
    EXPECT_FALSE(sheet->property("visible").toBool());
}

TEST_F(Dashboard, ANewShortcutForASlotOpensTheAddSheetAndClosingKeepsTheSlot)
{
    show();
    QQuickItem *screen = nullptr;
    for (QQuickItem *child : descendants(view->item()))
        if (isType(child, "DashboardScreen"))
            screen = child;
    ASSERT_TRUE(screen);
    QMetaObject::invokeMethod(screen, "newShortcut", Q_ARG(QVariant, 3));
    EXPECT_TRUE(screen->property("adding").toBool());
    EXPECT_EQ(screen->property("addingSlot").toInt(), 3);
    QObject *sheet = view->item()->findChild<QObject *>("sheet");
    EXPECT_TRUE(sheet->property("visible").toBool());
    escape();
    EXPECT_FALSE(screen->property("adding").toBool());
    EXPECT_EQ(screen->property("addingSlot").toInt(), 3);
}

TEST_F(Dashboard, DeniedCapabilitiesDisableShuffleAndRepeatButShowTheirState)
{
    root.preferences().setSkin(Skin::rivista);
    publish(PlayerAvailability::ready, true, {true, false, false});
    show();
    EXPECT_FALSE(item("shuffleButton")->isEnabled());
    EXPECT_FALSE(item("repeatButton")->isEnabled());
    EXPECT_TRUE(item("shuffleButton")->property("isOn").toBool());
    EXPECT_FALSE(item("repeatButton")->property("isOn").toBool());
}

TEST_F(Dashboard, ShuffleSendsTheOppositeOfTheFlagAsItIsWhenItsTaskRuns)
{
    root.preferences().setSkin(Skin::rivista);
    publish(PlayerAvailability::ready, false, {true, true, true});
    show();
    clock.runUntilIdle();
    spotify->commands.clear();
    QMetaObject::invokeMethod(item("shuffleButton"), "clicked");
    // Turned on elsewhere before the task runs.
    publish(PlayerAvailability::ready, true, {true, true, true});
    QCoreApplication::processEvents();
    clock.runUntilIdle();
    ASSERT_FALSE(spotify->commands.isEmpty());
    EXPECT_EQ(spotify->commands.first(), PlaybackCommand::shuffle(false));
}

TEST_F(Dashboard, TabReachesTheRowsWithAVisibleMarkAndReturnSelects)
{
    show();
    view->window()->requestActivate();
    ASSERT_TRUE(QTest::qWaitForWindowActive(view->window()));
    QList<QQuickItem *> sidebar = rows();
    sidebar[0]->forceActiveFocus(Qt::TabFocusReason);
    QTest::keyClick(view->window(), Qt::Key_Tab);
    ASSERT_TRUE(sidebar[1]->hasActiveFocus());
    EXPECT_TRUE(named(sidebar[1], "focusMark")->isVisible());
    EXPECT_FALSE(named(sidebar[0], "focusMark")->isVisible());
    QTest::keyClick(view->window(), Qt::Key_Return);
    EXPECT_EQ(root.dashboardState().section(), DashboardSection::shortcuts);
}

TEST_F(Dashboard, AboutSpeaksOfThisSystemAndShowsTheBuiltVersion12BelowItsLine)
{
    root.dashboardState().setSection(DashboardSection::about);
    show();
    QQuickItem *version = item("aboutVersion");
    QQuickItem *introduction = item("introduction");
    ASSERT_TRUE(version && introduction);
    EXPECT_EQ(version->property("text").toString(), QStringLiteral(ORVEL_VERSION));
    EXPECT_TRUE(introduction->property("text").toString().startsWith(
        "An independent companion for Spotify on Linux."));
    QQuickItem *line = nullptr;
    for (QQuickItem *candidate : descendants(view->item()))
        if (candidate->property("text").toString() == "A little room for your music.")
            line = candidate;
    ASSERT_TRUE(line);
    EXPECT_EQ(version->y() + version->property("topPadding").toDouble() - (line->y() + line->height()), 12);
}
