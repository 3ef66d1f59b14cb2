#include "ArtworkImageProvider.h"
#include "ArtworkPicture.h"
#include "CoordinatorTestSupport.h"
#include "HelpTip.h"
#include "QmlHarness.h"

#include <QAccessible>
#include <QQuickItem>
#include <QTest>

// The buttons that lead back to Spotify: the logo and the cover, both opening
// the current track and both following the coordinator.
namespace {

PlaybackSnapshot withLink(const QString &id)
{
    PlaybackSnapshot snapshot = playing(id);
    snapshot.track = Track(snapshot.track->id, snapshot.track->title, "Artist", "Album", 200, std::nullopt,
        QUrl("https://open.spotify.com/track/" + id));
    return snapshot;
}

class SpotifyButtons : public CoordinatorTest {
protected:
    std::unique_ptr<QmlHarness::View> show(const QByteArray &qml)
    {
        harness.provide(*coordinator);
        ArtworkImageProvider::install(harness.engine(), *coordinator);
        auto view = harness.view("import QtQuick\nimport Orvel\n" + qml);
        EXPECT_TRUE(view) << harness.errors().toStdString();
        return view;
    }
    static void click(QQuickItem *button)
    {
        QTest::mouseClick(button->window(), Qt::LeftButton, {},
            button->mapToScene(QPointF(button->width() / 2, button->height() / 2)).toPoint());
    }

    QmlHarness harness;
};

} // namespace

TEST_F(SpotifyButtons, BothOpenTheCurrentTrackAndStayEnabledWithoutOne)
{
    const auto view
        = show("Row { Attribution { objectName: 'logo' } ArtworkButton { objectName: 'cover'; size: 40 } }");
    ASSERT_TRUE(view);
    auto *logo = view->item()->findChild<QQuickItem *>("logo");
    auto *cover = view->item()->findChild<QQuickItem *>("cover");
    ASSERT_TRUE(logo && cover);

    // No track: enabled, labelled, and a click does nothing.
    for (QQuickItem *button : {logo, cover}) {
        EXPECT_TRUE(button->isEnabled());
        QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(button);
        ASSERT_TRUE(accessible);
        EXPECT_EQ(accessible->role(), QAccessible::Button);
        EXPECT_EQ(accessible->text(QAccessible::Name), "Open in Spotify");
        auto *tip = button->findChild<HelpTip *>();
        ASSERT_TRUE(tip);
        EXPECT_EQ(tip->text(), "Open in Spotify");
        click(button);
    }
    EXPECT_TRUE(workspace.openedURLs.isEmpty());

    coordinator->publish(withLink("a"), false);
    click(logo);
    click(cover);
    EXPECT_EQ(workspace.openedURLs,
        (QList<QUrl>{QUrl("https://open.spotify.com/track/a"), QUrl("https://open.spotify.com/track/a")}));
    EXPECT_TRUE(harness.warnings().isEmpty()) << harness.warnings().join("\n").toStdString();
}

TEST_F(SpotifyButtons, TheCoverFollowsTheCoordinatorAtItsSize)
{
    const auto view = show("ArtworkButton { size: 40; radius: 18 }");
    ASSERT_TRUE(view);
    EXPECT_EQ(view->item()->width(), 40);
    auto *artwork = view->item()->property("artwork").value<QQuickItem *>();
    ASSERT_TRUE(artwork);
    auto *picture = artwork->property("picture").value<ArtworkPicture *>();
    ASSERT_TRUE(picture);
    EXPECT_EQ(artwork->width(), 40);
    EXPECT_EQ(picture->cornerRadius(), 8);
    EXPECT_EQ(picture->key(), "placeholder");

    coordinator->setArtwork(colourfulCover(), std::nullopt, QStringLiteral("cover-a"));
    EXPECT_TRUE(picture->hasImage());
    EXPECT_EQ(picture->key(), "cover-a");
    EXPECT_TRUE(picture->fading()); // from the placeholder
    picture->setProgress(1);

    // The next track's cover: the old one fades out under the new identity.
    coordinator->setArtwork(colourfulCover(32), std::nullopt, QStringLiteral("cover-b"));
    EXPECT_EQ(picture->key(), "cover-b");
    EXPECT_EQ(picture->image().size(), QSize(32, 32));
    EXPECT_TRUE(picture->fading());
    EXPECT_TRUE(harness.warnings().isEmpty()) << harness.warnings().join("\n").toStdString();
}

TEST_F(SpotifyButtons, TheAttributionKeepsItsSizeWhateverItIsOffered)
{
    const auto view = show(R"(
        import QtQuick.Layouts
        RowLayout {
            width: 300; height: 60
            SpotifyAttribution { objectName: "logo"; Layout.fillWidth: true; Layout.fillHeight: true }
            SpotifyAttribution { objectName: "icon"; iconOnly: true }
        })");
    ASSERT_TRUE(view);
    for (const auto &[name, size] : {std::pair{"logo", QSizeF(70, 21)}, std::pair{"icon", QSizeF(21, 21)}}) {
        auto *item = view->item()->findChild<QQuickItem *>(name);
        ASSERT_TRUE(item);
        EXPECT_EQ(item->size(), size) << name;
        EXPECT_EQ(item->findChild<QQuickItem *>("mark")->size(), size) << name;
    }
}
