#pragma once

#include <QByteArray>
#include <QImage>
#include <QJsonValue>
#include <cstdint>
#include <optional>
#include <span>

// Three colours taken from a cover image: a bright primary, a contrasting
// secondary and a dark deep tone. Components are sRGB values, nominally 0...1.
struct ArtworkPalette {
    struct Swatch {
        struct HSV {
            double hue = 0; // degrees, 0..<360
            double saturation = 0;
            double value = 0;
            friend bool operator==(const HSV &, const HSV &) = default;
        };

        double red = 0;
        double green = 0;
        double blue = 0;

        // Hue in degrees, taken modulo 360; saturation and value are used unclamped.
        static Swatch fromHSV(double hue, double saturation, double value);
        HSV hsv() const;

        QJsonValue toJson() const;
        static Swatch fromJson(const QJsonValue &value);

        friend bool operator==(const Swatch &, const Swatch &) = default;
    };

    Swatch primary;
    Swatch secondary;
    Swatch deep;

    static constexpr int thumbnailSampleSide = 24;
    static constexpr int minimumSampleSide = 4;
    static constexpr int sectorCount = 12;
    static constexpr double alphaCut = 0.5;
    static constexpr double valueCut = 0.12;
    static constexpr double chromaCut = 0.1;
    static constexpr double weightOffset = 0.35;
    static constexpr double minimumWeightPerPixel = 0.02;
    static constexpr double neighbourFactor = 0.5;
    static constexpr int secondaryDistance = 2;
    static constexpr double secondaryScoreRatio = 0.2;
    static constexpr double minimumSaturation = 0.55;
    static constexpr double maximumSaturation = 0.95;
    static constexpr double minimumValue = 0.8;
    static constexpr double maximumValue = 1.0;
    static constexpr double fallbackTurn = 40;
    static constexpr double deepSaturationCap = 0.6;
    static constexpr double deepValue = 0.16;

    // Decodes a thumbnail no larger than maxPixel (orientation applied) and samples it
    // on a thumbnailSampleSide square. Nothing for undecodable data or a colourless image.
    static std::optional<ArtworkPalette> extract(const QByteArray &imageData, int maxPixel);
    // Draws the whole image stretched into a max(sample, 4) square and analyses it.
    static std::optional<ArtworkPalette> extract(const QImage &image, int sample);
    // The colour analysis of side × side pixels, bytes R, G, B, A with alpha premultiplied.
    // Nothing when the buffer is shorter than that or the image has too little colour.
    static std::optional<ArtworkPalette> analyzePixels(std::span<const std::uint8_t> rgba, int side);

    QJsonValue toJson() const;
    static ArtworkPalette fromJson(const QJsonValue &value);

    friend bool operator==(const ArtworkPalette &, const ArtworkPalette &) = default;
};
