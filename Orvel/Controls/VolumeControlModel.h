#pragma once

#include "PlaybackScrubberModel.h"

// The volume bar: a speaker symbol and a volume scrubber over 0...100 that
// sets Spotify's volume on commit; the symbol follows the value being edited.
class VolumeControlModel : public PlaybackScrubberModel {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(double current READ current NOTIFY changed)
    Q_PROPERTY(QString symbol READ symbol NOTIFY changed)

public:
    static constexpr double keyStep = 5;
    static constexpr double dragStep = 1;
    static constexpr double symbolSize = 11;
    static constexpr double symbolWidth = 14;
    static constexpr double spacing = 8;

    explicit VolumeControlModel(QObject *parent = nullptr);

    // Whole percent, halves away from zero ("43%" for 42.5).
    static QString percentText(double value);

    // The volume shown: the one being edited, else Spotify's.
    double current() const { return scrub().value_or(snapshot().volume); }
    QString symbol() const;

    void refresh() override;

protected:
    PlaybackCommand command(double value) const override { return PlaybackCommand::volume(value); }
};
