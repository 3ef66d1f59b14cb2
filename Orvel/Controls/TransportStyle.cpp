#include "TransportStyle.h"

#include "Localization.h"

TransportLayout::TransportLayout(QObject *parent)
    : QObject(parent)
{
}

void TransportLayout::setCompact(bool compact)
{
    if (compact == m_compact)
        return;
    m_compact = compact;
    emit changed();
}

void TransportLayout::setAvailabilityName(const QString &name)
{
    const PlayerAvailability availability
        = fromRawValue<PlayerAvailability>(name).value_or(PlayerAvailability::unavailable);
    if (availability == m_availability)
        return;
    m_availability = availability;
    emit changed();
}

PlayPauseStyle::PlayPauseStyle(QObject *parent)
    : QObject(parent)
{
}

SRGBColor PlayPauseStyle::background(const SkinPalette &palette)
{
    return palette.skin == Skin::classico ? palette.accent : palette.text;
}

QString PlayPauseStyle::label(bool playing)
{
    return localized(playing ? QStringLiteral("Pause") : QStringLiteral("Play"));
}

void PlayPauseStyle::setPalette(const SkinPalette &palette)
{
    if (palette == m_palette)
        return;
    m_palette = palette;
    emit changed();
}

void PlayPauseStyle::setPlaying(bool playing)
{
    if (playing == m_playing)
        return;
    m_playing = playing;
    emit changed();
}

void PlayPauseStyle::setSize(double size)
{
    if (size == m_size)
        return;
    m_size = size;
    emit changed();
}
