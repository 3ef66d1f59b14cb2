#include "Bundle.h"
#include "DashboardMetrics.h"
#include "DashboardState.h"
#include "DashboardTexts.h"

#include <QJsonObject>
#include <QSignalSpy>
#include <QUrlQuery>
#include <gtest/gtest.h>

TEST(DashboardSection, SidebarOrderAndTitlesKeepTheirOddPairing)
{
    QStringList titles;
    for (const DashboardSection section : allCases<DashboardSection>())
        titles << title(section);
    EXPECT_EQ(titles, QStringList({"Overview", "Shortcuts", "Preferences", "Appearance", "About"}));
    EXPECT_EQ(fromRawValue<DashboardSection>(QStringLiteral("appearance")), DashboardSection::appearance);
    EXPECT_EQ(fromRawValue<DashboardSection>(QStringLiteral("Appearance")), std::nullopt);
    EXPECT_EQ(fromRawValue<DashboardSection>(QString()), std::nullopt);

    DashboardState state(nullptr);
    EXPECT_EQ(state.titleOf("personalization"), "Appearance");
    EXPECT_EQ(state.titleOf("Appearance"), QString());
}

TEST(DashboardState, ASlotTheSkillBarDoesNotHaveIsStoredAsNone)
{
    DashboardState state(nullptr);
    state.setSkillSlot(5);
    EXPECT_EQ(state.skillSlot(), 5);
    state.setSkillSlot(6);
    EXPECT_EQ(state.skillSlot(), std::nullopt);
    state.setSkillSlot(0);
    state.setSkillSlot(-1);
    EXPECT_EQ(state.skillSlot(), std::nullopt);
    // From QML too.
    state.setProperty("skillSlot", 9);
    EXPECT_TRUE(state.property("skillSlot").isNull());
}

TEST(DashboardState, AnOpeningWithoutSlotClearsTheSlot)
{
    DashboardState state(nullptr);
    state.setSection(DashboardSection::shortcuts);
    state.setSkillSlot(3);
    QSignalSpy cleared(&state, &DashboardState::skillSlotChanged);
    state.setSection(DashboardSection::overview);
    state.setSkillSlot(std::nullopt);
    EXPECT_EQ(state.skillSlot(), std::nullopt);
    EXPECT_EQ(cleared.count(), 1);
}

TEST(DashboardMetrics, ASkinSwitchMovesSpacingAndPaddingsButNotLeadingOrBottom)
{
    DashboardMetrics metrics;
    metrics.setSkin(Skin::classico);
    EXPECT_EQ((std::array{metrics.pageSpacing(), metrics.detailTrailing(), metrics.detailTop()}),
        (std::array{22, 40, 26}));
    EXPECT_EQ((std::array{metrics.settingTitleSize(), metrics.settingDetailSize()}), (std::array{13, 12}));
    EXPECT_FALSE(metrics.switchCaptions());

    QSignalSpy changed(&metrics, &DashboardMetrics::skinChanged);
    metrics.setProperty("skin", "rivista");
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ((std::array{metrics.pageSpacing(), metrics.detailTrailing(), metrics.detailTop()}),
        (std::array{26, 56, 34}));
    EXPECT_EQ((std::array{metrics.settingTitleSize(), metrics.settingDetailSize()}), (std::array{15, 13}));
    EXPECT_TRUE(metrics.switchCaptions());
    EXPECT_EQ(metrics.property("detailLeading").toInt(), 24);
    EXPECT_EQ(metrics.property("detailBottom").toInt(), 44);
}

TEST(DashboardMetrics, ThePaddedColumnShrinksWithTheWindowAndStopsAt880)
{
    // The detail pane is the window less the 300-wide sidebar.
    EXPECT_EQ(DashboardMetrics::columnWidth(860 - DashboardMetrics::sidebarWidth), 560);
    EXPECT_EQ(DashboardMetrics::columnWidth(1600 - DashboardMetrics::sidebarWidth), 880);
    EXPECT_DOUBLE_EQ(DashboardMetrics::rowOpacity(false), 0.35);
    EXPECT_DOUBLE_EQ(DashboardMetrics::rowOpacity(true), 1.0);
}

TEST(DashboardTexts, OnlyAReadySpotifyIsConnected)
{
    for (const PlayerAvailability availability : allCases<PlayerAvailability>())
        EXPECT_EQ(DashboardTexts::connectionCaption(availability),
            availability == PlayerAvailability::ready ? "Spotify connected" : "Spotify not connected")
            << toRawValue(availability).toStdString();
}

TEST(DashboardTexts, EachScopeHasItsCaption)
{
    EXPECT_EQ(DashboardTexts::displayScopeCaption(DisplayScope::all), "On all connected displays");
    EXPECT_EQ(DashboardTexts::displayScopeCaption(DisplayScope::primary), "On the primary display");
    EXPECT_EQ(DashboardTexts::displayScopeCaption(DisplayScope::selected), "On your chosen display");
}

TEST(DashboardTexts, VersionFallsBackWhenTheKeyIsMissingOrNotAString)
{
    EXPECT_EQ(DashboardTexts::versionText(QJsonObject{}), "1.2.0");
    EXPECT_EQ(DashboardTexts::versionText(QJsonObject{{"CFBundleShortVersionString", 3}}), "1.2.0");
    EXPECT_EQ(DashboardTexts::versionText(QJsonObject{{"CFBundleShortVersionString", "2.0.1"}}), "2.0.1");
}

TEST(DashboardTexts, VersionIsTheOneTheProjectIsBuiltWith)
{
    EXPECT_EQ(DashboardTexts::versionText(), QStringLiteral(ORVEL_VERSION));
    EXPECT_EQ(Bundle::infoString("CFBundleShortVersionString"), QStringLiteral(ORVEL_VERSION));
}

TEST(DashboardTexts, TheSupportMailCarriesTheSubjectOrvel)
{
    const QUrl mail = DashboardTexts::supportMail(QJsonObject{{"OrvelSupportMail", "help@example.org"}});
    EXPECT_EQ(mail.scheme(), "mailto");
    EXPECT_EQ(mail.path(), "help@example.org");
    EXPECT_EQ(QUrlQuery(mail).queryItems(), (QList<QPair<QString, QString>>{{"subject", "Orvel"}}));
    EXPECT_EQ(DashboardTexts::webPage(QJsonObject{}).scheme(), "https");
}
