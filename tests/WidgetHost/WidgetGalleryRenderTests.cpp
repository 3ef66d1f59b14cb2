#include "ItemTree.h"
#include "ManualScheduler.h"
#include "WidgetFixtures.h"
#include "WidgetGallery.h"
#include "WidgetHost.h"
#include "WidgetHostCommand.h"

#include <QQuickView>
#include <gtest/gtest.h>

// The gallery in its states: before the app has written anything (every
// preview is its widget's placeholder) and with the app's files, in each skin. With
// ORVEL_WIDGET_RENDER_DIR set, the pictures are written there to be looked at.

namespace {
QQuickItem *visibleNamed(QQuickItem *root, const QString &name)
{
    return itemsUnder(root, [&name](QQuickItem *item) {
        return item->objectName() == name && item->isVisible();
    }).value(0);
}

QImage drawGallery(const char *state)
{
    ManualScheduler clock;
    WidgetBundle *bundle = WidgetPluginLoader::load({ORVEL_WIDGETS_PLUGIN});
    EXPECT_TRUE(bundle);
    WidgetHost host(bundle->body(), {clock, QDBusConnection(QString()), {}, false, {}});
    WidgetGallery &gallery = host.gallery();
    gallery.show();
    const QImage picture = gallery.window()->grabWindow();
    // The Now playing preview shows the prompt only while there is nothing to show.
    QQuickItem *prompt = visibleNamed(gallery.preview(1), "promptMessage");
    EXPECT_EQ(prompt != nullptr, QByteArray(state) == "placeholder") << state;
    const QString out = qEnvironmentVariable("ORVEL_WIDGET_RENDER_DIR");
    if (!out.isEmpty())
        picture.save(out + QStringLiteral("/WidgetGallery.%1.png").arg(state));
    return picture;
}
} // namespace

TEST(WidgetGalleryRender, TheGalleryDrawsThePlaceholdersAndThenTheAppsFiles)
{
    AppGroupFixture group;
    ScopedWallClock wall{fixtures::writtenAt};
    const QImage empty = drawGallery("placeholder");
    EXPECT_FALSE(empty.isNull());

    group.write(fixtures::playing());
    group.write(fixtures::shortcuts(8));
    group.putArtwork("cover.jpg");
    const QImage written = drawGallery("data");
    EXPECT_EQ(written.size(), empty.size());
    EXPECT_NE(written, empty);

    // The previews in the other skin, the gallery's own texts as they were.
    group.write(Skin::rivista);
    const QImage rivista = drawGallery("data.rivista");
    EXPECT_EQ(rivista.size(), written.size());
    EXPECT_NE(rivista, written);
}
