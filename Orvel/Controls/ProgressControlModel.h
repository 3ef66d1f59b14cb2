#pragma once

#include "PlaybackScrubberModel.h"

// The playback-position bar: a progress scrubber over the track's duration
// that seeks on commit, and the elapsed and remaining readouts below it,
// refreshed once a second while shown and with every published snapshot.
class ProgressControlModel : public PlaybackScrubberModel {
    Q_OBJECT
    QML_ELEMENT
    // The readouts tick while this is set.
    Q_PROPERTY(bool shown READ shown WRITE setShown NOTIFY shownChanged)
    Q_PROPERTY(QString skin READ skinName WRITE setSkinName NOTIFY layoutChanged)
    // The elapsed readout's size in rivista.
    Q_PROPERTY(double readoutSize READ readoutSize WRITE setReadoutSize NOTIFY layoutChanged)

    Q_PROPERTY(double duration READ duration NOTIFY changed)
    Q_PROPERTY(double estimated READ estimated NOTIFY changed)
    Q_PROPERTY(bool seekable READ seekable NOTIFY changed)
    Q_PROPERTY(QString elapsedText READ elapsedText NOTIFY changed)
    Q_PROPERTY(QString remainingText READ remainingText NOTIFY changed)
    Q_PROPERTY(bool elapsedEmphasized READ elapsedEmphasized NOTIFY changed)
    Q_PROPERTY(double elapsedSize READ elapsedSize NOTIFY layoutChanged)
    Q_PROPERTY(double remainingSize READ remainingSize NOTIFY layoutChanged)
    Q_PROPERTY(double spacing READ spacing NOTIFY layoutChanged)

public:
    static constexpr double tick = 1;
    static constexpr double keyStep = 5;
    static constexpr double defaultReadoutSize = 17;
    static constexpr double classicoReadoutSize = 10;
    static constexpr double rivistaRemainingSize = 11;

    explicit ProgressControlModel(QObject *parent = nullptr);
    ~ProgressControlModel() override;

    // The scrubber's range: the track's duration, at least a second; without a
    // track, or with one whose duration is not a finite number, one second.
    static double duration(const PlaybackSnapshot &snapshot);
    // U+2212 and the time left, never below 0:00.
    static QString remainingText(double duration, double shown);

    bool shown() const { return m_shown; }
    void setShown(bool shown);
    Skin skin() const { return m_skin; }
    QString skinName() const { return toRawValue(m_skin); }
    void setSkinName(const QString &name);
    double readoutSize() const { return m_readoutSize; }
    void setReadoutSize(double size);

    double duration() const { return m_duration; }
    double estimated() const { return m_estimated; }
    bool seekable() const { return m_seekable; }
    // The position the readouts show: the one being edited, else the estimate.
    double shownPosition() const { return scrub().value_or(m_estimated); }
    QString elapsedText() const;
    QString remainingText() const { return remainingText(m_duration, shownPosition()); }
    bool elapsedEmphasized() const { return m_playing || scrub().has_value(); }
    double elapsedSize() const { return m_skin == Skin::classico ? classicoReadoutSize : m_readoutSize; }
    double remainingSize() const
    {
        return m_skin == Skin::classico ? classicoReadoutSize : rivistaRemainingSize;
    }
    double spacing() const { return m_skin == Skin::classico ? 4 : 6; }

    void refresh() override;

signals:
    void shownChanged();
    void layoutChanged();

protected:
    PlaybackCommand command(double value) const override { return PlaybackCommand::seek(value); }

private:
    friend QCoro::Task<void> progressTicks(Scheduler &, QPointer<ProgressControlModel>, TaskHandle);

    bool m_shown = false;
    Skin m_skin = Skin::classico;
    double m_readoutSize = defaultReadoutSize;
    double m_duration = 1;
    double m_estimated = 0;
    bool m_seekable = false;
    bool m_playing = false;
    TaskHandle m_ticks;
};
