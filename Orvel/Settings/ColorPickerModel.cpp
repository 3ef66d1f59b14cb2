#include "ColorPickerModel.h"

#include "VisualizerSettingsModel.h"

#include <QRegularExpression>
#include <algorithm>
#include <cmath>

namespace {
double fraction(double position, double length)
{
    if (!(length > 0) || std::isnan(position))
        return 0;
    return std::clamp(position / length, 0.0, 1.0);
}
} // namespace

ColorPickerModel::ColorPickerModel(QObject *parent)
    : QObject(parent)
{
    setColor(Qt::white);
}

QColor ColorPickerModel::colorAt(double hue, double saturation, double value)
{
    // A hue of 1 is red again, as 0 is.
    const double wrapped = hue >= 1 ? 0 : std::clamp(hue, 0.0, 1.0);
    return QColor::fromHsvF(
        float(wrapped), float(std::clamp(saturation, 0.0, 1.0)), float(std::clamp(value, 0.0, 1.0)));
}

std::optional<QColor> ColorPickerModel::parseHex(const QString &text)
{
    static const QRegularExpression digits(QStringLiteral("^#?([0-9A-Fa-f]{6})$"));
    const QRegularExpressionMatch match = digits.match(text.trimmed());
    if (!match.hasMatch())
        return std::nullopt;
    return QColor::fromRgb(match.captured(1).toUInt(nullptr, 16));
}

void ColorPickerModel::setColor(const QColor &color)
{
    if (!color.isValid() || color == m_color)
        return;
    // Kept as given, not through hue, saturation and value: an unchanged
    // colour gives back the digits it came from.
    m_color = color.toRgb();
    const QColor hsv = m_color.toHsv();
    // Greys have no hue of their own: the strip keeps its own.
    if (hsv.hsvHueF() >= 0)
        m_hue = hsv.hsvHueF();
    m_saturation = hsv.hsvSaturationF();
    m_value = hsv.valueF();
    emit changed();
}

QString ColorPickerModel::hex() const
{
    return VisualizerSettingsModel::hexOf(m_color).value_or(QString());
}

void ColorPickerModel::pick(double hue, double saturation, double value)
{
    if (hue == m_hue && saturation == m_saturation && value == m_value)
        return;
    m_hue = hue;
    m_saturation = saturation;
    m_value = value;
    m_color = colorAt(hue, saturation, value);
    emit changed();
}

void ColorPickerModel::pickInField(double x, double y, double width, double height)
{
    pick(m_hue, fraction(x, width), 1 - fraction(y, height));
}

void ColorPickerModel::pickHue(double x, double width)
{
    pick(fraction(x, width), m_saturation, m_value);
}

bool ColorPickerModel::enterHex(const QString &text)
{
    const std::optional<QColor> color = parseHex(text);
    if (color)
        setColor(*color);
    return color.has_value();
}
