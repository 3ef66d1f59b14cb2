#include "SurfaceChoiceStyle.h"

#include "Localization.h"
#include "Typography.h"

SurfaceChoiceStyle::Metrics SurfaceChoiceStyle::metrics(bool compact)
{
    if (compact)
        return {74, 10, 12, 13, 11, 28};
    return {132, 14, 14, 15, 12, 32};
}

QString SurfaceChoiceStyle::title(SurfaceKind kind)
{
    return kind == SurfaceKind::notch ? QStringLiteral("Top player") : QStringLiteral("Right sidebar");
}

QString SurfaceChoiceStyle::caption(SurfaceKind kind)
{
    return kind == SurfaceKind::notch ? QStringLiteral("Hover at the top to unfold your music.")
                                      : QStringLiteral("Artwork, controls and shortcuts on the right.");
}

SurfaceChoiceStyle::SurfaceChoiceStyle(QObject *parent)
    : QObject(parent)
{
}

void SurfaceChoiceStyle::setKindName(const QString &name)
{
    const SurfaceKind kind = fromRawValue<SurfaceKind>(name).value_or(SurfaceKind::notch);
    if (kind == m_kind)
        return;
    m_kind = kind;
    emit changed();
}

void SurfaceChoiceStyle::setCompact(bool compact)
{
    if (compact == m_compact)
        return;
    m_compact = compact;
    emit changed();
}

void SurfaceChoiceStyle::setOn(bool on)
{
    if (on == m_on)
        return;
    m_on = on;
    emit changed();
}

QFont SurfaceChoiceStyle::titleFont() const
{
    return FontDescription{metrics(m_compact).titleSize, FontWeight::semibold}.toQFont();
}

QFont SurfaceChoiceStyle::captionFont() const
{
    return FontDescription{metrics(m_compact).captionSize, FontWeight::regular}.toQFont();
}

QFont SurfaceChoiceStyle::stateFont() const
{
    return FontDescription{11, FontWeight::medium}.toQFont();
}

QString SurfaceChoiceStyle::title() const
{
    return localized(title(m_kind));
}

QString SurfaceChoiceStyle::caption() const
{
    return localized(caption(m_kind));
}

QString SurfaceChoiceStyle::stateText() const
{
    return localized(stateText(m_on));
}

QString SurfaceChoiceStyle::accessibleValue() const
{
    return localized(accessibleValue(m_on));
}

QString SurfaceChoiceStyle::accessibleHint() const
{
    return localized(QStringLiteral("Click to enable or disable this panel."));
}
