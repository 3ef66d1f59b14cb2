#include "ArtworkPicture.h"
#include "GlyphView.h"
#include "QmlHarness.h"
#include "QtPrinters.h"
#include "SkinEnvironment.h"

#include <QPainter>
#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {
const SkinPalette palette(Skin::classico, Aura::brand());

QImage solid(QSize size, QColor colour)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(colour);
    return image;
}

// Four pixels a point, so a corner's curve can be told apart.
QImage renderFine(QSizeF frame, const QImage &image, qreal radius, bool thumbnail = false)
{
    QImage result = solid((frame * 4).toSize(), Qt::transparent);
    QPainter painter(&result);
    painter.scale(4, 4);
    ArtworkPicture::draw(painter, QRectF(QPointF(), frame), image, radius, thumbnail, palette);
    return result;
}

int alphaAt(const QImage &image, QPointF point)
{
    return qAlpha(image.pixel((point * 4).toPoint()));
}
} // namespace

TEST(ArtworkView, TheCrossFadeKeyIsThePlaceholderTheIdentityOrArtwork)
{
    EXPECT_EQ(ArtworkPicture::key(false, QStringLiteral("cover-a")), "placeholder");
    EXPECT_EQ(ArtworkPicture::key(true, QStringLiteral("cover-a")), "cover-a");
    EXPECT_EQ(ArtworkPicture::key(true, std::nullopt), "artwork");
}

TEST(ArtworkView, CornersAreCappedAtEight)
{
    const QImage red = solid({40, 40}, Qt::red);
    // (3, 5) lies inside a corner of 8 but outside one of 18; (1.1, 3.1) inside 6 but outside 8.
    const QImage asked18 = renderFine({40, 40}, red, 18);
    EXPECT_EQ(alphaAt(asked18, {3, 5}), 255);
    EXPECT_EQ(alphaAt(asked18, {1.1, 3.1}), 0);
    EXPECT_EQ(alphaAt(renderFine({40, 40}, red, 6), {1.1, 3.1}), 255);
    EXPECT_EQ(alphaAt(renderFine({40, 40}, QImage(), 18), {3, 5}), 255); // the placeholder too
    EXPECT_EQ(alphaAt(renderFine({40, 40}, QImage(), 18), {1.1, 3.1}), 0);
}

TEST(ArtworkView, ACoverKeepsItsProportionsAndThePlaceholderIsSquare)
{
    // A wide cover in a square frame: letterboxed, its corners rounded where it ends.
    const QImage wide = renderFine({40, 40}, solid({40, 20}, Qt::blue), 0);
    EXPECT_EQ(alphaAt(wide, {20, 8}), 0);
    EXPECT_EQ(alphaAt(wide, {20, 12}), 255);

    // A 30 x 20 thumbnail: a 20-point square, centred, and a 14-point mark in the middle.
    const QImage thumb = renderFine({30, 20}, QImage(), 8, true);
    EXPECT_EQ(alphaAt(thumb, {3, 10}), 0);
    EXPECT_GT(alphaAt(thumb, {6, 10}), 0);
    // The mark: bright (muted) pixels, exactly where a 14-point mark centred in the square lies.
    const auto bright = [](const QImage &image) {
        QRect box;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (qRed(image.pixel(x, y)) > 100)
                    box |= QRect(x, y, 1, 1);
        return box;
    };
    const QRect alone = bright(GlyphView::render(OrvelGlyph::mark, 14 * 4, Qt::white));
    ASSERT_FALSE(alone.isEmpty());
    EXPECT_EQ(bright(thumb), alone.translated(8 * 4, 3 * 4));
    // The picture placeholder is dark and shows no mark.
    EXPECT_TRUE(bright(renderFine({30, 20}, QImage(), 8, false)).isEmpty());
}

TEST(ArtworkView, TheFadeFollowsTheTrackChangeLevel)
{
    const auto full = ArtworkPicture::fade(MotionLevel::full);
    ASSERT_TRUE(full);
    EXPECT_DOUBLE_EQ(full->seconds, 0.35);
    EXPECT_NEAR(full->curve.valueForProgress(0.5), 0.5, 1e-3);
    EXPECT_LT(full->curve.valueForProgress(0.2), 0.12); // eases in
    const auto reduced = ArtworkPicture::fade(MotionLevel::reduced);
    ASSERT_TRUE(reduced);
    EXPECT_DOUBLE_EQ(reduced->seconds, 0.12);
    EXPECT_EQ(reduced->curve.type(), QEasingCurve::Linear);
    EXPECT_FALSE(ArtworkPicture::fade(MotionLevel::still));
}

TEST(ArtworkView, OnlyANewKeyFades)
{
    ArtworkPicture picture;
    QSignalSpy fades(&picture, &ArtworkPicture::fadeStarted);
    picture.setImage(solid({8, 8}, Qt::red)); // placeholder to "artwork"
    EXPECT_EQ(fades.count(), 1);
    EXPECT_TRUE(picture.fading());
    EXPECT_EQ(picture.progress(), 0);
    picture.setProgress(1);
    EXPECT_FALSE(picture.fading());

    picture.setImage(solid({8, 8}, Qt::blue)); // still "artwork": replaced in place
    EXPECT_EQ(fades.count(), 1);
    EXPECT_EQ(picture.progress(), 1);

    // Light effects make the track change still: a new cover shows at once.
    Skinned::of(&picture)->apply(Skin::classico, Aura::brand(), true, {});
    EXPECT_EQ(picture.fadeMilliseconds(), 0);
    picture.setIdentity(QStringLiteral("cover-b"));
    EXPECT_EQ(picture.key(), "cover-b");
    EXPECT_EQ(fades.count(), 1);
    EXPECT_FALSE(picture.fading());
}

TEST(ArtworkView, TheViewShowsItsFirstCoverAtOnceAndFadesLaterOnes)
{
    QmlHarness harness;
    const auto view = harness.view(QByteArray(R"(
        import QtQuick
        import Orvel
        ArtworkView {
            width: 40; height: 40
            source: "qrc:/Orvel/Shared/Assets/PreviewArtwork.svg"
            identity: "first"
        })"));
    ASSERT_TRUE(view) << harness.errors().toStdString();
    auto *picture = view->item()->property("picture").value<ArtworkPicture *>();
    ASSERT_TRUE(picture);
    EXPECT_TRUE(picture->hasImage());
    EXPECT_EQ(picture->key(), "first");
    EXPECT_FALSE(picture->fading());

    view->item()->setProperty("identity", QStringLiteral("second"));
    EXPECT_TRUE(picture->fading());
    EXPECT_EQ(picture->fadeMilliseconds(), 350);
    auto *fade = picture->findChild<QObject *>("fade");
    ASSERT_TRUE(fade);
    EXPECT_TRUE(fade->property("running").toBool());
    EXPECT_EQ(fade->property("duration").toInt(), 350);
    EXPECT_EQ(fade->property("easing").value<QEasingCurve>(), picture->fadeCurve());
    view->item()->setProperty("source", QUrl());
    EXPECT_EQ(picture->key(), "placeholder");
    EXPECT_TRUE(harness.warnings().isEmpty()) << harness.warnings().join("\n").toStdString();
}
