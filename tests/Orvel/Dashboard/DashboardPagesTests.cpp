#include "DashboardFixture.h"
#include "ShortcutEditorModel.h"

#include <QQuickWindow>

using namespace DashboardFixture;

// The Shortcuts, Preferences and Appearance pages and the shortcut sheet, in
// the dashboard over the app's owners.
namespace {
const QString albumLink = QStringLiteral("spotify:album:1DFixLWuPkv3KT3TnV35m3");

class DashboardPages : public Dashboard {
protected:
    void open(DashboardSection section, Skin skin = Skin::classico)
    {
        root.preferences().setSkin(skin);
        root.dashboardState().setSection(section);
        if (!view)
            show();
    }
    void activate()
    {
        view->window()->requestActivate();
        ASSERT_TRUE(QTest::qWaitForWindowActive(view->window()));
    }
    // Sheets live in the window's overlay, beside the dashboard.
    QQuickItem *inWindow(const QString &name) const { return named(view->window()->contentItem(), name); }
    QObject *sheet() const { return view->item()->findChild<QObject *>("sheet"); }
    ShortcutEditorModel *editor() const
    {
        QQuickItem *field = inWindow("nameField");
        for (QQuickItem *item = field; item; item = item->parentItem())
            if (auto *model = item->property("model").value<ShortcutEditorModel *>())
                return model;
        return nullptr;
    }
    void click(const QString &name) { QMetaObject::invokeMethod(item(name), "clicked"); }
    QStringList focusChain(int steps) const
    {
        QStringList names;
        for (int i = 0; i < steps; ++i) {
            names << view->window()->activeFocusItem()->objectName();
            QTest::keyClick(view->window(), Qt::Key_Tab);
        }
        return names;
    }
};
} // namespace

TEST_F(DashboardPages, NoShortcutsShowTheEmptyCardAndNoList)
{
    open(DashboardSection::shortcuts, Skin::rivista);
    for (const char *block : {"SkillSettingsView", "shortcutsHeader", "emptyShortcuts", "footnote"})
        EXPECT_TRUE(shown(item(block))) << block;
    EXPECT_FALSE(shown(item("shortcutList")));
    // The empty card's own top rule.
    EXPECT_EQ(visibleRules(page()), 1);
    root.preferences().setSkin(Skin::classico);
    EXPECT_EQ(visibleRules(page()), 0);
    EXPECT_TRUE(visibleTexts(page()).contains("Start with a favorite."));
}

TEST_F(DashboardPages, TheListIsACardInClassicoAndRuledRowsInRivista)
{
    addShortcut("Only");
    open(DashboardSection::shortcuts);
    EXPECT_FALSE(shown(item("emptyShortcuts")));
    EXPECT_EQ(visibleRules(page()), 0);
    EXPECT_FALSE(item("moveUp")->isEnabled());
    EXPECT_FALSE(item("moveDown")->isEnabled());
    EXPECT_TRUE(item("moveDown")->isVisible());

    root.preferences().setSkin(Skin::rivista);
    EXPECT_EQ(visibleRules(page()), 2);
    addShortcut("Two", albumLink);
    addShortcut("Three", albumLink);
    EXPECT_EQ(visibleRules(page()), 4);
    root.preferences().setSkin(Skin::classico);
    EXPECT_EQ(visibleRules(page()), 2);
}

TEST_F(DashboardPages, TheSheetOffersTheSkillBarsSlotThenNoneThenTheEditedShortcutsOwn)
{
    const QUuid held = addShortcut("Held", albumLink);
    setSkills({std::nullopt, held});
    open(DashboardSection::shortcuts);
    QMetaObject::invokeMethod(item("SkillSettingsView"), "newShortcut", Q_ARG(int, 3));
    ASSERT_TRUE(sheet()->property("visible").toBool());
    ASSERT_TRUE(editor());
    EXPECT_EQ(editor()->skillSlot(), 3);
    EXPECT_EQ(inWindow("segment-4")->property("chosen").toBool(), true);
    escape();
    EXPECT_FALSE(sheet()->property("visible").toBool());

    click("addShortcut");
    ASSERT_TRUE(sheet()->property("visible").toBool());
    EXPECT_EQ(editor()->skillSlot(), std::nullopt);
    EXPECT_TRUE(inWindow("segment-0")->property("chosen").toBool());
    escape();

    click("edit");
    ASSERT_TRUE(editor());
    EXPECT_EQ(editor()->skillSlot(), 1);
    EXPECT_EQ(editor()->title(), "Held");
    EXPECT_TRUE(inWindow("segment-2")->property("chosen").toBool());
}

TEST_F(DashboardPages, EscapeSavesNothingAndReturnSavesFromATextField)
{
    open(DashboardSection::shortcuts);
    activate();
    click("addShortcut");
    ASSERT_TRUE(editor());
    editor()->setTitle("Escaped");
    editor()->setLink(albumLink);
    QTest::keyClick(view->window(), Qt::Key_Escape);
    EXPECT_FALSE(sheet()->property("visible").toBool());
    EXPECT_TRUE(root.coordinator().shortcuts().isEmpty());

    click("addShortcut");
    ASSERT_TRUE(inWindow("nameField")->hasActiveFocus());
    for (const char key : {'K', 'e', 'p', 't'})
        QTest::keyClick(view->window(), key);
    editor()->setLink(albumLink);
    QTest::keyClick(view->window(), Qt::Key_Return);
    ASSERT_EQ(root.coordinator().shortcuts().size(), 1);
    EXPECT_EQ(root.coordinator().shortcuts().constFirst().title, "Kept");
    EXPECT_FALSE(sheet()->property("visible").toBool());
}

TEST_F(DashboardPages, TabWalksTheSheetInOrderAndArrowsMoveTheSlot)
{
    open(DashboardSection::shortcuts);
    activate();
    click("addShortcut");
    ASSERT_TRUE(inWindow("nameField")->hasActiveFocus());
    QStringList expected{"nameField", "linkField"};
    for (const char *glyph : {"note", "disc", "list", "mic", "radio", "heart", "star", "bolt", "flame",
             "moon", "sun", "leaf", "headphones", "run", "coffee", "sparkle"})
        expected << QStringLiteral("glyph-") + glyph;
    expected << "slotPicker"
             << "cancel"
             << "save";
    EXPECT_EQ(focusChain(expected.size()), expected);

    inWindow("slotPicker")->forceActiveFocus(Qt::TabFocusReason);
    EXPECT_TRUE(named(inWindow("slotPicker"), "focusMark")->isVisible());
    QTest::keyClick(view->window(), Qt::Key_Right);
    QTest::keyClick(view->window(), Qt::Key_Right);
    EXPECT_EQ(editor()->skillSlot(), 1);
    QTest::keyClick(view->window(), Qt::Key_Left);
    QTest::keyClick(view->window(), Qt::Key_Left);
    QTest::keyClick(view->window(), Qt::Key_Left);
    EXPECT_EQ(editor()->skillSlot(), std::nullopt);
    // "No slot" is never cut.
    QQuickItem *noSlot = inWindow("segment-0");
    EXPECT_GE(noSlot->width(), noSlot->property("implicitContentWidth").toDouble());
}

TEST_F(DashboardPages, RivistaCaptionsTheFourSwitchesAndSizesItsTextsUp)
{
    open(DashboardSection::appearance, Skin::rivista);
    const QStringList texts = visibleTexts(item("preferencesCard"));
    EXPECT_EQ(texts.count("On") + texts.count("Off"), 4);
    EXPECT_EQ(named(page(), "settingTitle")->property("font").value<QFont>().pixelSize(), 15);
    EXPECT_EQ(named(page(), "settingDetail")->property("font").value<QFont>().pixelSize(), 13);
    // A rule above the rows and one under each.
    EXPECT_EQ(visibleRules(item("preferencesCard")), 8);

    root.preferences().setSkin(Skin::classico);
    const QStringList classico = visibleTexts(item("preferencesCard"));
    EXPECT_FALSE(classico.contains("On") || classico.contains("Off"));
    EXPECT_EQ(named(page(), "settingTitle")->property("font").value<QFont>().pixelSize(), 13);
    EXPECT_EQ(named(page(), "settingDetail")->property("font").value<QFont>().pixelSize(), 12);
    EXPECT_EQ(visibleRules(item("preferencesCard")), 7);
}

TEST_F(DashboardPages, ARefusedLoginChangeSwitchesBackAndSaysSoUntilOneSucceeds)
{
    login.failsChanges = true;
    open(DashboardSection::appearance);
    activate();
    QQuickItem *loginSwitch = item("loginSwitch");
    const QPointF middle
        = loginSwitch->mapToScene(QPointF(loginSwitch->width() - 10, loginSwitch->height() / 2));
    QTest::mouseClick(view->window(), Qt::LeftButton, {}, middle.toPoint());
    EXPECT_EQ(login.registerCalls, 1);
    EXPECT_FALSE(loginSwitch->property("isOn").toBool());
    for (QQuickItem *child : descendants(loginSwitch)) {
        if (child->property("checked").isValid()) {
            EXPECT_FALSE(child->property("checked").toBool());
        }
    }
    QQuickItem *error = item("loginError");
    ASSERT_TRUE(shown(error));
    EXPECT_EQ(error->property("text").toString(), "Login settings could not be changed.");
    EXPECT_GT(error->y(), item("preferencesCard")->y());
    EXPECT_LT(error->y(), item("preferencesCaption")->y());

    login.failsChanges = false;
    QTest::mouseClick(view->window(), Qt::LeftButton, {}, middle.toPoint());
    EXPECT_TRUE(loginSwitch->property("isOn").toBool());
    EXPECT_FALSE(shown(error));
}

TEST_F(DashboardPages, DisconnectConnectAndStartAgainActAtOnce)
{
    publish(PlayerAvailability::ready);
    open(DashboardSection::appearance);
    EXPECT_TRUE(visibleTexts(item("preferencesCard")).contains("Spotify connected"));
    click("disconnectSpotify");
    EXPECT_TRUE(visibleTexts(item("preferencesCard")).contains("Spotify not connected"));

    // Each press its own task.
    click("connectAgain");
    click("connectAgain");
    clock.runUntilIdle();
    // Only a connection may show the consent prompt.
    EXPECT_EQ(std::count(spotify->permissionAsks.begin(), spotify->permissionAsks.end(), true), 2);
    EXPECT_TRUE(visibleTexts(item("preferencesCard")).contains("Spotify connected"));

    click("startAgain");
    EXPECT_TRUE(root.preferences().needsSetup());
    EXPECT_TRUE(item("OnboardingView")->isVisible());
}

TEST_F(DashboardPages, AppearanceKeepsOneOrderInBothSkins)
{
    for (const Skin skin : {Skin::classico, Skin::rivista}) {
        open(DashboardSection::personalization, skin);
        double last = -1;
        for (const char *block : {"skinPicker", "effectsGroup", "AnimationSettingsView",
                 "VisualizerSettingsView", "TopPlayerSettingsView"}) {
            ASSERT_TRUE(shown(item(block))) << block;
            EXPECT_GT(item(block)->y(), last) << block;
            last = item(block)->y();
        }
        EXPECT_TRUE(visibleTexts(page()).contains("Visual effects"));
    }
}
