#include "VolumeControlModel.h"

#include "Localization.h"

#include <cmath>

VolumeControlModel::VolumeControlModel(QObject *parent)
    : PlaybackScrubberModel(parent)
{
    m_scrubber.setStyle(ScrubberStyle::volume);
    m_scrubber.setRange(0, 100);
    m_scrubber.setStep(keyStep);
    m_scrubber.setDragStep(dragStep);
    m_scrubber.setLabel(localized(QStringLiteral("Volume")));
    m_scrubber.setValueTextFormat(percentText);
    m_scrubber.setPulse(QVariant());
    refresh();
}

QString VolumeControlModel::percentText(double value)
{
    // Formatted as a number, never converted to an integer, so no value is undefined.
    return QString::number(std::round(value), 'f', 0) + QLatin1Char('%');
}

QString VolumeControlModel::symbol() const
{
    return current() == 0 ? QStringLiteral("speaker.slash.fill") : QStringLiteral("speaker.wave.2.fill");
}

void VolumeControlModel::refresh()
{
    const PlaybackSnapshot &now = snapshot();
    m_scrubber.setValue(now.volume);
    m_scrubber.setEnabled(now.availability == PlayerAvailability::ready);
    emit changed();
}
