#include "ShortcutsWidgetModel.h"

#include "OrvelURL.h"

ShortcutsWidgetModel::ShortcutsWidgetModel(QObject *parent)
    : QObject(parent)
{
}

int ShortcutsWidgetModel::limit(WidgetFamily family)
{
    return family == WidgetFamily::systemLarge ? 8 : 4;
}

double ShortcutsWidgetModel::rowSpacing(WidgetFamily family)
{
    return family == WidgetFamily::systemLarge ? 20 : 10;
}

QList<MusicShortcut> ShortcutsWidgetModel::shown(const QList<MusicShortcut> &shortcuts, WidgetFamily family)
{
    return shortcuts.mid(0, limit(family));
}

SkillGlyph ShortcutsWidgetModel::tileGlyph(const MusicShortcut &shortcut)
{
    return shortcut.resolvedGlyph();
}

FontDescription ShortcutsWidgetModel::titleFont(Skin skin)
{
    return skin == Skin::rivista ? Font::display(14) : FontDescription{13, FontWeight::semibold};
}

SkinPalette ShortcutsWidgetModel::tilePalette(Skin skin)
{
    return SkinPalette(skin, Aura::brand());
}

void ShortcutsWidgetModel::setEntryValue(const QVariant &value)
{
    setEntry(value.canConvert<MusicEntry>() ? value.value<MusicEntry>() : MusicEntry());
}

void ShortcutsWidgetModel::setEntry(const MusicEntry &entry)
{
    m_entry = entry;
    emit changed();
}

void ShortcutsWidgetModel::setFamilyName(const QString &name)
{
    const auto family = fromRawValue<WidgetFamily>(name);
    if (!family || *family == m_family)
        return;
    m_family = *family;
    emit changed();
}

void ShortcutsWidgetModel::setRenderingModeName(const QString &name)
{
    const auto mode = fromRawValue<WidgetRenderingMode>(name);
    if (!mode || *mode == m_mode)
        return;
    m_mode = *mode;
    emit changed();
}

QVariantList ShortcutsWidgetModel::tiles() const
{
    QVariantList result;
    for (const MusicShortcut &shortcut : shown(m_entry.shortcuts, m_family)) {
        result.append(QVariantMap{{QStringLiteral("id"), shortcut.id.toString(QUuid::WithoutBraces)},
            {QStringLiteral("title"), shortcut.title},
            {QStringLiteral("glyph"), toRawValue(tileGlyph(shortcut))},
            {QStringLiteral("link"), shortcut.link.uri()}});
    }
    return result;
}

QColor ShortcutsWidgetModel::glyphColor() const
{
    return m_mode == WidgetRenderingMode::fullColor ? accent() : WidgetMetrics::secondary();
}

QUrl ShortcutsWidgetModel::shortcutsURL() const
{
    return OrvelURL::shortcuts();
}
