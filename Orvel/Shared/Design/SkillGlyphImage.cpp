#include "SkillGlyphImage.h"

#include "SkinEnvironment.h"

#include "Localization.h"

#include <cmath>

OrvelGlyph glyph(SkillGlyph skillGlyph)
{
    return fromRawValue<OrvelGlyph>(toRawValue(skillGlyph)).value_or(OrvelGlyph::note);
}

QString accessibilityName(SkillGlyph skillGlyph)
{
    switch (skillGlyph) {
    case SkillGlyph::note:
        return localized(QStringLiteral("Note"));
    case SkillGlyph::disc:
        return localized(QStringLiteral("Disc"));
    case SkillGlyph::list:
        return localized(QStringLiteral("List"));
    case SkillGlyph::mic:
        return localized(QStringLiteral("Microphone"));
    case SkillGlyph::radio:
        return localized(QStringLiteral("Radio"));
    case SkillGlyph::heart:
        return localized(QStringLiteral("Heart"));
    case SkillGlyph::star:
        return localized(QStringLiteral("Star"));
    case SkillGlyph::bolt:
        return localized(QStringLiteral("Bolt"));
    case SkillGlyph::flame:
        return localized(QStringLiteral("Flame"));
    case SkillGlyph::moon:
        return localized(QStringLiteral("Moon"));
    case SkillGlyph::sun:
        return localized(QStringLiteral("Sun"));
    case SkillGlyph::leaf:
        return localized(QStringLiteral("Leaf"));
    case SkillGlyph::headphones:
        return localized(QStringLiteral("Headphones"));
    case SkillGlyph::run:
        return localized(QStringLiteral("Run"));
    case SkillGlyph::coffee:
        return localized(QStringLiteral("Coffee"));
    case SkillGlyph::sparkle:
        return localized(QStringLiteral("Sparkles"));
    }
    return {};
}

SkillGlyphImage::SkillGlyphImage(QQuickItem *parent)
    : TintedGlyphItem(frameScale, parent)
{
}

void SkillGlyphImage::setGlyph(SkillGlyph glyph)
{
    if (glyph == m_glyph)
        return;
    m_glyph = glyph;
    emit glyphChanged();
    update();
}

void SkillGlyphImage::setGlyphName(const QString &name)
{
    if (const auto glyph = fromRawValue<SkillGlyph>(name))
        setGlyph(*glyph);
}

QRectF SkillGlyphImage::glyphRect(QPointF center, qreal size)
{
    const qreal side = size * glyphScale;
    return QRectF(center.x() - side / 2, center.y() - side / 2, side, side);
}

void SkillGlyphImage::paint(QPainter *painter)
{
    GlyphView::draw(
        *painter, ::glyph(m_glyph), glyphRect(QPointF(width() / 2, height() / 2), size()), color());
}
