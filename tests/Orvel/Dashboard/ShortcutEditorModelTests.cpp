#include "DashboardFixture.h"
#include "ShortcutEditorModel.h"
#include "fixtures/OEmbedServer.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QSignalSpy>

using namespace DashboardFixture;

// The shortcut sheet's form: seeding, the name look-up on a manual clock
// against a local oEmbed server, the chosen glyph and saving.
namespace {
const QString playlistLink = QStringLiteral("https://open.spotify.com/playlist/37i9dQZF1DXcBWIGoYBM5M");
const QString albumLink = QStringLiteral("spotify:album:1DFixLWuPkv3KT3TnV35m3");

class ShortcutEditor : public Dashboard {
protected:
    OEmbedServer server;
    std::unique_ptr<ShortcutEditorModel> editor = std::make_unique<ShortcutEditorModel>(nullptr, &clock);

    void SetUp() override
    {
        Dashboard::SetUp();
        server.body = R"({"title":"Today's Top Hits"})";
        root.coordinator().setOEmbedEndpoint(server.endpoint());
        editor->setCoordinator(&root.coordinator());
        editor->setPreferences(&root.preferences());
    }
    void TearDown() override
    {
        editor.reset();
        Dashboard::TearDown();
    }
    // Runs the event loop until `done` or ten real seconds.
    template<class Done>
    bool until(Done done)
    {
        for (QDeadlineTimer guard(10000); !done() && !guard.hasExpired();)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        return done();
    }
    std::optional<QUuid> slotHolder(int slot) const { return root.preferences().skills().slotIds()[slot]; }
    MusicShortcut saved(const QString &title, const QString &link = albumLink)
    {
        addShortcut(title, link);
        return root.coordinator().shortcuts().constLast();
    }
};
} // namespace

TEST_F(ShortcutEditor, AGivenSlotIsOfferedButTheEditedShortcutsOwnSlotWins)
{
    editor->populate(std::nullopt, 3);
    EXPECT_EQ(editor->skillSlot(), 3);
    EXPECT_FALSE(editor->editing());
    EXPECT_EQ(editor->heading(), "Add shortcut");

    const MusicShortcut held = saved("Held");
    setSkills({std::nullopt, held.id});
    editor->populate(held, 4);
    EXPECT_EQ(editor->skillSlot(), 1);
    EXPECT_EQ(editor->heading(), "Edit shortcut");
    EXPECT_EQ(editor->id(), held.id);
    // Always the web link, whatever form was pasted.
    EXPECT_EQ(editor->link(), "https://open.spotify.com/album/1DFixLWuPkv3KT3TnV35m3");

    const MusicShortcut loose = saved("Loose");
    editor->populate(loose, std::nullopt);
    EXPECT_EQ(editor->skillSlot(), std::nullopt);
}

TEST_F(ShortcutEditor, ASlotTheBarDoesNotHaveIsNone)
{
    for (const int slot : {6, -1, 99}) {
        editor->populate(std::nullopt, slot);
        EXPECT_EQ(editor->skillSlot(), std::nullopt) << slot;
    }
    editor->populate(QVariant(), QVariant(7));
    EXPECT_TRUE(editor->property("skillSlot").isNull());
    editor->setProperty("skillSlot", 5);
    EXPECT_EQ(editor->skillSlot(), 5);
}

TEST_F(ShortcutEditor, TheNameIsLookedUpAfterFourTenthsOfASecondAndNotBefore)
{
    editor->populate(std::nullopt, std::nullopt);
    editor->setLink(playlistLink);
    clock.advance(0.399);
    EXPECT_FALSE(editor->lookingUp());
    EXPECT_EQ(server.requests, 0);
    clock.advance(0.002);
    EXPECT_TRUE(editor->lookingUp());
    ASSERT_TRUE(until([&] { return !editor->lookingUp(); }));
    EXPECT_EQ(editor->title(), "Today's Top Hits");
    EXPECT_EQ(server.requests, 1);
}

TEST_F(ShortcutEditor, KeystrokesCloserThanTheDelaySendOneRequest)
{
    editor->populate(std::nullopt, std::nullopt);
    // Each keystroke leaves a link that parses.
    for (const QString &typed :
        {playlistLink, playlistLink + "?", playlistLink + "?s", playlistLink + "?si"}) {
        editor->setLink(typed);
        clock.advance(0.3);
    }
    EXPECT_EQ(server.requests, 0);
    clock.advance(0.11);
    ASSERT_TRUE(until([&] { return editor->title() == "Today's Top Hits"; }));
    EXPECT_EQ(server.requests, 1);
    EXPECT_TRUE(server.lastRequest.contains("/playlist/37i9dQZF1DXcBWIGoYBM5M "));
}

TEST_F(ShortcutEditor, ANameTypedDuringTheRequestIsKept)
{
    editor->populate(std::nullopt, std::nullopt);
    editor->setLink(playlistLink);
    clock.advance(0.4);
    ASSERT_TRUE(editor->lookingUp());
    editor->setTitle("Mine");
    ASSERT_TRUE(until([&] { return !editor->lookingUp(); }));
    EXPECT_EQ(editor->title(), "Mine");

    // A typed name also stops a look-up from starting.
    editor->setLink(albumLink);
    clock.advance(1);
    EXPECT_EQ(server.requests, 1);
}

TEST_F(ShortcutEditor, ANameOfSpacesCountsAsBlank)
{
    editor->populate(std::nullopt, std::nullopt);
    editor->setTitle("   ");
    editor->setLink(playlistLink);
    EXPECT_FALSE(editor->canSave());
    clock.advance(0.4);
    EXPECT_TRUE(editor->lookingUp());
    ASSERT_TRUE(until([&] { return !editor->lookingUp(); }));
    EXPECT_EQ(editor->title(), "Today's Top Hits");
}

TEST_F(ShortcutEditor, TheAnswerMayFindTheSheetGone)
{
    server.silent = true;
    editor->populate(std::nullopt, std::nullopt);
    editor->setLink(playlistLink);
    clock.advance(0.4);
    ASSERT_TRUE(until([&] { return server.requests == 1; }));
    editor.reset();
    // The request times out with nobody left to tell.
    clock.advance(5);
    clock.runUntilIdle();
    EXPECT_TRUE(root.coordinator().shortcuts().isEmpty());
}

TEST_F(ShortcutEditor, WithoutAGlyphTheLinkKindsOwnIsShown)
{
    editor->populate(std::nullopt, std::nullopt);
    EXPECT_EQ(editor->effectiveGlyph(), std::nullopt);
    editor->setLink(albumLink);
    EXPECT_EQ(editor->property("effectiveGlyph").toString(), "disc");
    editor->setLink(QString());
    EXPECT_EQ(editor->property("effectiveGlyph").toString(), QString());
    editor->setProperty("glyph", "moon");
    EXPECT_EQ(editor->effectiveGlyph(), SkillGlyph::moon);
}

TEST_F(ShortcutEditor, SavingMovesTheShortcutBetweenSlotsAndTakesAHeldOne)
{
    const MusicShortcut mine = saved("Mine");
    const MusicShortcut other = saved("Other");
    setSkills({std::nullopt, std::nullopt, other.id, std::nullopt, std::nullopt, mine.id});
    QSignalSpy dismissed(editor.get(), &ShortcutEditorModel::dismissed);

    editor->populate(mine, std::nullopt);
    ASSERT_EQ(editor->skillSlot(), 5);
    editor->setSkillSlot(2);
    editor->setTitle("Renamed");
    ASSERT_TRUE(editor->save());
    EXPECT_EQ(slotHolder(5), std::nullopt);
    EXPECT_EQ(slotHolder(2), mine.id);
    EXPECT_EQ(root.preferences().skills().slot(other.id), std::nullopt);
    EXPECT_EQ(root.coordinator().shortcuts().constFirst().title, "Renamed");
    EXPECT_EQ(dismissed.size(), 1);
}

TEST_F(ShortcutEditor, NoSlotEmptiesAHeldSlotAndOtherwiseLeavesTheBarUnwritten)
{
    const MusicShortcut held = saved("Held");
    setSkills({held.id});
    editor->populate(held, std::nullopt);
    editor->setSkillSlot(std::nullopt);
    ASSERT_TRUE(editor->save());
    EXPECT_EQ(slotHolder(0), std::nullopt);

    QSignalSpy written(&root.preferences(), &Preferences::skillsChanged);
    ShortcutEditorModel adding(nullptr, &clock);
    adding.setCoordinator(&root.coordinator());
    adding.setPreferences(&root.preferences());
    adding.populate(std::nullopt, std::nullopt);
    adding.setTitle("New");
    adding.setLink(albumLink);
    ASSERT_TRUE(adding.save());
    EXPECT_EQ(written.size(), 0);
    EXPECT_EQ(root.coordinator().shortcuts().size(), 2);
}

TEST_F(ShortcutEditor, TheMessageWaitsForTheFirstSaveAndGoesOnceTheFormIsValid)
{
    editor->populate(std::nullopt, 0);
    QSignalSpy dismissed(editor.get(), &ShortcutEditorModel::dismissed);
    editor->setTitle("Name only");
    EXPECT_FALSE(editor->showsMessage());
    EXPECT_FALSE(editor->save());
    EXPECT_TRUE(editor->showsMessage());
    EXPECT_TRUE(root.coordinator().shortcuts().isEmpty());
    EXPECT_EQ(slotHolder(0), std::nullopt);

    QSignalSpy changed(editor.get(), &ShortcutEditorModel::canSaveChanged);
    editor->setLink(albumLink);
    EXPECT_FALSE(editor->showsMessage());
    EXPECT_EQ(changed.size(), 1);
    EXPECT_TRUE(dismissed.isEmpty());
}

TEST_F(ShortcutEditor, AFailedWriteKeepsTheSheetOpenAndTheBarAsItWas)
{
    editor->populate(std::nullopt, 1);
    editor->setTitle("Kept open");
    editor->setLink(albumLink);
    breakTheStore();
    QSignalSpy dismissed(editor.get(), &ShortcutEditorModel::dismissed);
    EXPECT_FALSE(editor->save());
    EXPECT_TRUE(dismissed.isEmpty());
    EXPECT_EQ(slotHolder(1), std::nullopt);
    // Its own message is only about the input.
    EXPECT_FALSE(editor->showsMessage());
}

TEST_F(ShortcutEditor, SlotSegmentsHoldTheirWholeTextAndShareTheRest)
{
    const QList<qreal> widths = ShortcutEditorModel::segmentWidths({44.2, 7, 7, 7, 7, 7, 7});
    ASSERT_EQ(widths.size(), 7);
    qreal total = 0;
    for (const qreal width : widths)
        total += width;
    EXPECT_DOUBLE_EQ(total, 250);
    EXPECT_GE(widths[0], 45 + 2 * ShortcutEditorModel::segmentPadding);
    EXPECT_DOUBLE_EQ(widths[1], widths[6]);
    // Too long for 250: nothing is cut.
    EXPECT_DOUBLE_EQ(
        ShortcutEditorModel::segmentWidths({300})[0], 300 + 2 * ShortcutEditorModel::segmentPadding);
}
