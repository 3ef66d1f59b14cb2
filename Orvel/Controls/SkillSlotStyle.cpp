#include "SkillSlotStyle.h"

#include "Localization.h"

namespace {
QColor withOpacity(const SRGBColor &color, double opacity)
{
    return color.withOpacity(color.opacity * opacity).toQColor();
}

QVariantMap item(const QString &text, const QString &action, bool destructive = false)
{
    return {{"text", localized(text)}, {"action", action}, {"destructive", destructive}, {"enabled", true}};
}
} // namespace

QString SkillSlotStyle::kindName(const QString &kind)
{
    if (kind.isEmpty())
        return {};
    return localized(kind.left(1).toUpper() + kind.mid(1));
}

SkillSlotStyle::SkillSlotStyle(QObject *parent)
    : QObject(parent)
{
}

void SkillSlotStyle::setPalette(const SkinPalette &palette)
{
    assign(m_palette, palette);
}
void SkillSlotStyle::setIndex(int index)
{
    assign(m_index, index);
}
void SkillSlotStyle::setShortcutID(const QString &id)
{
    assign(m_shortcutID, id);
}
void SkillSlotStyle::setTitle(const QString &title)
{
    assign(m_title, title);
}
void SkillSlotStyle::setKind(const QString &kind)
{
    assign(m_kind, kind);
}
void SkillSlotStyle::setCasting(const QVariant &id)
{
    assign(m_casting, id);
}
void SkillSlotStyle::setLastCast(const QVariant &id)
{
    assign(m_lastCast, id);
}
void SkillSlotStyle::setFailedCast(const QVariant &id)
{
    assign(m_failedCast, id);
}
void SkillSlotStyle::setErrorKey(const QVariant &key)
{
    assign(m_errorKey, key);
}
void SkillSlotStyle::setHovering(bool hovering)
{
    assign(m_hovering, hovering);
}
void SkillSlotStyle::setCastLevel(const QString &level)
{
    assign(m_castLevel, level);
}

bool SkillSlotStyle::names(const QVariant &id) const
{
    if (!filled() || id.isNull() || !id.isValid())
        return false;
    return id.toString() == m_shortcutID;
}

bool SkillSlotStyle::clickable() const
{
    if (!filled())
        return true;
    const bool someoneCasts = m_casting.isValid() && !m_casting.isNull() && !m_casting.toString().isEmpty();
    return !someoneCasts || isCasting();
}

QColor SkillSlotStyle::groundFill() const
{
    return circle() ? QColor(Qt::transparent) : m_palette.fill.toQColor();
}

QColor SkillSlotStyle::groundStroke() const
{
    if (circle())
        return withOpacity(m_palette.text, m_hovering ? 0.55 : 0.28);
    return isLastCast() ? m_palette.accent.toQColor() : QColor(Qt::transparent);
}

qreal SkillSlotStyle::groundStrokeWidth() const
{
    if (circle())
        return 1;
    return isLastCast() ? ringWidth : 0;
}

QColor SkillSlotStyle::glyphColor() const
{
    return (circle() ? m_palette.text : m_palette.accent).toQColor();
}

QString SkillSlotStyle::cover() const
{
    if (!isCasting())
        return QStringLiteral("none");
    return m_castLevel == QLatin1String("full") ? QStringLiteral("wedge") : QStringLiteral("flat");
}

QColor SkillSlotStyle::failedRing() const
{
    // The system's orange.
    return QColor::fromRgbF(1.0, 0.584, 0.0);
}

QColor SkillSlotStyle::dashColor() const
{
    return withOpacity(m_palette.text, m_hovering ? 0.45 : 0.2);
}

QColor SkillSlotStyle::addColor() const
{
    return withOpacity(m_palette.text, m_hovering ? 0.8 : 0.35);
}

QString SkillSlotStyle::help() const
{
    if (!filled())
        return localized(QStringLiteral("Choose a favorite"));
    if (isFailed()) {
        const QString key = m_errorKey.isNull() ? QString() : m_errorKey.toString();
        return localized(key.isEmpty() ? QStringLiteral("Spotify could not apply this control.") : key);
    }
    return m_title;
}

QString SkillSlotStyle::accessibleName() const
{
    if (!filled())
        return localized(QStringLiteral("Empty skill slot %d"), {m_index + 1});
    return localized(QStringLiteral("Play %@"), {m_title});
}

QString SkillSlotStyle::accessibleValue() const
{
    if (!filled())
        return {};
    QString value = kindName(m_kind);
    if (isLastCast())
        value += QStringLiteral(", ") + localized(QStringLiteral("Last started"));
    return value;
}

QString SkillSlotStyle::accessibleHint() const
{
    return localized(
        filled() ? QStringLiteral("Starts playback in Spotify.") : QStringLiteral("Choose a favorite"));
}

QVariantList SkillSlotStyle::menu() const
{
    if (!filled())
        return {};
    return {item(QStringLiteral("Play now"), QStringLiteral("play")),
        item(QStringLiteral("Open in Spotify"), QStringLiteral("open")),
        item(QStringLiteral("Change\u2026"), QStringLiteral("change")),
        item(QStringLiteral("Remove from skill bar"), QStringLiteral("remove"), true)};
}
