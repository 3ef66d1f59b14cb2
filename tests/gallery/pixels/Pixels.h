#pragma once

#include "Scene.h"

#include <QColor>
#include <QHash>
#include <QImage>
#include <QQuickItem>
#include <QRect>
#include <QSet>
#include <QString>

#include <gtest/gtest.h>

// What the pixel checks read off a gallery picture.
namespace Pixels {

// WCAG's relative luminance and contrast ratio.
inline double luminance(QRgb rgb)
{
    const auto channel = [](int value) {
        const double c = value / 255.0;
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(qRed(rgb)) + 0.7152 * channel(qGreen(rgb)) + 0.0722 * channel(qBlue(rgb));
}

inline double contrast(QRgb a, QRgb b)
{
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The distinct colours within a rectangle of the picture.
inline QSet<QRgb> colours(const QImage &image, const QRect &area)
{
    const QImage pixels = image.convertToFormat(QImage::Format_ARGB32);
    QSet<QRgb> found;
    const QRect inside = area.intersected(pixels.rect());
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            found.insert(pixels.pixel(x, y));
    return found;
}

// The colour most pixels of the area have: the ground under a text.
inline QRgb mostCommon(const QImage &image, const QRect &area)
{
    const QImage pixels = image.convertToFormat(QImage::Format_ARGB32);
    QHash<QRgb, int> counts;
    const QRect inside = area.intersected(pixels.rect());
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            ++counts[pixels.pixel(x, y)];
    QRgb best = 0;
    int most = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        if (it.value() > most)
            std::tie(best, most) = std::pair{it.key(), it.value()};
    return best;
}

// The best contrast any pixel in the area has against `ground`: the text's.
inline double bestContrast(const QImage &image, const QRect &area, QRgb ground)
{
    double best = 1;
    for (const QRgb rgb : colours(image, area))
        best = std::max(best, contrast(rgb, ground));
    return best;
}

// An item's rectangle in the picture (the scene's root fills it at ratio 1).
inline QRect rectOf(const QQuickItem *item)
{
    return item->mapRectToScene(QRectF(0, 0, item->width(), item->height())).toAlignedRect();
}

template<typename T = QQuickItem>
T *find(QQuickItem *root, const char *name)
{
    return root->findChild<T *>(QString::fromLatin1(name));
}

// Renders a named scene; fails the test when it does not draw cleanly.
inline RenderedScene render(
    const QString &name, const std::function<void(ScriptedState &, QQuickItem *)> &later = {})
{
    const std::optional<Scene> scene = sceneNamed(name);
    if (!scene) {
        ADD_FAILURE() << "no scene " << name.toStdString();
        return {};
    }
    RenderedScene picture = renderScene(*scene, later);
    EXPECT_TRUE(picture.problem.isEmpty()) << name.toStdString() << ": " << picture.problem.toStdString();
    return picture;
}

} // namespace Pixels
