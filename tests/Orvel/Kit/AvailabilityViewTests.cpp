#include "CoordinatorTestSupport.h"
#include "QmlHarness.h"

#include <QQuickItem>
#include <QTest>

// The notice as the surfaces show it: over a real coordinator, redrawn by
// each availability it publishes, its buttons starting the coordinator's work.
namespace {

// Every item below the root, as the scene graph holds them.
QList<QQuickItem *> descendants(QQuickItem *root)
{
    QList<QQuickItem *> result;
    for (QQuickItem *child : root->childItems())
        result << child << descendants(child);
    return result;
}

QQuickItem *named(QQuickItem *root, const QString &name)
{
    for (QQuickItem *item : descendants(root))
        if (item->objectName() == name)
            return item;
    return nullptr;
}

class Notice : public CoordinatorTest {
protected:
    // The notice at the given width in a taller frame.
    std::unique_ptr<QmlHarness::View> show(bool compact, int width = 320)
    {
        harness.provide(*coordinator);
        const QByteArray qml = "import QtQuick\nimport Orvel\nItem { width: " + QByteArray::number(width)
            + "; height: 400; AvailabilityView { width: parent.width; compact: "
            + QByteArray(compact ? "true" : "false") + " } }";
        auto view = harness.view(qml);
        EXPECT_TRUE(view) << harness.errors().toStdString();
        return view;
    }
    static QQuickItem *message(QmlHarness::View &view) { return named(view.item(), "message"); }
    static bool isButton(QQuickItem *item)
    {
        return item->property("pressed").isValid() && item->property("text").isValid();
    }
    // The visible buttons' titles, top to bottom; a PrimaryButton's as "primary:title".
    static QStringList buttons(QmlHarness::View &view)
    {
        QList<QQuickItem *> found;
        for (QQuickItem *item : descendants(view.item()))
            if (isButton(item) && item->isVisible())
                found << item;
        std::sort(found.begin(), found.end(),
            [](QQuickItem *a, QQuickItem *b) { return a->mapToScene({}).y() < b->mapToScene({}).y(); });
        QStringList result;
        for (QQuickItem *item : found) {
            const QString type = QString::fromLatin1(item->metaObject()->className()).section('_', 0, 0);
            result << (type == "PrimaryButton" ? "primary:" : "") + item->property("text").toString();
        }
        return result;
    }
    static QQuickItem *button(QmlHarness::View &view, const QString &title)
    {
        for (QQuickItem *item : descendants(view.item()))
            if (isButton(item) && item->property("text").toString() == title)
                return item;
        return nullptr;
    }
    void click(QQuickItem *item)
    {
        ASSERT_TRUE(item);
        QTest::mouseClick(item->window(), Qt::LeftButton, {},
            item->mapToScene(QPointF(item->width() / 2, item->height() / 2)).toPoint());
        clock.runUntilIdle();
    }

    QmlHarness harness;
};

} // namespace

TEST_F(Notice, ANewAvailabilityRedrawsTheMessageAndTheButtons)
{
    coordinator->publish(PlaybackCoordinator::placeholder(PlayerAvailability::notInstalled), false);
    const auto view = show(false);
    ASSERT_TRUE(view);
    EXPECT_EQ(message(*view)->property("text").toString(), "Install Spotify to get started.");
    EXPECT_EQ(buttons(*view), QStringList{"primary:Get Spotify"});

    // Without Spotify installed, "Get Spotify" opens the download page through openSpotify.
    workspace.spotifyInstalled = false;
    click(button(*view, "Get Spotify"));
    EXPECT_EQ(workspace.openedURLs, QList<QUrl>{PlaybackCoordinator::spotifyDownloadURL});

    coordinator->publish(PlaybackCoordinator::placeholder(PlayerAvailability::permissionDenied), false);
    // In the Linux words: what to do, as either button asks again with Orvel's own question.
    EXPECT_EQ(message(*view)->property("text").toString(),
        "You chose not to let Orvel control Spotify. Connect again and choose Allow.");
    EXPECT_EQ(buttons(*view), (QStringList{"Ask Again", "Try again"}));

    coordinator->publish(PlaybackCoordinator::placeholder(PlayerAvailability::ready), false);
    EXPECT_EQ(message(*view)->property("text").toString(), "Waiting for Spotify.");
    EXPECT_EQ(buttons(*view), QStringList{"primary:Open Spotify"});
    EXPECT_TRUE(harness.warnings().isEmpty()) << harness.warnings().join("\n").toStdString();
}

TEST_F(Notice, TryAgainAndConnectRunTheConnectOperation)
{
    spotify->permissionStatus = PlaybackCoordinator::notPermittedStatus;
    coordinator->publish(PlaybackCoordinator::placeholder(PlayerAvailability::permissionDenied), false);
    const auto view = show(true);
    ASSERT_TRUE(view);
    click(button(*view, "Try again"));
    // connect() reads the record, then asks with the prompt allowed
    EXPECT_EQ(spotify->permissionAsks, (std::vector<bool>{false, true}));
    EXPECT_EQ(spotify->asksAgain, 1); // and after the refusal, puts the question again

    coordinator->publish(PlaybackCoordinator::placeholder(PlayerAvailability::needsPermission), false);
    click(button(*view, "Connect Spotify"));
    EXPECT_EQ(spotify->permissionAsks, (std::vector<bool>{false, true, false, true}));
}

TEST_F(Notice, CompactIsLeadingWithoutTheMarkFullIsCentredUnderIt)
{
    coordinator->publish(PlaybackCoordinator::placeholder(PlayerAvailability::permissionDenied), false);
    const auto full = show(false, 220);
    const auto compact = show(true, 220);
    ASSERT_TRUE(full && compact);
    auto *mark = named(full->item(), "mark");
    ASSERT_TRUE(mark);
    EXPECT_TRUE(mark->isVisible());
    EXPECT_EQ(mark->mapToScene({}), QPointF((220 - 88) / 2.0, 0));
    EXPECT_FALSE(named(compact->item(), "mark")->isVisible());
    EXPECT_EQ(message(*full)->property("horizontalAlignment").toInt(), int(Qt::AlignHCenter));
    EXPECT_EQ(message(*compact)->property("horizontalAlignment").toInt(), int(Qt::AlignLeft));
    EXPECT_EQ(message(*full)->y(), 88 + 4 + 18);
    EXPECT_EQ(message(*compact)->y(), 0);

    // The long message wraps at the width given, and the buttons follow below it.
    for (QmlHarness::View *view : {full.get(), compact.get()}) {
        QQuickItem *text = message(*view);
        EXPECT_GT(text->property("lineCount").toInt(), 1);
        EXPECT_FALSE(text->property("truncated").toBool());
        EXPECT_LE(text->width(), 220);
        const qreal spacing = view == full.get() ? 18 : 10;
        ASSERT_TRUE(button(*view, "Ask Again"));
        EXPECT_EQ(button(*view, "Ask Again")->mapToScene({}).y(),
            text->mapToScene({}).y() + text->height() + spacing);
    }
    // Compact buttons sit at the leading edge, full ones in the middle.
    EXPECT_EQ(button(*compact, "Try again")->mapToScene({}).x(), 0);
    QQuickItem *centred = button(*full, "Try again");
    EXPECT_NEAR(centred->mapToScene({}).x() + centred->width() / 2, 110, 0.5);
}
