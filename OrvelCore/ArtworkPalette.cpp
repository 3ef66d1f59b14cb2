#include "ArtworkPalette.h"

#include "Json.h"

#include <QBuffer>
#include <QColorSpace>
#include <QImageReader>
#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

using Swatch = ArtworkPalette::Swatch;

namespace {

// The hue rule shared by Swatch::hsv and the analysis: red tested first, then green.
double hueOf(double red, double green, double blue, double max, double delta)
{
    double hue;
    if (max == red)
        hue = std::fmod((green - blue) / delta, 6.0);
    else if (max == green)
        hue = (blue - red) / delta + 2.0;
    else
        hue = (red - green) / delta + 4.0;
    hue *= 60.0;
    if (hue < 0)
        hue += 360.0;
    return hue;
}

Swatch clampedSwatch(double red, double green, double blue)
{
    const Swatch::HSV hsv = Swatch{red, green, blue}.hsv();
    return Swatch::fromHSV(hsv.hue,
        std::clamp(hsv.saturation, ArtworkPalette::minimumSaturation, ArtworkPalette::maximumSaturation),
        std::clamp(hsv.value, ArtworkPalette::minimumValue, ArtworkPalette::maximumValue));
}

int circularDistance(int a, int b)
{
    const int d = std::abs(a - b);
    return std::min(d, ArtworkPalette::sectorCount - d);
}

} // namespace

Swatch Swatch::fromHSV(double hue, double saturation, double value)
{
    // A non-finite hue has no meaning; reading it as red keeps the sector arithmetic defined.
    const double h = std::isfinite(hue) ? std::fmod(std::fmod(hue, 360.0) + 360.0, 360.0) : 0.0;
    const double hp = h / 60.0;
    const int sector = int(hp);
    const double c = value * saturation;
    const double x = c * (1.0 - std::abs(std::fmod(hp, 2.0) - 1.0));
    const double m = value - c;
    double r, g, b;
    switch (sector) {
    case 0:
        r = c, g = x, b = 0;
        break;
    case 1:
        r = x, g = c, b = 0;
        break;
    case 2:
        r = 0, g = c, b = x;
        break;
    case 3:
        r = 0, g = x, b = c;
        break;
    case 4:
        r = x, g = 0, b = c;
        break;
    default:
        r = c, g = 0, b = x;
        break;
    }
    return Swatch{r + m, g + m, b + m};
}

Swatch::HSV Swatch::hsv() const
{
    const double max = std::max({red, green, blue});
    const double min = std::min({red, green, blue});
    const double delta = max - min;
    HSV result;
    result.hue = delta > 0 ? hueOf(red, green, blue, max, delta) : 0.0;
    result.saturation = max == 0 ? 0.0 : delta / max;
    result.value = max;
    return result;
}

QJsonValue Swatch::toJson() const
{
    return QJsonObject{{QStringLiteral("red"), json::finite(red)},
        {QStringLiteral("green"), json::finite(green)}, {QStringLiteral("blue"), json::finite(blue)}};
}

Swatch Swatch::fromJson(const QJsonValue &value)
{
    const QJsonObject o = json::asObject(value);
    return Swatch{json::number(o, QStringLiteral("red")), json::number(o, QStringLiteral("green")),
        json::number(o, QStringLiteral("blue"))};
}

QJsonValue ArtworkPalette::toJson() const
{
    return QJsonObject{{QStringLiteral("primary"), primary.toJson()},
        {QStringLiteral("secondary"), secondary.toJson()}, {QStringLiteral("deep"), deep.toJson()}};
}

ArtworkPalette ArtworkPalette::fromJson(const QJsonValue &value)
{
    const QJsonObject o = json::asObject(value);
    return ArtworkPalette{json::decode<Swatch>(o, QStringLiteral("primary")),
        json::decode<Swatch>(o, QStringLiteral("secondary")),
        json::decode<Swatch>(o, QStringLiteral("deep"))};
}

std::optional<ArtworkPalette> ArtworkPalette::extract(const QByteArray &imageData, int maxPixel)
{
    if (maxPixel < 1)
        return std::nullopt;
    QByteArray data = imageData;
    QBuffer buffer(&data);
    if (!buffer.open(QIODevice::ReadOnly))
        return std::nullopt;
    QImageReader reader(&buffer);
    reader.setAutoTransform(true);
    // Ask the decoder for the thumbnail size up front so a large cover is never decoded at full size.
    const QSize size = reader.size();
    const auto fitted = [maxPixel](QSize original) {
        const QSize bounded = original.scaled(maxPixel, maxPixel, Qt::KeepAspectRatio);
        return QSize(std::max(bounded.width(), 1), std::max(bounded.height(), 1));
    };
    const bool knownSize = size.isValid() && !size.isEmpty();
    if (knownSize && std::max(size.width(), size.height()) > maxPixel)
        reader.setScaledSize(fitted(size));
    QImage thumbnail = reader.read();
    if (thumbnail.isNull())
        return std::nullopt;
    if (std::max(thumbnail.width(), thumbnail.height()) > maxPixel)
        thumbnail
            = thumbnail.scaled(fitted(thumbnail.size()), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return extract(thumbnail, thumbnailSampleSide);
}

std::optional<ArtworkPalette> ArtworkPalette::extract(const QImage &image, int sample)
{
    if (image.isNull())
        return std::nullopt;
    const int side = std::max(sample, minimumSampleSide);
    QImage square = image.scaled(side, side, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    if (square.isNull())
        return std::nullopt;
    const QColorSpace colorSpace = square.colorSpace();
    if (colorSpace.isValid() && colorSpace != QColorSpace(QColorSpace::SRgb)) {
        square
            = square.convertToFormat(square.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
        square.convertToColorSpace(QColorSpace::SRgb);
    }
    square = square.convertToFormat(QImage::Format_RGBA8888_Premultiplied);
    if (square.isNull() || square.width() != side || square.height() != side)
        return std::nullopt;

    std::vector<std::uint8_t> pixels(std::size_t(side) * std::size_t(side) * 4);
    const std::size_t rowBytes = std::size_t(side) * 4;
    for (int y = 0; y < side; ++y)
        std::copy_n(square.constScanLine(y), rowBytes, pixels.data() + std::size_t(y) * rowBytes);
    return analyzePixels(pixels, side);
}

std::optional<ArtworkPalette> ArtworkPalette::analyzePixels(std::span<const std::uint8_t> rgba, int side)
{
    if (side < 1 || std::uint64_t(side) * std::uint64_t(side) > rgba.size() / 4)
        return std::nullopt;
    const std::size_t pixelCount = std::size_t(side) * std::size_t(side);

    std::array<double, sectorCount> weight{}, redSum{}, greenSum{}, blueSum{};
    double total = 0;
    for (std::size_t i = 0; i < pixelCount; ++i) {
        const std::uint8_t *pixel = rgba.data() + i * 4;
        const double a = pixel[3] / 255.0;
        if (a < alphaCut)
            continue;
        const double r = std::min(pixel[0] / 255.0 / a, 1.0);
        const double g = std::min(pixel[1] / 255.0 / a, 1.0);
        const double b = std::min(pixel[2] / 255.0 / a, 1.0);
        const double max = std::max({r, g, b});
        const double min = std::min({r, g, b});
        if (max < valueCut)
            continue;
        const double chroma = max - min;
        if (chroma < chromaCut)
            continue;
        // A hue that rounds up to 360 still belongs to the last sector.
        const int sector = std::min(int(hueOf(r, g, b, max, chroma) / 30.0), sectorCount - 1);
        const double w = (max + weightOffset) * chroma;
        weight[sector] += w;
        total += w;
        redSum[sector] += r * w;
        greenSum[sector] += g * w;
        blueSum[sector] += b * w;
    }
    if (total < minimumWeightPerPixel * double(pixelCount))
        return std::nullopt;

    const auto wrap = [](int sector) { return (sector + sectorCount) % sectorCount; };
    std::array<double, sectorCount> score{};
    for (int i = 0; i < sectorCount; ++i)
        score[i] = weight[i] + (weight[wrap(i - 1)] + weight[wrap(i + 1)]) * neighbourFactor;

    int p = 0;
    for (int i = 1; i < sectorCount; ++i) {
        if (score[i] > score[p])
            p = i;
    }

    double memberWeight = 0, memberRed = 0, memberGreen = 0, memberBlue = 0;
    for (int member : {wrap(p - 1), p, wrap(p + 1)}) {
        if (weight[member] > 0) {
            memberWeight += weight[member];
            memberRed += redSum[member];
            memberGreen += greenSum[member];
            memberBlue += blueSum[member];
        }
    }
    const Swatch primary
        = clampedSwatch(memberRed / memberWeight, memberGreen / memberWeight, memberBlue / memberWeight);
    const Swatch::HSV primaryHSV = primary.hsv();

    int s = -1;
    for (int i = 0; i < sectorCount; ++i) {
        if (circularDistance(i, p) < secondaryDistance || !(weight[i] > 0)
            || score[i] < secondaryScoreRatio * score[p])
            continue;
        if (s < 0 || score[i] > score[s])
            s = i;
    }
    const Swatch secondary = s >= 0
        ? clampedSwatch(redSum[s] / weight[s], greenSum[s] / weight[s], blueSum[s] / weight[s])
        : Swatch::fromHSV(primaryHSV.hue + fallbackTurn, primaryHSV.saturation, primaryHSV.value);
    const Swatch deep
        = Swatch::fromHSV(primaryHSV.hue, std::min(primaryHSV.saturation, deepSaturationCap), deepValue);
    return ArtworkPalette{primary, secondary, deep};
}
