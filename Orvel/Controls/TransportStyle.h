#pragma once

#include "Playback.h"
#include "SkinPalette.h"

#include <QObject>
#include <QtQml/qqmlregistration.h>

// The transport row's measures, regular or compact, and when it takes clicks.
class TransportLayout : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(bool compact READ compact WRITE setCompact NOTIFY changed)
    // The coordinator's availability, as its raw value.
    Q_PROPERTY(QString availability READ availabilityName WRITE setAvailabilityName NOTIFY changed)

    Q_PROPERTY(double spacing READ spacing NOTIFY changed)
    Q_PROPERTY(double playSize READ playSize NOTIFY changed)
    Q_PROPERTY(double glyphSize READ glyphSize NOTIFY changed)
    Q_PROPERTY(double hitWidth READ hitWidth CONSTANT)
    Q_PROPERTY(double hitHeight READ hitHeight CONSTANT)
    Q_PROPERTY(bool enabled READ enabled NOTIFY changed)

public:
    explicit TransportLayout(QObject *parent = nullptr);

    // Every button waits for a ready player, play/pause included.
    static bool enabled(PlayerAvailability availability) { return availability == PlayerAvailability::ready; }

    bool compact() const { return m_compact; }
    void setCompact(bool compact);
    QString availabilityName() const { return toRawValue(m_availability); }
    void setAvailabilityName(const QString &name);

    double spacing() const { return m_compact ? 14 : 24; }
    double playSize() const { return m_compact ? 42 : 54; }
    double glyphSize() const { return m_compact ? 21 : 24; }
    double hitWidth() const { return 30; }
    double hitHeight() const { return 36; }
    bool enabled() const { return enabled(m_availability); }

signals:
    void changed();

private:
    bool m_compact = false;
    PlayerAvailability m_availability = PlayerAvailability::unavailable;
};

// The round play/pause button: the glyph of what a click does, a little right
// of centre for the play triangle, on the accent (classico) or text (rivista) circle.
class PlayPauseStyle : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(SkinPalette palette READ palette WRITE setPalette NOTIFY changed)
    Q_PROPERTY(bool playing READ playing WRITE setPlaying NOTIFY changed)
    Q_PROPERTY(double size READ size WRITE setSize NOTIFY changed)

    Q_PROPERTY(double glyphSize READ glyphSize NOTIFY changed)
    Q_PROPERTY(double offset READ offset NOTIFY changed)
    Q_PROPERTY(QColor background READ backgroundColor NOTIFY changed)
    Q_PROPERTY(QColor foreground READ foregroundColor NOTIFY changed)
    Q_PROPERTY(QString label READ label NOTIFY changed)
    // The glyph swap: the new glyph grows from this scale as it fades in, on a spring of this response.
    Q_PROPERTY(double swapScale READ swapScaleValue CONSTANT)
    Q_PROPERTY(double swapResponse READ swapResponseValue CONSTANT)

public:
    static constexpr double glyphScale = 0.46;
    static constexpr double playOffset = 0.03;
    static constexpr double swapScale = 0.6;
    static constexpr double swapResponse = 0.22;

    explicit PlayPauseStyle(QObject *parent = nullptr);

    static SRGBColor background(const SkinPalette &palette);
    static QString label(bool playing);

    SkinPalette palette() const { return m_palette; }
    void setPalette(const SkinPalette &palette);
    bool playing() const { return m_playing; }
    void setPlaying(bool playing);
    double size() const { return m_size; }
    void setSize(double size);

    double glyphSize() const { return m_size * glyphScale; }
    double offset() const { return m_playing ? 0 : m_size * playOffset; }
    QColor backgroundColor() const { return background(m_palette).toQColor(); }
    QColor foregroundColor() const { return m_palette.onAccent.toQColor(); }
    QString label() const { return label(m_playing); }
    double swapScaleValue() const { return swapScale; }
    double swapResponseValue() const { return swapResponse; }

signals:
    void changed();

private:
    SkinPalette m_palette;
    bool m_playing = false;
    double m_size = 54;
};
