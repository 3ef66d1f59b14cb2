#include "AppRootFakes.h"
#include "DisplayCatalog.h"
#include "FakeScreens.h"
#include "FloatingPanel.h"
#include "PanelManager.h"
#include "PanelOutline.h"
#include "PanelTestSupport.h"
#include "PlaybackCoordinator.h"
#include "Preferences.h"
#include "QmlHarness.h"
#include "ScriptedSpotify.h"

#include <QDir>
#include <QTest>
#include <gtest/gtest.h>

// The app's own panels, as the composition root makes them, drawn offscreen:
// each window shows its surface at the size its frame says. Set
// ORVEL_PANEL_RENDER_DIR to keep the pictures.
namespace {
class PanelRender : public ::testing::Test, protected AppRootFakes {
protected:
    PanelRender()
    {
        workspace.spotifyPid = 4242;
        root.preferences().completeSetup();
    }
    ~PanelRender() override
    {
        root.panels().stop();
        root.coordinator().flush();
        clock.advance(60);
    }

    FloatingPanel &panel(std::uint32_t screen, int index) const
    {
        return dynamic_cast<FloatingPanel &>(root.panels().surfaces().at(screen).at(index)->panel());
    }
    PanelModel &model(std::uint32_t screen, int index) const
    {
        return root.panels().surfaces().at(screen).at(index)->model();
    }
    // The window's picture, kept when asked; checks it shows something at its frame's size.
    void look(FloatingPanel &panel, const QString &name)
    {
        // The window system reports the new size on a later turn.
        clock.runUntilIdle();
        const Rect frame = panel.frame();
        const QSize size(qRound(frame.width()), qRound(frame.height()));
        EXPECT_EQ(panel.content()->size(), QSizeF(size)) << name.toStdString();
        const QString directory = qEnvironmentVariable("ORVEL_PANEL_RENDER_DIR");
        // Only for a person looking: the views' own animations run on real time.
        if (!directory.isEmpty())
            QTest::qWait(700);
        const QImage image = panel.window().grabWindow();
        EXPECT_FALSE(QmlHarness::isBlank(image)) << name.toStdString();
        EXPECT_EQ(image.size(), size) << name.toStdString();
        if (!directory.isEmpty() && QDir().mkpath(directory))
            image.save(QDir(directory).filePath(name + QStringLiteral(".png")));
    }

    FakeScreens screens;
    const bool connected = (screens.list = {laptop(true), monitor()}, true);
    AppRoot root{outside(nullptr, &screens)};
};
} // namespace

TEST_F(PanelRender, ThePlayerAndTheSidebarShowTheirSurfacesFoldedAndOpen)
{
    root.panels().start();
    clock.advance(1);
    ASSERT_EQ(root.panels().surfaces().size(), 2u);
    for (const std::uint32_t screen : {1u, 2u}) {
        for (const int index : {0, 1})
            ASSERT_TRUE(panel(screen, index).contentErrors().isEmpty())
                << panel(screen, index).contentErrors().toStdString();
    }

    look(panel(1, 0), "notch-folded");
    look(panel(2, 0), "plain-folded");
    look(panel(2, 1), "sidebar-folded");

    model(1, 0).announce(4);
    clock.advance(0.5);
    look(panel(1, 0), "notch-announcing");
    clock.advance(4);

    for (const std::uint32_t screen : {1u, 2u}) {
        model(screen, 0).open();
        model(screen, 1).open();
    }
    clock.advance(1);
    look(panel(1, 0), "notch-expanded");
    look(panel(2, 0), "plain-expanded");
    look(panel(2, 1), "sidebar-expanded");
}

TEST_F(PanelRender, AnIdentificationPanelShowsTheDisplaysNumber)
{
    root.displays().identify();
    ASSERT_EQ(root.displays().identificationPanels().size(), 2u);
    auto &second = dynamic_cast<FloatingPanel &>(*root.displays().identificationPanels()[1]);
    ASSERT_TRUE(second.contentErrors().isEmpty()) << second.contentErrors().toStdString();
    look(second, "identification");
}

TEST_F(PanelRender, PointingAtAPlayerWithPeekingKeysGrowsItByTheirStripAtOnce)
{
    const MusicShortcut run(QUuid::createUuid(), "Morning Run",
        *SpotifyLink::parse("spotify:playlist:37i9dQZF1DX76Wlfdnj7AP"), SkillGlyph::run);
    ASSERT_TRUE(root.coordinator().saveShortcuts({run}));
    SkillBar bar;
    bar.assign(run.id, 0);
    root.preferences().setSkills(bar);
    root.preferences().setSkillPlacement(SkillPlacement::peek);
    root.panels().start();
    clock.advance(1);

    FloatingPanel &player = panel(2, 0);
    EXPECT_EQ(player.frame().height(), 38);
    player.pointerChanged(true);
    EXPECT_TRUE(model(2, 0).peeking());
    EXPECT_EQ(player.frame().height(), 76);
    look(player, "plain-peeking");
    clock.advance(0.9);
    EXPECT_TRUE(model(2, 0).isExpanded());
}

TEST_F(PanelRender, EachWindowsOutlineIsTheShapeItsSurfaceDraws)
{
    // Still panels: the open body stands at once at its full size.
    root.preferences().setAnimations(AnimationSettings{{AnimationFeature::panels}});
    root.panels().start();
    clock.advance(1);
    const auto outline = [this](std::uint32_t screen, int index) {
        clock.runUntilIdle();
        return PanelOutline::of(panel(screen, index).window());
    };
    const auto whole = [this](std::uint32_t screen, int index) {
        return QRectF(QPointF(), QSizeF(panel(screen, index).window().size()));
    };
    using Piece = WindowOutline::Piece;

    EXPECT_EQ(outline(2, 0).pieces, QList<Piece>({{whole(2, 0), 12, 13}})) << "the folded player's pill";
    EXPECT_EQ(outline(1, 0).pieces, QList<Piece>({{whole(1, 0), 0, 13}})) << "square under a notch";
    EXPECT_EQ(outline(2, 1).pieces, QList<Piece>({{whole(2, 1), 10, 10}})) << "the sidebar's tab";

    model(2, 0).togglePin();
    model(2, 1).togglePin();
    clock.advance(1);
    const QRectF open = whole(2, 0);
    ASSERT_EQ(open.size(), QSizeF(620, 38 + 184));
    EXPECT_EQ(outline(2, 0).pieces,
        QList<Piece>({{QRectF(168, 0, 284, 38), 12, 0}, {QRectF(0, 38, 620, 184), 18, 28}}))
        << "the header on the open body";
    EXPECT_EQ(outline(2, 1).pieces, QList<Piece>({{whole(2, 1), 24, 24}})) << "the open sidebar";
}
