#include "VisualizerDrawing.h"

#include "Json.h"
#include "SkinEnvironment.h"

#include <QJSValue>
#include <QJsonObject>
#include <QPainter>
#include <QQuickWindow>
#include <cmath>
#include <numbers>

namespace {
constexpr double pi = std::numbers::pi;
constexpr quint64 fallbackValue = 0xC4F08F;

std::optional<quint64> parseHex(QStringView text)
{
    bool negative = false;
    if (text.startsWith(QLatin1Char('+'))) {
        text = text.mid(1);
    } else if (text.startsWith(QLatin1Char('-'))) {
        negative = true;
        text = text.mid(1);
    }
    if (text.isEmpty())
        return std::nullopt;
    quint64 value = 0;
    for (const QChar c : text) {
        int digit;
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            digit = c.unicode() - '0';
        else if (c >= QLatin1Char('a') && c <= QLatin1Char('f'))
            digit = c.unicode() - 'a' + 10;
        else if (c >= QLatin1Char('A') && c <= QLatin1Char('F'))
            digit = c.unicode() - 'A' + 10;
        else
            return std::nullopt;
        if (value > (std::numeric_limits<quint64>::max() >> 4))
            return std::nullopt;
        value = (value << 4) | quint64(digit);
    }
    // A minus sign is only harmless in front of zero.
    if (negative && value != 0)
        return std::nullopt;
    return value;
}

SRGBColor hexColor(const char *hex)
{
    return colorFromHex(QString::fromLatin1(hex));
}

// One box pass over a line of alpha values (outside the image counts as clear).
void boxPass(const std::vector<int> &in, std::vector<int> &out, int count, int stride, int offset, int half)
{
    const int width = 2 * half + 1;
    int sum = 0;
    for (int i = 0; i <= std::min(half, count - 1); ++i)
        sum += in[offset + i * stride];
    for (int i = 0; i < count; ++i) {
        out[offset + i * stride] = (sum + width / 2) / width;
        const int enter = i + half + 1, leave = i - half;
        if (enter < count)
            sum += in[offset + enter * stride];
        if (leave >= 0)
            sum -= in[offset + leave * stride];
    }
}

// Blurs the alpha of an image in place and scales it by the opacity: three box
// passes each way, close to a Gaussian with sigma = radius / 2 at a fraction of its cost.
void blurAlpha(QImage &image, double radius, double opacity)
{
    const double sigma = std::max(radius / 2, 0.1);
    const int half = std::max(0, int(std::lround((std::sqrt(4 * sigma * sigma + 1) - 1) / 2)));
    const int w = image.width(), h = image.height();
    std::vector<int> a(std::size_t(w) * h), b(a.size());
    for (int y = 0; y < h; ++y) {
        const QRgb *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < w; ++x)
            a[std::size_t(y) * w + x] = qAlpha(line[x]);
    }
    for (int pass = 0; pass < 3; ++pass) {
        for (int y = 0; y < h; ++y)
            boxPass(a, b, w, 1, y * w, half);
        for (int x = 0; x < w; ++x)
            boxPass(b, a, h, w, x, half);
    }
    for (int y = 0; y < h; ++y) {
        QRgb *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < w; ++x)
            line[x]
                = qRgba(0, 0, 0, std::clamp(int(std::lround(a[std::size_t(y) * w + x] * opacity)), 0, 255));
    }
}
// An alpha mask (as blurAlpha leaves it) in one colour, premultiplied in place.
void tint(QImage &mask, const QColor &color)
{
    mask = std::move(mask).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const auto times = [](int component, int alpha) { return (component * alpha + 127) / 255; };
    const int red = color.red(), green = color.green(), blue = color.blue();
    for (int y = 0; y < mask.height(); ++y) {
        QRgb *line = reinterpret_cast<QRgb *>(mask.scanLine(y));
        for (int x = 0; x < mask.width(); ++x) {
            const int alpha = qAlpha(line[x]);
            line[x] = qRgba(times(red, alpha), times(green, alpha), times(blue, alpha), alpha);
        }
    }
}
} // namespace

SRGBColor colorFromHex(const QString &text)
{
    const quint64 value = parseHex(text).value_or(fallbackValue);
    return {
        double((value >> 16) & 0xFF) / 255, double((value >> 8) & 0xFF) / 255, double(value & 0xFF) / 255, 1};
}

VisualizerSettings visualizerSettingsFromVariant(const QVariant &json)
{
    const QVariant plain
        = json.metaType() == QMetaType::fromType<QJSValue>() ? json.value<QJSValue>().toVariant() : json;
    try {
        return VisualizerSettings::fromJson(QJsonValue::fromVariant(plain));
    } catch (const std::exception &) {
        return VisualizerSettings();
    }
}

QList<SRGBColor> visualizerColors(const VisualizerSettings &settings)
{
    using P = VisualizerPalette;
    switch (settings.palette) {
    case P::orvel:
    case P::artwork:
        return {Brand::green(), Brand::cyan()};
    case P::mint:
        return {hexColor("75C8AE"), hexColor("C4F08F")};
    case P::aurora:
        return {hexColor("41D9DB"), hexColor("8580F4"), hexColor("ED63BA")};
    case P::sunset:
        return {hexColor("FF687D"), hexColor("FFAD60"), hexColor("F1E976")};
    case P::spectrum:
        return {hexColor("42D4DE"), hexColor("94DD81"), hexColor("F2DE65"), hexColor("FF835D"),
            hexColor("EC61B2")};
    case P::custom: {
        const SRGBColor color = colorFromHex(settings.safeHex());
        return {color.withOpacity(0.65), color};
    }
    }
    return {Brand::green(), Brand::cyan()};
}

QList<SRGBColor> VisualizerDrawing::colors(const Frame &frame)
{
    if (frame.monochrome)
        return {SRGBColor::white(0.65), SRGBColor::white(1)};
    if (frame.settings.palette == VisualizerPalette::artwork)
        return {frame.aura.primary, frame.aura.secondary};
    return visualizerColors(frame.settings);
}

SRGBColor VisualizerDrawing::glowColor(const Frame &frame)
{
    if (!frame.settings.glow || !frame.playing || frame.monochrome || frame.light)
        return {0, 0, 0, 0};
    const SRGBColor first = colors(frame).front();
    return first.withOpacity(first.opacity * glowOpacity);
}

QLinearGradient VisualizerDrawing::shading(const Frame &frame, QSizeF size)
{
    QLinearGradient gradient(QPointF(0, 0), QPointF(size.width(), 0.3 * size.height()));
    const auto list = colors(frame);
    for (qsizetype i = 0; i < list.size(); ++i)
        gradient.setColorAt(list.size() == 1 ? 0 : double(i) / double(list.size() - 1), list[i].toQColor());
    return gradient;
}

std::vector<VisualizerDrawing::Shape> VisualizerDrawing::shapes(const Frame &frame, QSizeF size)
{
    const double W = size.width(), H = size.height();
    std::vector<Shape> result;
    if (!(W > 0) || !(H > 0) || !std::isfinite(W) || !std::isfinite(H))
        return result;
    const int n = count(frame);
    const auto level = frame.settings.samples(n, frame.time, frame.playing, frame.reducedMotion);
    const double speed = frame.settings.safeSpeed();
    // A time that is not a number moves nothing, as the levels already assume.
    const double time = std::isfinite(frame.time) ? frame.time : 0;
    const double phase = (!frame.playing || frame.reducedMotion) ? 0 : 2 * time * speed;

    const double step = W / n;
    const double barWidth = std::max(step * 0.64, 1.2);
    const auto barHeight = [&](int i) { return std::max(H * level[i] * 0.92, 2.0); };
    const auto barX = [&](int i) { return step * 0.18 + step * i; };

    switch (frame.settings.style) {
    case VisualizerStyle::bars: {
        const double radius = std::min(barWidth * 0.5, 2.0);
        for (int i = 0; i < n; ++i) {
            const double h = barHeight(i);
            Shape shape;
            shape.path.addRoundedRect(QRectF(barX(i), (H - h) / 2, barWidth, h), radius, radius);
            result.push_back(std::move(shape));
        }
        break;
    }
    case VisualizerStyle::dots: {
        const double d = std::min(frame.compact ? 2.0 : 3.0, barWidth);
        const double pitch = d + 2;
        Shape shape;
        // On a narrow canvas neighbouring columns overlap; their dots must add up, not cancel.
        shape.path.setFillRule(Qt::WindingFill);
        for (int i = 0; i < n; ++i) {
            const int k = std::max(int(barHeight(i) / pitch), 1);
            const double top = (H - pitch * k) / 2;
            for (int j = 0; j < k; ++j)
                shape.path.addEllipse(QRectF(barX(i), top + pitch * j, d, d));
        }
        result.push_back(std::move(shape));
        break;
    }
    case VisualizerStyle::wave: {
        const int lines = frame.compact ? 2 : 4;
        const double lineWidth = frame.compact ? 1.2 : 1.7;
        const int last = n - 1;
        for (int j = 0; j < lines; ++j) {
            const double a = 1 - 0.17 * j;
            const double o = 0.35 * j;
            Shape shape{QPainterPath(), true, lineWidth, true, 1 - 0.2 * j};
            shape.path.moveTo(0, H / 2 + H * a * level[0] * std::sin(o + phase) * 0.43);
            for (int k = 1; k <= 80; ++k) {
                const double t = k / 80.0;
                const int index = std::min(last, int(t * last));
                shape.path.lineTo(
                    W * t, H / 2 + H * a * level[index] * std::sin(o + 4 * pi * t + phase) * 0.43);
            }
            result.push_back(std::move(shape));
        }
        break;
    }
    case VisualizerStyle::orbit: {
        const int rings = frame.compact ? 2 : 5;
        const double lineWidth = frame.compact ? 1.0 : 1.4;
        const double r0 = std::min(W, H) * 0.76 * 0.5;
        const double intensity = frame.settings.safeIntensity();
        const double q = frame.reducedMotion ? 0 : time * speed;
        const auto wobble = [&](double angle) {
            return frame.playing ? std::sin(5 * angle + 2 * q) * intensity * 0.15 : 0.0;
        };
        for (int i = 0; i < rings; ++i) {
            const double s = 1 - 0.12 * i;
            Shape shape{QPainterPath(), true, lineWidth, false, 1 - 0.13 * i};
            shape.path.moveTo(W / 2 + r0 * (s + wobble(0)), H / 2);
            for (int k = 1; k <= 100; ++k) {
                const double angle = 2 * pi * k / 100;
                const double radius = r0 * (s + wobble(angle));
                shape.path.lineTo(W / 2 + std::cos(angle) * radius, H / 2 + std::sin(angle) * radius);
            }
            shape.path.closeSubpath();
            result.push_back(std::move(shape));
        }
        break;
    }
    }
    return result;
}

void VisualizerDrawing::drawShapes(QPainter &painter, const Frame &frame, QSizeF size)
{
    const QBrush brush(shading(frame, size));
    for (const Shape &shape : shapes(frame, size)) {
        painter.setOpacity(shape.opacity);
        if (shape.stroked) {
            QPen pen(brush, shape.lineWidth);
            pen.setCapStyle(shape.round ? Qt::RoundCap : Qt::FlatCap);
            pen.setJoinStyle(shape.round ? Qt::RoundJoin : Qt::MiterJoin);
            pen.setMiterLimit(10);
            painter.strokePath(shape.path, pen);
        } else {
            painter.fillPath(shape.path, brush);
        }
    }
    painter.setOpacity(1);
}

QImage VisualizerDrawing::render(const Frame &frame, QSizeF size, qreal devicePixelRatio)
{
    const QSize pixels = (size * devicePixelRatio).toSize();
    if (pixels.isEmpty())
        return {};
    QImage drawing(pixels, QImage::Format_ARGB32_Premultiplied);
    drawing.fill(Qt::transparent);
    drawing.setDevicePixelRatio(devicePixelRatio);
    {
        QPainter painter(&drawing);
        painter.setRenderHint(QPainter::Antialiasing);
        drawShapes(painter, frame, size);
    }
    const SRGBColor glow = glowColor(frame);
    if (glow.opacity <= 0)
        return drawing;

    // The glow is the drawing's shadow: its coverage, blurred and tinted, behind it.
    QImage shadow = drawing.convertToFormat(QImage::Format_ARGB32);
    blurAlpha(shadow, glowRadius(frame) * devicePixelRatio, glow.opacity);
    QImage result(pixels, QImage::Format_ARGB32_Premultiplied);
    result.fill(glow.withOpacity(1).toQColor());
    result.setDevicePixelRatio(devicePixelRatio);
    {
        QPainter painter(&result);
        painter.setCompositionMode(QPainter::CompositionMode_DestinationIn);
        shadow.setDevicePixelRatio(devicePixelRatio);
        painter.drawImage(QPointF(0, 0), shadow);
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        painter.drawImage(QPointF(0, 0), drawing);
    }
    return result;
}

VisualizerDrawing::VisualizerDrawing(QQuickItem *parent)
    : QQuickPaintedItem(parent)
{
    setAntialiasing(true);
    connect(this, &VisualizerDrawing::changed, this, [this] { update(); });
    setAcceptedMouseButtons(Qt::NoButton);
}

template<class T>
void VisualizerDrawing::assign(T &field, const T &value)
{
    if (field == value)
        return;
    field = value;
    emit changed();
}

void VisualizerDrawing::setSettings(const VisualizerSettings &settings)
{
    assign(m_frame.settings, settings);
}

QVariant VisualizerDrawing::settingsJson() const
{
    return m_frame.settings.toJson().toVariant();
}

void VisualizerDrawing::setSettingsJson(const QVariant &json)
{
    setSettings(visualizerSettingsFromVariant(json));
}

void VisualizerDrawing::setPlaying(bool playing)
{
    assign(m_frame.playing, playing);
}

void VisualizerDrawing::setTime(double time)
{
    assign(m_frame.time, time);
}

void VisualizerDrawing::setReducedMotion(bool reducedMotion)
{
    assign(m_frame.reducedMotion, reducedMotion);
}

void VisualizerDrawing::setMonochrome(bool monochrome)
{
    assign(m_frame.monochrome, monochrome);
}

void VisualizerDrawing::setCompact(bool compact)
{
    assign(m_frame.compact, compact);
}

VisualizerDrawing::Frame VisualizerDrawing::frame() const
{
    Frame result = m_frame;
    const SkinnedAttached *skinned = environment();
    result.aura = skinned->aura();
    result.light = skinned->lightEffects();
    return result;
}

void VisualizerDrawing::paint(QPainter *painter)
{
    // Drawn straight onto the item's own picture, which starts clear: at 15 or
    // 30 frames a second a picture of our own to copy is a cost for nothing.
    const Frame current = frame();
    const QSizeF area = size();
    const SRGBColor glow = glowColor(current);
    if (glow.opacity <= 0) {
        painter->setRenderHint(QPainter::Antialiasing);
        drawShapes(*painter, current, area);
        return;
    }
    const qreal dpr = window() ? window()->effectiveDevicePixelRatio() : 1;
    const QSize pixels = (area * dpr).toSize();
    if (pixels.isEmpty())
        return;
    if (m_drawing.size() != pixels) {
        m_drawing = QImage(pixels, QImage::Format_ARGB32_Premultiplied);
        m_drawing.setDevicePixelRatio(dpr);
    }
    m_drawing.fill(Qt::transparent);
    {
        QPainter shapes(&m_drawing);
        shapes.setRenderHint(QPainter::Antialiasing);
        drawShapes(shapes, current, area);
    }
    // The glow behind the drawing: its coverage, blurred, in the glow's colour.
    QImage shadow = m_drawing.convertToFormat(QImage::Format_ARGB32);
    blurAlpha(shadow, glowRadius(current) * dpr, glow.opacity);
    tint(shadow, glow.withOpacity(1).toQColor());
    shadow.setDevicePixelRatio(dpr);
    painter->drawImage(QRectF(QPointF(0, 0), area), shadow);
    painter->drawImage(QRectF(QPointF(0, 0), area), m_drawing);
}

QList<QColor> VisualizerColors::palette(const QString &palette, const QString &customHex) const
{
    VisualizerSettings settings;
    settings.palette = fromRawValue<VisualizerPalette>(palette).value_or(VisualizerPalette::orvel);
    settings.customHex = customHex;
    QList<QColor> result;
    for (const SRGBColor &color : visualizerColors(settings))
        result << color.toQColor();
    return result;
}

SkinnedAttached *VisualizerDrawing::environment() const
{
    auto *self = const_cast<VisualizerDrawing *>(this);
    return m_environment.get(self, [self] { self->update(); });
}

void VisualizerDrawing::componentComplete()
{
    QQuickPaintedItem::componentComplete();
    environment();
}
