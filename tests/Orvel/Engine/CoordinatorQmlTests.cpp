#include "ArtworkImageProvider.h"
#include "CoordinatorTestSupport.h"
#include "QmlModules.h"
#include "QmlOwners.h"

#include <QMetaProperty>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QSignalSpy>
#include <map>

// What the views see of the coordinator: its properties, its cover and its commands.
namespace {

QImage filled(QSize size, QColor colour)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

class CoordinatorQml : public CoordinatorTest {
protected:
    // A Text and an Image bound to the coordinator, in an offscreen window.
    void load()
    {
        registerOrvelModules(engine);
        QmlOwners::provide(engine, *coordinator);
        ArtworkImageProvider::install(engine, *coordinator);
        QQmlComponent component(&engine);
        component.setData(R"(
            import QtQuick
            import Orvel
            Item {
                width: 40; height: 40
                property alias title: title.text
                property alias cover: cover
                readonly property bool noTrack: PlaybackCoordinator.trackID === null
                readonly property real fiveSecondsOn: PlaybackCoordinator.estimatedPosition(
                    new Date(PlaybackCoordinator.updatedAt.getTime() + 5000))
                readonly property color auraPrimary: PlaybackCoordinator.aura.primary
                readonly property var palette: PlaybackCoordinator.artworkPalette
                function skip() { PlaybackCoordinator.next() }
                Text { id: title; text: PlaybackCoordinator.trackTitle ?? "" }
                Image { id: cover; source: PlaybackCoordinator.artworkSource }
            }
        )",
            QUrl(QStringLiteral("qrc:/test/CoordinatorView.qml")));
        root.reset(qobject_cast<QQuickItem *>(component.create()));
        ASSERT_TRUE(root) << component.errorString().toStdString();
        root->setParentItem(window.contentItem());
        window.resize(40, 40);
        window.show();
    }
    QQuickItem *cover() const { return root->property("cover").value<QQuickItem *>(); }
    QColor coverPixel() { return window.grabWindow().pixelColor(5, 5); }

    QQmlEngine engine;
    QQuickWindow window;
    std::unique_ptr<QQuickItem> root;
};

TEST_F(CoordinatorQml, ViewsFollowTheTitleAndTheCover)
{
    load();
    EXPECT_TRUE(root->property("noTrack").toBool());
    EXPECT_EQ(root->property("title").toString(), "");
    EXPECT_EQ(cover()->property("status").toInt(), 0); // Image.Null: no cover yet

    clock.advance(1); // every reading carries its own moment
    coordinator->publish(playing("b", true, 10), false);
    EXPECT_EQ(root->property("title").toString(), "Title b");
    EXPECT_FALSE(root->property("noTrack").toBool());
    EXPECT_DOUBLE_EQ(root->property("fiveSecondsOn").toDouble(), 15);

    coordinator->setArtwork(filled({20, 10}, Qt::red), std::nullopt, QStringLiteral("cover-b"));
    EXPECT_EQ(cover()->property("status").toInt(), 1); // Image.Ready
    EXPECT_EQ(cover()->property("sourceSize").toSize(), QSize(20, 10));
    EXPECT_EQ(coverPixel(), QColor(Qt::red));

    // Another image under the same id still reaches the view.
    const ArtworkPalette palette{{0.9, 0.2, 0.1}, {0.1, 0.2, 0.9}, {0.1, 0.1, 0.2}};
    coordinator->setArtwork(filled({30, 30}, Qt::blue), palette, QStringLiteral("cover-b"));
    EXPECT_EQ(cover()->property("status").toInt(), 1);
    EXPECT_EQ(cover()->property("sourceSize").toSize(), QSize(30, 30));
    EXPECT_EQ(coverPixel(), QColor(Qt::blue));
    EXPECT_EQ(root->property("auraPrimary").value<QColor>(), coordinator->aura().primaryColor());
    EXPECT_EQ(root->property("palette").toMap().value("deep").value<QColor>(),
        SRGBColor::of(palette.deep).toQColor());

    coordinator->setArtwork(QImage(), std::nullopt, std::nullopt);
    EXPECT_TRUE(coordinator->artworkSource().isEmpty());
    EXPECT_EQ(cover()->property("status").toInt(), 0);
    EXPECT_TRUE(root->property("palette").isNull());
}

TEST_F(CoordinatorQml, ACommandFromAViewReachesSpotify)
{
    load();
    QMetaObject::invokeMethod(root.get(), "skip");
    EXPECT_TRUE(spotify->commands.isEmpty()); // it starts on the next turn
    clock.runUntilIdle();
    ASSERT_EQ(spotify->commands.size(), 1);
    EXPECT_EQ(spotify->commands.first().kind(), PlaybackCommand::Kind::next);
}

// Each property announces itself only when its own value moved.
TEST_F(CoordinatorQml, APublicationAnnouncesOnlyTheFieldsItChanged)
{
    const QMetaObject &meta = PlaybackCoordinator::staticMetaObject;
    std::map<QString, std::unique_ptr<QSignalSpy>> spies;
    for (int i = meta.propertyOffset(); i < meta.propertyCount(); ++i) {
        const QMetaProperty property = meta.property(i);
        if (property.hasNotifySignal())
            spies[property.name()] = std::make_unique<QSignalSpy>(coordinator.get(), property.notifySignal());
    }
    const auto announced = [&] {
        QStringList names;
        for (auto &[name, spy] : spies) {
            if (!spy->isEmpty())
                names << name;
            spy->clear();
        }
        return names;
    };
    coordinator->publish(playing("a", true, 10), false);
    announced();

    clock.advance(1);
    coordinator->publish(playing("a", true, 11), false);
    EXPECT_EQ(announced(), (QStringList{"position", "updatedAt"}));

    PlaybackSnapshot louder = coordinator->snapshot();
    louder.volume = 80;
    coordinator->publish(louder, false);
    EXPECT_EQ(announced(), QStringList{"volume"});

    coordinator->publish(coordinator->snapshot(), false);
    EXPECT_EQ(announced(), QStringList{});

    const QImage image = filled({8, 8}, Qt::green);
    coordinator->setArtwork(image, std::nullopt, QStringLiteral("x"));
    EXPECT_EQ(announced(), (QStringList{"artworkID", "artworkSource"}));
    coordinator->setArtwork(image, std::nullopt, QStringLiteral("x"));
    EXPECT_EQ(announced(), QStringList{});
}

} // namespace
